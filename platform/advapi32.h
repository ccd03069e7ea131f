#pragma once
// advapi32's registry calls, in portable types. Keys are opaque numbers
// (0 = none). Every call returns the Windows status it got (0 = success),
// because the registry reports errors by return value, not by last error.
#include <cstdint>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace platform {

using Key = std::uintptr_t;

// The predefined roots, with the numbers Windows gives them (sign-extended
// 32-bit values on x64).
inline constexpr Key PredefinedRoot(std::uint32_t number) {
  return static_cast<Key>(static_cast<std::intptr_t>(static_cast<std::int32_t>(number)));
}
inline constexpr Key kClassesRoot = PredefinedRoot(0x80000000);
inline constexpr Key kCurrentUser = PredefinedRoot(0x80000001);
inline constexpr Key kLocalMachine = PredefinedRoot(0x80000002);
inline constexpr Key kUsers = PredefinedRoot(0x80000003);
inline constexpr Key kCurrentConfig = PredefinedRoot(0x80000005);

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyWow64View64 = 0x100;

inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;

// RegOpenKeyExW with options 0. `opened` is 0 unless the call succeeded.
[[nodiscard]] std::int32_t OpenRegistryKey(Key parent, const Text& path, std::uint32_t access,
                                           Key& opened) noexcept;
// RegCreateKeyExW: no class text, REG_OPTION_NON_VOLATILE, default security;
// creates the missing keys above it too. `created` is 0 unless it succeeded.
[[nodiscard]] std::int32_t CreateRegistryKey(Key parent, const Text& path, std::uint32_t access,
                                             Key& created) noexcept;
// RegConnectRegistryW; the computer name is passed unchanged. `remote` is the
// remote root, 0 unless the call succeeded.
[[nodiscard]] std::int32_t ConnectRemoteRegistry(const Text& computer, Key root,
                                                 Key& remote) noexcept;
// RegEnumKeyExW at `position` (from 0) into a 256-character buffer whose
// capacity is given as 255; names that do not fit fail. `name` is set only on
// success.
[[nodiscard]] std::int32_t EnumerateSubkey(Key key, std::uint32_t position, Text& name) noexcept;
// RegQueryValueExW asking for the size of the data only. `size` is left as it
// was when the call fails.
[[nodiscard]] std::int32_t QueryValueSize(Key key, const Text& name, std::uint32_t& size) noexcept;
// RegQueryValueExW reading type and data into a buffer of `data.size()`
// bytes; on success `data` is cut to the bytes the registry returned. A value
// larger than the buffer fails with kErrorMoreData.
[[nodiscard]] std::int32_t QueryValueData(Key key, const Text& name, std::uint32_t& type,
                                          std::vector<std::uint8_t>& data) noexcept;
// RegSetValueExW, replacing any value of that name.
[[nodiscard]] std::int32_t SetRegistryValue(Key key, const Text& name, std::uint32_t type,
                                            const std::vector<std::uint8_t>& data) noexcept;
// RegCloseKey, for keys and remote roots alike.
void CloseRegistryKey(Key key) noexcept;

using UniqueRegistryKey = Unique<NumberTraits<Key, CloseRegistryKey>>;

}  // namespace platform
