#pragma once
// Registry value data <-> text, for the five value types the program
// handles. Pure functions: they never read past the bytes they are given.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/text.h"

namespace registry {

using platform::Text;
using platform::TextView;
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Blanks and tabs, one sign, then "$" hexadecimal, "%" binary or decimal
// digits up to the first character that is none; no digits read as 0.
// Overflow wraps modulo 2^64, as the 64-bit accumulator has no check.
std::int64_t ReadInteger(TextView text);

// ---- data to text ----------------------------------------------------------

// REG_SZ, REG_EXPAND_SZ: the code units up to the first NUL, or all of them.
// An odd last byte is half a code unit and is dropped.
Text StringDataText(ByteView data);
// REG_BINARY: two upper-case hexadecimal digits per byte.
Text BinaryDataText(ByteView data);
// REG_DWORD: unsigned decimal. Data shorter than 4 bytes fill the low bytes
// of the number (little-endian) and leave the rest 0; longer data do not fit
// the 32-bit number and give nothing.
std::optional<Text> DwordDataText(ByteView data);
// REG_MULTI_SZ: each string followed by a line feed, trailing line feeds
// removed; the walk stops before the last 2 bytes.
Text MultiStringDataText(ByteView data);

// By type; nothing for a type the program does not render.
std::optional<Text> DataText(std::uint32_t type, ByteView data);

// ---- text to data ----------------------------------------------------------

// REG_SZ, REG_EXPAND_SZ: the code units and one NUL.
Bytes StringData(TextView text);
// REG_DWORD: "0x"/"0X" prefix reads hexadecimal, else the integer rule; the
// low 32 bits, little-endian.
std::uint32_t DwordNumber(TextView text);
Bytes DwordData(TextView text);
// REG_BINARY: one byte per pair of hexadecimal digits (an odd last digit is
// ignored, except as the only one); at least one byte.
Bytes BinaryData(TextView text);
// REG_MULTI_SZ: every line feed becomes a NUL, then two closing NULs.
Bytes MultiStringData(TextView text);

// By type; nothing for a type the program does not write.
std::optional<Bytes> TextData(std::uint32_t type, TextView text);

}  // namespace registry
