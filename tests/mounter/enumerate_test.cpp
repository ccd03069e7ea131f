#include "mounter/enumerate.h"

#include <gtest/gtest.h>

#include "tests/sim/narrow.h"
#include "tests/sim/setupapi_sim.h"
#include "tests/sim/sim.h"
#include "tests/sim/volumes_sim.h"

namespace mounter {
namespace {

using sim::Narrow;

class EnumerateTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }

  static sim::VolumeDevice& Member(const Text& path, std::uint32_t busType = 0) {
    sim::VolumeDevice& device = sim::AddListedVolume(path);
    device.busType = busType;
    return device;
  }
  static void ExpectNothingHeld() {
    EXPECT_EQ(sim::process().loadedLibraries, 0);
    EXPECT_EQ(sim::deviceManager().openSets, 0);
    EXPECT_EQ(sim::process().openHandles, 0);
    EXPECT_FALSE(sim::TargetOf(u"vol"));
  }
};

TEST_F(EnumerateTest, ListsReadablePathsInSetupOrderAsReported) {
  EXPECT_EQ(Narrow(EnumerateVolumeDevices(0)), "");
  Member(u"\\Device\\HarddiskVolume7");
  sim::deviceManager().volumes.push_back({std::nullopt});
  sim::deviceManager().volumes.push_back({u""});
  Member(u"\\Device\\HarddiskVolume2");
  Member(u"\\Device\\CdRom0");

  EXPECT_EQ(Narrow(EnumerateVolumeDevices(0)),
            "\\Device\\HarddiskVolume7|\\Device\\HarddiskVolume2|\\Device\\CdRom0|");
  EXPECT_EQ(sim::deviceManager().requestedClass, sim::VolumeClassGuid());
  EXPECT_EQ(sim::deviceManager().requestedFlags, 0x0Au);
  EXPECT_EQ(sim::process().librariesLoaded, (std::vector<Text>(2, u"setupapi.dll")));
  ExpectNothingHeld();
}

// Only usbOnly 1 asks each volume's bus; a dynamic disk's volume is neither
// asked nor listed.
TEST_F(EnumerateTest, UsbOnlyOfExactlyOneKeepsOnlyVolumesOnTheUsbBus) {
  std::string all;
  for (int i = 1; i <= 8; ++i) all += "\\Device\\HarddiskVolume" + std::to_string(i) + "|";
  for (const std::int64_t usbOnly : std::initializer_list<std::int64_t>{1, 0, 2, -1, 0x100000001}) {
    SCOPED_TRACE(usbOnly);
    sim::Reset();
    Member(u"\\Device\\HarddiskVolume1", 11);  // SATA
    Member(u"\\Device\\HarddiskDmVolumes\\PhysicalDmVolumes\\BlockVolume1", 7);
    Member(u"\\DEVICE\\HARDDISKDMVOLUMES\\PHYSICALDMVOLUMES\\BLOCKVOLUME2", 7);
    Member(u"\\device\\harddiskdmvolumes\\physicaldmvolumes\\blockvolume3", 7);
    Member(u"\\Device\\HarddiskVolume2", 7);   // USB
    Member(u"\\Device\\HarddiskVolume3", 17);  // NVMe
    Member(u"\\Device\\HarddiskVolume4", 7).opens = false;
    Member(u"\\Device\\HarddiskVolume5", 7).describes = false;
    Member(u"\\Device\\HarddiskVolume6", 7).rawDescriptor = std::vector<std::uint8_t>(20, 0);
    Member(u"\\Device\\HarddiskVolume7", 1);  // SCSI
    Member(u"\\Device\\HarddiskVolume8", 7);

    EXPECT_EQ(Narrow(EnumerateVolumeDevices(usbOnly)),
              usbOnly == 1 ? "\\Device\\HarddiskVolume2|\\Device\\HarddiskVolume8|" : all);
    EXPECT_EQ(sim::CountCalls("DefineDosDeviceW 1 vol \\Device\\HarddiskDm"), 0u);
    EXPECT_EQ(sim::CountCalls("DefineDosDeviceW") + sim::CountCalls("CreateFileW") == 0,
              usbOnly != 1);
    ExpectNothingHeld();
  }
}

TEST_F(EnumerateTest, FailuresBeforeTheWalkGiveTheEmptyListAndReleaseTheLibrary) {
  const struct {
    const char* failing;
    bool missingEntryPoint;  // else the call fails
    const char* lastCall;    // nothing of the walk (nor the repair) after it
  } cases[] = {
      {"LoadLibraryExW", false, "LoadLibraryExW setupapi.dll"},
      {"SetupDiGetDeviceRegistryPropertyW", true, "FreeLibrary 1"},
      {"CM_Get_DevNode_Status", true, "FreeLibrary 1"},
      {"SetupDiGetClassDevsW", false, "FreeLibrary 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    sim::Reset();
    Member(u"\\Device\\HarddiskVolume1");
    if (c.missingEntryPoint) {
      sim::process().missingProcedures.insert(c.failing);
    } else {
      sim::FailCall(c.failing);
    }

    EXPECT_EQ(Narrow(EnumerateVolumeDevices(0)), "");
    ExpectNothingHeld();
    ASSERT_FALSE(sim::Calls().empty());
    EXPECT_EQ(sim::Calls().back(), c.lastCall);
    const bool walked = std::string_view(c.failing) == "SetupDiGetClassDevsW";
    EXPECT_EQ(sim::CountCalls("SetupDiGetClassDevsW"), walked ? 1u : 0u);
    EXPECT_EQ(sim::CountCalls("SetupDiEnumDeviceInfo"), 0u);
  }
}

// Only through a definition of its own, taken off exactly: "vol" may be
// another program's.
TEST_F(EnumerateTest, BusQueryRemovesExactlyItsOwnDefinitionOfVol) {
  for (const bool defined : {true, false}) {
    SCOPED_TRACE(defined ? "defined" : "definition refused");
    sim::Reset();
    sim::AddDevice(u"\\Device\\HarddiskVolume2").busType = 7;
    sim::AddDevice(u"\\Device\\Other").busType = 11;
    sim::DefineName(u"vol", u"\\Device\\Other");
    if (!defined) sim::FailCall("DefineDosDeviceW");

    EXPECT_EQ(QueryVolumeBusType(u"\\Device\\HarddiskVolume2"), defined ? 7u : 0u);

    EXPECT_EQ(sim::volumes().dosNames[u"vol"], (std::vector<Text>{u"\\Device\\Other"}));
    EXPECT_EQ(sim::CountCalls("DefineDosDeviceW"), defined ? 2u : 1u);
    EXPECT_EQ(sim::CountCalls("DefineDosDeviceW 7 vol \\Device\\HarddiskVolume2"),
              defined ? 1u : 0u);
    EXPECT_EQ(sim::CountCalls("CreateFileW"), defined ? 1u : 0u);
    EXPECT_EQ(sim::process().openHandles, 0);
  }
}

TEST_F(EnumerateTest, ParseGuidText) {
  platform::Guid guid{};
  EXPECT_EQ(ParseGuidText(u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}", guid), 1);
  EXPECT_EQ(guid, sim::VolumeClassGuid());
  platform::Guid untouched{};
  EXPECT_EQ(ParseGuidText(u"71A27CDD-812A-11D0-BEC7-08002BE2092F", untouched), 0);
  EXPECT_EQ(untouched, platform::Guid{});
}

}  // namespace
}  // namespace mounter
