#pragma once
// The simulated registry behind platform/advapi32.h: keys with raw value
// bytes (so unterminated strings, odd sizes and 2- or 8-byte numbers can be
// stored), subkeys listed sorted case-insensitively as the registry lists
// them, refusals, remote computers, and a count of what is open.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/advapi32.h"
#include "tests/sim/narrow.h"  // Utf16Bytes, for arranging string values
#include "tests/sim/sim.h"

namespace sim {

// Orders names as the registry compares them: ignoring ASCII case.
struct NoCase {
  using is_transparent = void;
  bool operator()(platform::TextView a, platform::TextView b) const;
};

struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct RegistryNode {
  std::map<Text, RegistryNode, NoCase> subkeys;
  std::map<Text, RegistryValue, NoCase> values;
};

// One attempted open or create, as the program asked for it.
struct RegistryOpen {
  std::string call;  // "RegOpenKeyExW" or "RegCreateKeyExW"
  Text computer;     // "" for this computer
  Text path;         // "HKLM\SYSTEM\..." as resolved
  std::uint32_t access = 0;
};

struct RegistryHandle {
  Text computer;
  Text path;  // root name, then the key's components
  bool remoteRoot = false;
  std::uint32_t access = 0;
};

struct Registry {
  // Keys by root name ("HKLM", "HKCR", "HKCU", "HKU", "HKCC") and path.
  RegistryNode local;
  // Remote computers that can be reached, by the name as passed.
  std::map<Text, RegistryNode> remote;
  // Full key paths ("HKLM\A\B") where the call fails with access denied:
  std::set<Text, NoCase> refuseOpen;         // every open and create
  // Opens and creates asking more than KEY_READ, as the Enum tree refuses an
  // administrator on a full Windows.
  // https://learn.microsoft.com/windows-hardware/drivers/install/hklm-system-currentcontrolset-enum-registry-tree
  std::set<Text, NoCase> refuseWriteAccess;
  std::set<Text, NoCase> refuseCreate;       // creation of this key when it is missing
  // Runs after every size-only RegQueryValueExW: lets a test change a value
  // between the size query and the data read.
  std::function<void()> afterSizeQuery;

  // Bookkeeping the tests inspect.
  std::map<platform::Key, RegistryHandle> handles;
  platform::Key nextHandle = 0x1000;
  std::vector<RegistryOpen> opens;
  int badCloses = 0;  // closes of a key that is not open
  // Where the last listing by position stood. Windows finds the n-th subkey
  // at once; walking the map from its start would make every walk over a
  // key's subkeys quadratic and the scale figures meaningless. Adding or
  // removing a key changes the count, and the place is then found afresh.
  struct ListingPlace {
    const RegistryNode* node = nullptr;
    std::size_t count = 0;
    std::size_t position = 0;
    std::map<Text, RegistryNode, NoCase>::const_iterator at;
  } listingPlace;
  int OpenKeys() const;
  int OpenRemoteRoots() const;
};
inline Registry& registry() { return State<Registry>(); }

// Arranging and inspecting. `path` is a full path, "HKLM\SYSTEM\...".
RegistryNode& AddRegistryKey(platform::TextView path, platform::TextView computer = u"");
const RegistryNode* FindRegistryKey(platform::TextView path, platform::TextView computer = u"");
void PutRegistryValue(platform::TextView path, platform::TextView name, std::uint32_t type,
                      std::vector<std::uint8_t> data);
void RemoveRegistryKey(platform::TextView path);
std::optional<RegistryValue> RegistryValueAt(platform::TextView path, platform::TextView name);

}  // namespace sim
