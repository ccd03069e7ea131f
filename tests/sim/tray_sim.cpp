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

void RemoveTrayIcon(int windowNumber, unsigned iconId) noexcept {
  (void)sim::Enter("Shell_NotifyIconW", "NIM_DELETE " + std::to_string(iconId));
  const auto removed = std::erase_if(sim::tray().icons, [&](const sim::TrayIcon& icon) {
    return icon.window == windowNumber && icon.id == iconId;
  });
  sim::tray().iconHandles -= static_cast<int>(removed);
}

}  // namespace platform
