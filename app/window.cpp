#include "app/window.h"

#include <vector>

#include "app/texts.h"
#include "app/window_icon.h"
#include "platform/ole32.h"
#include "platform/oleacc.h"
#include "platform/resources.h"
#include "platform/shell32.h"
#include "platform/user32.h"

namespace app {
namespace {

using platform::ControlKind;

constexpr int kClientWidth = 370;
constexpr int kClientHeight = 205;
constexpr std::uint32_t kLightBlue = 0xF6E5D0;  // RGB(208, 229, 246)
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0xFF0000;       // RGB(0, 0, 255)
constexpr std::uint32_t kDefault = platform::kDefaultColour;

struct Palette {
  std::uint32_t background;
  std::uint32_t rule;
  std::uint32_t text;
  std::uint32_t footer;
};

// High contrast keeps the shapes and trades each written colour for the
// scheme's counterpart; the buttons and the list follow the scheme by
// themselves. The footer is plain text, not a link, so it takes the
// scheme's text colour too.
Palette CurrentPalette() {
  if (platform::HighContrastOn()) {
    return {platform::kSystemWindowColour, platform::kSystemWindowTextColour,
            platform::kSystemWindowTextColour, platform::kSystemWindowTextColour};
  }
  return {kLightBlue, kBlack, kDefault, kBlue};
}

constexpr int kIconGroup = 1;
constexpr int kIconPixels = 48;
constexpr int kFirstListColumnWidth = 100;

// In the order of creation; the last five lie in ctlPage.
std::vector<platform::ControlSpec> Controls(const Palette& p) {
  const Text version = Text(u"V.") + kVersion;
  return {
      {ctlTitle, ControlKind::kStaticText, mainWindow, {10, 9, 300, 22}, u"Parvola ", p.background,
       p.text},
      {ctlRule, ControlKind::kStaticText, mainWindow, {0, 33, 474, 1}, u"", p.rule, kDefault},
      {ctlVersion, ControlKind::kStaticText, mainWindow, {270, 12, 50, 20}, version, p.background,
       p.text},
      {ctlClose, ControlKind::kPushButton, mainWindow, {340, 4, 25, 25}, u"x", kDefault, kDefault},
      {ctlPage, ControlKind::kContainer, mainWindow, {8, 35, 359, 170}, u"", p.background, kDefault},
      {ctlIcon, ControlKind::kImage, ctlPage, {10, 50, 60, 54}, u"", p.background, kDefault},
      {ctlStatus, ControlKind::kStaticText, ctlPage, {70, 15, 270, 17}, u"", p.background, p.text},
      {ctlDriveList, ControlKind::kList, ctlPage, {70, 35, 280, 100}, u"", kDefault, kDefault},
      {ctlRefresh, ControlKind::kPushButton, ctlPage, {170, 140, 70, 25}, Texts()[kTextRefresh],
       kDefault, kDefault},
      {ctlFooter, ControlKind::kStaticText, ctlPage, {0, 150, 120, 17}, kMakerNotice, p.background,
       p.footer},
  };
}

void CreateTrayMenu() {
  // Without a menu the tray icon still comes, only without a usable menu.
  if (!platform::CreatePopupMenu(trayMenu)) return;
  platform::AppendMenuItem(trayMenu, menuWeb, kMakerAddress);
  platform::AppendMenuSeparator(trayMenu);
  platform::AppendMenuItem(trayMenu, menuRefresh, Texts()[kTextRefresh]);
  platform::AppendMenuSeparator(trayMenu);
  platform::AppendMenuItem(trayMenu, menuExit, Texts()[kTextExit]);
}

}  // namespace

bool CreateWindowObjects() {
  const Palette palette = CurrentPalette();
  platform::CreateMainWindow(mainWindow, kMainWindowTitle, kClientWidth, kClientHeight,
                             palette.background);
  platform::SetWindowIcon(mainWindow, kIconGroup);
  CreateTrayMenu();
  const bool trayIconAdded = AddTrayIcon();

  for (const platform::ControlSpec& control : Controls(palette)) platform::CreateControl(control);
  // The title's right end lies under the version text, which must stay
  // readable.
  platform::RaiseObject(ctlVersion);
  platform::SetObjectFont(ctlTitle, u"Arial", kTitleFontPixels);
  // Enter presses Refresh wherever the focus is but on "x"; the look says so.
  platform::SetDefaultButton(ctlRefresh);
  LoadResourceIcon(ctlIcon, platform::ProgramFilePath(), kIconGroup, kIconPixels);
  platform::AddListColumn(ctlDriveList, u"", kFirstListColumnWidth);
  platform::FillListColumn(ctlDriveList, 0);
  return trayIconAdded;
}

void ShowMainWindow() {
  // A screen reader would read the bare letter, and would not say what a
  // scan found. Only a window that is shown is read, so the modes without
  // one never load oleacc.
  platform::StartCom();
  platform::SetAccessibleName(ctlClose, Texts()[kTextExit]);
  platform::MakePoliteLiveRegion(ctlStatus);
  platform::ShowObject(mainWindow);
  platform::FocusObject(ctlRefresh);
}

bool AddTrayIcon() {
  return platform::AddTrayIcon(mainWindow, trayIcon, platform::ProgramFilePath(),
                               Text(u"Parvola V") + kVersion);
}

void ApplyColours() {
  const Palette palette = CurrentPalette();
  platform::SetObjectColours(mainWindow, palette.background, kDefault);
  for (const platform::ControlSpec& control : Controls(palette)) {
    platform::SetObjectColours(control.number, control.background, control.textColour);
  }
}

}  // namespace app
