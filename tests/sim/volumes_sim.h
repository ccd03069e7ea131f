#pragma once
// The simulated DOS device namespace, volumes and storage devices.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel32.h"
#include "tests/sim/sim.h"

namespace sim {

// A volume or storage device, known by its kernel path.
struct VolumeDevice {
  std::uint32_t driveType = 3;  // DRIVE_FIXED
  bool answers = true;          // a file system answers at its root
  Text label;
  bool opens = true;       // CreateFileW succeeds; else it fails with access denied
  bool describes = true;   // IOCTL_STORAGE_QUERY_PROPERTY succeeds
  std::uint32_t busType = 0;
  std::string product;  // single-byte; empty: ProductIdOffset 0
  // Returned instead of a descriptor made from busType and product.
  std::optional<std::vector<std::uint8_t>> rawDescriptor;
  // An empty card-reader slot or floppy drive: its root never answers, and
  // asking shows a system box unless the process fails critical errors.
  bool medium = true;
  // Not a device object but a folder a link leads into (a substituted
  // drive): never typed when the link is made.
  bool folder = false;
  // A network share whose server does not answer: an open waits for the
  // connection time-out before it fails.
  bool reachable = true;
  // The object's name in the letter case the system gave it.
  Text name;
};

// How GetDriveTypeW knows a letter's type; the documentation leaves it open,
// so every letter row runs under each.
enum class DriveTypeModel {
  // Asked of the target at each call, as Wine does.
  kAskedLive,
  // Kept per letter in the device map (the DriveType of ProcessDeviceMap)
  // from when the letter's link was made; a letter whose device has gone
  // since may go on reporting removable or fixed.
  // https://learn.microsoft.com/windows/win32/api/winternl/nf-winternl-ntqueryinformationprocess
  kKeptFromCreation,
  // The published NT design: when a link is made, the object manager walks
  // its target through the object directories by exact name (without
  // OBJ_CASE_INSENSITIVE, ObpProcessDosDeviceSymbolicLink) and keeps the type
  // of the device it reaches; a target it cannot walk so is marked "work it
  // out when asked", and GetDriveTypeW then opens the root, which fails
  // without a mounted file system (DRIVE_NO_ROOT_DIR).
  // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getdrivetypew
  kNtDesign,
};
inline constexpr DriveTypeModel kDriveTypeModels[] = {
    DriveTypeModel::kAskedLive, DriveTypeModel::kKeptFromCreation, DriveTypeModel::kNtDesign};

struct Volumes {
  // DOS names, lower case, to their targets; the most recent last. As for
  // a LocalSystem caller (the program in Windows PE), defining a name in use
  // stacks the new target on the old one.
  // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-definedosdevicew
  std::map<Text, std::vector<Text>> dosNames;
  // Devices by lower-case kernel path. A name whose target is not here has
  // no root (DRIVE_NO_ROOT_DIR), and opening it fails with file-not-found.
  std::map<Text, VolumeDevice> devices;
  DriveTypeModel driveTypeModel = DriveTypeModel::kAskedLive;
  // By lower-case name, from when the link was made; nothing: worked out
  // when asked.
  std::map<Text, std::optional<std::uint32_t>> keptDriveTypes;
  // Calls that waited for a network time-out, by the name they opened.
  std::vector<Text> slowCalls;
  // Run once right after the next GetLogicalDriveStringsW, to change the
  // letters between the program's two calls.
  std::function<void()> afterDriveStrings;
  // Which device each open handle refers to.
  std::map<platform::Handle, Text> openDevices;
  platform::Handle nextHandle = 0x1000;
  // Every DefineDosDeviceW that took effect: flags, name, target.
  struct Definition {
    std::uint32_t flags;
    Text name;
    std::optional<Text> target;
  };
  std::vector<Definition> definitions;
};
inline Volumes& volumes() { return State<Volumes>(); }

// Arranging: a letter (or other name) pointing at a device, and the device.
// The first path given for a device is its exact name.
VolumeDevice& AddDevice(const Text& path);
// A device made as `device` describes, under its exact name `path`.
VolumeDevice& AddDevice(const Text& path, const VolumeDevice& device);
void DefineName(const Text& name, const Text& target);
// The current (most recent) target of a name, if defined.
std::optional<Text> TargetOf(const Text& name);
// A volume the device manager lists, with its device.
VolumeDevice& AddListedVolume(const Text& path);
// An empty card-reader slot: a removable drive keeps its volume, a present
// member of the volume class, while no medium is in it; its root does not
// answer.
// https://learn.microsoft.com/windows-hardware/drivers/kernel/supporting-removable-media
VolumeDevice& AddEmptySlot(const Text& path);
// What a substituted drive leads to: a folder that exists.
VolumeDevice& AddFolder(const Text& path);
// A network share behind the redirector (DRIVE_REMOTE).
VolumeDevice& AddShare(const Text& path, bool reachable);
// A stick pulled: its device and its volume are gone, its letters stay.
void PullDevice(const Text& path);
// The kernel path \Device\HarddiskVolume<n>.
Text VolumePath(int n);

// Writes `value` little-endian at `at`; bytes that would fall past the end
// are left out, so a test can cut a record short inside a field.
void PutUint32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

}  // namespace sim
