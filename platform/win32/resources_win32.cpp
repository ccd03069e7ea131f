#include <windows.h>

#include "platform/resources.h"
#include "platform/win32/text_win32.h"

namespace platform {

Text ProgramFilePath() noexcept {
  // The length is only known by trying: a full buffer means it was cut.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return win32::FromWide(path.data(), length);
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

Module LoadDataFile(const Text& path) noexcept {
  return reinterpret_cast<Module>(
      ::LoadLibraryExW(win32::Wide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::optional<std::vector<std::uint8_t>> ReadResource(Module module, int type,
                                                      int number) noexcept {
  const HMODULE file = reinterpret_cast<HMODULE>(module);
  const HRSRC found = ::FindResourceW(file, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(type));
  if (found == nullptr) return std::nullopt;
  const HGLOBAL loaded = ::LoadResource(file, found);
  if (loaded == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(::LockResource(loaded));
  const DWORD size = ::SizeofResource(file, found);
  if (bytes == nullptr) return std::nullopt;
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace platform
