#include "tests/e2e/mount/machine.h"

#include <cwchar>

namespace e2e {
namespace {

constexpr wchar_t kTestKey[] = L"Software\\ParvolaTest\\Volumes";
const wchar_t* const kVolumeNames[][3] = {
    {L"first", L"M:", L"FIRSTVOL"},     {L"second", L"N:", L"SECONDVOL"},
    {L"third", L"O:", L"THIRDVOL"},     {L"fourth", L"P:", L"FOURTHVOL"},
    {L"fifth", L"Q:", L"FIFTHVOL"},     {L"sixth", L"R:", L"SIXTHVOL"},
    {L"seventh", L"S:", L"SEVENTHVOL"}, {L"eighth", L"T:", L"EIGHTHVOL"},
    {L"ninth", L"U:", L"NINTHVOL"}};

void SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring GetText(HKEY root, const wchar_t* path, const wchar_t* name) {
  wchar_t data[512] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

}  // namespace

int PrepareMachine() {
  HKEY key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  int missing = 0;
  for (const auto& volume : kVolumeNames) {
    const std::wstring device = DosTarget(volume[1]);
    if (!device.empty()) {
      SetText(key, volume[0], device);
      ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH, volume[1], nullptr);
    } else if (GetText(HKEY_CURRENT_USER, kTestKey, volume[0]).empty()) {
      ++missing;  // neither made now nor by an earlier start of this server
    }
  }
  ::RegCloseKey(key);

  HKEY overrides;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\parvola.exe\\DllOverrides",
                        0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &overrides,
                        nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  SetText(overrides, L"setupapi", L"native");
  ::RegCloseKey(overrides);
  return missing == 0 ? 0 : 1;
}

void ArrangeVolumes(std::size_t count) {
  std::vector<Record> records;
  for (const TestVolume& volume : MachineVolumes()) {
    if (records.size() < count) records.push_back({volume.name, volume.device});
  }
  ArrangeRecords(records);
  RemoveTestLetters();
}

std::vector<TestVolume> MachineVolumes() {
  std::vector<TestVolume> volumes;
  for (const auto& volume : kVolumeNames) {
    volumes.push_back({volume[0], volume[2], GetText(HKEY_CURRENT_USER, kTestKey, volume[0])});
  }
  return volumes;
}

void ArrangeRecords(const std::vector<Record>& records) {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVolumeRecords);
  for (const Record& record : records) {
    HKEY key;
    const std::wstring path = std::wstring(kVolumeRecords) + L"\\" + record.key;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
      continue;
    }
    SetText(key, L"Class", L"Volume");
    if (record.hasClassGuid) SetText(key, L"ClassGUID", kVolumeClassGuid);
    if (!record.deviceObjectName.empty()) {
      SetText(key, L"TestDeviceObjectName", record.deviceObjectName);
    }
    ::RegCloseKey(key);
  }
}

void RemoveTestLetters() {
  std::vector<std::wstring> ours;
  for (const TestVolume& volume : MachineVolumes()) ours.push_back(volume.device);
  for (wchar_t letter = L'C'; letter <= L'Y'; ++letter) {
    const std::wstring name{letter, L':'};
    // The program gives letters to the lower-cased paths; kernel object
    // names ignore case, so the comparisons do too.
    const std::wstring target = DosTarget(name);
    bool remove = _wcsnicmp(target.c_str(), L"\\Device\\ParvolaTest", 19) == 0 ||
                  _wcsnicmp(target.c_str(), L"\\Device\\HarddiskVolume9", 24) == 0;
    for (const std::wstring& device : ours) {
      remove |= !device.empty() && _wcsicmp(target.c_str(), device.c_str()) == 0;
    }
    if (remove) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH, name.c_str(), nullptr);
  }
}

std::wstring DosTarget(const std::wstring& name) {
  wchar_t target[1024] = {};
  if (::QueryDosDeviceW(name.c_str(), target, 1024) == 0) return L"";
  return target;
}

std::wstring LettersInUse() {
  std::wstring letters;
  const DWORD mask = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) letters += static_cast<wchar_t>(L'a' + i);
  }
  return letters;
}

std::wstring FreeLetters(const std::wstring& inUse) {
  std::wstring free;
  for (wchar_t letter = L'c'; letter <= L'z'; ++letter) {
    if (inUse.find(letter) == std::wstring::npos) free += letter;
  }
  return free;
}

}  // namespace e2e
