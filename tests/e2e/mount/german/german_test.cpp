// parvola.exe as a German user sees it. This driver runs under the test
// machine's German Unix locale (see cmake/windows.cmake), and so does every
// program it starts: Wine takes the user language from there.
#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/mount/scenario.h"
#include "tests/e2e/program.h"
#include "tests/e2e/wait.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

class GermanUser : public MachineScenario {
 protected:
  void SetUp() override {
    ASSERT_EQ(PRIMARYLANGID(::GetUserDefaultLangID()), LANG_GERMAN)
        << "the driver must run with LOCPATH, LANG and LC_ALL naming the machine's de_DE.UTF-8 "
           "(localedef, from the package locales, compiles it)";
    MachineScenario::SetUp();
  }
};

TEST_F(GermanUser, ResultAndSecondInstanceNoticeAreGerman) {
  ArrangeRecords({{L"vol-first", volumes_[0].device}});
  const std::wstring free = FreeLetters(LettersInUse());
  ASSERT_FALSE(free.empty());
  Program first(L"");
  ASSERT_TRUE(first.started());
  EXPECT_TRUE(StatusBecomes(L"1 neue Partition(en) gefunden.", 60s));
  EXPECT_EQ(DriveRows(), std::vector<std::wstring>{Drive(free[0]) + L" - " + volumes_[0].label +
                                                   L"   \"SCSI\""});

  Program second(L"-ng");
  ASSERT_TRUE(second.started());
  HWND box = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (box = ::FindWindowW(L"#32770", L"Parvola")) != nullptr; }, 30s));
  // The text of a message box is its static control 0xFFFF.
  EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), L"Keine neue Partition gefunden.");
  ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(second.WaitForExit(30s), 0);

  EXPECT_TRUE(first.Running()) << "the notice leaves the first instance running";
  ::PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(30s), 0);
}

}  // namespace
}  // namespace e2e
