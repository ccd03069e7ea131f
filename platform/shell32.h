#pragma once
// shell32, in portable types.
#include <cstddef>
#include <optional>

#include "platform/kernel32.h"
#include "platform/text.h"

namespace platform {

// Calls a procedure looked up as "CommandLineToArgvW" on `commandLine` and
// returns the first element (the program path as the system parses it);
// nothing when the call fails or yields no element.
std::optional<Text> CallCommandLineToArgvFirst(Procedure commandLineToArgv,
                                               const Text& commandLine) noexcept;

// The longest balloon text and title the shell shows.
inline constexpr std::size_t kBalloonTextLimit = 255;
inline constexpr std::size_t kBalloonTitleLimit = 63;

// Shell_NotifyIconW(NIM_MODIFY) with NIF_INFO only: shows a balloon at icon
// `iconId` of our window object `windowNumber` and leaves the icon and its
// tooltip as they are. Longer texts are cut to the limits above. Returns
// the call's result (non-zero on success).
int ModifyTrayBalloon(int windowNumber, unsigned iconId, const Text& title, const Text& text,
                      unsigned timeout, std::uint32_t infoFlags) noexcept;

// Adds tray icon `iconId` of our window object `windowNumber`: the small
// icon 0 of `iconFile` (ExtractIconExW), the tooltip, and mouse
// notifications to that window (kTrayNotification events). True when the
// shell has the icon afterwards; false when the file has no small icon or
// the shell refuses the icon. The icon is kept even when the shell refuses
// it (a shell that has not started yet, or is busy): a later call adds the
// kept icon again, and DestroyObjects deletes it whether or not an add
// succeeded.
bool AddTrayIcon(int windowNumber, unsigned iconId, const Text& iconFile,
                 const Text& tooltip) noexcept;
// NIM_SETFOCUS: the keyboard focus back to the notification area, where
// icon `iconId` of `windowNumber` lies.
void FocusTrayIcon(int windowNumber, unsigned iconId) noexcept;

}  // namespace platform
