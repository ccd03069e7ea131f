#include "mounter/driveinfo.h"

#include "mounter/storage_device.h"
#include "platform/system.h"
#include "platform/volumes.h"

namespace mounter {

Text BusTypeName(std::uint32_t busType) {
  return busType < BusTypeNames.size() ? Text(BusTypeNames[busType]) : Text();
}

Text ReadVolumeLabel(const Text& designator) {
  // A label that cannot be read is empty: a blank-filled buffer would end up
  // as blanks in the row and the balloon.
  return platform::ReadVolumeLabelAt(designator + u"\\").value_or(Text());
}

Text ReadBusTypeName(const Text& designator) {
  const auto bytes = ReadStorageDescriptor(designator);
  if (!bytes) return {};
  return BusTypeName(ParseStorageDescriptor(*bytes).busType);
}

Text ReadProductId(const Text& designator) {
  const auto bytes = ReadStorageDescriptor(designator);
  if (!bytes) return {};
  const std::string product = ParseStorageDescriptor(*bytes).product;
  return product.empty() ? Text() : platform::AnsiToText(product);
}

}  // namespace mounter
