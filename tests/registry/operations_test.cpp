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
  sim::AddRegistryKey(u"HKLM\\Wide\\" + Text(254, u'a'));
  sim::AddRegistryKey(u"HKLM\\Wide\\" + Text(255, u'b'));
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
      {"a name of 254 characters", u"hklm", u"Wide", 1, u"", Text(254, u'a'), 0},
      // Names of 255 characters or more do not fit the capacity.
      {"a name of 255 characters", u"hklm", u"Wide", 2, u"", u"", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    ArrangeThreeSubkeys();
    if (c.failing != nullptr) sim::FailCall(c.failing);
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryListSubkey(&status, c.root, c.path, c.index, c.computer), c.expected);
    EXPECT_EQ(status, c.status);
    // The first handle made, a remote root or else the key, is closed last.
    std::string lastClose = "RegCloseKey 4096";
    for (const std::string& call : sim::Calls()) {
      if (call.starts_with("RegCloseKey ")) lastClose = call;
    }
    EXPECT_EQ(lastClose, "RegCloseKey 4096");
    EXPECT_EQ(RegistryListSubkey(nullptr, c.root, c.path, c.index, c.computer), c.expected);
    ExpectAllClosed();
  }
}

TEST(RegistryReadValue, RendersStoredDataAndGivesItsStatus) {
  constexpr char16_t kLonger[] = u"longer than any before";
  const struct {
    const char* what;
    Text root;
    Text path;
    Text name;
    Text expected;
    RegistryStatus status;
    const char* failing = nullptr;        // a call made to fail
    const char16_t* changedTo = nullptr;  // the value's text after the size query
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
      {"value grows after the size query", u"hklm", u"K", u"sz", u"", 2, nullptr, kLonger},
      {"value shrinks after the size query", u"hklm", u"K", u"sz", u"x", 0, nullptr, u"x"},
      {"value name holding U+0000", u"hklm", u"K", Text(u"sz\0x", 4), u"", 1},
      {"default value grows after the size query", u"hklm", u"K", u"", u"", 3, nullptr, kLonger},
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
    if (c.changedTo == nullptr) {
      EXPECT_EQ(RegistryReadValue(nullptr, c.root, c.path, c.name), c.expected);
    } else {
      registry().afterSizeQuery = [&c] {
        sim::PutRegistryValue(u"HKLM\\K", c.name, kRegSz, Utf16Bytes(c.changedTo));
      };
    }
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryReadValue(&status, c.root, c.path, c.name), c.expected);
    EXPECT_EQ(status, c.status);
    ExpectAllClosed();
  }
}

TEST(RegistryWriteValue, StoresTheConvertedDataOrFails) {
  const auto multi = [](std::u16string_view units) { return Utf16Bytes(units, false); };
  const struct {
    const char* what;
    std::uint32_t type;
    Text text;
    std::optional<Bytes> stored;  // and read back as `readBack`
    Text readBack;
    int result = 0;
    bool keyMade = true;
    Text root = u"hklm";
    const char* failing = nullptr;  // a call made to fail
  } cases[] = {
      {"empty string", kRegSz, u"", Bytes{0, 0}, u""},
      {"string", kRegSz, u"Volume", Utf16Bytes(u"Volume"), u"Volume"},
      {"expand string", kRegExpandSz, u"%X%", Utf16Bytes(u"%X%"), u"%X%"},
      {"hex dword", kRegDword, u"0x1F", Bytes{31, 0, 0, 0}, u"31"},
      {"minus one", kRegDword, u"-1", Bytes{0xFF, 0xFF, 0xFF, 0xFF}, u"4294967295"},
      {"binary", kRegBinary, u"0a1B", Bytes{0x0A, 0x1B}, u"0A1B"},
      {"empty binary", kRegBinary, u"", Bytes{0}, u"00"},
      {"multi", kRegMultiSz, u"a\nb", multi({u"a\0b\0\0", 5}), u"a\nb"},
      {"multi, trailing line feed", kRegMultiSz, u"a\n", multi({u"a\0\0\0", 4}), u"a"},
      {"view flag root", kRegSz, u"1", Utf16Bytes(u"1"), u"1", 0, true, u"HKLM64"},
      {"type 0 creates the key only", 0, u"1", {}, u"", 0},
      {"type 5 is refused after the create", 5, u"1", {}, u"", 1},
      {"type 11 is refused after the create", 11, u"1", {}, u"", 1},
      {"unknown root", kRegSz, u"1", {}, u"", 1, false, u"hklm64 "},
      {"open and create refused", kRegSz, u"1", {}, u"", 1, false, u"hklm", "RegCreateKeyExW"},
      {"type 0 with create refused", 0, u"1", {}, u"", 1, false, u"hklm", "RegCreateKeyExW"},
      {"store refused", kRegSz, u"1", {}, u"", 1, true, u"hklm", "RegSetValueExW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    if (c.failing) sim::FailCall(c.failing);
    EXPECT_EQ(RegistryWriteValue(c.root, u"\\A\\B", u"v", c.type, c.text), c.result);
    EXPECT_EQ(sim::FindRegistryKey(u"HKLM\\A\\B") != nullptr, c.keyMade);
    const auto value = sim::RegistryValueAt(u"HKLM\\A\\B", u"v");
    ASSERT_EQ(value.has_value(), c.stored.has_value());
    if (value) {
      EXPECT_EQ(value->type, c.type);
      EXPECT_EQ(value->data, *c.stored);
      EXPECT_EQ(RegistryReadValue(nullptr, u"hklm", u"A\\B", u"v"), c.readBack);
    }
    ExpectAllClosed();
  }
}

}  // namespace
}  // namespace registry
