#include "mounter/driveinfo.h"

#include <gtest/gtest.h>

#include "mounter/storage_device.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"
#include "tests/sim/volumes_sim.h"

namespace mounter {
namespace {

using sim::Narrow;

class DriveInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }

  static sim::VolumeDevice& Drive(const Text& designator) {
    sim::DefineName(designator, u"\\Device\\HarddiskVolume9");
    return sim::AddDevice(u"\\Device\\HarddiskVolume9");
  }
};

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint32_t productOffset,
                                std::uint32_t busType, std::string_view tail = {}) {
  std::vector<std::uint8_t> bytes(size, 0);
  sim::PutUint32(bytes, 16, productOffset);
  sim::PutUint32(bytes, 28, busType);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

TEST(BusTypeName, NamesOneToThirteenOnly) {
  const struct {
    std::uint32_t busType;
    const char* name;
  } cases[] = {
      {0, ""},        {1, "SCSI"},           {2, "ATAPI"},          {3, "ATA"},
      {4, "IEEE 1394"}, {5, "SSA"},          {6, "Fibre channel"},  {7, "USB"},
      {8, "RAID"},    {9, "iSCSI"},          {10, "SAS"},           {11, "SATA"},
      {12, "Secure Digital"}, {13, "MultiMedia Card"}, {14, ""},   {15, ""},
      {17, ""},       {0x7F, ""},            {0xFFFFFFFF, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.busType);
    EXPECT_EQ(Narrow(BusTypeName(c.busType)), c.name);
  }
}

TEST(ParseStorageDescriptor, TakesOnlyTheBytesReturned) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::uint32_t busType;
    std::string product;
  } cases[] = {
      {"empty", {}, 0, ""},
      {"too short for the offset", Bytes(19, 0, 0), 0, ""},
      {"offset but no bus type", Bytes(20, 19, 0), 0, ""},
      {"bus type in the last four bytes", Bytes(32, 0, 7), 7, ""},
      {"offset 0 is no text, not the start", Bytes(40, 0, 7, "Stick"), 7, ""},
      {"text up to its NUL", Bytes(40, 40, 7, std::string_view("Stick\0junk", 10)), 7, "Stick"},
      {"trailing blanks kept", Bytes(40, 40, 11, std::string_view("Disk   \0", 8)), 11, "Disk   "},
      {"unterminated text ends with the bytes", Bytes(40, 40, 7, "Stick"), 7, "Stick"},
      {"offset at the end", Bytes(40, 40, 7), 7, ""},
      {"offset past the end", Bytes(40, 1000, 7), 7, ""},
      {"offset far outside", Bytes(40, 0xFFFFFFFF, 7), 7, ""},
      {"offset inside the header", Bytes(40, 28, 0x41), 0x41, "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const StorageDescriptor descriptor = ParseStorageDescriptor(c.bytes);
    EXPECT_EQ(descriptor.busType, c.busType);
    EXPECT_EQ(descriptor.product, c.product);
  }
}

// Each fact is read on its own: one that cannot be read is empty (never
// blanks) and leaves the others.
TEST_F(DriveInfoTest, ReadsLabelBusAndProductEachOnItsOwn) {
  const struct {
    const char* what;
    const char16_t* designator;
    void (*arrange)(sim::VolumeDevice& drive);
    const char* label;
    const char* bus;
    const char16_t* product;  // from the ANSI code page
  } cases[] = {
      {"all read", u"E:", [](sim::VolumeDevice&) {}, "DATA", "USB", u"Flash Gr\u00F6\u00DFe  "},
      {"no device", u"Q:", [](sim::VolumeDevice&) {}, "", "", u""},
      {"no file system", u"E:", [](sim::VolumeDevice& drive) { drive.answers = false; }, "", "USB",
       u"Flash Gr\u00F6\u00DFe  "},
      {"label query fails", u"E:",
       [](sim::VolumeDevice&) { sim::FailCall("GetVolumeInformationW"); }, "", "USB",
       u"Flash Gr\u00F6\u00DFe  "},
      {"open fails", u"E:", [](sim::VolumeDevice& drive) { drive.opens = false; }, "DATA", "", u""},
      {"query fails", u"E:", [](sim::VolumeDevice& drive) { drive.describes = false; }, "DATA", "",
       u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::VolumeDevice& drive = Drive(u"E:");
    drive.label = u"DATA";
    drive.busType = 7;
    drive.product = "Flash Gr\xF6\xDF" "e  ";
    c.arrange(drive);
    EXPECT_EQ(Narrow(ReadVolumeLabel(c.designator)), c.label);
    EXPECT_EQ(Narrow(ReadBusTypeName(c.designator)), c.bus);
    EXPECT_EQ(ReadProductId(c.designator), c.product);
    EXPECT_EQ(sim::process().openHandles, 0);
  }
}

}  // namespace
}  // namespace mounter
