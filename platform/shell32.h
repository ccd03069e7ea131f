#pragma once
// shell32, in portable types.
#include <optional>

#include "platform/kernel32.h"
#include "platform/text.h"

namespace platform {

// Calls a procedure looked up as "CommandLineToArgvW" on `commandLine` and
// returns the first element (the program path as the system parses it);
// nothing when the call fails or yields no element.
std::optional<Text> CallCommandLineToArgvFirst(Procedure commandLineToArgv,
                                               const Text& commandLine) noexcept;

}  // namespace platform
