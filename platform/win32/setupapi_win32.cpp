#include <windows.h>
#include <setupapi.h>

#include "platform/setupapi.h"
#include "platform/win32/guid_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {
namespace {

// The property buffer holds 2048 bytes: 1023 characters and a NUL.
constexpr DWORD kPropertyBufferBytes = 2048;

SP_DEVINFO_DATA ToDevInfoData(const DeviceMember& member) {
  SP_DEVINFO_DATA data = {sizeof(data)};
  data.ClassGuid = win32::ToGuid(member.classGuid);
  data.DevInst = member.devInst;
  data.Reserved = member.reserved;
  return data;
}

}  // namespace

DeviceSet OpenClassDevices(const Guid& classGuid, std::uint32_t flags) noexcept {
  const GUID guid = win32::ToGuid(classGuid);
  const HDEVINFO set = ::SetupDiGetClassDevsW(&guid, nullptr, nullptr, flags);
  return set == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<DeviceSet>(set);
}

void DestroyDeviceSet(DeviceSet set) noexcept {
  if (set != 0) ::SetupDiDestroyDeviceInfoList(reinterpret_cast<HDEVINFO>(set));
}

bool EnumDeviceMember(DeviceSet set, std::uint32_t index, DeviceMember& member) noexcept {
  SP_DEVINFO_DATA data = {sizeof(data)};
  static_assert(sizeof(data) == 32);
  if (!::SetupDiEnumDeviceInfo(reinterpret_cast<HDEVINFO>(set), index, &data)) return false;
  member.classGuid = win32::FromGuid(data.ClassGuid);
  member.devInst = data.DevInst;
  member.reserved = data.Reserved;
  return true;
}

std::optional<Text> CallGetDeviceRegistryProperty(Procedure getProperty, DeviceSet set,
                                                  const DeviceMember& member,
                                                  std::uint32_t property) noexcept {
  using GetProperty = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE, DWORD,
                                    PDWORD);
  const auto call = reinterpret_cast<GetProperty>(getProperty);
  SP_DEVINFO_DATA data = ToDevInfoData(member);
  constexpr std::size_t kCharacters = kPropertyBufferBytes / sizeof(wchar_t);
  // One spare character keeps a full, unterminated buffer readable.
  wchar_t buffer[kCharacters + 1] = {};
  if (!call(reinterpret_cast<HDEVINFO>(set), &data, property, nullptr,
            reinterpret_cast<PBYTE>(buffer), kPropertyBufferBytes, nullptr)) {
    return std::nullopt;
  }
  return win32::FromWide(buffer, ::wcsnlen(buffer, kCharacters));
}

}  // namespace platform
