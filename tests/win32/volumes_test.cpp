// The drive, DOS-name, storage and setup wrappers against the real system.
// Every letter or "vol" a test defines is taken away again before it ends.
#include <gtest/gtest.h>

#include <cstring>

#include "mounter/driveinfo.h"
#include "mounter/enumerate.h"
#include "mounter/scan.h"
#include "mounter/storage_device.h"
#include "platform/kernel32.h"
#include "platform/ole32.h"
#include "platform/setupapi.h"
#include "platform/system.h"
#include "platform/volumes.h"

namespace {

using platform::Text;

constexpr std::uint32_t kRemove = platform::kDefineRawTargetPath | platform::kDefineRemoveDefinition;

// Takes every definition of `name` away at the end of the test.
class Undefine {
 public:
  explicit Undefine(Text name) : name_(std::move(name)) {}
  ~Undefine() {
    for (int i = 0; i < 4 && platform::QueryDosTarget(name_); ++i) {
      (void)platform::DefineDosName(kRemove, name_, std::nullopt);
    }
  }

 private:
  Text name_;
};

Text SystemDriveTarget() { return platform::QueryDosTarget(u"c:").value_or(Text()); }

// A letter no drive uses, from the end of the alphabet.
Text ScratchDesignator() {
  mounter::LogicalDriveList drives;
  mounter::ListLogicalDrives(drives);
  for (char16_t letter = u'y'; letter > u'l'; --letter) {
    const Text designator = Text(1, letter) + u":";
    if (std::find(drives.begin(), drives.end(), designator) == drives.end()) return designator;
  }
  return {};
}

TEST(Win32Volumes, LogicalDrivesAreLowerCaseDesignators) {
  mounter::LogicalDriveList drives;
  const std::int64_t count = mounter::ListLogicalDrives(drives);
  EXPECT_EQ(count, static_cast<std::int64_t>(drives.size()));
  EXPECT_NE(std::find(drives.begin(), drives.end(), Text(u"c:")), drives.end());
  for (const Text& drive : drives) {
    ASSERT_EQ(drive.size(), 2u);
    EXPECT_TRUE(drive[0] >= u'a' && drive[0] <= u'z');
    EXPECT_EQ(drive[1], u':');
  }
}

TEST(Win32Volumes, SystemDriveAnswers) {
  EXPECT_EQ(platform::QueryDriveType(u"c:"), 3u);  // DRIVE_FIXED
  EXPECT_EQ(platform::ProbeVolume(u"c:\\"), 1);
  EXPECT_TRUE(platform::ReadVolumeLabelAt(u"C:\\"));
  const Text target = SystemDriveTarget();
  ASSERT_FALSE(target.empty());
  EXPECT_EQ(target[0], u'\\');
  EXPECT_FALSE(platform::QueryDosTarget(u"Q:\\no such name"));
  EXPECT_FALSE(platform::ReadVolumeLabelAt(u"\\\\no\\such\\"));
}

TEST(Win32Volumes, ScratchLetterIsDefinedQueriedAndTakenAway) {
  const Text target = SystemDriveTarget();
  const Text designator = ScratchDesignator();
  ASSERT_FALSE(designator.empty());
  const Undefine cleanup(designator);

  EXPECT_FALSE(platform::DosNameInUse(designator));
  ASSERT_TRUE(platform::DefineDosName(platform::kDefineRawTargetPath, designator, target));
  EXPECT_TRUE(platform::DosNameInUse(designator));
  EXPECT_EQ(platform::QueryDosTarget(designator), target);
  EXPECT_EQ(platform::QueryDosTargets(designator), std::vector<Text>{target});
  EXPECT_EQ(platform::DeviceOpenError(u"\\\\.\\" + designator), 0u);
  mounter::LogicalDriveList drives;
  mounter::ListLogicalDrives(drives);
  EXPECT_NE(std::find(drives.begin(), drives.end(), designator), drives.end());
  EXPECT_EQ(platform::ProbeVolume(designator + u"\\"), 1);

  EXPECT_TRUE(platform::DefineDosName(kRemove, designator, std::nullopt));
  EXPECT_FALSE(platform::QueryDosTarget(designator));
  EXPECT_FALSE(platform::QueryDosTargets(designator));
  EXPECT_EQ(platform::ProbeVolume(designator + u"\\"), 0);
}

TEST(Win32Volumes, ALetterWhoseDeviceIsGoneFailsToOpenAsNotFound) {
  const Text designator = ScratchDesignator();
  ASSERT_FALSE(designator.empty());
  const Undefine cleanup(designator);
  ASSERT_TRUE(platform::DefineDosName(platform::kDefineRawTargetPath, designator,
                                      Text(u"\\Device\\NoSuchVolume")));
  const std::uint32_t error = platform::DeviceOpenError(u"\\\\.\\" + designator);
  EXPECT_TRUE(error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound)
      << error;
  EXPECT_EQ(platform::DeviceOpenError(u"\\\\.\\c:"), 0u);
}

TEST(Win32Volumes, StorageDescriptorOfTheSystemDrive) {
  const platform::UniqueHandle device(platform::OpenDevice(u"\\\\.\\C:"));
  ASSERT_TRUE(device);
  const auto bytes = platform::QueryStorageDescriptor(device.get());
  ASSERT_TRUE(bytes);
  EXPECT_GE(bytes->size(), 32u);
  EXPECT_LE(bytes->size(), 1059u);
  EXPECT_NE(mounter::ParseStorageDescriptor(*bytes).busType, 0u);
  EXPECT_EQ(platform::OpenDevice(u"\\\\.\\no such device"), 0u);
}

TEST(Win32Volumes, BusQueryLeavesVolUndefined) {
  const Undefine cleanup(u"vol");
  ASSERT_FALSE(platform::QueryDosTarget(u"vol")) << "another definition of vol exists";
  EXPECT_NE(mounter::QueryVolumeBusType(SystemDriveTarget()), 0u);
  EXPECT_FALSE(platform::QueryDosTarget(u"vol"));
  EXPECT_EQ(mounter::QueryVolumeBusType(u"\\Device\\NoSuchVolume"), 0u);
  EXPECT_FALSE(platform::QueryDosTarget(u"vol"));
}

TEST(Win32Volumes, BusQueryLeavesAnEarlierVolIntact) {
  const Undefine cleanup(u"vol");
  const Text earlier = u"\\Device\\Null";
  ASSERT_TRUE(platform::DefineDosName(platform::kDefineRawTargetPath, u"vol", earlier));

  (void)mounter::QueryVolumeBusType(SystemDriveTarget());

  EXPECT_EQ(platform::QueryDosTarget(u"vol"), earlier);
}

TEST(Win32Volumes, EnumerationEndsEveryPathWithBarAndLeavesNoVol) {
  for (std::int64_t usbOnly : {0, 1}) {
    SCOPED_TRACE(usbOnly);
    const Text list = mounter::EnumerateVolumeDevices(usbOnly);
    EXPECT_TRUE(list.empty() || list.back() == u'|');
    EXPECT_FALSE(platform::QueryDosTarget(u"vol"));
  }
}

TEST(Win32Volumes, VolumeClassSetOpensAndWalks) {
  platform::Guid volumeClass{};
  ASSERT_EQ(mounter::ParseGuidText(u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}", volumeClass), 1);
  const platform::Guid expected = {0xDD, 0x7C, 0xA2, 0x71, 0x2A, 0x81, 0xD0, 0x11,
                                   0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F};
  EXPECT_EQ(volumeClass, expected);
  platform::Guid untouched{};
  EXPECT_EQ(mounter::ParseGuidText(u"not a guid", untouched), 0);

  const platform::UniqueDeviceSet set(platform::OpenClassDevices(
      volumeClass, platform::kClassDevsPresent | platform::kClassDevsProfile));
  ASSERT_TRUE(set);
  platform::DeviceMember member;
  std::uint32_t count = 0;
  while (count < 1000 && platform::EnumDeviceMember(set.get(), count, member)) {
    EXPECT_EQ(member.classGuid, volumeClass);
    ++count;
  }
  EXPECT_LT(count, 1000u);
}

TEST(Win32System, VersionAndAnsiText) {
  const auto version = platform::QueryOsVersion();
  ASSERT_TRUE(version);
  EXPECT_GE(version->major, 5u);
  EXPECT_EQ(platform::AnsiToText("Flash Disk  "), u"Flash Disk  ");
  EXPECT_EQ(platform::AnsiToText(""), u"");
}

// The road an old loader takes: the full path from the system directory.
TEST(Win32System, SystemLibrariesLoadByFullPath) {
  const Text directory = platform::SystemDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), u'\\');
  const platform::UniqueLibrary setupapi(platform::LoadLibraryWithFlags(
      directory + u"\\setupapi.dll", platform::kLoadWithAlteredSearchPath));
  ASSERT_TRUE(setupapi);
  EXPECT_NE(platform::FindProcedure(setupapi.get(), "SetupDiGetClassDevsW"), 0u);
  EXPECT_NE(platform::FindProcedure(platform::FindLoadedLibrary(u"kernel32.dll"), "AddDllDirectory"),
            0u);
}

}  // namespace
