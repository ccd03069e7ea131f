#include "registry/operations.h"

#include <gtest/gtest.h>

#include "registry/value_text.h"
#include "tests/sim/registry_sim.h"

namespace registry {
namespace {

using sim::registry;
using sim::Utf16Bytes;

constexpr RegistryStatus kUnset = 0xEE;

// Nothing stays open and nothing was closed twice.
void ExpectAllClosed() {
  EXPECT_EQ(registry().handles.size(), 0u);
  EXPECT_EQ(registry().badCloses, 0);
}

void ArrangeThreeSubkeys() {
  sim::AddRegistryKey(u"HKLM\\Parent\\beta");
  sim::AddRegistryKey(u"HKLM\\Parent\\Alpha");
  sim::AddRegistryKey(u"HKLM\\Parent\\GAMMA");
  sim::AddRegistryKey(u"HKLM\\Parent\\Alpha\\Nested");
  sim::AddRegistryKey(u"HKLM\\Parent\\one", u"\\\\server");
}

TEST(RegistryListSubkey, PositionsFromOneInTheRegistrysOrderAndFailuresGiveTheirStatus) {
  const struct {
    const char* what;
    Text root;
    Text path;
    std::int64_t index;
    Text computer;
    Text expected;
    RegistryStatus status;
    const char* failing = nullptr;  // a call made to fail
  } cases[] = {
      {"first", u"hklm", u"Parent", 1, u"", u"Alpha", 0},
      {"second", u"hklm", u"Parent", 2, u"", u"beta", 0},
      {"third", u"hklm", u"Parent", 3, u"", u"GAMMA", 0},
      {"past the end", u"hklm", u"Parent", 4, u"", u"", 2},
      {"position 0", u"hklm", u"Parent", 0, u"", u"", 2},
      {"negative position", u"hklm", u"Parent", -1, u"", u"", 2},
      {"beyond 32 bits", u"hklm", u"Parent", 0x100000001, u"", u"", 2},
      {"one leading backslash", u"HKLM", u"\\Parent", 1, u"", u"Alpha", 0},
      {"two leading backslashes", u"hklm", u"\\\\Parent", 1, u"", u"", 1},
      {"empty path lists the root", u"hklm", u"", 1, u"", u"Parent", 0},
      {"missing key", u"hklm", u"Nowhere", 1, u"", u"", 1},
      {"unknown root", u"hklm\\", u"Parent", 1, u"", u"", 1},
      {"long root name", u"HKEY_LOCAL_MACHINE", u"Parent", 1, u"", u"", 1},
      {"remote", u"hklm64", u"Parent", 1, u"\\\\server", u"one", 0},
      {"remote past the end", u"hklm", u"Parent", 2, u"\\\\server", u"", 2},
      {"remote missing key", u"hklm", u"Nowhere", 1, u"\\\\server", u"", 1},
      {"unreachable", u"hklm", u"Parent", 1, u"\\\\nowhere", u"", 4},
      {"open fails", u"hklm", u"Parent", 1, u"", u"", 1, "RegOpenKeyExW"},
      {"listing fails", u"hklm", u"Parent", 1, u"", u"", 2, "RegEnumKeyExW"},
      {"connecting fails", u"hklm", u"Parent", 1, u"\\\\server", u"", 4, "RegConnectRegistryW"},
      {"remote open fails", u"hklm", u"Parent", 1, u"\\\\server", u"", 1, "RegOpenKeyExW"},
      {"remote listing fails", u"hklm", u"Parent", 1, u"\\\\server", u"", 2, "RegEnumKeyExW"},
      {"path holding U+0000", u"hklm", Text(u"Parent\0x", 8), 1, u"", u"", 1},
      {"computer holding U+0000", u"hklm", u"Parent", 1, Text(u"\\\\server\0x", 10), u"", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    ArrangeThreeSubkeys();
    if (c.failing != nullptr) sim::FailCall(c.failing);
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryListSubkey(&status, c.root, c.path, c.index, c.computer), c.expected);
    EXPECT_EQ(status, c.status);
    ExpectAllClosed();
  }
}

TEST(RegistryListSubkey, RemoteListingClosesTheKeyBeforeTheRemoteRoot) {
  sim::Reset();
  ArrangeThreeSubkeys();
  RegistryStatus status = kUnset;
  EXPECT_EQ(RegistryListSubkey(&status, u"hklm", u"Parent", 1, u"\\\\server"), u"one");
  const auto& calls = sim::Calls();
  ASSERT_GE(calls.size(), 2u);
  // The remote root is the first handle made, the key the second.
  EXPECT_EQ(calls[calls.size() - 2], "RegCloseKey 4097");
  EXPECT_EQ(calls[calls.size() - 1], "RegCloseKey 4096");
  ExpectAllClosed();
}

TEST(RegistryListSubkey, NamesOf255CharactersOrMoreDoNotFitTheCapacity) {
  sim::Reset();
  sim::AddRegistryKey(u"HKLM\\P\\" + Text(254, u'a'));
  sim::AddRegistryKey(u"HKLM\\P\\" + Text(255, u'b'));
  RegistryStatus status = kUnset;
  EXPECT_EQ(RegistryListSubkey(&status, u"hklm", u"P", 1, u""), Text(254, u'a'));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RegistryListSubkey(&status, u"hklm", u"P", 2, u""), u"");
  EXPECT_EQ(status, 2);
}

TEST(RegistryListSubkey, WorksWithoutAStatus) {
  sim::Reset();
  ArrangeThreeSubkeys();
  EXPECT_EQ(RegistryListSubkey(nullptr, u"hklm", u"Parent", 1, u""), u"Alpha");
  EXPECT_EQ(RegistryListSubkey(nullptr, u"hklm", u"Parent", 1, u"nowhere"), u"");
  ExpectAllClosed();
}

TEST(RegistryReadValue, RendersStoredDataAndGivesItsStatus) {
  const struct {
    const char* what;
    Text root;
    Text path;
    Text name;
    Text expected;
    RegistryStatus status;
    const char* failing = nullptr;  // a call made to fail
    bool grow = false;              // the value grows after the size query
  } cases[] = {
      {"string", u"hklm", u"K", u"sz", u"text", 0},
      {"value names ignore case", u"HKLM", u"\\k", u"SZ", u"text", 0},
      {"unterminated string", u"hklm", u"K", u"raw", u"raw", 0},
      {"expand string stays unexpanded", u"hklm", u"K", u"expand", u"%TEMP%\\x", 0},
      {"binary", u"hklm", u"K", u"bin", u"00FF10", 0},
      {"dword", u"hklm", u"K", u"dword", u"4294967295", 0},
      {"2-byte dword", u"hklm", u"K", u"short", u"258", 0},
      {"8-byte dword", u"hklm", u"K", u"long", u"", 1},
      {"multi string", u"hklm", u"K", u"multi", u"a\nb", 0},
      {"malformed multi string", u"hklm", u"K", u"badmulti", u"x", 0},
      {"qword", u"hklm", u"K", u"qword", u"", 1},
      {"none", u"hklm", u"K", u"none", u"", 1},
      {"default value", u"hklm", u"K", u"", u"default", 0},
      {"missing value", u"hklm", u"K", u"absent", u"", 2},
      {"missing default value", u"hklm", u"K\\Sub", u"", u"", 3},
      {"missing key", u"hklm", u"Nowhere", u"sz", u"", 1},
      {"unknown root", u" hklm", u"K", u"sz", u"", 1},
      {"root key's own value", u"hkcu", u"", u"top", u"1", 0},
      {"open fails", u"hklm", u"K", u"sz", u"", 1, "RegOpenKeyExW"},
      {"every query fails", u"hklm", u"K", u"sz", u"", 2, "RegQueryValueExW"},
      {"every query fails, default value", u"hklm", u"K", u"", u"", 3, "RegQueryValueExW"},
      {"value grows after the size query", u"hklm", u"K", u"sz", u"", 2, nullptr, true},
      {"value name holding U+0000", u"hklm", u"K", Text(u"sz\0x", 4), u"", 1},
      {"default value grows after the size query", u"hklm", u"K", u"", u"", 3, nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::PutRegistryValue(u"HKLM\\K", u"sz", kRegSz, Utf16Bytes(u"text"));
    sim::PutRegistryValue(u"HKLM\\K", u"raw", kRegSz, Utf16Bytes(u"raw", false));
    sim::PutRegistryValue(u"HKLM\\K", u"expand", kRegExpandSz, Utf16Bytes(u"%TEMP%\\x"));
    sim::PutRegistryValue(u"HKLM\\K", u"bin", kRegBinary, {0x00, 0xFF, 0x10});
    sim::PutRegistryValue(u"HKLM\\K", u"dword", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF});
    sim::PutRegistryValue(u"HKLM\\K", u"short", kRegDword, {0x02, 0x01});
    sim::PutRegistryValue(u"HKLM\\K", u"long", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0});
    sim::PutRegistryValue(u"HKLM\\K", u"multi", kRegMultiSz,
                          Utf16Bytes(std::u16string_view(u"a\0b\0\0", 5), false));
    sim::PutRegistryValue(u"HKLM\\K", u"badmulti", kRegMultiSz, {'x', 0, 'y'});
    sim::PutRegistryValue(u"HKLM\\K", u"qword", 11, {1, 0, 0, 0, 0, 0, 0, 0});
    sim::PutRegistryValue(u"HKLM\\K", u"none", 0, {});
    sim::PutRegistryValue(u"HKLM\\K", u"", kRegSz, Utf16Bytes(u"default"));
    sim::AddRegistryKey(u"HKLM\\K\\Sub");
    sim::PutRegistryValue(u"HKCU", u"top", kRegDword, {1, 0, 0, 0});
    if (c.failing != nullptr) sim::FailCall(c.failing);
    if (c.grow) {
      registry().afterSizeQuery = [name = c.name] {
        sim::PutRegistryValue(u"HKLM\\K", name, kRegSz, Utf16Bytes(u"longer than any before"));
      };
    }
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryReadValue(&status, c.root, c.path, c.name), c.expected);
    EXPECT_EQ(status, c.status);
    ExpectAllClosed();
  }
}

TEST(RegistryReadValue, ReadingCreatesNothingAndAValueThatShrinksStillReads) {
  sim::Reset();
  sim::PutRegistryValue(u"HKLM\\K", u"v", kRegSz, Utf16Bytes(u"abc"));
  registry().afterSizeQuery = [] {
    sim::PutRegistryValue(u"HKLM\\K", u"v", kRegSz, Utf16Bytes(u"x"));
  };
  RegistryStatus status = kUnset;
  EXPECT_EQ(RegistryReadValue(&status, u"hklm", u"K", u"v"), u"x");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RegistryReadValue(nullptr, u"hklm", u"K\\New", u"v"), u"");
  EXPECT_EQ(sim::FindRegistryKey(u"HKLM\\K\\New"), nullptr);
  ExpectAllClosed();
}

TEST(RegistryWriteValue, StoresTheConvertedData) {
  const struct {
    const char* what;
    std::uint32_t type;
    Text text;
    Bytes stored;
    Text readBack;
  } cases[] = {
      {"empty string", kRegSz, u"", {0, 0}, u""},
      {"string", kRegSz, u"Volume", Utf16Bytes(u"Volume"), u"Volume"},
      {"expand string", kRegExpandSz, u"%X%", Utf16Bytes(u"%X%"), u"%X%"},
      {"hex dword", kRegDword, u"0x1F", {31, 0, 0, 0}, u"31"},
      {"minus one", kRegDword, u"-1", {0xFF, 0xFF, 0xFF, 0xFF}, u"4294967295"},
      {"binary", kRegBinary, u"0a1B", {0x0A, 0x1B}, u"0A1B"},
      {"empty binary", kRegBinary, u"", {0}, u"00"},
      {"multi", kRegMultiSz, u"a\nb", Utf16Bytes(std::u16string_view(u"a\0b\0\0", 5), false),
       u"a\nb"},
      {"multi, trailing line feed", kRegMultiSz, u"a\n",
       Utf16Bytes(std::u16string_view(u"a\0\0\0", 4), false), u"a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    EXPECT_EQ(RegistryWriteValue(u"hklm", u"New\\Key", u"v", c.type, c.text), 0);
    const auto value = sim::RegistryValueAt(u"HKLM\\New\\Key", u"v");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(value->data, c.stored);
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryReadValue(&status, u"hklm", u"New\\Key", u"v"), c.readBack);
    EXPECT_EQ(status, 0);
    ExpectAllClosed();
  }
}

TEST(RegistryWriteValue, ResultsOfTypesAndFailures) {
  const struct {
    const char* what;
    Text root;
    std::uint32_t type;
    const char* failing;
    int result;
    bool keyExists;
    bool valueStored;
  } cases[] = {
      {"type 0 creates the key only", u"hklm", 0, nullptr, 0, true, false},
      {"type 5 is refused after the create", u"hklm", 5, nullptr, 1, true, false},
      {"type 11 is refused after the create", u"hklm", 11, nullptr, 1, true, false},
      {"unknown root", u"hklm64 ", kRegSz, nullptr, 1, false, false},
      {"open and create refused", u"hklm", kRegSz, "RegCreateKeyExW", 1, false, false},
      {"type 0 with create refused", u"hklm", 0, "RegCreateKeyExW", 1, false, false},
      {"store refused", u"hklm", kRegSz, "RegSetValueExW", 1, true, false},
      {"view flag root", u"HKLM64", kRegSz, nullptr, 0, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    if (c.failing) sim::FailCall(c.failing);
    EXPECT_EQ(RegistryWriteValue(c.root, u"\\A\\B", u"v", c.type, u"1"), c.result);
    EXPECT_EQ(sim::FindRegistryKey(u"HKLM\\A\\B") != nullptr, c.keyExists);
    EXPECT_EQ(sim::RegistryValueAt(u"HKLM\\A\\B", u"v").has_value(), c.valueStored);
    ExpectAllClosed();
  }
}

TEST(RegistryWriteValue, OpensAnExistingKeyAndReplacesTheValue) {
  sim::Reset();
  sim::PutRegistryValue(u"HKLM\\A", u"v", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(RegistryWriteValue(u"hklm", u"A", u"V", kRegSz, u"x"), 0);
  EXPECT_EQ(sim::RegistryValueAt(u"HKLM\\A", u"v")->type, kRegSz);
  ASSERT_EQ(registry().opens.size(), 1u);
  EXPECT_EQ(registry().opens[0].call, "RegOpenKeyExW");
  // A key whose open for writing is refused is still reached by the create.
  sim::Reset();
  sim::AddRegistryKey(u"HKLM\\A");
  sim::FailCall("RegOpenKeyExW");
  EXPECT_EQ(RegistryWriteValue(u"hklm", u"A", u"", kRegSz, u"x"), 0);
  EXPECT_EQ(sim::RegistryValueAt(u"HKLM\\A", u"")->data, Utf16Bytes(u"x"));
  ExpectAllClosed();
}

}  // namespace
}  // namespace registry
