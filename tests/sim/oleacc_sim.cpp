#include "platform/ole32.h"
#include "platform/oleacc.h"
#include "tests/sim/sim.h"

namespace platform {

namespace {

bool Annotate(const char* call, int number) {
  return !sim::Enter("CoCreateInstance", "CLSID_AccPropServices") &&
         sim::desktop().comStarted > 0 && !sim::Enter(call, std::to_string(number));
}

}  // namespace

void SetAccessibleName(int number, const Text& name) noexcept {
  if (Annotate("SetHwndPropStr", number)) sim::desktop().objects[number].accessibleName = name;
}

void MakePoliteLiveRegion(int number) noexcept {
  if (Annotate("SetHwndProp LiveSetting", number)) {
    sim::desktop().objects[number].politeLiveRegion = true;
  }
}

void StartCom() noexcept {
  if (!sim::Enter("CoInitializeEx")) ++sim::desktop().comStarted;
}

void EndCom() noexcept {
  (void)sim::Enter("CoUninitialize");
  if (sim::desktop().comStarted > 0) --sim::desktop().comStarted;
}

}  // namespace platform
