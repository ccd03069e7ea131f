// Any label, bus name and product: the row starts with the balloon line's
// text, holds each piece only when it is not empty, and the cut balloon
// texts fit their fields without splitting a surrogate pair.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mounter/scan_texts.h"

namespace {

using mounter::Text;

// Three fields separated by the unit 0xFFFF.
Text Field(const Text& all, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    start = all.find(u'\xFFFF', start);
    if (start == Text::npos) return {};
    ++start;
  }
  return all.substr(start, all.find(u'\xFFFF', start) - start);
}

bool EndsInHighSurrogate(const Text& text) {
  return !text.empty() && text.back() >= 0xD800 && text.back() < 0xDC00;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const char16_t letter = static_cast<char16_t>(u'C' + data[0] % 24);
  const std::size_t limit = data[1];
  Text all;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    all.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  const Text label = Field(all, 0);
  const Text bus = Field(all, 1);
  const Text product = Field(all, 2);

  const Text line = mounter::MakeBalloonLine(letter, label);
  const Text row = mounter::MakeDriveRow(letter, label, bus, product);
  const Text start = line.substr(0, line.size() - 2);
  if (!line.ends_with(u"\r\n") || line[0] != letter || line.substr(1, 4) != u": - ") std::abort();
  if (!row.starts_with(start)) std::abort();
  std::size_t expected = start.size();
  if (!bus.empty()) expected += 5 + bus.size();
  if (!product.empty()) expected += 3 + product.size();
  if (row.size() != expected) std::abort();
  if (!product.empty() && !row.ends_with(u" - " + product)) std::abort();
  if (product.empty() && !bus.empty() && !row.ends_with(u"\"" + bus + u"\"")) std::abort();

  const Text cut = mounter::CutText(all, limit);
  if (cut.size() > limit || !all.starts_with(cut)) std::abort();
  if (cut.size() + 1 < std::min(limit, all.size())) std::abort();
  if (cut.size() < all.size() && EndsInHighSurrogate(cut) && all[cut.size()] >= 0xDC00 &&
      all[cut.size()] < 0xE000) {
    std::abort();
  }

  const Text count = mounter::MakeCountText(static_cast<std::int64_t>(size), bus);
  if (!count.ends_with(bus) || count[0] < u'1' || count[0] > u'9') std::abort();
  return 0;
}
