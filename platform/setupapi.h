#pragma once
// setupapi, in portable types. A device information set is an opaque number
// (0 = none) owned by UniqueDeviceSet.
#include <cstdint>
#include <optional>

#include "platform/kernel32.h"
#include "platform/ole32.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace platform {

using DeviceSet = std::uintptr_t;

// SetupDiGetClassDevsW flags.
inline constexpr std::uint32_t kClassDevsPresent = 0x2;
inline constexpr std::uint32_t kClassDevsProfile = 0x8;

// SPDRP_PHYSICAL_DEVICE_OBJECT_NAME.
inline constexpr std::uint32_t kPropertyDeviceObjectName = 14;

// One member of a set: the fields of SP_DEVINFO_DATA after cbSize, which
// the set needs back to find the member.
struct DeviceMember {
  Guid classGuid{};
  std::uint32_t devInst = 0;
  std::uintptr_t reserved = 0;
};

// SetupDiGetClassDevsW for a setup class, no enumerator, no window. 0 on
// failure.
[[nodiscard]] DeviceSet OpenClassDevices(const Guid& classGuid, std::uint32_t flags) noexcept;
// SetupDiDestroyDeviceInfoList.
void DestroyDeviceSet(DeviceSet set) noexcept;
// SetupDiEnumDeviceInfo. False past the last member or on failure.
[[nodiscard]] bool EnumDeviceMember(DeviceSet set, std::uint32_t index,
                                    DeviceMember& member) noexcept;

// Calls a procedure looked up as "SetupDiGetDeviceRegistryPropertyW" for a
// text property, read into a 2048-byte buffer and taken up to its first NUL
// (never past the buffer). Nothing when the call fails.
[[nodiscard]] std::optional<Text> CallGetDeviceRegistryProperty(Procedure getProperty,
                                                                DeviceSet set,
                                                                const DeviceMember& member,
                                                                std::uint32_t property) noexcept;

using UniqueDeviceSet = Unique<NumberTraits<DeviceSet, DestroyDeviceSet>>;

}  // namespace platform
