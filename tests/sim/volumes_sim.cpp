#include "tests/sim/volumes_sim.h"

#include <algorithm>
#include <utility>

#include "platform/volumes.h"
#include "tests/sim/narrow.h"
#include "tests/sim/setupapi_sim.h"

namespace sim {

VolumeDevice& AddDevice(const Text& path) {
  VolumeDevice& device = volumes().devices[platform::AsciiLower(path)];
  if (device.name.empty()) device.name = path;
  return device;
}

VolumeDevice& AddDevice(const Text& path, const VolumeDevice& made) {
  VolumeDevice& device = volumes().devices[platform::AsciiLower(path)];
  device = made;
  device.name = path;
  return device;
}

namespace {

std::uint32_t LiveDriveType(const Text& name);
const VolumeDevice* DeviceNamed(const Text& target);

// The link of a name is made anew whenever its top definition changes.
void KeepDriveType(const Text& key) {
  const auto target = TargetOf(key);
  if (!target) {
    volumes().keptDriveTypes.erase(key);
    return;
  }
  std::optional<std::uint32_t>& kept = volumes().keptDriveTypes[key];
  if (volumes().driveTypeModel != DriveTypeModel::kNtDesign) {
    kept = LiveDriveType(key);
    return;
  }
  const VolumeDevice* device = DeviceNamed(*target);
  const bool walked = device != nullptr && !device->folder && device->name == *target;
  kept = walked ? std::optional(device->driveType) : std::nullopt;
}

}  // namespace

void DefineName(const Text& name, const Text& target) {
  const Text key = platform::AsciiLower(name);
  volumes().dosNames[key].push_back(target);
  KeepDriveType(key);
}

std::optional<Text> TargetOf(const Text& name) {
  const auto it = volumes().dosNames.find(platform::AsciiLower(name));
  if (it == volumes().dosNames.end() || it->second.empty()) return std::nullopt;
  return it->second.back();
}

VolumeDevice& AddListedVolume(const Text& path) {
  deviceManager().volumes.push_back({path});
  return AddDevice(path);
}

VolumeDevice& AddFolder(const Text& path) {
  // Opened as a file without backup semantics, a folder refuses access.
  return AddDevice(path, {.opens = false, .folder = true});
}

VolumeDevice& AddShare(const Text& path, bool reachable) {
  return AddDevice(path, {.driveType = platform::kDriveRemote, .reachable = reachable});
}

VolumeDevice& AddEmptySlot(const Text& path) {
  VolumeDevice& slot = AddListedVolume(path);
  slot.driveType = platform::kDriveRemovable;
  slot.medium = false;
  return slot;
}

void PullDevice(const Text& path) {
  volumes().devices.erase(platform::AsciiLower(path));
  std::erase_if(deviceManager().volumes, [&](const DeviceManagerMember& member) {
    return member.deviceObjectName &&
           platform::AsciiLower(*member.deviceObjectName) == platform::AsciiLower(path);
  });
}

Text VolumePath(int n) {
  const std::string digits = std::to_string(n);
  return u"\\Device\\HarddiskVolume" + Text(digits.begin(), digits.end());
}

void PutUint32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

namespace {

// STORAGE_DEVICE_DESCRIPTOR bytes as a device reports them.
std::vector<std::uint8_t> MakeDescriptor(std::uint32_t busType, const std::string& product) {
  // The fixed part of STORAGE_DEVICE_DESCRIPTOR is 40 bytes; texts follow.
  std::vector<std::uint8_t> bytes(40 + (product.empty() ? 0 : product.size() + 1), 0);
  if (!product.empty()) {
    PutUint32(bytes, 16, 40);
    std::copy(product.begin(), product.end(), bytes.begin() + 40);
  }
  PutUint32(bytes, 0, 40);
  PutUint32(bytes, 4, static_cast<std::uint32_t>(bytes.size()));
  PutUint32(bytes, 28, busType);
  return bytes;
}

const VolumeDevice* DeviceNamed(const Text& target) {
  const auto it = volumes().devices.find(platform::AsciiLower(target));
  return it == volumes().devices.end() ? nullptr : &it->second;
}

const VolumeDevice* DeviceAt(const Text& name) {
  const auto target = TargetOf(name);
  return target ? DeviceNamed(*target) : nullptr;
}

// A device by its name in the DOS namespace, as "\\.\E:" opens it.
const VolumeDevice* DeviceOpenedAs(const Text& deviceName) {
  constexpr char16_t kPrefix[] = u"\\\\.\\";
  if (deviceName.rfind(kPrefix, 0) != 0) return nullptr;
  return DeviceAt(deviceName.substr(4));
}

// Whether the link behind "\\.\X:" leads below a folder that does not
// exist (a drive root, "\??\C:", always does): NT then fails the open with
// STATUS_OBJECT_PATH_NOT_FOUND, not STATUS_OBJECT_NAME_NOT_FOUND.
// https://learn.microsoft.com/windows/win32/debug/system-error-codes--0-499-
bool FolderAboveGone(const Text& deviceName) {
  const auto target = TargetOf(deviceName.substr(4));
  if (!target || target->rfind(u"\\??\\", 0) != 0) return false;
  const Text above = target->substr(0, target->rfind(u'\\'));
  return above.size() > 6 && DeviceNamed(above) == nullptr;
}

std::uint32_t LiveDriveType(const Text& name) {
  const VolumeDevice* device = DeviceAt(name);
  return device ? device->driveType : platform::kDriveNoRootDir;
}

// Whether an open of `device` gets through: a share whose server does not
// answer fails only after the connection time-out.
bool Reaches(const VolumeDevice& device, const Text& openedAs) {
  if (device.reachable) return true;
  volumes().slowCalls.push_back(openedAs);
  return false;
}

// The NT design's "work it out when asked": the root is opened and the type
// read from the file system mounted there.
std::uint32_t TypeOfOpenedRoot(const Text& name) {
  const VolumeDevice* device = DeviceAt(name);
  if (device == nullptr || !Reaches(*device, name)) return platform::kDriveNoRootDir;
  return device->medium && device->answers ? device->driveType : platform::kDriveNoRootDir;
}

// GetVolumeInformationW on a drive without a medium shows the "There is no
// disk in the drive" box unless the error mode fails critical errors; the
// call then fails either way.
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getvolumeinformationw
bool Answers(const VolumeDevice* device, const Text& root) {
  if (device == nullptr || !Reaches(*device, root)) return false;
  if (!device->medium) {
    if ((process().errorMode & kFailCriticalErrors) == 0) {
      process().criticalErrorBoxes.push_back(root);
    }
    return false;
  }
  return device->answers;
}

// "e:", "E:\" and "e:\" all name the drive "e:".
Text DriveName(const Text& root) {
  return root.size() >= 2 && root[1] == u':' ? root.substr(0, 2) : root;
}

Text DriveStrings() {
  Text strings;
  for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
    if (!TargetOf(Text(1, letter) + u":")) continue;
    strings += static_cast<char16_t>(letter - u'a' + u'A');
    strings += u":\\";
    strings += u'\0';
  }
  return strings;
}

}  // namespace

}  // namespace sim

namespace platform {

using sim::Narrow;
using sim::volumes;

std::uint32_t ReadLogicalDriveStrings(Text& buffer) noexcept {
  const bool fails = sim::Enter("GetLogicalDriveStringsW", std::to_string(buffer.size()));
  std::uint32_t result = 0;
  if (!fails) {
    const Text strings = sim::DriveStrings();
    if (strings.size() + 1 > buffer.size()) {
      result = static_cast<std::uint32_t>(strings.size() + 1);
    } else {
      std::copy(strings.begin(), strings.end(), buffer.begin());
      buffer[strings.size()] = u'\0';
      result = static_cast<std::uint32_t>(strings.size());
    }
  }
  if (auto after = std::exchange(volumes().afterDriveStrings, nullptr)) after();
  return result;
}

std::uint32_t QueryDriveType(const Text& root) noexcept {
  if (sim::Enter("GetDriveTypeW", Narrow(root))) return 0;  // DRIVE_UNKNOWN
  const Text name = AsciiLower(sim::DriveName(root));
  const sim::DriveTypeModel model = volumes().driveTypeModel;
  if (model == sim::DriveTypeModel::kAskedLive) return sim::LiveDriveType(name);
  const auto kept = volumes().keptDriveTypes.find(name);
  if (kept == volumes().keptDriveTypes.end()) return kDriveNoRootDir;
  if (kept->second) return *kept->second;
  return sim::TypeOfOpenedRoot(name);
}

int ProbeVolume(const Text& root) noexcept {
  if (sim::Enter("GetVolumeInformationW", Narrow(root))) return 0;
  return sim::Answers(sim::DeviceAt(sim::DriveName(root)), root) ? 1 : 0;
}

std::optional<Text> ReadVolumeLabelAt(const Text& root) noexcept {
  if (sim::Enter("GetVolumeInformationW", Narrow(root) + " label")) return std::nullopt;
  const sim::VolumeDevice* device = sim::DeviceAt(sim::DriveName(root));
  if (!sim::Answers(device, root)) return std::nullopt;
  return device->label;
}

bool DefineDosName(std::uint32_t flags, const Text& name,
                   const std::optional<Text>& target) noexcept {
  if (sim::Enter("DefineDosDeviceW", std::to_string(flags) + " " + Narrow(name) + " " +
                                         (target ? Narrow(*target) : "null"))) {
    return false;
  }
  const Text key = AsciiLower(name);
  std::vector<Text>& stack = volumes().dosNames[key];
  if ((flags & kDefineRemoveDefinition) == 0) {
    if (!target) return false;
    stack.push_back(*target);
  } else if ((flags & kDefineExactMatchOnRemove) != 0) {
    // Only the definition with this target, the most recent first, the
    // target matched without regard to case (Wine ignores the flag).
    // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-definedosdevicew
    if (!target) return false;
    const auto it = std::find_if(stack.rbegin(), stack.rend(), [&](const Text& defined) {
      return AsciiLower(defined) == AsciiLower(*target);
    });
    if (it == stack.rend()) return false;
    stack.erase(std::next(it).base());
  } else {
    if (stack.empty()) return false;
    stack.pop_back();
  }
  if (stack.empty()) volumes().dosNames.erase(key);
  sim::KeepDriveType(key);
  volumes().definitions.push_back({flags, name, target});
  return true;
}

// The mapping in force first, then the earlier ones still stacked below it.
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-querydosdevicew
std::optional<std::vector<Text>> QueryDosTargets(const Text& name) noexcept {
  if (sim::Enter("QueryDosDeviceW", Narrow(name))) return std::nullopt;
  const auto it = volumes().dosNames.find(AsciiLower(name));
  if (it == volumes().dosNames.end()) return std::nullopt;
  return std::vector<Text>(it->second.rbegin(), it->second.rend());
}

std::optional<Text> QueryDosTarget(const Text& name) noexcept {
  const auto targets = QueryDosTargets(name);
  if (!targets || targets->empty()) return std::nullopt;
  return targets->front();
}

bool DosNameInUse(const Text& name) noexcept {
  // A failed query is not a "not found".
  if (sim::Enter("QueryDosDeviceW", Narrow(name))) return true;
  return sim::TargetOf(name).has_value();
}

Handle OpenDevice(const Text& deviceName) noexcept {
  if (sim::Enter("CreateFileW", Narrow(deviceName))) return 0;
  const sim::VolumeDevice* device = sim::DeviceOpenedAs(deviceName);
  if (!device || !sim::Reaches(*device, deviceName) || !device->opens) return 0;
  const Handle handle = ++volumes().nextHandle;
  volumes().openDevices[handle] = AsciiLower(*sim::TargetOf(deviceName.substr(4)));
  ++sim::process().openHandles;
  return handle;
}

std::uint32_t DeviceOpenError(const Text& deviceName) noexcept {
  constexpr std::uint32_t kErrorAccessDenied = 5;
  if (sim::Enter("CreateFileW", Narrow(deviceName))) return kErrorAccessDenied;
  constexpr std::uint32_t kErrorBadNetPath = 53;
  const sim::VolumeDevice* device = sim::DeviceOpenedAs(deviceName);
  if (device == nullptr) {
    return sim::FolderAboveGone(deviceName) ? kErrorPathNotFound : kErrorFileNotFound;
  }
  if (!sim::Reaches(*device, deviceName)) return kErrorBadNetPath;
  return device->opens ? 0 : kErrorAccessDenied;
}

std::optional<std::vector<std::uint8_t>> QueryStorageDescriptor(Handle device) noexcept {
  if (sim::Enter("DeviceIoControl", std::to_string(device))) return std::nullopt;
  const auto open = volumes().openDevices.find(device);
  if (open == volumes().openDevices.end()) return std::nullopt;
  const auto it = volumes().devices.find(open->second);
  if (it == volumes().devices.end() || !it->second.describes) return std::nullopt;
  const sim::VolumeDevice& found = it->second;
  std::vector<std::uint8_t> bytes =
      found.rawDescriptor ? *found.rawDescriptor : sim::MakeDescriptor(found.busType, found.product);
  // The real buffer holds 1059 bytes.
  if (bytes.size() > 1059) bytes.resize(1059);
  return bytes;
}

}  // namespace platform
