// Any bytes as an icon-group directory: the walk reads only inside them
// (the copy below has exactly their size, so a read past it is caught), and
// what it picks is an entry of the wanted width that lies wholly inside.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/window_icon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int width = data[0];
  const std::vector<std::uint8_t> group(data + 1, data + size);
  const auto picked = app::PickIconImage(group, width);
  if (!picked) return 0;
  bool found = false;
  for (std::size_t at = 6; at + 14 <= group.size(); at += 14) {
    const auto image = static_cast<std::uint16_t>(group[at + 12] | group[at + 13] << 8);
    const auto bits = static_cast<std::uint16_t>(group[at + 6] | group[at + 7] << 8);
    found |= group[at] == width && image == *picked && bits > 0;
  }
  if (!found) std::abort();
  return 0;
}
