#include "tests/e2e/mount/scenario.h"

#include <cwctype>

#include "tests/e2e/mount/machine.h"

namespace e2e {

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
