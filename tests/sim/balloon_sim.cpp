#include "tests/sim/balloon_sim.h"

#include <string>

#include "platform/shell32.h"
#include "tests/sim/narrow.h"

namespace platform {

int ModifyTrayBalloon(int windowNumber, unsigned iconId, const Text& title, const Text& text,
                      unsigned timeout, std::uint32_t infoFlags) noexcept {
  if (sim::Enter("Shell_NotifyIconW", "NIM_MODIFY " + sim::Narrow(title))) return 0;
  sim::balloons().shown.push_back({windowNumber, iconId, title.substr(0, kBalloonTitleLimit),
                                   text.substr(0, kBalloonTextLimit), timeout, infoFlags});
  return 1;
}

}  // namespace platform
