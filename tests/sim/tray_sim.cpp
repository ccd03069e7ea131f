#include "tests/sim/tray_sim.h"

#include <algorithm>

#include "platform/shell32.h"
#include "tests/sim/narrow.h"

namespace platform {

bool AddTrayIcon(int windowNumber, unsigned iconId, const Text& iconFile,
                 const Text& tooltip) noexcept {
  if (sim::Enter("ExtractIconExW", sim::Narrow(iconFile)) ||
      sim::tray().filesWithoutSmallIcon.count(iconFile)) {
    return false;
  }
  if (sim::Enter("Shell_NotifyIconW", "NIM_ADD " + std::to_string(iconId))) {
    (void)sim::Enter("DestroyIcon");
    return false;
  }
  ++sim::tray().iconHandles;
  sim::tray().icons.push_back({windowNumber, iconId, iconFile, tooltip});
  return true;
}

}  // namespace platform

namespace sim {

void RemoveTrayIcons() {
  for (const TrayIcon& icon : tray().icons) {
    (void)Enter("Shell_NotifyIconW", "NIM_DELETE " + std::to_string(icon.id));
  }
  tray().iconHandles -= static_cast<int>(tray().icons.size());
  tray().icons.clear();
}

}  // namespace sim
