// A stand-in device manager for end-to-end runs under Wine, whose own setup
// library does not report device object names. It serves the members of a
// setup class from the device records under Enum\STORAGE\Volume: a record
// is a member when its "ClassGUID" names the class asked for, and its device
// object name is the record's "TestDeviceObjectName" value. Records are read
// when the set is made, so a record that the caller repaired just before
// takes part. The number of sets not yet destroyed is kept in
// HKCU\Software\ParvolaTest "OpenDeviceSets" for leak checks.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kRecords[] = L"SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";
constexpr DWORD kPhysicalDeviceObjectName = 14;  // SPDRP_PHYSICAL_DEVICE_OBJECT_NAME
constexpr DWORD kMemberRecordSize = 32;          // sizeof(SP_DEVINFO_DATA) on x64

struct Member {
  std::wstring record;
  std::wstring deviceObjectName;  // empty: the property cannot be read
};

struct DeviceSet {
  std::vector<Member> members;
};

// SP_DEVINFO_DATA, declared here so this file does not depend on the headers
// of the library it replaces.
struct MemberRecord {
  DWORD cbSize;
  GUID ClassGuid;
  DWORD DevInst;
  ULONG_PTR Reserved;
};

std::wstring GuidText(const GUID& g) {
  wchar_t text[40];
  std::swprintf(text, 40, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

std::wstring ReadText(HKEY key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return L"";
  }
  return data;
}

void CountOpenSets(int change) {
  HKEY key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ParvolaTest", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD count = 0;
  DWORD size = sizeof(count);
  ::RegQueryValueExW(key, L"OpenDeviceSets", nullptr, nullptr, reinterpret_cast<BYTE*>(&count),
                     &size);
  count += change;
  ::RegSetValueExW(key, L"OpenDeviceSets", 0, REG_DWORD, reinterpret_cast<BYTE*>(&count),
                   sizeof(count));
  ::RegCloseKey(key);
}

DeviceSet* SetOf(HANDLE set) {
  return set == INVALID_HANDLE_VALUE || set == nullptr ? nullptr : static_cast<DeviceSet*>(set);
}

const Member* MemberOf(HANDLE set, const MemberRecord* record) {
  DeviceSet* devices = SetOf(set);
  if (devices == nullptr || record == nullptr || record->DevInst == 0 ||
      record->DevInst > devices->members.size()) {
    return nullptr;
  }
  return &devices->members[record->DevInst - 1];
}

}  // namespace

extern "C" {

HANDLE WINAPI SetupDiGetClassDevsW(const GUID* classGuid, const wchar_t*, HWND, DWORD) {
  auto* set = new DeviceSet;
  HKEY records;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecords, 0, KEY_READ, &records) == ERROR_SUCCESS) {
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (::RegEnumKeyExW(records, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      HKEY record;
      if (::RegOpenKeyExW(records, name, 0, KEY_READ, &record) != ERROR_SUCCESS) continue;
      const std::wstring classGuidText = ReadText(record, L"ClassGUID");
      if (classGuid == nullptr || _wcsicmp(classGuidText.c_str(), GuidText(*classGuid).c_str()) == 0) {
        set->members.push_back({name, ReadText(record, L"TestDeviceObjectName")});
      }
      ::RegCloseKey(record);
    }
    ::RegCloseKey(records);
  }
  CountOpenSets(+1);
  return set;
}

BOOL WINAPI SetupDiEnumDeviceInfo(HANDLE set, DWORD index, MemberRecord* record) {
  DeviceSet* devices = SetOf(set);
  if (devices == nullptr || record == nullptr || record->cbSize != kMemberRecordSize) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (index >= devices->members.size()) {
    ::SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  record->DevInst = index + 1;
  return TRUE;
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HANDLE set) {
  DeviceSet* devices = SetOf(set);
  if (devices == nullptr) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete devices;
  CountOpenSets(-1);
  return TRUE;
}

BOOL WINAPI SetupDiGetDeviceInstanceIdW(HANDLE set, MemberRecord* record, wchar_t* id, DWORD size,
                                        DWORD* required) {
  const Member* member = MemberOf(set, record);
  if (member == nullptr) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::wstring text = L"STORAGE\\VOLUME\\" + member->record;
  if (required) *required = static_cast<DWORD>(text.size() + 1);
  if (id == nullptr || size < text.size() + 1) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::wmemcpy(id, text.c_str(), text.size() + 1);
  return TRUE;
}

BOOL WINAPI SetupDiGetDeviceRegistryPropertyW(HANDLE set, MemberRecord* record, DWORD property,
                                              DWORD* type, BYTE* buffer, DWORD size,
                                              DWORD* required) {
  const Member* member = MemberOf(set, record);
  if (member == nullptr || property != kPhysicalDeviceObjectName ||
      member->deviceObjectName.empty()) {
    ::SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  const DWORD bytes = static_cast<DWORD>((member->deviceObjectName.size() + 1) * sizeof(wchar_t));
  if (type) *type = REG_SZ;
  if (required) *required = bytes;
  if (buffer == nullptr || size < bytes) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, member->deviceObjectName.c_str(), bytes);
  return TRUE;
}

DWORD WINAPI CM_Get_DevNode_Status(ULONG* status, ULONG* problem, DWORD, ULONG) {
  constexpr ULONG kStarted = 0x00000008;  // DN_STARTED
  if (status) *status = kStarted;
  if (problem) *problem = 0;
  return 0;  // CR_SUCCESS
}

}  // extern "C"
