// parvola.exe in its window and tray modes, inspected from outside.
#include "tests/e2e/program.h"
#include "tests/e2e/wait.h"

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>

#include "tests/sim/narrow.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using sim::Narrow;

constexpr int kClose = 16, kVersion = 19, kTitle = 25, kRule = 26, kIcon = 29, kFooter = 31;
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kTrayIcon = 34;

// Started, visible, and through its first scan.
class WindowMode : public ::testing::Test {
 protected:
  void Start(const std::wstring& arguments) {
    program_ = std::make_unique<Program>(arguments);
    ASSERT_TRUE(program_->started());
    ASSERT_TRUE(WaitUntil([] { return ::IsWindowVisible(FindMainWindow()) != FALSE; }, 30s));
    ASSERT_TRUE(StatusBecomes(kNothingFound, 30s)) << "the first scan runs without any user action";
    // The scan runs on through its final pause; a request before its end is dropped.
    std::this_thread::sleep_for(kFinalPause);
  }
  void TearDown() override {
    if (program_ && program_->Running()) {
      ::PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
      EXPECT_EQ(program_->WaitForExit(30s), 0);
    }
  }
  // Clicks a control as a user would, and waits for the scan it asks for.
  static bool ScanStartsAfter(const std::function<void()>& action) {
    action();
    return WaitUntil([] { return StatusText() == kChecking; }, 3s);
  }

  std::unique_ptr<Program> program_;
};

TEST_F(WindowMode, WindowIsABorderedPopupOfTheRightSizeCentred) {
  Start(L"");
  const HWND window = FindMainWindow();
  EXPECT_EQ(WindowText(window), L" Parvola");
  // No caption bar, system menu or sizing frame; no background painted
  // under the controls.
  constexpr DWORD kLook = WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME |
                          WS_CLIPCHILDREN;
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & kLook, WS_POPUP | WS_BORDER | WS_CLIPCHILDREN);
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ((std::array{client.right, client.bottom}), (std::array<LONG, 2>{370, 205}));
  RECT frame;
  ::GetWindowRect(window, &frame);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(frame.left + frame.right - screenWidth), 1);
  EXPECT_LE(std::abs(frame.top + frame.bottom - screenHeight), 1);
}

TEST_F(WindowMode, ControlsHaveTheirNumbersParentsPlacesAndTexts) {
  Start(L"");
  const HWND window = FindMainWindow();
  const HWND page = ::GetDlgItem(window, kPage);
  ASSERT_NE(page, nullptr);
  const struct {
    int number;
    HWND parent;
    RECT place;  // x, y, width, height
    const wchar_t* className;
    const wchar_t* text;  // nullptr: not compared
  } controls[] = {
      {kTitle, window, {10, 9, 300, 22}, L"Static", L"Parvola "},
      {kRule, window, {0, 33, 474, 1}, L"Static", L""},
      {kVersion, window, {270, 12, 50, 20}, L"Static", L"V.1.1.6.0"},
      {kClose, window, {340, 4, 25, 25}, L"Button", L"x"},
      {kPage, window, {8, 35, 359, 170}, nullptr, L""},
      {kIcon, page, {10, 50, 60, 54}, L"Static", nullptr},
      {kStatus, page, {70, 15, 270, 17}, L"Static", kNothingFound.c_str()},
      {kDriveList, page, {70, 35, 280, 100}, L"SysListView32", nullptr},
      {kRefresh, page, {170, 140, 70, 25}, L"Button", L"Refresh"},
      {kFooter, page, {0, 150, 120, 17}, L"Static", L"\u00A9 Parvola developers"},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.number);
    const HWND control = ::GetDlgItem(c.parent, c.number);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetParent(control), c.parent);
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, c.parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ((std::array{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              (std::array{c.place.left, c.place.top, c.place.right, c.place.bottom}));
    if (c.className) {
      wchar_t name[64] = {};
      ::GetClassNameW(control, name, 64);
      EXPECT_EQ(_wcsicmp(name, c.className), 0) << Narrow(name);
    }
    if (c.text) {
      EXPECT_EQ(WindowText(control), c.text);
    }
    EXPECT_TRUE(::IsWindowVisible(control));
    EXPECT_TRUE(::GetWindowLongW(control, GWL_STYLE) & WS_CLIPSIBLINGS)
        << "overlapping controls paint the same on every Windows";
  }
  const HWND title = ::GetDlgItem(window, kTitle), version = ::GetDlgItem(window, kVersion);
  HWND upper = ::GetWindow(window, GW_CHILD);
  while (upper != nullptr && upper != title && upper != version) {
    upper = ::GetWindow(upper, GW_HWNDNEXT);
  }
  EXPECT_EQ(upper, version) << "the version lies above the title's right end";

  const HWND list = ::GetDlgItem(page, kDriveList);
  EXPECT_EQ(::GetWindowLongW(list, GWL_STYLE) & (LVS_TYPEMASK | LVS_NOCOLUMNHEADER | LVS_SINGLESEL),
            LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL);
  RECT listClient;
  ::GetClientRect(list, &listClient);
  EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), listClient.right)
      << "the one column fills the list";
  EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 0) << "and is the only one";
  EXPECT_TRUE(ListRows(list).empty());

  EXPECT_NE(::SendMessageW(::GetDlgItem(page, kIcon), STM_GETICON, 0, 0), 0)
      << "the program icon is shown";
  EXPECT_TRUE(::GetWindowLongW(page, GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(::GetWindowLongW(::GetDlgItem(page, kRefresh), GWL_STYLE) & BS_TYPEMASK,
            BS_DEFPUSHBUTTON)
      << "Enter presses Refresh, and it looks so";
  EXPECT_EQ(::GetWindowLongW(::GetDlgItem(window, kClose), GWL_STYLE) & BS_TYPEMASK,
            BS_PUSHBUTTON);
}

void ClickClose() { ::SendMessageW(FindControl(FindMainWindow(), kClose), BM_CLICK, 0, 0); }

void PointAndClickClose() {
  RECT close;
  ::GetWindowRect(FindControl(FindMainWindow(), kClose), &close);
  MouseAt((close.left + close.right) / 2, (close.top + close.bottom) / 2, MOUSEEVENTF_LEFTDOWN);
  MouseAt((close.left + close.right) / 2, (close.top + close.bottom) / 2, MOUSEEVENTF_LEFTUP);
}

TEST_F(WindowMode, CloseButtonIsIgnoredDuringAScanAndWorksAfterIt) {
  const struct {
    const char* what;
    void (*close)();
  } cases[] = {
      {"click message", ClickClose},
      {"Esc", [] { PressKeys({VK_ESCAPE}); }},
      {"mouse", PointAndClickClose},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(L"");
    const HWND window = FindMainWindow();
    ::SetForegroundWindow(window);
    ASSERT_TRUE(
        ScanStartsAfter([&] { ::SendMessageW(FindControl(window, kRefresh), BM_CLICK, 0, 0); }));
    c.close();
    ASSERT_TRUE(StatusBecomes(kNothingFound, 30s));
    std::this_thread::sleep_for(kFinalPause);
    EXPECT_TRUE(program_->Running()) << "the close during the scan was not kept for later";
    c.close();
    EXPECT_EQ(program_->WaitForExit(30s), 0);
  }
}

TEST_F(WindowMode, KeysWorkWithoutAMouse) {
  enum Outcome { kScans, kEnds };
  const struct {
    const char* what;
    std::vector<unsigned> moves;
    int focus;  // after the moves
    unsigned press;
    Outcome outcome;
  } cases[] = {
      {"Space on Refresh, where the focus starts", {}, kRefresh, VK_SPACE, kScans},
      // The system's dialog keys would make it the menu's web address.
      {"Enter on Refresh", {}, kRefresh, VK_RETURN, kScans},
      {"Tab to x, Enter", {VK_TAB}, kClose, VK_RETURN, kEnds},
      {"Enter on the list presses Refresh", {VK_TAB, VK_TAB}, kDriveList, VK_RETURN, kScans},
      {"Tab round to Refresh, Enter", {VK_TAB, VK_TAB, VK_TAB}, kRefresh, VK_RETURN, kScans},
      {"Shift+Tab twice to x, Space", {kShift | VK_TAB, kShift | VK_TAB}, kClose, VK_SPACE, kEnds},
      {"Esc while idle", {}, kRefresh, VK_ESCAPE, kEnds},
      {"Alt+F4 from a control", {}, kRefresh, kAlt | VK_F4, kEnds},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(L"");
    const HWND window = FindMainWindow();
    ::SetForegroundWindow(window);
    PressKeys(c.moves);
    const HWND focus = FindControl(window, c.focus);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == focus; }, 3s));
    if (c.outcome == kScans) {
      EXPECT_TRUE(ScanStartsAfter([&] { PressKeys({c.press}); }));
      EXPECT_TRUE(program_->Running());
    } else {
      PressKeys({c.press});
      EXPECT_EQ(program_->WaitForExit(30s), 0);
    }
    TearDown();
  }
}

TEST_F(WindowMode, DraggingTheTitleStripMovesTheWindowByTheDistance) {
  Start(L"");
  const HWND window = FindMainWindow();
  ::SetForegroundWindow(window);
  RECT before, after;
  ::GetWindowRect(window, &before);
  const POINT from = {before.left + 150, before.top + 15};  // over the title text
  MouseAt(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
  MouseAt(from.x + 30, from.y + 20, 0);
  MouseAt(from.x + 60, from.y + 40, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil(
      [&] {
        ::GetWindowRect(window, &after);
        return after.left - before.left == 60 && after.top - before.top == 40;
      },
      3s))
      << "moved by " << after.left - before.left << ", " << after.top - before.top;
}

TEST(TrayMode, NoWindowEverShowsTheIconOutlivesTheShellAndTheExitMenuCommandEnds) {
  Program program(L"-ng -a");
  ASSERT_TRUE(program.started());
  bool everVisible = false;
  ASSERT_TRUE(WaitUntil([] { return FindMainWindow() != nullptr; }, 30s));
  WaitUntil(
      [&] {
        everVisible |= ::IsWindowVisible(FindMainWindow()) != FALSE;
        return StatusText() == kNothingFound;
      },
      30s);
  EXPECT_EQ(StatusText(), kNothingFound) << "scans at start";
  EXPECT_FALSE(everVisible);
  EXPECT_TRUE(program.Running());

  // A shell that starts afresh knows no icons until their programs add them
  // again; without its icon this mode could not be ended.
  NOTIFYICONDATAW icon = {sizeof(icon)};
  icon.hWnd = FindMainWindow();
  icon.uID = kTrayIcon;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &icon)) << "a change finds no icon";
  ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }, 5s));

  ::PostMessageW(FindMainWindow(), WM_COMMAND, MAKEWPARAM(kMenuExit, 0), 0);
  EXPECT_EQ(program.WaitForExit(30s), 0);
}

HWND VisibleMenu() {
  const HWND menu = ::FindWindowW(L"#32768", nullptr);
  return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

TEST(TrayMode, RightButtonOpensTheMenuAtTheCursorAndALeftClickDoesNothing) {
  Program program(L"-ng -a");
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([] { return StatusText() == kNothingFound; }, 30s));
  const HWND window = FindMainWindow();

  ::PostMessageW(window, kTrayMessage, kTrayIcon, WM_LBUTTONDOWN);
  EXPECT_FALSE(WaitUntil([] { return VisibleMenu() != nullptr; }, 500ms));

  ::SetCursorPos(300, 200);
  ::PostMessageW(window, kTrayMessage, kTrayIcon, WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5s));
  const HWND menuWindow = VisibleMenu();
  RECT place;
  ::GetWindowRect(menuWindow, &place);
  EXPECT_EQ(place.left, 299);
  EXPECT_EQ(place.top, 199);
  // Its items are checked on the simulated machine: Wine's menus cannot be
  // read from another process. Closed without a choice, the menu leaves the
  // program running.
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([] { return VisibleMenu() == nullptr; }, 5s));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(program.Running());

  // The hidden window is the foreground window now. Keys there once ended
  // the program (Esc) or started a scan (Enter).
  PressKeys({VK_ESCAPE, VK_RETURN, VK_TAB, VK_SPACE, VK_ESCAPE});
  for (const int to : {0, kRefresh, kClose}) {
    const HWND target = to == 0 ? window : FindControl(window, to);
    for (const WPARAM key : {VK_TAB, VK_SPACE, VK_RETURN, VK_ESCAPE}) {
      ::PostMessageW(target, WM_KEYDOWN, key, 1);
      ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
  }
  EXPECT_FALSE(WaitUntil([] { return StatusText() == kChecking; }, 1s)) << "no scan started";
  EXPECT_TRUE(program.Running());
  EXPECT_FALSE(::IsWindowVisible(window));
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(kMenuExit, 0), 0);
  EXPECT_EQ(program.WaitForExit(30s), 0);
}

}  // namespace
}  // namespace e2e
