#pragma once
// oleacc, in portable types. The program does not import it: COM loads it
// when the annotation is asked for.
#include "platform/text.h"

namespace platform {

// Direct annotation through IAccPropServices, made by CoCreateInstance on a
// thread where StartCom has run. Where oleacc is missing (a Windows PE image
// without the accessibility components), or refuses, nothing happens.

// The name screen readers announce for our control `number` instead of its
// text (PROPID_ACC_NAME).
void SetAccessibleName(int number, const Text& name) noexcept;
// Makes control `number` a polite live region (LiveSetting): a screen
// reader reads its new text when AnnounceLiveRegionChange says it changed,
// once it has finished what it is saying.
void MakePoliteLiveRegion(int number) noexcept;

}  // namespace platform
