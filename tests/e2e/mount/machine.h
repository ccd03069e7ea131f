#pragma once
// The letterless volumes of the test machine (made by tests/e2e/mount/machine)
// and the arrangement of device records and drive letters per scenario.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

inline constexpr wchar_t kVolumeRecords[] = L"SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";
inline constexpr wchar_t kVolumeClassGuid[] = L"{71A27CDD-812A-11D0-BEC7-08002BE2092F}";

struct TestVolume {
  std::wstring name;    // "first", "second"
  std::wstring label;   // its volume label
  std::wstring device;  // \Device\HarddiskVolumeN
};

// Run once after the machine's server has started: records the volumes'
// device paths, removes their letters and enables the stand-in device
// manager for parvola.exe. Returns a process exit code.
int PrepareMachine();

std::vector<TestVolume> MachineVolumes();

// Complete records for the first `count` volumes of the machine, and no
// letters for any: the starting point of a benchmark or demo run.
void ArrangeVolumes(std::size_t count);

// A device record under Enum\STORAGE\Volume, as a scenario wants it.
struct Record {
  std::wstring key;
  std::wstring deviceObjectName;  // empty: no test value
  bool hasClassGuid = true;  // "Class" is always there
};
// Replaces every record with `records`.
void ArrangeRecords(const std::vector<Record>& records);

// Removes every drive letter from C to Y that points to one of our volumes
// or to a device under \Device\ParvolaTest or \Device\HarddiskVolume9x, so
// each scenario starts from letterless volumes. Z: (Wine's root) and C: stay.
void RemoveTestLetters();

// The target of a DOS name such as L"E:"; empty when it has none.
std::wstring DosTarget(const std::wstring& name);

// Letters in use, lower case, in order.
std::wstring LettersInUse();

// The lowest letters from C to Z not in `inUse`.
std::wstring FreeLetters(const std::wstring& inUse);

}  // namespace e2e
