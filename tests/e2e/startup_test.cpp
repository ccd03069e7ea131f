#include <gtest/gtest.h>

#include "tests/e2e/program.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

TEST(Startup, OneShotRunsWithoutWindowAndEndsByItself) {
  Program program(L"-NG");
  ASSERT_TRUE(program.started());
  bool everVisible = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        everVisible |= ::IsWindowVisible(FindMainWindow()) != FALSE;
        return !program.Running();
      },
      30s));
  EXPECT_EQ(program.WaitForExit(0s), 0);
  EXPECT_FALSE(everVisible);
}

TEST(Startup, SecondInstanceShowsNoticeAndLeavesTheFirstRunning) {
  Program first(L"");
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(WaitUntil([] { return ::IsWindowVisible(FindMainWindow()) != FALSE; }, 30s));

  Program second(L"-ng");
  ASSERT_TRUE(second.started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = ::FindWindowW(L"#32770", L"Parvola")) != nullptr; },
                        30s));
  // The text of a message box is its static control 0xFFFF.
  EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), L"No partition found.");
  EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr) << "OK is the only button";
  EXPECT_TRUE(second.Running()) << "waits for the user";

  ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(second.WaitForExit(30s), 0);
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(::GetForegroundWindow(), FindMainWindow()) << "the first instance comes forward";

  ::PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(30s), 0);
}

}  // namespace
}  // namespace e2e
