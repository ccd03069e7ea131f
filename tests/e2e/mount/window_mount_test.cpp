// parvola.exe with its window on a machine with letterless volumes: what the
// user sees after the first scan (status line, drive list, balloon), scans
// started by device changes.
#include <windows.h>
#include <commctrl.h>
// dbt.h needs the types of windows.h.
#include <dbt.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/mount/scenario.h"
#include "tests/e2e/program.h"
#include "tests/e2e/wait.h"
#include "tests/sim/narrow.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using sim::Narrow;

// The row of a volume on Wine's storage stack: bus SCSI, no product text.
std::wstring RowOf(wchar_t letter, const TestVolume& volume) {
  return Drive(letter) + L" - " + volume.label + L"   \"SCSI\"";
}

class MountWindow : public MachineScenario {
 protected:
  void TearDown() override {
    if (program_ && program_->Running()) {
      ::PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
      EXPECT_EQ(program_->WaitForExit(30s), 0);
    }
    program_.reset();
    MachineScenario::TearDown();
  }

  // Starts the program and waits until its first scan shows `result`; the
  // free letters before the start are kept in `free_`.
  void Start(const std::wstring& arguments, const std::wstring& result) {
    free_ = FreeLetters(LettersInUse());
    ASSERT_GE(free_.size(), 3u);
    program_ = std::make_unique<Program>(arguments);
    ASSERT_TRUE(program_->started());
    ASSERT_TRUE(StatusBecomes(result, 60s));
  }

  std::wstring free_;
  std::unique_ptr<Program> program_;
};

TEST_F(MountWindow, NoTipsShowsTheResultWithoutABalloon) {
  ArrangeRecords({{L"vol-first", volumes_[0].device}});
  Start(L"-nt", L"1 new Partition(s) found.");
  EXPECT_EQ(DriveRows(), std::vector<std::wstring>{RowOf(free_[0], volumes_[0])});
  // Wine opens a balloon about two seconds late: wait well past that.
  EXPECT_FALSE(WaitUntil([] { return !BalloonText().empty(); }, 6s))
      << "balloon: " << Narrow(BalloonText());
}

TEST_F(MountWindow, TwoVolumesAreListedInRecordOrder) {
  // Records enumerate sorted by name: the second volume comes first.
  ArrangeRecords({{L"a-second", volumes_[1].device}, {L"b-first", volumes_[0].device}});
  Start(L"", L"2 new Partition(s) found.");
  EXPECT_EQ(DriveRows(), (std::vector<std::wstring>{RowOf(free_[0], volumes_[1]),
                                                    RowOf(free_[1], volumes_[0])}));
  EXPECT_EQ(Lower(DosTarget(Drive(free_[0]))), Lower(volumes_[1].device));
  EXPECT_EQ(Lower(DosTarget(Drive(free_[1]))), Lower(volumes_[0].device));
  ASSERT_TRUE(WaitUntil([] { return !BalloonText().empty(); }, 10s)) << "no balloon shown";
  EXPECT_EQ(BalloonText(), Drive(free_[0]) + L" - " + volumes_[1].label + L"\r\n" +
                               Drive(free_[1]) + L" - " + volumes_[0].label + L"\r\n");
}

// Rows past the list's height bring its vertical bar, and the column
// narrows with the client area: no sideways bar shows.
TEST_F(MountWindow, NineVolumesAreAllListedWithoutASidewaysBar) {
  std::vector<Record> records;
  for (std::size_t i = 0; i < volumes_.size(); ++i) {
    records.push_back({L"vol-" + std::to_wstring(i), volumes_[i].device});
  }
  ArrangeRecords(records);
  Start(L"", L"9 new Partition(s) found.");
  ASSERT_GE(free_.size(), 9u);
  std::vector<std::wstring> rows;
  for (std::size_t i = 0; i < volumes_.size(); ++i) rows.push_back(RowOf(free_[i], volumes_[i]));
  EXPECT_EQ(DriveRows(), rows);
  const HWND list = FindControl(FindMainWindow(), kDriveList);
  EXPECT_TRUE(::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(::GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL);
  RECT client;
  ::GetClientRect(list, &client);
  EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), client.right);
}

// Under Wine a letter made by the program reports no root, so a second scan
// takes it away and gives it again (Windows would leave it alone): these
// scenarios only look at the volume that arrived between the scans.
TEST_F(MountWindow, DeviceNodeChangeMountsAVolumeThatArrivedOnlyWithAutoMount) {
  const struct {
    const wchar_t* arguments;
    bool autoMount;
    bool windowShown;
    UINT endMessage;  // the tray-only mode has no window to close
    WPARAM endParameter;
  } modes[] = {
      {L"-ng -a", true, false, WM_COMMAND, MAKEWPARAM(kMenuExit, 0)},
      {L"-a", true, true, WM_CLOSE, 0},
      {L"", false, true, WM_CLOSE, 0},
  };
  for (const auto& mode : modes) {
    SCOPED_TRACE(Narrow(mode.arguments));
    ArrangeRecords({{L"a-first", volumes_[0].device}});
    Start(mode.arguments, L"1 new Partition(s) found.");
    EXPECT_EQ(::IsWindowVisible(FindMainWindow()) != FALSE, mode.windowShown);
    std::this_thread::sleep_for(kFinalPause);

    ArrangeRecords({{L"a-first", volumes_[0].device}, {L"b-second", volumes_[1].device}});
    // A scan shows its checking text for at least its 1.3 s of pauses.
    const auto scanned = [&] {
      return StatusText() == kChecking || !LetterOf(volumes_[1].device).empty();
    };
    ::SendMessageW(FindMainWindow(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_FALSE(WaitUntil(scanned, 3s)) << "a removal started a scan";
    ::SendMessageW(FindMainWindow(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(WaitUntil(scanned, 3s), mode.autoMount) << "an arrival starts a scan with -a only";
    if (mode.autoMount) {
      EXPECT_TRUE(WaitUntil([&] { return !LetterOf(volumes_[1].device).empty(); }, 30s))
          << "the arrived volume got no letter";
      EXPECT_TRUE(WaitUntil([] { return StatusText() != kChecking && !StatusText().empty(); }, 30s));
      std::this_thread::sleep_for(kFinalPause);
    }
    ::PostMessageW(FindMainWindow(), mode.endMessage, mode.endParameter, 0);
    EXPECT_EQ(program_->WaitForExit(30s), 0);
    TearDown();
  }
}

}  // namespace
}  // namespace e2e
