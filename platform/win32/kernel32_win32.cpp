#include <windows.h>

#include "platform/kernel32.h"
#include "platform/win32/text_win32.h"

namespace platform {

using win32::Wide;

std::uint16_t GetUserDefaultLangID() noexcept { return ::GetUserDefaultLangID(); }

MutexResult CreateNamedMutex(const Text& name) noexcept {
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Wide(name).c_str());
  // Read the error at once: it is only meaningful right after the call.
  const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return {reinterpret_cast<Handle>(mutex), existed};
}

void ReleaseMutex(Handle mutex) noexcept { ::ReleaseMutex(reinterpret_cast<HANDLE>(mutex)); }

void CloseHandle(Handle handle) noexcept {
  if (handle != 0) ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

Module LoadLibraryWithFlags(const Text& nameOrPath, std::uint32_t flags) noexcept {
  return reinterpret_cast<Module>(::LoadLibraryExW(Wide(nameOrPath).c_str(), nullptr, flags));
}

void FreeLibrary(Module module) noexcept {
  if (module != 0) ::FreeLibrary(reinterpret_cast<HMODULE>(module));
}

Module FindLoadedLibrary(const Text& name) noexcept {
  return reinterpret_cast<Module>(::GetModuleHandleW(Wide(name).c_str()));
}

Text SystemDirectory() noexcept {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int round = 0; round < 2; ++round) {
    const UINT length = ::GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    // Too small: the length needed, terminator included.
    if (length >= buffer.size()) {
      buffer.assign(length, L'\0');
      continue;
    }
    return win32::FromWide(buffer.data(), length);
  }
  return {};
}

Procedure FindProcedure(Module module, const char* name) noexcept {
  return reinterpret_cast<Procedure>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

Text CallGetCommandLine(Procedure getCommandLine) noexcept {
  const auto call = reinterpret_cast<LPWSTR(WINAPI*)()>(getCommandLine);
  return win32::FromWide(call());
}

void ExitProcess(unsigned code) { ::ExitProcess(code); }

}  // namespace platform
