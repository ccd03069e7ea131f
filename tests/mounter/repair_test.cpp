#include "mounter/repair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/value_text.h"
#include "tests/sim/registry_sim.h"
#include "tests/sim/sim.h"

namespace mounter {
namespace {

using sim::registry;
using sim::Utf16Bytes;

const platform::Text kRecords = u"HKLM\\SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";
const platform::Text kGuid = u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}";

platform::Text Record(platform::TextView name) { return kRecords + u"\\" + platform::Text(name); }

std::vector<std::string> Writes() {
  std::vector<std::string> writes;
  for (const std::string& call : sim::Calls()) {
    if (call.rfind("RegSetValueExW", 0) == 0) writes.push_back(call);
  }
  return writes;
}

std::size_t Reads() { return sim::CountCalls("RegQueryValueExW data"); }

void ExpectString(platform::TextView record, platform::TextView name, platform::TextView text) {
  const auto value = sim::RegistryValueAt(Record(record), name);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, registry::kRegSz);
  EXPECT_EQ(value->data, Utf16Bytes(text));
}

TEST(RepairVolumeRecords, WritesNothingWhereNoValueLacks) {
  const struct {
    const char* what;
    void (*arrange)();
    std::size_t reads;
  } cases[] = {
      {"no parent", [] {}, 0},
      {"no records", [] { sim::AddRegistryKey(kRecords); }, 0},
      // Any readable content counts as present, whatever it holds.
      {"complete records",
       [] {
         sim::PutRegistryValue(Record(u"A"), u"Class", registry::kRegSz, Utf16Bytes(u""));
         sim::PutRegistryValue(Record(u"A"), u"ClassGUID", registry::kRegDword, {1, 0, 0, 0});
         sim::PutRegistryValue(Record(u"B"), u"Class", registry::kRegMultiSz, {0, 0, 0, 0});
         sim::PutRegistryValue(Record(u"B"), u"ClassGUID", registry::kRegBinary, {});
       },
       4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    c.arrange();
    RepairVolumeRecords();
    EXPECT_EQ(Reads(), c.reads);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(sim::CountCalls("RegCreateKeyExW"), 0u);
    EXPECT_EQ(registry().handles.size(), 0u);
  }
}

TEST(RepairVolumeRecords, AddsOnlyTheMissingValuesClassFirst) {
  sim::Reset();
  sim::PutRegistryValue(Record(u"b-has-class"), u"Class", registry::kRegSz,
                        Utf16Bytes(u"DiskDrive"));
  sim::AddRegistryKey(Record(u"A-empty"));
  sim::PutRegistryValue(Record(u"c-qword"), u"Class", 11, {1, 0, 0, 0, 0, 0, 0, 0});
  sim::PutRegistryValue(Record(u"c-qword"), u"ClassGUID", registry::kRegSz, Utf16Bytes(u"x"));
  sim::PutRegistryValue(Record(u"d-has-guid"), u"ClassGUID", registry::kRegSz, Utf16Bytes(u""));
  RepairVolumeRecords();

  EXPECT_EQ(Writes(), (std::vector<std::string>{
                          "RegSetValueExW Class 1",      // A-empty, the first record
                          "RegSetValueExW ClassGUID 1",  // A-empty
                          "RegSetValueExW ClassGUID 1",  // b-has-class
                          "RegSetValueExW Class 1",      // c-qword
                          "RegSetValueExW Class 1",      // d-has-guid
                      }));
  ExpectString(u"A-empty", u"Class", u"Volume");
  ExpectString(u"A-empty", u"ClassGUID", kGuid);
  ExpectString(u"b-has-class", u"Class", u"DiskDrive");
  ExpectString(u"b-has-class", u"ClassGUID", kGuid);
  ExpectString(u"c-qword", u"Class", u"Volume");
  ExpectString(u"c-qword", u"ClassGUID", u"x");
  ExpectString(u"d-has-guid", u"Class", u"Volume");
  ExpectString(u"d-has-guid", u"ClassGUID", u"");
  EXPECT_EQ(registry().handles.size(), 0u);
  EXPECT_EQ(registry().badCloses, 0);
}

// Record 1 lacks its ClassGUID and cannot be written.
TEST(RepairVolumeRecords, ARecordThatCannotBeWrittenIsNeverMadeAndTheWalkGoesOn) {
  const struct {
    const char* what;
    void (*arrange)();
  } cases[] = {
      {"open refused", [] { registry().refuseOpen.insert(Record(u"1")); }},
      {"write access refused", [] { registry().refuseWriteAccess.insert(Record(u"1")); }},
      // Made anew, it would be a device record of no device, written as SYSTEM.
      {"removed between the listing and the write (a stick pulled)",
       [] { sim::OnNextCall("RegCloseKey", [] { sim::RemoveRegistryKey(Record(u"1")); }); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::PutRegistryValue(Record(u"1"), u"Class", registry::kRegSz, Utf16Bytes(u"Volume"));
    sim::AddRegistryKey(Record(u"2"));
    sim::AddRegistryKey(Record(u"3"));
    c.arrange();
    RepairVolumeRecords();
    EXPECT_EQ(sim::CountCalls("RegCreateKeyExW"), 0u);
    EXPECT_FALSE(sim::RegistryValueAt(Record(u"1"), u"ClassGUID"));
    ExpectString(u"3", u"Class", u"Volume");
    ExpectString(u"3", u"ClassGUID", kGuid);
    EXPECT_EQ(registry().handles.size(), 0u);
  }
}

}  // namespace
}  // namespace mounter
