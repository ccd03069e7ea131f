#pragma once
// Readable log entries and test messages from UTF-16 texts, and the bytes
// such a text has in the registry.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace sim {

// UTF-8 of `text`; unpaired surrogates become U+FFFD.
std::string Narrow(platform::TextView text);

// UTF-16 little-endian bytes of `text`, with a closing NUL if asked.
std::vector<std::uint8_t> Utf16Bytes(platform::TextView text, bool closingNul = true);

#ifdef _WIN32
// Windows' own wide texts, which are the same UTF-16.
std::string Narrow(std::wstring_view text);
std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool closingNul = true);
#endif

}  // namespace sim
