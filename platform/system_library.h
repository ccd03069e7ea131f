#pragma once
// Libraries loaded at run time come from the system directory only, so a DLL
// planted beside the program (on a USB stick, say) is never loaded into this
// administrator process.
#include "platform/kernel32.h"

namespace platform {

// 0 on failure; free the result with FreeLibrary.
[[nodiscard]] Module LoadSystemLibrary(const Text& name) noexcept;

}  // namespace platform
