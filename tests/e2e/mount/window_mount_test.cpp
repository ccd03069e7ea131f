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
    ASSERT_GE(free_.size(), 9u);
    program_ = std::make_unique<Program>(arguments);
    ASSERT_TRUE(program_->started());
    ASSERT_TRUE(StatusBecomes(result, 60s));
  }

  std::wstring free_;
  std::unique_ptr<Program> program_;
};

// The first scan's result: the status line, a row per volume in the order
// of the records' names, and the balloon unless -nt. Nine rows are more than
// the list shows at once: its vertical bar comes, the column narrows with the
// client area, and no sideways bar shows.
TEST_F(MountWindow, TheFirstScanShowsTheVolumesInRecordOrder) {
  const struct {
    const wchar_t* arguments;
    std::vector<std::size_t> volumes;  // in record order
  } cases[] = {{L"-nt", {0}}, {L"", {1, 0}}, {L"", {0, 1, 2, 3, 4, 5, 6, 7, 8}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << Narrow(c.arguments) << " " << c.volumes.size());
    std::vector<Record> records;
    for (const std::size_t v : c.volumes) {
      records.push_back({L"vol-" + std::to_wstring(records.size()), volumes_[v].device});
    }
    ArrangeRecords(records);
    Start(c.arguments, std::to_wstring(c.volumes.size()) + L" new Partition(s) found.");
    std::vector<std::wstring> rows;
    std::wstring balloon;
    for (std::size_t i = 0; i < c.volumes.size(); ++i) {
      rows.push_back(RowOf(free_[i], volumes_[c.volumes[i]]));
      balloon += Drive(free_[i]) + L" - " + volumes_[c.volumes[i]].label + L"\r\n";
    }
    EXPECT_EQ(DriveRows(), rows);
    const HWND list = FindControl(FindMainWindow(), kDriveList);
    EXPECT_EQ(::GetWindowLongW(list, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL),
              rows.size() == 9 ? WS_VSCROLL : 0);
    RECT client;
    ::GetClientRect(list, &client);
    EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), client.right);
    if (*c.arguments == L'\0') {
      EXPECT_TRUE(WaitUntil([&] { return BalloonText() == balloon; }, 10s))
          << "balloon: " << Narrow(BalloonText());
    } else {  // Wine opens a balloon about two seconds late: wait well past that.
      EXPECT_FALSE(WaitUntil([] { return !BalloonText().empty(); }, 6s))
          << "balloon: " << Narrow(BalloonText());
    }
    TearDown();
  }
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
