#pragma once
// The text type of the portable code: UTF-16 exactly as Windows has it,
// surrogates included. Converted by copying at the Win32 boundary.
#include <string>
#include <string_view>

namespace platform {

using Text = std::u16string;
using TextView = std::u16string_view;

// Lower-cases A..Z only. Everything the program compares after lower-casing
// (options, drive designators, device paths, root names) is ASCII, and an
// ASCII-only mapping cannot change a text's length or split a surrogate pair.
inline Text AsciiLower(TextView text) {
  Text lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

}  // namespace platform
