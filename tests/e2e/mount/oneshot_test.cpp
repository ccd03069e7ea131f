// One-shot runs ("-ng") of parvola.exe on a machine with letterless volumes:
// what it mounts and what it leaves alone.
#include <gtest/gtest.h>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/mount/scenario.h"
#include "tests/e2e/program.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

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

// The repair comes before the device manager is asked (what it writes is
// OddRecords' to check): a record that lacked its ClassGUID is a volume.
TEST_F(OneShot, ARecordWithoutClassGuidIsRepairedAndMountedInTheSameRun) {
  ArrangeRecords({{L"no-classguid", volumes_[1].device, false}});
  const std::wstring free = RunOnce(L"-ng");
  EXPECT_EQ(TargetOf(Drive(free[0])), Lower(volumes_[1].device));
}

}  // namespace
}  // namespace e2e
