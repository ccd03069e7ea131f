#pragma once
// The storage stack's device descriptor: read from a device and parsed.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/text.h"

namespace mounter {

// STORAGE_BUS_TYPE values the program compares against.
inline constexpr std::uint32_t kBusTypeUnknown = 0;
inline constexpr std::uint32_t kBusTypeUsb = 7;

struct StorageDescriptor {
  std::uint32_t busType = kBusTypeUnknown;  // 0 when the bytes do not reach it
  std::string product;                      // single-byte text, may be empty
};

// Reads a STORAGE_DEVICE_DESCRIPTOR from exactly the bytes the device
// returned: BusType at byte 28, the product text at the offset stored at
// byte 16, up to its NUL or the last byte. Offset 0, or one outside the
// bytes, means no product text. Never reads outside `bytes`.
StorageDescriptor ParseStorageDescriptor(std::span<const std::uint8_t> bytes) noexcept;

// Opens the device behind the DOS name `dosName` ("E:", "vol") - the
// device, not a file on it - asks for its descriptor and closes it.
// Nothing when the open or the query fails.
std::optional<std::vector<std::uint8_t>> ReadStorageDescriptor(const platform::Text& dosName);

}  // namespace mounter
