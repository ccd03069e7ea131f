#include "tests/e2e/mount/scenario.h"

#include <cwctype>

#include "tests/e2e/mount/machine.h"
#include "tests/e2e/program.h"

namespace e2e {
namespace {

BOOL CALLBACK FindBalloon(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == L"tooltips_class32" && ::IsWindowVisible(window) &&
      !WindowText(window).empty()) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace


std::vector<std::wstring> DriveRows() {
  return ListRows(FindControl(FindMainWindow(), kDriveListControl));
}

std::wstring BalloonText() {
  HWND balloon = nullptr;
  ::EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&balloon));
  return balloon ? WindowText(balloon) : L"";
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring Drive(wchar_t lowerLetter) {
  return std::wstring{static_cast<wchar_t>(std::towupper(lowerLetter)), L':'};
}

std::wstring LetterOf(const std::wstring& device) {
  for (wchar_t letter = L'C'; letter <= L'Y'; ++letter) {
    const std::wstring name{letter, L':'};
    if (Lower(DosTarget(name)) == Lower(device)) return name;
  }
  return L"";
}

void MachineScenario::SetUp() {
  volumes_ = MachineVolumes();
  ASSERT_EQ(volumes_.size(), 9u);
  for (const TestVolume& volume : volumes_) ASSERT_FALSE(volume.device.empty());
  RemoveTestLetters();
}

void MachineScenario::TearDown() {
  RemoveTestLetters();
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVolumeRecords);
}

}  // namespace e2e
