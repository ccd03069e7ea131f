#include <windows.h>

#include "platform/system.h"
#include "platform/win32/text_win32.h"

namespace platform {

void Sleep(unsigned milliseconds) noexcept { ::Sleep(milliseconds); }

void FailCriticalErrors() noexcept {
  // https://learn.microsoft.com/windows/win32/Debug/error-mode
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS);
}

std::optional<OsVersion> QueryOsVersion() noexcept {
  OSVERSIONINFOA info = {sizeof(info)};
  if (!::GetVersionExA(&info)) return std::nullopt;
  return OsVersion{info.dwMajorVersion, info.dwMinorVersion};
}

Text AnsiToText(std::string_view bytes) noexcept {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), needed);
  if (written <= 0) return {};
  return win32::FromWide(wide.data(), static_cast<std::size_t>(written));
}

}  // namespace platform
