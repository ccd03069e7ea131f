// Any UTF-16 command line: splitting and option reading never read outside
// the text, every field ends with its line feed, and the flags stay 0 or 1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks how long the program path is; the rest is the line.
  if (size < 1) return 0;
  app::Text line;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    line.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  const std::size_t pathLength = data[0] % (line.size() + 2);
  const app::Text path = line.substr(0, pathLength);

  const app::Text split = app::SplitArguments(line, path);
  if (!split.empty() && split.back() != u'\n') std::abort();
  for (char16_t c : split) {
    if (c == u'"') std::abort();
  }

  app::StartupFlags flags;
  app::ReadOptions(split, flags);
  for (std::int64_t flag :
       {flags.usbOnly, flags.removeLetters, flags.notify, flags.gui, flags.autoMount}) {
    if (flag != 0 && flag != 1) std::abort();
  }
  return 0;
}
