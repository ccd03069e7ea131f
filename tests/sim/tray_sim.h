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
  std::vector<TrayIcon> icons;
  // Program files whose icon 0 has no small image.
  std::set<Text> filesWithoutSmallIcon;
  int iconHandles = 0;  // extracted and not yet destroyed
};
inline Tray& tray() { return State<Tray>(); }

// Takes every icon out of the tray, as the end of the program does.
void RemoveTrayIcons();

}  // namespace sim
