#pragma once
// Text crosses the Win32 boundary by copying: char16_t and wchar_t are both
// 16 bits here, but distinct types, and a cast between them breaks aliasing.
#include <algorithm>
#include <cstddef>
#include <string>

#include "platform/text.h"

namespace platform::win32 {

inline std::wstring Wide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline Text FromWide(const wchar_t* text, std::size_t length) {
  return Text(text, text + length);
}

inline Text FromWide(const wchar_t* text) {
  return text ? FromWide(text, std::wcslen(text)) : Text();
}

// Copies into a fixed text field of a Win32 structure: at most its capacity
// less one character, terminated.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], TextView text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), field);
  field[length] = L'\0';
}

}  // namespace platform::win32
