#pragma once
// Text crosses the Win32 boundary by copying: char16_t and wchar_t are both
// 16 bits here, but distinct types, and a cast between them breaks aliasing.
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

}  // namespace platform::win32
