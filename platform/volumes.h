#pragma once
// kernel32: drive letters, the DOS device namespace, volumes and storage
// devices, in portable types.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/errors.h"
#include "platform/kernel32.h"
#include "platform/text.h"

namespace platform {

// GetDriveTypeW results the program acts upon.
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveRemote = 4;

// DefineDosDeviceW flags.
inline constexpr std::uint32_t kDefineRawTargetPath = 0x1;
inline constexpr std::uint32_t kDefineRemoveDefinition = 0x2;
inline constexpr std::uint32_t kDefineExactMatchOnRemove = 0x4;

// GetLogicalDriveStringsW with the length buffer.size() (an empty buffer asks
// for the length needed). Returns what the call returns: the characters
// stored without the final terminator; when the buffer is too small, the
// length needed including it (nothing stored); 0 on failure.
[[nodiscard]] std::uint32_t ReadLogicalDriveStrings(Text& buffer) noexcept;

// GetDriveTypeW of a root or a designator such as "e:".
[[nodiscard]] std::uint32_t QueryDriveType(const Text& root) noexcept;

// GetVolumeInformationW with every output null and every size 0: whether a
// file system answers at `root` ("e:\"). Returns the call's own result.
[[nodiscard]] int ProbeVolume(const Text& root) noexcept;

// GetVolumeInformationW asking for the label only (capacity 260). Nothing
// when the call fails.
[[nodiscard]] std::optional<Text> ReadVolumeLabelAt(const Text& root) noexcept;

// DefineDosDeviceW. No target passes a null target path.
[[nodiscard]] bool DefineDosName(std::uint32_t flags, const Text& name,
                                 const std::optional<Text>& target) noexcept;

// QueryDosDeviceW with a capacity of 260: the first (most recent) target of
// `name`. Nothing when the call fails.
[[nodiscard]] std::optional<Text> QueryDosTarget(const Text& name) noexcept;

// QueryDosDeviceW with a capacity of 260: every target of `name`, the one
// in force first. Nothing when the call fails (also when they do not fit).
[[nodiscard]] std::optional<std::vector<Text>> QueryDosTargets(const Text& name) noexcept;

// QueryDosDeviceW: whether `name` has a definition now. Only the system's
// "not found" makes a name free; any other failure counts as in use.
[[nodiscard]] bool DosNameInUse(const Text& name) noexcept;

// CreateFileW on a device name such as "\\.\E:" with no access rights,
// shared for reading and writing, OPEN_EXISTING. 0 on failure; the handle
// is closed with CloseHandle.
[[nodiscard]] Handle OpenDevice(const Text& deviceName) noexcept;

// Opens a device as OpenDevice does and closes it at once: 0 when it
// opened, else the error of the open.
[[nodiscard]] std::uint32_t DeviceOpenError(const Text& deviceName) noexcept;

// DeviceIoControl(IOCTL_STORAGE_QUERY_PROPERTY) asking for the standard
// device descriptor (a zeroed 12-byte query) into a zeroed 1059-byte buffer.
// Returns only the bytes the device reported as written; nothing when the
// call fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> QueryStorageDescriptor(
    Handle device) noexcept;

}  // namespace platform
