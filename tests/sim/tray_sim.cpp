#include "tests/sim/tray_sim.h"

#include <algorithm>

#include "platform/shell32.h"
#include "tests/sim/narrow.h"

namespace platform {

bool AddTrayIcon(int windowNumber, unsigned iconId, const Text& iconFile,
                 const Text& tooltip) noexcept {
  sim::Tray& tray = sim::tray();
  const auto same = [&](const sim::TrayIcon& icon) {
    return icon.window == windowNumber && icon.id == iconId;
  };
  auto kept = std::find_if(tray.kept.begin(), tray.kept.end(), same);
  if (kept == tray.kept.end()) {
    if (sim::Enter("ExtractIconExW", sim::Narrow(iconFile)) ||
        tray.filesWithoutSmallIcon.count(iconFile)) {
      return false;
    }
    kept = tray.kept.insert(tray.kept.end(), {windowNumber, iconId, iconFile, tooltip});
  }
  if (sim::Enter("Shell_NotifyIconW", "NIM_ADD " + std::to_string(iconId)) || !tray.shellRunning) {
    return false;
  }
  if (tray.busyRefusals > 0) {
    --tray.busyRefusals;
    return false;
  }
  if (std::none_of(tray.icons.begin(), tray.icons.end(), same)) tray.icons.push_back(*kept);
  return true;
}

void FocusTrayIcon(int, unsigned iconId) noexcept {
  (void)sim::Enter("Shell_NotifyIconW", "NIM_SETFOCUS " + std::to_string(iconId));
}

}  // namespace platform
