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

Module LoadSystemLibrary(const Text& name) noexcept {
  return reinterpret_cast<Module>(
      ::LoadLibraryExW(Wide(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

void FreeLibrary(Module module) noexcept {
  if (module != 0) ::FreeLibrary(reinterpret_cast<HMODULE>(module));
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
