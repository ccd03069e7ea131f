#include "registry/value_text.h"


namespace registry {
namespace {

int DigitValue(char16_t c, int base) {
  int value = -1;
  if (c >= u'0' && c <= u'9') value = c - u'0';
  if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
  if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
  return value < base ? value : -1;
}

// The "$" form, built here rather than taken from the caller's text, so no
// blanks or sign are skipped before the digits.
std::int64_t ReadHex(TextView digits) {
  Text text = u"$";
  text.append(digits);
  return ReadInteger(text);
}

void AppendUnit(Bytes& data, char16_t unit) {
  data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
  data.push_back(static_cast<std::uint8_t>(unit >> 8));
}

char16_t UnitAt(ByteView data, std::size_t unit) {
  return static_cast<char16_t>(data[2 * unit] | data[2 * unit + 1] << 8);
}

// The code units from `first` up to the next NUL or the last whole unit.
Text StringAt(ByteView data, std::size_t first) {
  const std::size_t units = data.size() / 2;
  Text text;
  for (std::size_t i = first; i < units; ++i) {
    const char16_t unit = UnitAt(data, i);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace

std::int64_t ReadInteger(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == u'%') {
    base = 2;
    ++i;
  }
  // Unsigned arithmetic gives the two's-complement wrap of an unchecked
  // 64-bit accumulator without signed overflow.
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) break;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<std::int64_t>(value);
}

Text StringDataText(ByteView data) { return StringAt(data, 0); }

Text BinaryDataText(ByteView data) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  Text text;
  text.reserve(2 * data.size());
  for (std::uint8_t byte : data) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0xF]);
  }
  return text;
}

std::optional<Text> DwordDataText(ByteView data) {
  if (data.size() > 4) return std::nullopt;
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  const std::string digits = std::to_string(number);
  return Text(digits.begin(), digits.end());
}

Text MultiStringDataText(ByteView data) {
  Text text;
  std::size_t offset = 0;
  while (offset + 2 < data.size()) {
    const Text piece = StringAt(data, offset / 2);
    text.append(piece).push_back(u'\n');
    offset += 2 * piece.size() + 2;
  }
  while (!text.empty() && text.back() == u'\n') text.pop_back();
  return text;
}

std::optional<Text> DataText(std::uint32_t type, ByteView data) {
  switch (type) {
    case kRegSz:
    case kRegExpandSz:
      return StringDataText(data);
    case kRegBinary:
      return BinaryDataText(data);
    case kRegDword:
      return DwordDataText(data);
    case kRegMultiSz:
      return MultiStringDataText(data);
    default:
      return std::nullopt;
  }
}

Bytes StringData(TextView text) {
  Bytes data;
  data.reserve(2 * text.size() + 2);
  for (char16_t unit : text) AppendUnit(data, unit);
  AppendUnit(data, 0);
  return data;
}

std::uint32_t DwordNumber(TextView text) {
  const bool hex = text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
  const std::int64_t number = hex ? ReadHex(text.substr(2)) : ReadInteger(text);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(number));
}

Bytes DwordData(TextView text) {
  const std::uint32_t number = DwordNumber(text);
  return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

Bytes BinaryData(TextView text) {
  const std::size_t count = text.size() / 2 > 0 ? text.size() / 2 : 1;
  Bytes data(count, 0);
  for (std::size_t j = 0; j < count; ++j) {
    // substr clips at the end, so a lone character is read alone.
    data[j] = static_cast<std::uint8_t>(ReadHex(text.substr(2 * j, 2)));
  }
  return data;
}

Bytes MultiStringData(TextView text) {
  Bytes data;
  data.reserve(2 * text.size() + 4);
  for (char16_t unit : text) AppendUnit(data, unit == u'\n' ? 0 : unit);
  AppendUnit(data, 0);
  AppendUnit(data, 0);
  return data;
}

std::optional<Bytes> TextData(std::uint32_t type, TextView text) {
  switch (type) {
    case kRegSz:
    case kRegExpandSz:
      return StringData(text);
    case kRegBinary:
      return BinaryData(text);
    case kRegDword:
      return DwordData(text);
    case kRegMultiSz:
      return MultiStringData(text);
    default:
      return std::nullopt;
  }
}

}  // namespace registry
