#pragma once
// The command line: how it splits, and the options it sets.
#include <cstdint>

#include "platform/text.h"

namespace app {

using platform::Text;
using platform::TextView;

// Flags hold 0 or 1.
struct StartupFlags {
  std::int64_t usbOnly = 0;
  std::int64_t removeLetters = 0;
  std::int64_t notify = 1;
  std::int64_t gui = 1;
  std::int64_t autoMount = 0;
};

// `text` without the characters below 33 (blanks, tabs, controls) at either end.
Text TrimControl(TextView text);

// The arguments after the program path, each followed by a line feed; empty
// when there are none. `commandLine` is the raw command line, `programPath`
// the first element the system's own splitting gives for it.
Text SplitArguments(TextView commandLine, TextView programPath);

// SplitArguments over this process's command line, with "GetCommandLineW" and
// "CommandLineToArgvW" looked up at run time. Empty when either cannot be
// resolved: then the program simply runs with its defaults.
Text SplitCommandLine();

// Sets the flags named by the fields of `arguments` (SplitArguments' form).
// Fields are compared whole after lower-casing; anything else is ignored.
void ReadOptions(TextView arguments, StartupFlags& flags);

enum class Mode {
  kOneShot,      // "-ng" without "-a": one scan on the main thread, then end
  kInteractive,  // the event loop, with or without a visible window
};
Mode ChooseMode(const StartupFlags& flags);

}  // namespace app
