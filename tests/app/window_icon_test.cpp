#include "app/window_icon.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/kernel32.h"
#include "platform/resources.h"
#include "tests/sim/resources_sim.h"
#include "tests/sim/sim.h"

namespace app {
namespace {

struct Entry {
  std::uint8_t width;
  std::uint16_t bitsPerPixel;
  std::uint16_t image;
};

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// An icon-group directory as resource compilers write it.
std::vector<std::uint8_t> Group(const std::vector<Entry>& entries) {
  std::vector<std::uint8_t> bytes(6 + 14 * entries.size());
  Put16(bytes, 2, 1);  // type: icon
  Put16(bytes, 4, static_cast<std::uint16_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t at = 6 + 14 * i;
    bytes[at] = entries[i].width;
    bytes[at + 1] = entries[i].width;
    Put16(bytes, at + 4, 1);  // planes
    Put16(bytes, at + 6, entries[i].bitsPerPixel);
    Put16(bytes, at + 12, entries[i].image);
  }
  return bytes;
}

const std::vector<Entry> kProgramIcons = {
    {48, 4, 1}, {32, 4, 2}, {16, 4, 3}, {48, 8, 4}, {32, 8, 5},
    {16, 8, 6}, {48, 32, 7}, {32, 32, 8}, {16, 32, 9},
};

// A count that lies, an entry cut short or a header alone is never read past.
TEST(PickIconImage, TakesTheDeepestImageOfTheWidthFirstAmongEquals) {
  const std::vector<std::uint8_t> two = Group({{48, 8, 11}, {48, 32, 12}});
  const auto counting = [&](std::uint16_t count) {
    std::vector<std::uint8_t> bytes = two;
    Put16(bytes, 4, count);
    return bytes;
  };
  const struct {
    const char* name;
    std::vector<std::uint8_t> group;
    int width;
    std::optional<std::uint16_t> expected;
  } cases[] = {
      {"the program's own group", Group(kProgramIcons), 48, 7},
      {"small images", Group(kProgramIcons), 16, 9},
      {"no image of that width", Group(kProgramIcons), 24, std::nullopt},
      {"equal depths: the first wins", Group({{48, 8, 11}, {48, 8, 12}, {48, 4, 13}}), 48, 11},
      {"deeper later wins", Group({{48, 8, 11}, {48, 24, 12}, {48, 8, 13}}), 48, 12},
      {"0 bits per pixel is never taken", Group({{48, 0, 11}, {48, 0, 12}}), 48, std::nullopt},
      {"0 bits before a real one", Group({{48, 0, 11}, {48, 1, 12}}), 48, 12},
      {"empty group", Group({}), 48, std::nullopt},
      {"width 256 is stored as 0 and never equals 48", Group({{0, 32, 11}}), 48, std::nullopt},
      {"a count larger than the entries present", counting(0xFFFF), 48, 12},
      {"a count smaller than the entries present", counting(1), 48, 11},
      {"the last entry cut by one byte", {two.begin(), two.end() - 1}, 48, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PickIconImage(c.group, c.width), c.expected);
  }
  for (std::size_t size = 0; size <= 6; ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(PickIconImage({two.begin(), two.begin() + size}, 48), std::nullopt);
  }
}

class LoadResourceIconTest : public ::testing::Test {
 protected:
  static constexpr int kControl = 29;
  const platform::Text kFile = u"C:\\Tools\\parvola.exe";

  void SetUp() override {
    sim::Reset();
    sim::desktop().objects[kControl];
    auto& resources = sim::resources().files[kFile].resources;
    resources[{platform::kResourceIconGroup, 1}] = Group(kProgramIcons);
    // Sizes tell the images apart: the simulated icon is its bits' size.
    for (std::uint16_t image = 1; image <= 9; ++image) {
      resources[{platform::kResourceIcon, image}] = std::vector<std::uint8_t>(100 + image);
    }
  }
};

// Shown, the 48-pixel image with the most colours; after any failed step
// the control stays empty. The file is freed either way.
TEST_F(LoadResourceIconTest, ShowsThe48PixelImageWithMostColoursOrNothing) {
  const struct {
    const char* name;
    const char* failingCall;
    int group;
    int width;
    platform::Icon shown = 0;
    bool imageMissing = false;
  } cases[] = {
      {"shown", nullptr, 1, 48, 107},
      {"file cannot be loaded", "LoadLibraryExW", 1, 48},
      {"no such group", nullptr, 2, 48},
      {"no image of the width", nullptr, 1, 20},
      {"group or image not found", "FindResourceW", 1, 48},
      {"not loaded", "LoadResource", 1, 48},
      {"not locked", "LockResource", 1, 48},
      {"no icon made", "CreateIconFromResourceEx", 1, 48},
      {"the deepest image missing: no fallback to a shallower one", nullptr, 1, 48, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.failingCall) sim::FailCall(c.failingCall);
    if (c.imageMissing) sim::resources().files[kFile].resources.erase({platform::kResourceIcon, 7});
    LoadResourceIcon(kControl, kFile, c.group, c.width);
    EXPECT_EQ(sim::desktop().objects[kControl].icon, c.shown);
    EXPECT_EQ(sim::process().loadedLibraries, 0);
    EXPECT_EQ(sim::desktop().iconsHeld, c.shown != 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace app
