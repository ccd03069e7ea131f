#include "mounter/repair.h"

#include "mounter/enumerate.h"
#include "registry/operations.h"
#include "registry/value_text.h"

namespace mounter {
namespace {

constexpr registry::TextView kRecordsPath = u"SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";

struct ClassValue {
  registry::TextView name;
  registry::TextView data;
};

// "Class" before "ClassGUID".
constexpr ClassValue kClassValues[] = {
    {u"Class", u"Volume"},
    {u"ClassGUID", kVolumeClassGuid},
};

}  // namespace

void RepairVolumeRecords() {
  registry::RegistryStatus status = 1;
  // Writing values into a record leaves the parent's list of subkeys as it
  // was, so the walk by position stays in step while it repairs.
  for (std::int64_t index = 1;; ++index) {
    const registry::Text record =
        registry::RegistryListSubkey(&status, u"hklm", kRecordsPath, index, u"");
    if (status != 0) return;
    registry::Text recordPath(kRecordsPath);
    recordPath.append(u"\\").append(record);
    for (const ClassValue& value : kClassValues) {
      // Whatever a readable value holds, it stays. A record that vanished
      // since the listing (a stick pulled) is not made anew: that would be
      // a device record of a device that does not exist.
      (void)registry::RegistryReadValue(&status, u"hklm", recordPath, value.name);
      if (status != 0) {
        (void)registry::RegistryWriteExistingValue(u"hklm", recordPath, value.name,
                                                   registry::kRegSz, value.data);
      }
    }
  }
}

}  // namespace mounter
