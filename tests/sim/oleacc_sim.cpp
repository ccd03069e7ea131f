#include "platform/oleacc.h"
#include "tests/sim/sim.h"

namespace platform {

void SetAccessibleName(int number, const Text& name) noexcept {
  if (sim::Enter("SetHwndPropStr", std::to_string(number))) return;
  sim::desktop().objects[number].accessibleName = name;
}

}  // namespace platform
