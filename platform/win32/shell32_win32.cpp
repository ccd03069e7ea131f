#include <windows.h>

#include "platform/shell32.h"
#include "platform/win32/text_win32.h"

namespace platform {

std::optional<Text> CallCommandLineToArgvFirst(Procedure commandLineToArgv,
                                               const Text& commandLine) noexcept {
  const auto call = reinterpret_cast<LPWSTR*(WINAPI*)(LPCWSTR, int*)>(commandLineToArgv);
  int count = 0;
  LPWSTR* argv = call(win32::Wide(commandLine).c_str(), &count);
  if (argv == nullptr) return std::nullopt;
  std::optional<Text> first;
  if (count > 0) first = win32::FromWide(argv[0]);
  ::LocalFree(argv);
  return first;
}

}  // namespace platform
