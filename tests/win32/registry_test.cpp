// The registry operations against a real registry (Wine's, with no ACLs):
// a scratch key under HKCU, and the volume records under HKLM for the repair.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "mounter/repair.h"
#include "platform/advapi32.h"
#include "registry/operations.h"
#include "registry/value_text.h"
#include "tests/sim/narrow.h"

namespace {

using registry::RegistryListSubkey;
using registry::RegistryReadValue;
using registry::RegistryStatus;
using registry::RegistryWriteValue;
using registry::Text;
using sim::Narrow;
using sim::Utf16Bytes;

constexpr RegistryStatus kUnset = 0xEE;
const Text kScratch = u"Software\\ParvolaRegistryTest";
const wchar_t kScratchW[] = L"Software\\ParvolaRegistryTest";

struct RawValue {
  LONG status = 0;
  DWORD type = 0;
  std::vector<BYTE> data;
};

RawValue QueryRaw(HKEY root, const wchar_t* path, const wchar_t* name) {
  RawValue value;
  HKEY key = nullptr;
  value.status = RegOpenKeyExW(root, path, 0, KEY_READ, &key);
  if (value.status != ERROR_SUCCESS) return value;
  DWORD size = 0;
  RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
  value.data.resize(size);
  value.status = RegQueryValueExW(key, name, nullptr, &value.type,
                                  value.data.empty() ? nullptr : value.data.data(), &size);
  value.data.resize(size);
  RegCloseKey(key);
  return value;
}

void SetRaw(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type,
            const std::vector<BYTE>& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class RegistryOnWine : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratchW); }
  void TearDown() override {
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kScratchW), ERROR_SUCCESS);
  }
};

TEST(RegistryRoots, PredefinedRootsHaveTheirWindowsNumbers) {
  EXPECT_EQ(reinterpret_cast<HKEY>(platform::kLocalMachine), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reinterpret_cast<HKEY>(platform::kClassesRoot), HKEY_CLASSES_ROOT);
  EXPECT_EQ(reinterpret_cast<HKEY>(platform::kCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(reinterpret_cast<HKEY>(platform::kUsers), HKEY_USERS);
  EXPECT_EQ(reinterpret_cast<HKEY>(platform::kCurrentConfig), HKEY_CURRENT_CONFIG);
}

TEST_F(RegistryOnWine, TextsRoundTripThroughEveryType) {
  const struct {
    DWORD type;
    Text text;
    std::vector<BYTE> stored;
    Text readBack;
  } cases[] = {
      {REG_SZ, u"", {0, 0}, u""},
      {REG_SZ, u"Volume \u00E4\U0001F600", Utf16Bytes(u"Volume \u00E4\U0001F600"),
       u"Volume \u00E4\U0001F600"},
      {REG_EXPAND_SZ, u"%SystemRoot%\\x", Utf16Bytes(u"%SystemRoot%\\x"), u"%SystemRoot%\\x"},
      {REG_DWORD, u"0x1F", {31, 0, 0, 0}, u"31"},
      {REG_DWORD, u"-1", {0xFF, 0xFF, 0xFF, 0xFF}, u"4294967295"},
      {REG_BINARY, u"0a1B", {0x0A, 0x1B}, u"0A1B"},
      {REG_BINARY, u"", {0x00}, u"00"},
      {REG_MULTI_SZ, u"a\nb", Utf16Bytes(std::u16string_view(u"a\0b\0", 4)), u"a\nb"},
      {REG_MULTI_SZ, u"a\n", Utf16Bytes(std::u16string_view(u"a\0\0", 3)), u"a"},
      {REG_MULTI_SZ, u"", {0, 0, 0, 0}, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + Narrow(c.text));
    ASSERT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\Types", u"v", c.type, c.text), 0);
    const RawValue raw = QueryRaw(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\Types", L"v");
    EXPECT_EQ(raw.status, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, c.type);
    EXPECT_EQ(raw.data, c.stored);
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryReadValue(&status, u"HKCU", u"\\" + kScratch + u"\\Types", u"v"), c.readBack);
    EXPECT_EQ(status, 0);
  }
}

TEST_F(RegistryOnWine, DataStoredByOthersAndTheStatusOfEachFailure) {
  const wchar_t* path = L"Software\\ParvolaRegistryTest\\Odd";
  SetRaw(HKEY_CURRENT_USER, path, L"raw", REG_SZ, Utf16Bytes(u"abc", false));
  SetRaw(HKEY_CURRENT_USER, path, L"short", REG_DWORD, {0x02, 0x01});
  SetRaw(HKEY_CURRENT_USER, path, L"long", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  SetRaw(HKEY_CURRENT_USER, path, L"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  SetRaw(HKEY_CURRENT_USER, path, L"multi", REG_MULTI_SZ, {'x', 0, 'y'});
  const struct {
    Text root;
    Text path;
    Text name;
    Text expected;
    RegistryStatus status;
  } cases[] = {
      {u"hkcu", kScratch + u"\\Odd", u"raw", u"abc", 0},
      {u"hkcu64", kScratch + u"\\Odd", u"raw", u"abc", 0},
      {u"hkcu", kScratch + u"\\Odd", u"short", u"258", 0},
      {u"hkcu", kScratch + u"\\Odd", u"long", u"", 1},
      {u"hkcu", kScratch + u"\\Odd", u"qword", u"", 1},
      {u"hkcu", kScratch + u"\\Odd", u"multi", u"x", 0},
      {u"hkcu", kScratch + u"\\Odd", u"absent", u"", 2},
      {u"hkcu", kScratch + u"\\Odd", u"", u"", 3},
      {u"hkcu", kScratch + u"\\Missing", u"raw", u"", 1},
      {u"hkcu", u"\\\\" + kScratch + u"\\Odd", u"raw", u"", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.root + u" " + c.path + u" " + c.name));
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryReadValue(&status, c.root, c.path, c.name), c.expected);
    EXPECT_EQ(status, c.status);
  }
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\Missing"));
}

TEST_F(RegistryOnWine, ListsSubkeysSortedIgnoringCase) {
  for (const Text name : {u"beta", u"Alpha", u"GAMMA"}) {
    ASSERT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\List\\" + name, u"", 0, u""), 0);
  }
  // The capacity the listing gives counts the terminating NUL.
  for (const Text& name : {Text(254, u'a'), Text(255, u'b')}) {
    ASSERT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\Long\\" + name, u"", 0, u""), 0);
  }
  const struct {
    Text path;
    std::int64_t index;
    Text computer;
    Text expected;
    RegistryStatus status;
  } cases[] = {
      {kScratch + u"\\List", 1, u"", u"Alpha", 0},
      {kScratch + u"\\List", 2, u"", u"beta", 0},
      {kScratch + u"\\List", 3, u"", u"GAMMA", 0},
      {kScratch + u"\\List", 4, u"", u"", 2},
      {kScratch + u"\\List", 0, u"", u"", 2},
      {kScratch + u"\\Missing", 1, u"", u"", 1},
      {kScratch + u"\\List", 1, u"\\\\parvola-no-such-computer", u"", 4},
      {kScratch + u"\\Long", 1, u"", Text(254, u'a'), 0},
      {kScratch + u"\\Long", 2, u"", u"", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.path + u" " + c.computer) + " " + std::to_string(c.index));
    RegistryStatus status = kUnset;
    EXPECT_EQ(RegistryListSubkey(&status, u"hkcu", c.path, c.index, c.computer), c.expected);
    EXPECT_EQ(status, c.status);
  }
}

TEST_F(RegistryOnWine, WritingTypeZeroCreatesKeysAndOtherTypesStoreNothing) {
  EXPECT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\A\\B", u"", 0, u"x"), 0);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\A\\B"));
  for (DWORD type : {5u, 11u}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\C" + Text(1, u'0' + type % 10), u"v", type,
                                 u"1"),
              1);
  }
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\C5"));
  EXPECT_EQ(QueryRaw(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\C1", L"v").status,
            ERROR_FILE_NOT_FOUND);
  // Windows would see only what comes before the U+0000, and write there.
  EXPECT_EQ(RegistryWriteValue(u"hkcu", kScratch + Text(u"\\N\0x", 4), u"v", 1, u"1"), 1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\N"));
  EXPECT_EQ(RegistryWriteValue(u"hkcu", kScratch + u"\\A", Text(u"v\0x", 3), 1, u"1"), 1);
  EXPECT_EQ(QueryRaw(HKEY_CURRENT_USER, L"Software\\ParvolaRegistryTest\\A", L"v").status,
            ERROR_FILE_NOT_FOUND);
}

// The volume records live under HKLM. Records this test makes carry its
// prefix and are deleted again, and so is the highest key above them that it
// had to create.
class RepairOnWine : public ::testing::Test {
 protected:
  static constexpr wchar_t kParent[] = L"SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";
  static std::wstring Record(const wchar_t* name) { return std::wstring(kParent) + L"\\" + name; }
  void SetUp() override {
    for (const wchar_t* path : {L"SYSTEM\\CurrentControlSet\\Enum\\STORAGE", kParent}) {
      if (!KeyExists(HKEY_LOCAL_MACHINE, path)) {
        created_ = path;
        break;
      }
    }
    for (const wchar_t* name : kNames) RegDeleteTreeW(HKEY_LOCAL_MACHINE, Record(name).c_str());
  }
  void TearDown() override {
    for (const wchar_t* name : kNames) RegDeleteTreeW(HKEY_LOCAL_MACHINE, Record(name).c_str());
    if (!created_.empty()) RegDeleteTreeW(HKEY_LOCAL_MACHINE, created_.c_str());
  }
  static constexpr const wchar_t* kNames[] = {L"!ParvolaTest#Empty", L"!ParvolaTest#HasClass",
                                              L"!ParvolaTest#Complete", L"!ParvolaTest#Qword"};
  std::wstring created_;
};

TEST_F(RepairOnWine, AddsMissingClassValuesAndLeavesPresentOnes) {
  const std::wstring empty = Record(kNames[0]);
  const std::wstring hasClass = Record(kNames[1]);
  const std::wstring complete = Record(kNames[2]);
  const std::wstring qword = Record(kNames[3]);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, empty.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  SetRaw(HKEY_LOCAL_MACHINE, hasClass.c_str(), L"Class", REG_SZ, Utf16Bytes(u"DiskDrive"));
  SetRaw(HKEY_LOCAL_MACHINE, complete.c_str(), L"Class", REG_SZ, Utf16Bytes(u""));
  SetRaw(HKEY_LOCAL_MACHINE, complete.c_str(), L"ClassGUID", REG_DWORD, {7, 0, 0, 0});
  SetRaw(HKEY_LOCAL_MACHINE, qword.c_str(), L"Class", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  SetRaw(HKEY_LOCAL_MACHINE, qword.c_str(), L"ClassGUID", REG_SZ, Utf16Bytes(u"x"));

  mounter::RepairVolumeRecords();

  const std::vector<BYTE> volume = Utf16Bytes(u"Volume");
  const std::vector<BYTE> guid = Utf16Bytes(u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}");
  const struct {
    std::wstring record;
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
  } expected[] = {
      {empty, L"Class", REG_SZ, volume},
      {empty, L"ClassGUID", REG_SZ, guid},
      {hasClass, L"Class", REG_SZ, Utf16Bytes(u"DiskDrive")},
      {hasClass, L"ClassGUID", REG_SZ, guid},
      {complete, L"Class", REG_SZ, Utf16Bytes(u"")},
      {complete, L"ClassGUID", REG_DWORD, {7, 0, 0, 0}},
      {qword, L"Class", REG_SZ, volume},
      {qword, L"ClassGUID", REG_SZ, Utf16Bytes(u"x")},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(std::string(e.record.begin(), e.record.end()) + " " +
                 std::string(e.name, e.name + wcslen(e.name)));
    const RawValue raw = QueryRaw(HKEY_LOCAL_MACHINE, e.record.c_str(), e.name);
    EXPECT_EQ(raw.status, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, e.type);
    EXPECT_EQ(raw.data, e.data);
  }
}

}  // namespace
