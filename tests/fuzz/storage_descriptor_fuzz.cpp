// Any bytes a device returns, in any count: the descriptor parser never
// reads outside them (the copy has exactly their size, so AddressSanitizer
// sees any overread), and the product text is a NUL-free run inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "mounter/storage_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::make_unique<std::uint8_t[]>(size);
  if (size != 0) std::memcpy(bytes.get(), data, size);
  const mounter::StorageDescriptor descriptor =
      mounter::ParseStorageDescriptor({bytes.get(), size});

  if (size < 32 && descriptor.busType != 0) std::abort();
  if (descriptor.product.size() >= size && !descriptor.product.empty()) std::abort();
  if (descriptor.product.find('\0') != std::string::npos) std::abort();
  if (!descriptor.product.empty()) {
    std::uint32_t offset = 0;
    std::memcpy(&offset, bytes.get() + 16, 4);
    if (offset == 0 || offset + descriptor.product.size() > size) std::abort();
    if (std::memcmp(bytes.get() + offset, descriptor.product.data(), descriptor.product.size())) {
      std::abort();
    }
  }
  return 0;
}
