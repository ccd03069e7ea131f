#include "tests/sim/setupapi_sim.h"

#include <string>

#include "platform/ole32.h"
#include "tests/sim/narrow.h"

namespace sim {

platform::Guid VolumeClassGuid() {
  // {71A27CDD-812A-11D0-BEC7-08002BE2092F}
  return {0xDD, 0x7C, 0xA2, 0x71, 0x2A, 0x81, 0xD0, 0x11,
          0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F};
}

namespace {

constexpr platform::DeviceSet kSetBase = 0x5E70;

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" into memory layout.
std::optional<platform::Guid> ParseGuid(const Text& text) {
  if (text.size() != 38 || text.front() != u'{' || text.back() != u'}') return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 1; i < 37; ++i) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != u'-') return std::nullopt;
      continue;
    }
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[++i]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  platform::Guid guid{};
  const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) guid[i] = bytes[order[i]];
  return guid;
}

}  // namespace

}  // namespace sim

namespace platform {

using sim::deviceManager;

std::int32_t ClsidFromText(const Text& text, Guid& guid) noexcept {
  constexpr std::int32_t kClassStringError = static_cast<std::int32_t>(0x800401F3);
  if (sim::Enter("CLSIDFromString", sim::Narrow(text))) return kClassStringError;
  const auto parsed = sim::ParseGuid(text);
  if (!parsed) return kClassStringError;
  guid = *parsed;
  return 0;
}

DeviceSet OpenClassDevices(const Guid& classGuid, std::uint32_t flags) noexcept {
  if (sim::Enter("SetupDiGetClassDevsW", std::to_string(flags))) return 0;
  deviceManager().requestedClass = classGuid;
  deviceManager().requestedFlags = flags;
  ++deviceManager().openSets;
  return sim::kSetBase + static_cast<DeviceSet>(deviceManager().openSets);
}

void DestroyDeviceSet(DeviceSet set) noexcept {
  (void)sim::Enter("SetupDiDestroyDeviceInfoList", std::to_string(set));
  if (set != 0) --deviceManager().openSets;
}

bool EnumDeviceMember(DeviceSet set, std::uint32_t index, DeviceMember& member) noexcept {
  if (sim::Enter("SetupDiEnumDeviceInfo", std::to_string(index))) return false;
  // Only the volume class has members on this machine.
  if (set == 0 || deviceManager().requestedClass != sim::VolumeClassGuid()) return false;
  if (index >= deviceManager().volumes.size()) return false;  // ERROR_NO_MORE_ITEMS
  member = {sim::VolumeClassGuid(), index + 1, index};
  return true;
}

std::optional<Text> CallGetDeviceRegistryProperty(Procedure, DeviceSet set,
                                                  const DeviceMember& member,
                                                  std::uint32_t property) noexcept {
  if (sim::Enter("SetupDiGetDeviceRegistryPropertyW", std::to_string(property))) {
    return std::nullopt;
  }
  if (set == 0 || property != kPropertyDeviceObjectName ||
      member.reserved >= deviceManager().volumes.size()) {
    return std::nullopt;
  }
  const auto& name = deviceManager().volumes[member.reserved].deviceObjectName;
  if (!name) return std::nullopt;
  // The system fills a 2048-byte buffer: at most 1023 characters and a NUL.
  return name->substr(0, std::min<std::size_t>(name->find(u'\0'), 1023));
}

}  // namespace platform
