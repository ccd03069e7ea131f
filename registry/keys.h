#pragma once
// Keys named by a root name ("hklm", "hkcu64", ...) and a path below it,
// opened for one operation and closed when it ends.
#include <cstdint>

#include "platform/advapi32.h"
#include "platform/text.h"

namespace registry {

using platform::Text;
using platform::TextView;

struct ResolvedKey {
  platform::Key root = 0;      // 0 when the root name matches none
  std::uint32_t viewFlag = 0;  // added to the access mask, local registry only
  TextView path;               // views the caller's key path, less one leading "\"
};

// Pure: the root name is compared, lower-cased and untrimmed, with the seven
// names "hklm", "hkcr", "hkcu", "hku", "hkcc", "hklm64", "hkcu64".
ResolvedKey ResolveKey(TextView rootName, TextView keyPath);

// An open key and, for a remote open, the remote root below which it sits.
// Members are destroyed in reverse order: the key closes before the root.
struct OpenKey {
  platform::UniqueRegistryKey remoteRoot;
  platform::UniqueRegistryKey key;
};

enum class OpenOutcome {
  kOpened,
  kNotOpened,     // also for a root name that matches none
  kNotConnected,  // the remote computer's registry cannot be reached
};

// KEY_READ plus the root's view flag, on this computer.
[[nodiscard]] platform::UniqueRegistryKey OpenForReading(TextView rootName, TextView keyPath);

// "" reads this computer; any other name is connected to as given, and the
// key opened there with KEY_READ alone (no view flag on a remote registry).
[[nodiscard]] OpenOutcome OpenForReadingOn(TextView computer, TextView rootName, TextView keyPath,
                                           OpenKey& opened);

// KEY_ALL_ACCESS plus the view flag: opens the key, else creates it together
// with the missing keys above it.
[[nodiscard]] platform::UniqueRegistryKey OpenForWriting(TextView rootName, TextView keyPath);
// The same, without the creation: a missing key stays missing.
[[nodiscard]] platform::UniqueRegistryKey OpenExistingForWriting(TextView rootName,
                                                                 TextView keyPath);

}  // namespace registry
