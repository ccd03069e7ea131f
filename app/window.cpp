#include "app/window.h"

#include <vector>

#include "app/texts.h"
#include "app/window_icon.h"
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

constexpr int kIconGroup = 1;
constexpr int kIconPixels = 48;
constexpr int kFirstListColumnWidth = 100;

// In the order of creation; the last five lie in ctlPage.
std::vector<platform::ControlSpec> Controls() {
  const Text version = Text(u"V.") + kVersion;
  return {
      {ctlTitle, ControlKind::kStaticText, mainWindow, {10, 9, 300, 22}, u"Parvola ", kLightBlue,
       kDefault},
      {ctlRule, ControlKind::kStaticText, mainWindow, {0, 33, 474, 1}, u"", kBlack, kDefault},
      {ctlVersion, ControlKind::kStaticText, mainWindow, {270, 12, 50, 20}, version, kLightBlue,
       kDefault},
      {ctlClose, ControlKind::kPushButton, mainWindow, {340, 4, 25, 25}, u"x", kDefault, kDefault},
      {ctlPage, ControlKind::kContainer, mainWindow, {8, 35, 359, 170}, u"", kLightBlue, kDefault},
      {ctlIcon, ControlKind::kImage, ctlPage, {10, 50, 60, 54}, u"", kLightBlue, kDefault},
      {ctlStatus, ControlKind::kStaticText, ctlPage, {70, 15, 270, 17}, u"", kLightBlue, kDefault},
      {ctlDriveList, ControlKind::kList, ctlPage, {70, 35, 280, 100}, u"", kDefault, kDefault},
      {ctlRefresh, ControlKind::kPushButton, ctlPage, {170, 140, 70, 25}, Texts()[kTextRefresh],
       kDefault, kDefault},
      {ctlFooter, ControlKind::kStaticText, ctlPage, {0, 150, 120, 17}, kMakerNotice, kLightBlue,
       kBlue},
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

void CreateWindowObjects() {
  platform::CreateMainWindow(mainWindow, kMainWindowTitle, kClientWidth, kClientHeight,
                             kLightBlue);
  platform::SetWindowIcon(mainWindow, kIconGroup);
  const Text self = platform::ProgramFilePath();
  CreateTrayMenu();
  platform::AddTrayIcon(mainWindow, trayIcon, self, Text(u"Parvola V") + kVersion);

  for (const platform::ControlSpec& control : Controls()) platform::CreateControl(control);
  // The title's right end lies under the version text, which must stay
  // readable.
  platform::RaiseObject(ctlVersion);
  platform::SetObjectFont(ctlTitle, u"Arial", kTitleFontPixels);
  LoadResourceIcon(ctlIcon, self, kIconGroup, kIconPixels);
  platform::AddListColumn(ctlDriveList, u"", kFirstListColumnWidth);
  platform::FillListColumn(ctlDriveList, 0);
}

}  // namespace app
