#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/advapi32.h"
#include "platform/win32/text_win32.h"

namespace platform {

using win32::Wide;

namespace {

HKEY AsKey(Key key) { return reinterpret_cast<HKEY>(key); }
Key FromKey(HKEY key) { return reinterpret_cast<Key>(key); }

}  // namespace

std::int32_t OpenRegistryKey(Key parent, const Text& path, std::uint32_t access,
                             Key& opened) noexcept {
  HKEY key = nullptr;
  const LONG status = ::RegOpenKeyExW(AsKey(parent), Wide(path).c_str(), 0, access, &key);
  // Older systems leave the out-parameter untouched on failure.
  opened = status == ERROR_SUCCESS ? FromKey(key) : 0;
  return status;
}

std::int32_t CreateRegistryKey(Key parent, const Text& path, std::uint32_t access,
                               Key& created) noexcept {
  HKEY key = nullptr;
  const LONG status = ::RegCreateKeyExW(AsKey(parent), Wide(path).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  created = status == ERROR_SUCCESS ? FromKey(key) : 0;
  return status;
}

std::int32_t ConnectRemoteRegistry(const Text& computer, Key root, Key& remote) noexcept {
  HKEY key = nullptr;
  const LONG status = ::RegConnectRegistryW(Wide(computer).c_str(), AsKey(root), &key);
  remote = status == ERROR_SUCCESS ? FromKey(key) : 0;
  return status;
}

std::int32_t EnumerateSubkey(Key key, std::uint32_t position, Text& name) noexcept {
  wchar_t buffer[256] = {};
  DWORD length = 255;
  FILETIME written;
  const LONG status =
      ::RegEnumKeyExW(AsKey(key), position, buffer, &length, nullptr, nullptr, nullptr, &written);
  if (status == ERROR_SUCCESS) name = win32::FromWide(buffer, std::min<DWORD>(length, 255));
  return status;
}

std::int32_t QueryValueSize(Key key, const Text& name, std::uint32_t& size) noexcept {
  DWORD bytes = size;
  const LONG status =
      ::RegQueryValueExW(AsKey(key), Wide(name).c_str(), nullptr, nullptr, nullptr, &bytes);
  if (status == ERROR_SUCCESS) size = bytes;
  return status;
}

std::int32_t QueryValueData(Key key, const Text& name, std::uint32_t& type,
                            std::vector<std::uint8_t>& data) noexcept {
  if (data.size() > std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
  // A null data pointer would turn this into a size query that succeeds for
  // any size, so an empty buffer still passes a real address.
  BYTE empty = 0;
  BYTE* buffer = data.empty() ? &empty : data.data();
  const DWORD capacity = static_cast<DWORD>(data.size());
  DWORD bytes = capacity;
  DWORD kind = REG_NONE;
  const LONG status =
      ::RegQueryValueExW(AsKey(key), Wide(name).c_str(), nullptr, &kind, buffer, &bytes);
  if (status == ERROR_SUCCESS) {
    type = kind;
    data.resize(std::min(bytes, capacity));
  }
  return status;
}

std::int32_t SetRegistryValue(Key key, const Text& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) noexcept {
  if (data.size() > std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
  return ::RegSetValueExW(AsKey(key), Wide(name).c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
}

void CloseRegistryKey(Key key) noexcept {
  if (key != 0) ::RegCloseKey(AsKey(key));
}

}  // namespace platform
