#include "mounter/scan_texts.h"

#include <string>

namespace mounter {
namespace {

Text DriveStart(char16_t letter, TextView label) {
  Text start(1, letter);
  start += u": - ";
  start += label;
  return start;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

Text MakeDriveRow(char16_t letter, TextView label, TextView bus, TextView product) {
  Text row = DriveStart(letter, label);
  if (!bus.empty()) {
    row += u"   \"";
    row += bus;
    row += u'"';
  }
  if (!product.empty()) {
    row += u" - ";
    row += product;
  }
  return row;
}

Text MakeBalloonLine(char16_t letter, TextView label) {
  return DriveStart(letter, label) + u"\r\n";
}

Text MakeCountText(std::int64_t count, TextView suffix) {
  const std::string digits = std::to_string(count);
  Text text(digits.begin(), digits.end());
  text += suffix;
  return text;
}

Text CutText(TextView text, std::size_t limit) {
  if (text.size() <= limit) return Text(text);
  std::size_t length = limit;
  const bool splitsPair = length > 0 && IsHighSurrogate(text[length - 1]) &&
                          IsLowSurrogate(text[length]);
  if (splitsPair) --length;
  return Text(text.substr(0, length));
}

}  // namespace mounter
