#pragma once
// What the window layer and the tray wrappers share.
#include <windows.h>

namespace platform::win32 {

// The private message by which the shell reports mouse actions on our tray
// icon: wParam is the icon's number, LOWORD(lParam) the mouse message.
inline constexpr UINT kTrayMessage = WM_APP + 1;

// Deletes every tray icon kept, added or not, and destroys its icon handle.
void RemoveTrayIcons() noexcept;

}  // namespace platform::win32
