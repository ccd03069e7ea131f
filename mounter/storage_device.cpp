#include "mounter/storage_device.h"

#include "platform/kernel32.h"
#include "platform/volumes.h"

namespace mounter {
namespace {

constexpr std::size_t kProductIdOffsetAt = 16;
constexpr std::size_t kBusTypeAt = 28;

std::uint32_t ReadUint32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

StorageDescriptor ParseStorageDescriptor(std::span<const std::uint8_t> bytes) noexcept {
  StorageDescriptor descriptor;
  if (bytes.size() >= kBusTypeAt + 4) descriptor.busType = ReadUint32(bytes, kBusTypeAt);
  if (bytes.size() >= kProductIdOffsetAt + 4) {
    const std::uint32_t offset = ReadUint32(bytes, kProductIdOffsetAt);
    // Offset 0 means "no product text", not "the text at the start".
    if (offset != 0 && offset < bytes.size()) {
      for (std::size_t i = offset; i < bytes.size() && bytes[i] != 0; ++i) {
        descriptor.product.push_back(static_cast<char>(bytes[i]));
      }
    }
  }
  return descriptor;
}

std::optional<std::vector<std::uint8_t>> ReadStorageDescriptor(const platform::Text& dosName) {
  const platform::UniqueHandle device(platform::OpenDevice(u"\\\\.\\" + dosName));
  if (!device) return std::nullopt;
  return platform::QueryStorageDescriptor(device.get());
}

}  // namespace mounter
