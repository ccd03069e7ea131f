#pragma once
// The window layer's number -> handle table, for the other Win32 wrappers
// that address our objects (the tray balloon needs the owner window).
#include <windows.h>

namespace platform::win32 {

// The window or control with that number; nullptr when none was made.
HWND WindowOf(int number) noexcept;

}  // namespace platform::win32
