#pragma once
// What the scenarios on the test machine look at while parvola.exe runs: its
// status line, its drive list, the balloon at its tray icon and the letters
// it gave.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/mount/machine.h"

namespace e2e {

// Every scenario starts and ends with the machine's volumes letterless and no
// device records, whatever the scenario before it left.
class MachineScenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<TestVolume> volumes_;
};

inline constexpr int kDriveListControl = 28;
inline constexpr int kExitMenuItem = 3;
// A scan runs on for its final pause after its result is shown; a request
// made before its end is dropped.
inline constexpr std::chrono::milliseconds kScanFinalPause{1300};

// The drive list of the running instance (empty when none).
std::vector<std::wstring> DriveRows();

// Text of the balloon Wine's virtual desktop shows, or empty while none is
// visible. Wine opens a balloon about two seconds after it is asked for.
std::wstring BalloonText();

// Kernel object names ignore case, and the program gives letters to the
// lower-cased paths of its volume list: targets compare in lower case.
std::wstring Lower(std::wstring text);

// L'e' -> L"E:".
std::wstring Drive(wchar_t lowerLetter);

// The drive (upper case, with colon) whose target is `device`, or empty.
std::wstring LetterOf(const std::wstring& device);

}  // namespace e2e
