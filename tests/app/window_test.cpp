#include "app/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/texts.h"
#include "platform/user32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"
#include "tests/sim/tray_sim.h"

namespace app {
namespace {

using platform::ControlKind;
using sim::Narrow;

constexpr std::uint32_t kLightBlue = 0xF6E5D0;
constexpr std::uint32_t kNone = platform::kDefaultColour;

std::array<int, 4> Corners(const platform::Rect& r) { return {r.x, r.y, r.width, r.height}; }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    SetTexts(MakeTextTable(0x0409));
  }
};

TEST_F(WindowTest, MainWindowIsMadeHiddenWithItsTitleSizeAndColour) {
  CreateWindowObjects();
  const sim::WindowObject& window = sim::desktop().objects[mainWindow];
  EXPECT_EQ(Narrow(window.title), " Parvola");
  EXPECT_EQ(window.clientWidth, 370);
  EXPECT_EQ(window.clientHeight, 205);
  EXPECT_EQ(window.iconGroup, 1) << "the program's icon on its taskbar button";
  EXPECT_FALSE(window.visible);
}

// High contrast keeps the shapes and trades each written colour for the
// scheme's.
TEST_F(WindowTest, ControlsAreMadeInOrderWithTheirPlacesTextsAndColours) {
  constexpr std::uint32_t kWindow = platform::kSystemWindowColour;
  constexpr std::uint32_t kText = platform::kSystemWindowTextColour;
  const struct {
    int number;
    ControlKind kind;
    int parent;
    platform::Rect place;
    const char* text;
    std::uint32_t background;
    std::uint32_t textColour;
    std::uint32_t contrastBackground;
    std::uint32_t contrastText;
  } expected[] = {
      {ctlTitle, ControlKind::kStaticText, mainWindow, {10, 9, 300, 22}, "Parvola ", kLightBlue, kNone, kWindow, kText},
      {ctlRule, ControlKind::kStaticText, mainWindow, {0, 33, 474, 1}, "", 0x000000, kNone, kText, kNone},
      {ctlVersion, ControlKind::kStaticText, mainWindow, {270, 12, 50, 20}, "V.1.1.6.0", kLightBlue, kNone, kWindow, kText},
      {ctlClose, ControlKind::kPushButton, mainWindow, {340, 4, 25, 25}, "x", kNone, kNone, kNone, kNone},
      {ctlPage, ControlKind::kContainer, mainWindow, {8, 35, 359, 170}, "", kLightBlue, kNone, kWindow, kNone},
      {ctlIcon, ControlKind::kImage, ctlPage, {10, 50, 60, 54}, "", kLightBlue, kNone, kWindow, kNone},
      {ctlStatus, ControlKind::kStaticText, ctlPage, {70, 15, 270, 17}, "", kLightBlue, kNone, kWindow, kText},
      {ctlDriveList, ControlKind::kList, ctlPage, {70, 35, 280, 100}, "", kNone, kNone, kNone, kNone},
      {ctlRefresh, ControlKind::kPushButton, ctlPage, {170, 140, 70, 25}, "Refresh", kNone, kNone, kNone, kNone},
      // Plain text, not a link: no hot-light colour under high contrast.
      {ctlFooter, ControlKind::kStaticText, ctlPage, {0, 150, 120, 17}, "\u00A9 Parvola developers",
       kLightBlue, 0xFF0000, kWindow, kText},
  };
  for (const bool contrast : {false, true}) {
    SCOPED_TRACE(contrast ? "high contrast" : "written colours");
    SetUp();
    sim::desktop().highContrast = contrast;
    CreateWindowObjects();
    std::vector<std::string> order;
    for (const std::string& call : sim::Calls()) {
      if (call.starts_with("CreateWindowExW ")) order.push_back(call.substr(16));
    }
    ASSERT_EQ(order.size(), 11u);
    EXPECT_EQ(sim::desktop().objects[mainWindow].background, contrast ? kWindow : kLightBlue);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
      const auto& e = expected[i];
      SCOPED_TRACE(e.number);
      EXPECT_EQ(order[i + 1], std::to_string(e.number)) << "made in table order, after the window";
      const sim::WindowObject& control = sim::desktop().objects[e.number];
      EXPECT_EQ(control.kind, e.kind);
      EXPECT_EQ(control.parent, e.parent);
      EXPECT_EQ(Corners(control.place), Corners(e.place));
      EXPECT_EQ(Narrow(control.title), e.text);
      EXPECT_EQ(control.background, contrast ? e.contrastBackground : e.background);
      EXPECT_EQ(control.textColour, contrast ? e.contrastText : e.textColour);
    }
  }
  EXPECT_EQ(sim::desktop().defaultButton, ctlRefresh) << "Enter presses it, and it looks so";
  EXPECT_EQ(Narrow(sim::desktop().objects[ctlTitle].fontFace), "Arial");
  EXPECT_EQ(sim::desktop().objects[ctlTitle].fontPixels, kTitleFontPixels);
  EXPECT_EQ(sim::desktop().objects[ctlDriveList].columns,
            (std::vector<std::pair<Text, int>>{{u"", -2}}))
      << "100 first, then filling the list";
  const auto& calls = sim::Calls();
  EXPECT_LT(std::find(calls.begin(), calls.end(), "LVM_INSERTCOLUMNW 28"),
            std::find(calls.begin(), calls.end(), "LVM_SETCOLUMNWIDTH 28"));
  EXPECT_GT(std::find(calls.begin(), calls.end(), "SetWindowPos 19"),
            std::find(calls.begin(), calls.end(), "CreateWindowExW 19"))
      << "the version is raised over the title's right end once it exists";
  EXPECT_EQ(sim::CountCalls("SetWindowPos 19"), 1u);
}

TEST_F(WindowTest, TrayIconAndMenuInTheUsersLanguage) {
  const struct {
    std::uint16_t language;
    const char* refresh;
    const char* exit;
  } cases[] = {{0x0409, "Refresh", "Exit"}, {0x0407, "Aktualisieren", "Beenden"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    SetUp();
    SetTexts(MakeTextTable(c.language));
    CreateWindowObjects();
    ShowMainWindow();

    ASSERT_EQ(sim::tray().icons.size(), 1u);
    const sim::TrayIcon& icon = sim::tray().icons[0];
    EXPECT_EQ(icon.window, mainWindow);
    EXPECT_EQ(icon.id, static_cast<unsigned>(trayIcon));
    EXPECT_EQ(Narrow(icon.tooltip), "Parvola V1.1.6.0");
    EXPECT_EQ(Narrow(icon.iconFile), "C:\\Tools\\parvola.exe") << "the program's own file";

    std::vector<std::pair<int, std::string>> items;  // 0: a separator
    for (const auto& item : sim::desktop().menus[trayMenu]) items.emplace_back(item.item, Narrow(item.text));
    EXPECT_EQ(items, (std::vector<std::pair<int, std::string>>{
                         {menuWeb, "www.parvola.example"}, {0, ""}, {menuRefresh, c.refresh}, {0, ""},
                         {menuExit, c.exit}}));
    EXPECT_EQ(Narrow(sim::desktop().objects[ctlRefresh].title), c.refresh);
    EXPECT_EQ(Narrow(sim::desktop().objects[ctlClose].accessibleName), c.exit)
        << "a screen reader says what x does";
    EXPECT_TRUE(sim::desktop().objects[ctlStatus].politeLiveRegion) << "and what a scan found";
  }
}

TEST_F(WindowTest, WithoutAMenuOrASmallIconTheRestIsStillMade) {
  sim::FailCall("CreatePopupMenu");
  sim::tray().filesWithoutSmallIcon.insert(u"C:\\Tools\\parvola.exe");
  CreateWindowObjects();
  EXPECT_TRUE(sim::desktop().menus[trayMenu].empty());
  EXPECT_TRUE(sim::tray().icons.empty());
  EXPECT_EQ(sim::desktop().objects.count(ctlFooter), 1u);
}

}  // namespace
}  // namespace app
