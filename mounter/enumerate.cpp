#include "mounter/enumerate.h"

#include <atomic>

#include "mounter/repair.h"
#include "mounter/storage_device.h"
#include "platform/kernel32.h"
#include "platform/setupapi.h"
#include "platform/system.h"
#include "platform/system_library.h"
#include "platform/volumes.h"

namespace mounter {
namespace {

constexpr char16_t kDynamicDiskMarker[] = u"physicaldmvolumes";
constexpr char16_t kTransientName[] = u"vol";
constexpr unsigned kHoldPollMilliseconds = 10;
constexpr int kHoldPolls = 100;  // 1 s

// Shared by the scan thread's queries and the main thread's end. A query
// claims the name before it looks for a hold, and the hold is set before it
// looks for a claim, so one of the two always sees the other.
std::atomic<bool> nameClaimed{false};
std::atomic<bool> queriesHeld{false};

// Takes off exactly the definition of "vol" it was given: an earlier
// definition (another program's) is in force again afterwards.
class TransientDosName {
 public:
  TransientDosName(const Text& name, const Text& target) : name_(name), target_(target) {
    nameClaimed = true;
    if (!queriesHeld) {
      defined_ = platform::DefineDosName(platform::kDefineRawTargetPath, name_, target_);
    }
    if (!defined_) nameClaimed = false;
  }
  ~TransientDosName() {
    if (defined_) {
      (void)platform::DefineDosName(platform::kDefineRawTargetPath |
                                        platform::kDefineRemoveDefinition |
                                        platform::kDefineExactMatchOnRemove,
                                    name_, target_);
      nameClaimed = false;
    }
  }
  TransientDosName(const TransientDosName&) = delete;
  TransientDosName& operator=(const TransientDosName&) = delete;

  [[nodiscard]] bool defined() const { return defined_; }

 private:
  Text name_;
  Text target_;
  bool defined_ = false;
};

}  // namespace

BusQueryHold::BusQueryHold() {
  queriesHeld = true;
  for (int poll = 0; poll < kHoldPolls && nameClaimed; ++poll) {
    platform::Sleep(kHoldPollMilliseconds);
  }
}

// A process that ends never gets here; a hold that goes lets queries
// define "vol" again.
BusQueryHold::~BusQueryHold() { queriesHeld = false; }

int ParseGuidText(const Text& text, platform::Guid& guid) {
  return platform::ClsidFromText(text, guid) == 0 ? 1 : 0;
}

std::uint32_t QueryVolumeBusType(const Text& devicePath) {
  // Without our own definition "\\.\vol" would open whatever "vol" already
  // means, and the removal would take another program's definition away.
  const TransientDosName vol(kTransientName, devicePath);
  if (!vol.defined()) return kBusTypeUnknown;
  const auto bytes = ReadStorageDescriptor(kTransientName);
  return bytes ? ParseStorageDescriptor(*bytes).busType : kBusTypeUnknown;
}

Text EnumerateVolumeDevices(std::int64_t usbOnly) {
  const platform::UniqueLibrary setupapi(platform::LoadSystemLibrary(u"setupapi.dll"));
  if (!setupapi) return {};
  const platform::Procedure getProperty =
      platform::FindProcedure(setupapi.get(), "SetupDiGetDeviceRegistryPropertyW");
  // Looked up only as a sign of a complete setup library; the node status
  // takes no part in the choice.
  const platform::Procedure getStatus =
      platform::FindProcedure(setupapi.get(), "CM_Get_DevNode_Status");
  if (getProperty == 0 || getStatus == 0) return {};

  RepairVolumeRecords();

  platform::Guid volumeClass{};
  (void)ParseGuidText(kVolumeClassGuid, volumeClass);
  const platform::UniqueDeviceSet set(platform::OpenClassDevices(
      volumeClass, platform::kClassDevsPresent | platform::kClassDevsProfile));
  if (!set) return {};

  Text list;
  platform::DeviceMember member;
  for (std::uint32_t index = 0; platform::EnumDeviceMember(set.get(), index, member); ++index) {
    const auto path = platform::CallGetDeviceRegistryProperty(
        getProperty, set.get(), member, platform::kPropertyDeviceObjectName);
    // An empty path would become an empty entry that the scan would give a
    // letter with no target.
    if (!path || path->empty()) continue;
    if (platform::AsciiLower(*path).find(kDynamicDiskMarker) != Text::npos) continue;
    if (usbOnly == 1 && QueryVolumeBusType(*path) != kBusTypeUsb) continue;
    list += *path;
    list += u'|';
  }
  return list;
}

}  // namespace mounter
