#pragma once
// The main window, its controls, the tray icon and the event loop.
#include "app/objects.h"
#include "platform/text.h"

namespace app {

inline constexpr char16_t kMainWindowTitle[] = u" Parvola";
// The maker's notice under the page and the address at the top of the tray
// menu. The address is shown, never opened.
inline constexpr char16_t kMakerNotice[] = u"\u00A9 Parvola developers";
inline constexpr char16_t kMakerAddress[] = u"www.parvola.example";
// 11 points at 96 DPI: its baseline meets the version text's.
inline constexpr int kTitleFontPixels = 15;

// Builds every window object, hidden. Runs in every mode. True when the
// shell took the tray icon.
bool CreateWindowObjects();
// Shows the main window with the focus on Refresh, ready for screen
// readers: COM is set up on this thread for it, until EndCom.
void ShowMainWindow();
// Adds the tray icon; again whenever the shell starts afresh, or starts
// late, after the program, or refused it. True when the shell has it.
bool AddTrayIcon();
// The written colours, or the system's own while high contrast is on: at
// start and whenever the system's colours change.
void ApplyColours();

}  // namespace app
