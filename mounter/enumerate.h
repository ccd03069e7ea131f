#pragma once
// Which storage volumes the device manager knows, as a VolumeList: each
// volume's device path followed by "|" ("\Device\HarddiskVolume3|"), in the
// order of the setup enumeration; "" for none.
#include <cstdint>

#include "platform/ole32.h"
#include "platform/text.h"

namespace mounter {

using platform::Text;

// GUID_DEVCLASS_VOLUME: the setup class the enumeration lists, and the
// ClassGUID the repair gives a volume record that lacks one.
inline constexpr char16_t kVolumeClassGuid[] = u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}";

// Repairs the volume device records, then lists the present members of the
// volume setup class, without volumes of dynamic disks and, when `usbOnly`
// is exactly 1, only those on a USB bus. Never fails: a failure gives a
// shorter or empty list.
Text EnumerateVolumeDevices(std::int64_t usbOnly);

// The STORAGE_BUS_TYPE of the volume at `devicePath`, reached through the
// transient DOS name "vol"; 0 when it cannot be had. Leaves "vol" as it
// found it.
std::uint32_t QueryVolumeBusType(const Text& devicePath);

// For the end of the program: while it lives, no bus query defines "vol",
// and making it waits up to 1 s for a query that holds "vol" now to take it
// away (a query holds it for milliseconds). A process that ended in between
// would leave "vol" defined until the system restarts.
class BusQueryHold {
 public:
  BusQueryHold();
  ~BusQueryHold();
  BusQueryHold(const BusQueryHold&) = delete;
  BusQueryHold& operator=(const BusQueryHold&) = delete;
};

// CLSIDFromString: 1 when the text was a GUID, else 0.
int ParseGuidText(const Text& text, platform::Guid& guid);

}  // namespace mounter
