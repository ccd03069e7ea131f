#pragma once
// The simulated notification area: our icons in it.
#include <set>
#include <vector>

#include "tests/sim/sim.h"

namespace sim {

struct TrayIcon {
  int window;
  unsigned id;
  Text iconFile;
  Text tooltip;
};

struct Tray {
  std::vector<TrayIcon> icons;  // what the notification area shows
  std::vector<TrayIcon> kept;   // what the program holds, shown or not
  // A shell that has not started yet refuses every icon, and announces its
  // start with "TaskbarCreated"; under Wine the tray is always there.
  // https://learn.microsoft.com/windows/win32/shell/taskbar
  bool shellRunning = true;
  // A shell busy at logon refuses this many adds more, with no
  // "TaskbarCreated" to follow: the add times out.
  // https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shell_notifyiconw
  int busyRefusals = 0;
  // Program files whose icon 0 has no small image.
  std::set<Text> filesWithoutSmallIcon;
};
inline Tray& tray() { return State<Tray>(); }

}  // namespace sim
