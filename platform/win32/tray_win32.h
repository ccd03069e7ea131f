#pragma once
// What the window layer and the tray wrappers share.
#include <windows.h>

namespace platform::win32 {

// The private message by which the shell reports mouse actions on our tray
// icon: wParam is the icon's number, LOWORD(lParam) the mouse message.
inline constexpr UINT kTrayMessage = WM_APP + 1;

// Removes every tray icon still added and destroys its icon handle.
void RemoveTrayIcons() noexcept;
// Adds every icon still added to the notification area again, as it was
// first added: for a shell that has started afresh.
void RestoreTrayIcons() noexcept;

}  // namespace platform::win32
