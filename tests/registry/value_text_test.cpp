#include "registry/value_text.h"

#include <gtest/gtest.h>

#include "tests/sim/narrow.h"
#include "tests/sim/registry_sim.h"

namespace registry {
namespace {

using sim::Narrow;
using sim::Utf16Bytes;

TEST(ReadInteger, FollowsTheIntegerRule) {
  const struct {
    Text text;
    std::int64_t expected;
  } cases[] = {
      {u"", 0},
      {u"12abc", 12},
      {u"abc", 0},
      {u" -5", -5},
      {u"\t \t+7", 7},
      {u"$ff", 255},
      {u"$FfG", 255},
      {u"%101", 5},
      {u"%102", 2},
      {u"-$10", -16},
      {u"--1", 0},
      {u"$", 0},
      {u"\n1", 0},  // only blanks and tabs are skipped
      {u"1 2", 1},
      {u"9223372036854775807", INT64_MAX},
      {u"9223372036854775808", INT64_MIN},  // wraps, no overflow check
      {u"18446744073709551617", 1},
      {u"$FFFFFFFFFFFFFFFF", -1},
      {u"\uFF11", 0},  // a full-width digit is no digit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(ReadInteger(c.text), c.expected);
  }
}

TEST(TextData, DwordTakesTheLow32BitsLittleEndian) {
  const struct {
    Text text;
    std::uint32_t expected;
  } cases[] = {
      {u"0x1F", 31},       {u"0X1f", 31},
      {u"31", 31},         {u"-1", 0xFFFFFFFF},
      {u"4294967296", 0},  {u"$10", 16},
      {u"abc", 0},         {u"0x", 0},
      {u"0xG", 0},         {u" 0x1F", 0},  // the prefix must come first: the integer rule reads "0"
      {u"0x -1", 0},                       // after the prefix no blanks or sign are skipped
      {u"%11", 3},         {u"4294967295", 0xFFFFFFFF},
      {u"-4294967295", 1}, {u"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    const Bytes expected = {
        static_cast<std::uint8_t>(c.expected), static_cast<std::uint8_t>(c.expected >> 8),
        static_cast<std::uint8_t>(c.expected >> 16), static_cast<std::uint8_t>(c.expected >> 24)};
    EXPECT_EQ(TextData(kRegDword, c.text), expected);
  }
}

TEST(TextData, BinaryReadsPairsOfHexDigits) {
  const struct {
    Text text;
    Bytes expected;
  } cases[] = {
      {u"0a1B", {0x0A, 0x1B}}, {u"abc", {0xAB}},  // an odd last digit is ignored
      {u"a", {0x0A}},                             // ... unless it is the only one
      {u"G1", {0x00}},         {u"1G", {0x01}},
      {u"", {0x00}},           {u"-1", {0x00}},  // no sign inside the "$" form
      {u" 1", {0x00}},         {u"FFff00", {0xFF, 0xFF, 0x00}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(TextData(kRegBinary, c.text), c.expected);
  }
}

TEST(TextData, StringsAndMultiStrings) {
  const struct {
    std::uint32_t type;
    Text text;
    Bytes expected;
  } cases[] = {
      {kRegSz, u"", {0, 0}},
      {kRegSz, u"Volume", Utf16Bytes(u"Volume")},
      {kRegExpandSz, u"%SystemRoot%", Utf16Bytes(u"%SystemRoot%")},
      {kRegSz, u"\U0001F600", Utf16Bytes(u"\U0001F600")},
      {kRegMultiSz, u"a\nb", Utf16Bytes(std::u16string_view(u"a\0b\0\0", 5), false)},
      {kRegMultiSz, u"", {0, 0, 0, 0}},
      {kRegMultiSz, u"a\r\nb", Utf16Bytes(std::u16string_view(u"a\r\0b\0\0", 6), false)},
      {kRegMultiSz, u"a\n", Utf16Bytes(std::u16string_view(u"a\0\0\0", 4), false)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(TextData(c.type, c.text), c.expected);
  }
}

// None, big-endian dword, link, resource list, qword, and beyond.
TEST(TextData, OtherTypesConvertNeitherWay) {
  for (std::uint32_t type : {0u, 5u, 6u, 8u, 11u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(TextData(type, u"1"));
    EXPECT_FALSE(DataText(type, Bytes{1, 0, 0, 0}));
  }
}

TEST(DataText, RendersEachTypeWithinTheData) {
  const struct {
    const char* what;
    std::uint32_t type;
    Bytes data;
    std::optional<Text> expected;
  } cases[] = {
      {"string with NUL", kRegSz, Utf16Bytes(u"abc"), u"abc"},
      {"unterminated string", kRegSz, Utf16Bytes(u"abc", false), u"abc"},
      {"string ends at first NUL", kRegExpandSz, Utf16Bytes(std::u16string_view(u"a\0b", 3)), u"a"},
      {"odd last byte dropped", kRegSz, {'a', 0, 'b'}, u"a"},
      {"empty string data", kRegSz, {}, u""},
      {"binary", kRegBinary, {0x00, 0x0A, 0xFF}, u"000AFF"},
      {"empty binary", kRegBinary, {}, u""},
      {"dword", kRegDword, {0x1F, 0, 0, 0}, u"31"},
      {"dword all ones", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, u"4294967295"},
      {"dword zero", kRegDword, {0, 0, 0, 0}, u"0"},
      {"2-byte dword fills the low bytes", kRegDword, {0x34, 0x12}, u"4660"},
      {"empty dword", kRegDword, {}, u"0"},
      {"8-byte dword does not fit", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DataText(c.type, c.data), c.expected);
  }
}

TEST(DataText, MultiStringWalkStopsBeforeTheLastTwoBytes) {
  const struct {
    const char* what;
    Bytes data;
    Text expected;
  } cases[] = {
      {"well formed", Utf16Bytes(std::u16string_view(u"a\0bc\0\0", 6), false), u"a\nbc"},
      {"empty list", {0, 0, 0, 0}, u""},
      {"one NUL", {0, 0}, u""},
      {"nothing", {}, u""},
      {"one byte", {'a'}, u""},
      {"empty string inside", Utf16Bytes(std::u16string_view(u"a\0\0b\0\0", 6), false), u"a\n\nb"},
      {"no closing NULs", Utf16Bytes(u"ab", false), u"ab"},
      {"single closing NUL", Utf16Bytes(std::u16string_view(u"a\0b\0", 4), false), u"a\nb"},
      // The second string starts 2 bytes before the end: not read.
      {"last unit after a NUL", Utf16Bytes(std::u16string_view(u"a\0b", 3), false), u"a"},
      {"odd size", {'a', 0, 0, 0, 'b'}, u"a"},
      {"trailing empty strings", Utf16Bytes(std::u16string_view(u"a\0\0\0\0", 5), false), u"a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DataText(kRegMultiSz, c.data), c.expected);
  }
}

TEST(DataText, MultiStringRoundTripDropsOnlyTrailingLineFeeds) {
  const struct {
    Text text;
    Text expected;
  } cases[] = {
      {u"a\nb", u"a\nb"}, {u"a\n", u"a"},         {u"a\n\n\n", u"a"}, {u"\n", u""},
      {u"\na", u"\na"},   {u"a\n\nb", u"a\n\nb"}, {u"", u""},         {u"a\r\n", u"a\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(DataText(kRegMultiSz, *TextData(kRegMultiSz, c.text)), c.expected);
  }
}

}  // namespace
}  // namespace registry
