#pragma once
// oleacc, in portable types. The program does not import it: a Windows PE
// image without the accessibility components has no oleacc.dll.
#include "platform/text.h"

namespace platform {

// The name screen readers announce for our control `number` instead of its
// text (IAccPropServices::SetHwndPropStr with PROPID_ACC_NAME). oleacc.dll
// comes from the system directory only; where it is missing, or refuses,
// nothing happens.
void SetAccessibleName(int number, const Text& name) noexcept;

}  // namespace platform
