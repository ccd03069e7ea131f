#include "platform/shell32.h"
#include "tests/sim/sim.h"

namespace platform {

namespace {

// The system's rule for the first element: a leading quote runs to the next
// quote; otherwise the path runs to the first blank or tab.
Text SystemProgramPath(const Text& commandLine) {
  if (!commandLine.empty() && commandLine.front() == u'"') {
    const std::size_t close = commandLine.find(u'"', 1);
    return commandLine.substr(1, close == Text::npos ? Text::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find_first_of(u" \t"));
}

}  // namespace

std::optional<Text> CallCommandLineToArgvFirst(Procedure, const Text& commandLine) noexcept {
  if (sim::Enter("CommandLineToArgvW")) return std::nullopt;
  if (sim::process().programPath) return *sim::process().programPath;
  return SystemProgramPath(commandLine);
}

}  // namespace platform
