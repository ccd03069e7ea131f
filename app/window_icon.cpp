#include "app/window_icon.h"

#include "platform/kernel32.h"
#include "platform/resources.h"
#include "platform/user32.h"

namespace app {
namespace {

constexpr std::size_t kCountOffset = 4;
constexpr std::size_t kFirstEntry = 6;
constexpr std::size_t kEntrySize = 14;
constexpr std::size_t kWidthOffset = 0;
constexpr std::size_t kBitsPerPixelOffset = 6;
constexpr std::size_t kImageNumberOffset = 12;

std::uint16_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

std::optional<std::uint16_t> PickIconImage(std::span<const std::uint8_t> group, int width) {
  if (group.size() < kFirstEntry) return std::nullopt;
  const std::size_t count = Read16(group, kCountOffset);
  const std::size_t fits = (group.size() - kFirstEntry) / kEntrySize;
  std::optional<std::uint16_t> taken;
  std::uint16_t takenBits = 0;
  for (std::size_t i = 0; i < count && i < fits; ++i) {
    const auto entry = group.subspan(kFirstEntry + i * kEntrySize, kEntrySize);
    const std::uint16_t bits = Read16(entry, kBitsPerPixelOffset);
    if (entry[kWidthOffset] == width && bits > takenBits) {
      taken = Read16(entry, kImageNumberOffset);
      takenBits = bits;
    }
  }
  return taken;
}

void LoadResourceIcon(int control, const platform::Text& file, int group, int width) {
  platform::Icon icon = 0;
  if (platform::UniqueLibrary module{platform::LoadDataFile(file)}) {
    const auto directory = platform::ReadResource(module.get(), platform::kResourceIconGroup, group);
    const auto number = directory ? PickIconImage(*directory, width) : std::nullopt;
    const auto image =
        number ? platform::ReadResource(module.get(), platform::kResourceIcon, *number)
               : std::nullopt;
    if (image) icon = platform::CreateIconFromBits(*image);
  }
  platform::SetObjectIcon(control, icon);
}

}  // namespace app
