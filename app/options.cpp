#include "app/options.h"

#include <algorithm>
#include <optional>

#include "platform/kernel32.h"
#include "platform/system_library.h"
#include "platform/shell32.h"

namespace app {
namespace {

bool IsControlOrBlank(char16_t c) { return c < 33; }

std::optional<Text> ProgramPathOf(const Text& commandLine) {
  platform::UniqueLibrary shell(platform::LoadSystemLibrary(u"Shell32.dll"));
  if (!shell) return std::nullopt;
  const platform::Procedure toArgv = platform::FindProcedure(shell.get(), "CommandLineToArgvW");
  if (toArgv == 0) return std::nullopt;
  return platform::CallCommandLineToArgvFirst(toArgv, commandLine);
}

std::optional<Text> RawCommandLine() {
  platform::UniqueLibrary kernel(platform::LoadSystemLibrary(u"Kernel32.dll"));
  if (!kernel) return std::nullopt;
  const platform::Procedure get = platform::FindProcedure(kernel.get(), "GetCommandLineW");
  if (get == 0) return std::nullopt;
  return platform::CallGetCommandLine(get);
}

}  // namespace

Text TrimControl(TextView text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsControlOrBlank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsControlOrBlank).base();
  return first < last ? Text(first, last) : Text();
}

Text SplitArguments(TextView commandLine, TextView programPath) {
  // The path's position counts from 1 and is 0 when it is not found; the tail
  // starts at position + length (1-based). So a path that is not found cuts
  // the command line one character before the path's length.
  const std::size_t found = commandLine.find(programPath);
  const std::size_t position = found == TextView::npos ? 0 : found + 1;
  const std::size_t after = position + programPath.size();
  const std::size_t start = std::min(commandLine.size(), after == 0 ? 0 : after - 1);
  TextView tail = commandLine.substr(start);
  if (!tail.empty() && tail.front() == u'"') tail.remove_prefix(1);  // closes a quoted path
  const Text trimmed = TrimControl(tail);
  if (trimmed.empty()) return Text();

  Text result;
  result.reserve(trimmed.size() + 1);
  bool quoted = false;
  for (char16_t c : trimmed) {
    if (c == u' ') {
      result.push_back(quoted ? u' ' : u'\n');
    } else if (c != u'"') {
      result.push_back(c);
    }
    if (c == u'"') quoted = !quoted;
  }
  result.push_back(u'\n');
  return result;
}

Text SplitCommandLine() {
  const std::optional<Text> commandLine = RawCommandLine();
  if (!commandLine) return Text();
  const std::optional<Text> programPath = ProgramPathOf(*commandLine);
  if (!programPath) return Text();
  return SplitArguments(*commandLine, *programPath);
}

void ReadOptions(TextView arguments, StartupFlags& flags) {
  while (!arguments.empty()) {
    const std::size_t end = arguments.find(u'\n');
    if (end == TextView::npos) break;  // a field counts only with its line feed
    const Text field = platform::AsciiLower(arguments.substr(0, end));
    arguments.remove_prefix(end + 1);
    if (field == u"-usb") flags.usbOnly = 1;
    if (field == u"-rl") flags.removeLetters = 1;
    if (field == u"-nt") flags.notify = 0;
    if (field == u"-a") flags.autoMount = 1;
    if (field == u"-ng") flags.gui = 0;
  }
}

Mode ChooseMode(const StartupFlags& flags) {
  return flags.gui == 0 && flags.autoMount == 0 ? Mode::kOneShot : Mode::kInteractive;
}

}  // namespace app
