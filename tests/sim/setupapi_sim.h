#pragma once
// The simulated device manager: the members of the volume setup class.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/setupapi.h"
#include "tests/sim/sim.h"

namespace sim {

struct DeviceManagerMember {
  // SPDRP_PHYSICAL_DEVICE_OBJECT_NAME; nothing: the property cannot be read.
  std::optional<Text> deviceObjectName;
};

struct DeviceManager {
  // Members of the volume setup class in enumeration order.
  std::vector<DeviceManagerMember> volumes;
  // What SetupDiGetClassDevsW was asked for, last time.
  platform::Guid requestedClass{};
  std::uint32_t requestedFlags = 0;
  int openSets = 0;  // made and not yet destroyed
};
inline DeviceManager& deviceManager() { return State<DeviceManager>(); }

// GUID_DEVCLASS_VOLUME in memory layout.
platform::Guid VolumeClassGuid();

}  // namespace sim
