// One-shot runs ("-ng") of parvola.exe on a machine with letterless volumes:
// what it mounts, what it leaves alone, and what it repairs.
#include <gtest/gtest.h>

#include <cwctype>
#include <vector>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/mount/scenario.h"
#include "tests/e2e/program.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool present = false;
};

RawValue ReadRaw(const std::wstring& record, const wchar_t* name) {
  RawValue value;
  const std::wstring path = std::wstring(kVolumeRecords) + L"\\" + record;
  DWORD size = 0;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                     &value.type, nullptr, &size) != ERROR_SUCCESS) {
    return value;
  }
  value.data.resize(size);
  value.present = ::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                                 &value.type, value.data.data(), &size) == ERROR_SUCCESS;
  value.data.resize(size);
  return value;
}

std::wstring TextOf(const RawValue& value) {
  if (value.type != REG_SZ || value.data.size() < 2) return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(value.data.data()),
                      value.data.size() / 2 - 1);
}

std::wstring TargetOf(const std::wstring& drive) { return Lower(DosTarget(drive)); }

class OneShot : public MachineScenario {
 protected:
  // Runs "parvola.exe ARGS" to its end; the free letters before the run.
  std::wstring RunOnce(const std::wstring& arguments) {
    const std::wstring free = FreeLetters(LettersInUse());
    Program program(arguments);
    EXPECT_TRUE(program.started());
    EXPECT_EQ(program.WaitForExit(60s), 0);
    return free;
  }
};

TEST_F(OneShot, VolumesTakeFreeLettersInRecordOrderAndUnreadableOnesKeepTheirTurn) {
  // Records enumerate sorted by name: the missing device comes first.
  ArrangeRecords({{L"b-second", volumes_[1].device},
                  {L"a-missing", L"\\Device\\HarddiskVolume97"},
                  {L"c-first", volumes_[0].device}});
  const std::wstring free = RunOnce(L"-ng");
  ASSERT_GE(free.size(), 3u);
  EXPECT_EQ(TargetOf(Drive(free[0])), L"\\device\\harddiskvolume97")
      << "the unreadable volume keeps the letter it was given";
  EXPECT_EQ(TargetOf(Drive(free[1])), Lower(volumes_[1].device));
  EXPECT_EQ(TargetOf(Drive(free[2])), Lower(volumes_[0].device));
}

TEST_F(OneShot, DynamicDiskVolumesAreNeverMounted) {
  const std::wstring dynamic = L"\\Device\\HarddiskDmVolumes\\PhysicalDmVolumes\\BlockVolume1";
  ArrangeRecords({{L"a-dynamic", dynamic}, {L"b-first", volumes_[0].device}});
  const std::wstring free = RunOnce(L"-ng");
  EXPECT_EQ(LetterOf(dynamic), L"");
  ASSERT_FALSE(free.empty());
  EXPECT_EQ(TargetOf(Drive(free[0])), Lower(volumes_[0].device)) << "the dynamic volume used no turn";
  // The letter given leads to a volume the system can read.
  wchar_t label[64] = {};
  const std::wstring root = Drive(free[0]) + L"\\";
  ASSERT_TRUE(::GetVolumeInformationW(root.c_str(), label, 64, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, volumes_[0].label.c_str());
}

TEST_F(OneShot, UsbOnlyMountsNothingOnScsiAndLeavesNoTransientName) {
  ArrangeRecords({{L"vol-first", volumes_[0].device}});
  RunOnce(L"-ng -usb");
  EXPECT_EQ(LetterOf(volumes_[0].device), L"") << "Wine reports every volume on SCSI";
  EXPECT_EQ(DosTarget(L"vol"), L"");
}

TEST_F(OneShot, StaleLetterIsRemovedAndNotReusedInTheSameScan) {
  const std::wstring free = FreeLetters(LettersInUse());
  ASSERT_GE(free.size(), 2u);
  const std::wstring stale = Drive(free[0]);
  ASSERT_TRUE(::DefineDosDeviceW(DDD_RAW_TARGET_PATH, stale.c_str(), L"\\Device\\ParvolaTestGone"));
  ArrangeRecords({{L"vol-first", volumes_[0].device}});
  RunOnce(L"-ng");
  EXPECT_EQ(DosTarget(stale), L"") << "a letter whose root is missing is taken away";
  EXPECT_EQ(TargetOf(Drive(free[1])), Lower(volumes_[0].device)) << "and still counted as in use";
}

TEST_F(OneShot, IncompleteRecordsAreRepairedAndTheRepairedVolumeMountedInTheSameRun) {
  ArrangeRecords({
      {L"complete", L"", true, true},
      {L"no-class", L"", false, true},
      {L"no-classguid", volumes_[1].device, true, false},
      {L"no-values", L"", false, false},
      {L"qword-class", L"", true, true, true},
  });
  const RawValue before = ReadRaw(L"complete", L"Class");
  const std::wstring free = RunOnce(L"-ng");

  const struct {
    const wchar_t* record;
    const wchar_t* value;
    const wchar_t* expected;
  } cases[] = {
      {L"complete", L"Class", L"Volume"},
      {L"complete", L"ClassGUID", kVolumeClassGuid},
      {L"no-class", L"Class", L"Volume"},
      {L"no-class", L"ClassGUID", kVolumeClassGuid},
      {L"no-classguid", L"Class", L"Volume"},
      {L"no-classguid", L"ClassGUID", kVolumeClassGuid},
      {L"no-values", L"Class", L"Volume"},
      {L"no-values", L"ClassGUID", kVolumeClassGuid},
      {L"qword-class", L"Class", L"Volume"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.record << " " << c.value);
    const RawValue value = ReadRaw(c.record, c.value);
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TextOf(value), c.expected);
  }
  EXPECT_EQ(ReadRaw(L"complete", L"Class").data, before.data) << "complete records are untouched";
  EXPECT_EQ(TargetOf(Drive(free[0])), Lower(volumes_[1].device))
      << "the record that lacked ClassGUID is a member once repaired";
}

}  // namespace
}  // namespace e2e
