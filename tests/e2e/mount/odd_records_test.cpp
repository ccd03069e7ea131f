// Volume device records holding values of every odd type and size: after a
// one-shot run the repair has added exactly the "Class" and "ClassGUID"
// values whose read fails, and every other byte of every record is as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/mount/scenario.h"
#include "tests/e2e/program.h"
#include "tests/sim/narrow.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<BYTE>;
using sim::Narrow;
using sim::Utf16Bytes;

struct Value {
  DWORD type = REG_NONE;
  Bytes data;
};

// Key path (below the records' parent) -> value name -> value. Names as the
// registry lists them; it compares them ignoring case.
struct NoCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }
};
using Values = std::map<std::wstring, Value, NoCase>;
using Snapshot = std::map<std::wstring, Values, NoCase>;

struct ArrangedValue {
  std::wstring name;
  Value value;
};
struct ArrangedRecord {
  std::wstring key;  // may name a subkey of a record ("rec\Device Parameters")
  std::vector<ArrangedValue> values;
};

Bytes Filled(std::size_t size, BYTE seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(seed + i * 7);
  return bytes;
}

// Huge, but within what Wine's registry server keeps.
constexpr std::size_t kHuge = 256 * 1024;
constexpr DWORD kOddType = 0x4000;

const std::vector<ArrangedRecord>& Records() {
  static const std::vector<ArrangedRecord> records = {
      {L"none-class",
       {{L"Class", {REG_NONE, {}}}, {L"ClassGUID", {REG_NONE, Utf16Bytes(kVolumeClassGuid)}}}},
      {L"binary", {{L"Class", {REG_BINARY, {1, 2, 3}}}, {L"ClassGUID", {REG_BINARY, {}}}}},
      {L"dword-sizes",
       {{L"Class", {REG_DWORD, {0x34, 0x12}}}, {L"ClassGUID", {REG_DWORD, Filled(8, 1)}}}},
      {L"dword-empty", {{L"Class", {REG_DWORD, {}}}, {L"ClassGUID", {REG_DWORD, {1, 0, 0, 0}}}}},
      {L"qword",
       {{L"Class", {REG_QWORD, Filled(8, 9)}}, {L"ClassGUID", {REG_QWORD, Filled(4, 3)}}}},
      {L"multi",
       {{L"Class", {REG_MULTI_SZ, Utf16Bytes(std::wstring(L"a\0b\0", 4))}},
        {L"ClassGUID", {REG_MULTI_SZ, {0x41, 0, 0x42}}}}},
      {L"unterminated",
       {{L"Class", {REG_SZ, Utf16Bytes(L"Vol", false)}},
        {L"ClassGUID", {REG_SZ, {0x7B, 0, 0x41}}}}},
      {L"empty-sz", {{L"Class", {REG_SZ, {}}}, {L"ClassGUID", {REG_SZ, {0, 0}}}}},
      {L"huge",
       {{L"Class", {REG_SZ, Utf16Bytes(std::wstring(kHuge / 2, L'V'), false)}},
        {L"ClassGUID", {REG_BINARY, Filled(kHuge, 5)}},
        {L"Huge other", {REG_BINARY, Filled(kHuge + 1, 11)}}}},
      {L"expand", {{L"Class", {REG_EXPAND_SZ, Utf16Bytes(L"%SystemRoot%\\Volume")}}}},
      {L"default-only", {{L"", {REG_SZ, Utf16Bytes(L"Volume")}}}},
      {L"big-endian",
       {{L"Class", {REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}}},
        {L"ClassGUID", {REG_RESOURCE_LIST, Filled(12, 2)}}}},
      {L"odd-type",
       {{L"Class", {kOddType, Utf16Bytes(L"Volume")}}, {L"ClassGUID", {kOddType, {}}}}},
      {L"lower-case",
       {{L"class", {REG_SZ, Utf16Bytes(L"DiskDrive")}},
        {L"classguid", {REG_SZ, Utf16Bytes(L"{4D36E967-E325-11CE-BFC1-08002BE10318}")}}}},
      {L"others",
       {{L"ClassGUID", {REG_SZ, Utf16Bytes(kVolumeClassGuid)}},
        {L"FriendlyName", {REG_SZ, Utf16Bytes(L"Test volume")}},
        {L"Capabilities", {REG_DWORD, {0x80, 0, 0, 0}}},
        {L"HardwareID", {REG_MULTI_SZ, Utf16Bytes(std::wstring(L"STORAGE\\Volume\0\0", 16))}}}},
      {L"others\\Device Parameters",
       {{L"Class", {REG_QWORD, Filled(8, 4)}}, {L"", {REG_BINARY, Filled(3, 6)}}}},
      {L"empty-record", {}},
  };
  return records;
}

void Arrange() {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVolumeRecords);
  for (const ArrangedRecord& record : Records()) {
    const std::wstring path = std::wstring(kVolumeRecords) + L"\\" + record.key;
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const ArrangedValue& value : record.values) {
      EXPECT_EQ(
          ::RegSetValueExW(key, value.name.c_str(), 0, value.value.type, value.value.data.data(),
                           static_cast<DWORD>(value.value.data.size())),
          ERROR_SUCCESS)
          << "arranging " << std::string(record.key.begin(), record.key.end());
    }
    ::RegCloseKey(key);
  }
}

void Take(HKEY key, const std::wstring& path, Snapshot& snapshot) {
  Values& values = snapshot[path];
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      break;
    }
    Value value{type, Bytes(size)};
    nameLength = 256;
    ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, value.data.data(), &size);
    value.data.resize(size);
    values[std::wstring(name, nameLength)] = std::move(value);
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::wstring child(name, nameLength);
    HKEY sub;
    if (::RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    Take(sub, path.empty() ? child : path + L"\\" + child, snapshot);
    ::RegCloseKey(sub);
  }
}

// Every value of every key under the records' parent.
Snapshot TakeSnapshot() {
  Snapshot snapshot;
  HKEY key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kVolumeRecords, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return snapshot;
  }
  Take(key, L"", snapshot);
  ::RegCloseKey(key);
  return snapshot;
}

// Whether the program reads the value as present: the read succeeds for
// the five types it renders, and a number is at most 32 bits.
bool ReadsAsPresent(const Value* value) {
  if (value == nullptr) return false;
  switch (value->type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_BINARY:
    case REG_MULTI_SZ:
      return true;
    case REG_DWORD:
      return value->data.size() <= 4;
    default:
      return false;
  }
}

using OddRecords = MachineScenario;

TEST_F(OddRecords, RepairAddsExactlyWhatCannotBeReadAndChangesNothingElse) {
  ASSERT_NO_FATAL_FAILURE(Arrange());
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(before.size(), Records().size() + 1) << "the parent and every arranged key";

  Snapshot expected = before;
  for (auto& [path, values] : expected) {
    // Only the records themselves, the direct subkeys of the parent.
    if (path.empty() || path.find(L'\\') != std::wstring::npos) continue;
    const struct {
      const wchar_t* name;
      const wchar_t* text;
    } classValues[] = {{L"Class", L"Volume"}, {L"ClassGUID", kVolumeClassGuid}};
    for (const auto& c : classValues) {
      const auto found = values.find(c.name);
      if (ReadsAsPresent(found == values.end() ? nullptr : &found->second)) continue;
      // A replaced value keeps the name as it was listed.
      const std::wstring name = found == values.end() ? c.name : found->first;
      values[name] = Value{REG_SZ, Utf16Bytes(c.text)};
    }
  }

  Program program(L"-ng");
  ASSERT_TRUE(program.started());
  ASSERT_EQ(program.WaitForExit(60s), 0);
  const Snapshot after = TakeSnapshot();

  ASSERT_EQ(after.size(), expected.size()) << "no key added or removed";
  for (const auto& [path, values] : expected) {
    SCOPED_TRACE(Narrow(path));
    const auto found = after.find(path);
    ASSERT_NE(found, after.end());
    EXPECT_EQ(found->second.size(), values.size()) << "no value added or removed beyond the repair";
    for (const auto& [name, value] : values) {
      SCOPED_TRACE(Narrow(name.empty() ? L"(default)" : name));
      const auto afterValue = found->second.find(name);
      ASSERT_NE(afterValue, found->second.end());
      EXPECT_EQ(afterValue->second.type, value.type);
      EXPECT_TRUE(afterValue->second.data == value.data)
          << afterValue->second.data.size() << " bytes, expected " << value.data.size();
    }
  }
}

}  // namespace
}  // namespace e2e
