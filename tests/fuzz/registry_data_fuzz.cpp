// Registry data of any type and size render without reading past the data;
// any text written as type 1, 2, 3, 4 or 7 reads back as the conversions
// promise, through the simulated registry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "registry/operations.h"
#include "registry/value_text.h"
#include "tests/sim/sim.h"

namespace {

using registry::Text;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool HasNul(const Text& text) { return text.find(u'\0') != Text::npos; }

void RenderAnyData(std::uint32_t type, registry::ByteView data) {
  const std::optional<Text> text = registry::DataText(type, data);
  switch (type) {
    case registry::kRegSz:
    case registry::kRegExpandSz:
      Check(text && text->size() <= data.size() / 2 && !HasNul(*text));
      break;
    case registry::kRegBinary:
      Check(text && text->size() == 2 * data.size());
      break;
    case registry::kRegDword:
      Check(text.has_value() == (data.size() <= 4));
      if (text) Check(!text->empty() && text->size() <= 10);
      break;
    case registry::kRegMultiSz:
      Check(text && text->size() <= data.size() / 2 && !HasNul(*text));
      Check(text->empty() || text->back() != u'\n');
      break;
    default:
      Check(!text);
  }
}

Text WrittenAndRead(std::uint32_t type, const Text& text) {
  Check(registry::RegistryWriteValue(u"hkcu", u"Fuzz", u"v", type, text) == 0);
  registry::RegistryStatus status = 0xEE;
  const Text read = registry::RegistryReadValue(&status, u"hkcu", u"Fuzz", u"v");
  Check(status == 0);
  return read;
}

void RoundTrip(std::uint32_t type, const Text& text) {
  sim::Reset();
  const Text read = WrittenAndRead(type, text);
  switch (type) {
    case registry::kRegSz:
    case registry::kRegExpandSz:
      Check(read == text.substr(0, text.find(u'\0')));
      break;
    case registry::kRegDword: {
      // A plain unsigned decimal that writes back as the same number.
      Check(!read.empty() && read.size() <= 10);
      for (char16_t c : read) Check(c >= u'0' && c <= u'9');
      Check(WrittenAndRead(type, read) == read);
      break;
    }
    case registry::kRegBinary: {
      const std::size_t bytes = text.size() / 2 > 0 ? text.size() / 2 : 1;
      Check(read.size() == 2 * bytes);
      Check(WrittenAndRead(type, read) == read);
      break;
    }
    case registry::kRegMultiSz: {
      Text expected = text;
      for (char16_t& c : expected) {
        if (c == u'\0') c = u'\n';
      }
      while (!expected.empty() && expected.back() == u'\n') expected.pop_back();
      Check(read == expected);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the type; the rest are the data, and as UTF-16 the text.
  if (size < 1) return 0;
  static constexpr std::uint32_t kTypes[] = {0, 1, 2, 3, 4, 5, 7, 11};
  const std::uint32_t type = kTypes[data[0] % std::size(kTypes)];
  const registry::ByteView bytes(data + 1, size - 1);
  RenderAnyData(type, bytes);

  Text text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  }
  if (type != 0 && type != 5 && type != 11) RoundTrip(type, text);
  return 0;
}
