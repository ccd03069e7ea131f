#pragma once
// The main window, its controls, the tray icon and the event loop.
#include "app/objects.h"
#include "app/options.h"

namespace app {

inline constexpr char16_t kMainWindowTitle[] = u" Parvola";

// Builds every window object, hidden. Runs in every mode.
void CreateWindowObjects();

// Runs until the user ends the program.
void RunEventLoop(const StartupFlags& flags);

}  // namespace app
