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
};

struct Volumes {
  // DOS names, lower case, to their targets; the most recent last. As for
  // a LocalSystem caller (the program in Windows PE), defining a name in use
  // stacks the new target on the old one.
  // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-definedosdevicew
  std::map<Text, std::vector<Text>> dosNames;
  // Devices by lower-case kernel path. A name whose target is not here has
  // no root (DRIVE_NO_ROOT_DIR), and opening it fails with file-not-found.
  std::map<Text, VolumeDevice> devices;
  // Windows keeps a drive type per letter in the device map (the DriveType
  // of ProcessDeviceMap), computed when the letter's link is made; a letter
  // whose device has gone since may go on reporting removable or fixed.
  // Off, the type is asked of the target at each call, as Wine does.
  // https://learn.microsoft.com/windows/win32/api/winternl/nf-winternl-ntqueryinformationprocess
  // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getdrivetypew
  bool driveTypeKept = false;
  std::map<Text, std::uint32_t> keptDriveTypes;  // by lower-case name
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
VolumeDevice& AddDevice(const Text& path);
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
// A stick pulled: its device and its volume are gone, its letters stay.
void PullDevice(const Text& path);
// The kernel path \Device\HarddiskVolume<n>.
Text VolumePath(int n);

// Writes `value` little-endian at `at`; bytes that would fall past the end
// are left out, so a test can cut a record short inside a field.
void PutUint32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
// STORAGE_DEVICE_DESCRIPTOR bytes as a device reports them.
std::vector<std::uint8_t> MakeDescriptor(std::uint32_t busType, const std::string& product);

}  // namespace sim
