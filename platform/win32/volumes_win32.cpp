#include <windows.h>
#include <winioctl.h>

#include <algorithm>

#include "platform/volumes.h"
#include "platform/win32/text_win32.h"

namespace platform {

using win32::Wide;

namespace {

constexpr DWORD kLabelCapacity = 260;
constexpr DWORD kTargetCapacity = 260;
constexpr DWORD kDescriptorBufferSize = 1059;

}  // namespace

std::uint32_t ReadLogicalDriveStrings(Text& buffer) noexcept {
  std::wstring wide(buffer.size(), L'\0');
  const DWORD result = ::GetLogicalDriveStringsW(static_cast<DWORD>(wide.size()),
                                                 wide.empty() ? nullptr : wide.data());
  std::copy(wide.begin(), wide.end(), buffer.begin());
  return result;
}

std::uint32_t QueryDriveType(const Text& root) noexcept {
  return ::GetDriveTypeW(Wide(root).c_str());
}

int ProbeVolume(const Text& root) noexcept {
  return ::GetVolumeInformationW(Wide(root).c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                 nullptr, 0);
}

std::optional<Text> ReadVolumeLabelAt(const Text& root) noexcept {
  wchar_t label[kLabelCapacity + 1] = {};
  if (!::GetVolumeInformationW(Wide(root).c_str(), label, kLabelCapacity, nullptr, nullptr,
                               nullptr, nullptr, 0)) {
    return std::nullopt;
  }
  return win32::FromWide(label, ::wcsnlen(label, kLabelCapacity));
}

bool DefineDosName(std::uint32_t flags, const Text& name,
                   const std::optional<Text>& target) noexcept {
  const std::wstring wideTarget = target ? Wide(*target) : std::wstring();
  return ::DefineDosDeviceW(flags, Wide(name).c_str(), target ? wideTarget.c_str() : nullptr) !=
         FALSE;
}

namespace {

// The answer is a list of targets, each ending in NUL, the one in force
// first. `error` is read at once: freeing the name's copy may change the
// last error before a caller could read it.
DWORD QueryTargetList(const Text& name, wchar_t (&targets)[kTargetCapacity + 1], DWORD& error) {
  const std::wstring wideName = Wide(name);
  const DWORD stored = ::QueryDosDeviceW(wideName.c_str(), targets, kTargetCapacity);
  error = stored == 0 ? ::GetLastError() : ERROR_SUCCESS;
  return stored;
}

HANDLE OpenWithoutAccess(const Text& deviceName, DWORD& error) {
  // No access rights: the property query needs none, and a volume that is
  // in use by others still opens.
  const std::wstring wideName = Wide(deviceName);
  const HANDLE device = ::CreateFileW(wideName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
  error = device == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
  return device;
}

}  // namespace

std::optional<std::vector<Text>> QueryDosTargets(const Text& name) noexcept {
  wchar_t targets[kTargetCapacity + 1] = {};
  DWORD error = ERROR_SUCCESS;
  const DWORD stored = std::min(QueryTargetList(name, targets, error), kTargetCapacity);
  if (stored == 0) return std::nullopt;
  std::vector<Text> list;
  for (DWORD at = 0; at < stored && targets[at] != L'\0';) {
    const std::size_t length = ::wcsnlen(targets + at, stored - at);
    list.push_back(win32::FromWide(targets + at, length));
    at += static_cast<DWORD>(length) + 1;
  }
  return list;
}

std::optional<Text> QueryDosTarget(const Text& name) noexcept {
  const auto targets = QueryDosTargets(name);
  if (!targets) return std::nullopt;
  return targets->empty() ? Text() : targets->front();
}

bool DosNameInUse(const Text& name) noexcept {
  wchar_t targets[kTargetCapacity + 1] = {};
  DWORD error = ERROR_SUCCESS;
  if (QueryTargetList(name, targets, error) != 0) return true;
  // A target list longer than the buffer fails too, and is in use all the same.
  return error != ERROR_FILE_NOT_FOUND;
}

Handle OpenDevice(const Text& deviceName) noexcept {
  DWORD error = ERROR_SUCCESS;
  const HANDLE device = OpenWithoutAccess(deviceName, error);
  return device == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<Handle>(device);
}

std::uint32_t DeviceOpenError(const Text& deviceName) noexcept {
  DWORD error = ERROR_SUCCESS;
  const HANDLE device = OpenWithoutAccess(deviceName, error);
  if (device == INVALID_HANDLE_VALUE) return error;
  ::CloseHandle(device);
  return ERROR_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> QueryStorageDescriptor(Handle device) noexcept {
  STORAGE_PROPERTY_QUERY query = {};
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  static_assert(sizeof(query) == 12);
  std::vector<std::uint8_t> descriptor(kDescriptorBufferSize, 0);
  DWORD returned = 0;
  if (!::DeviceIoControl(reinterpret_cast<HANDLE>(device), IOCTL_STORAGE_QUERY_PROPERTY, &query,
                         sizeof(query), descriptor.data(), kDescriptorBufferSize, &returned,
                         nullptr)) {
    return std::nullopt;
  }
  descriptor.resize(std::min<DWORD>(returned, kDescriptorBufferSize));
  return descriptor;
}

}  // namespace platform
