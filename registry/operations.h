#pragma once
// Text-only access to the registry: list a key's subkeys by position, read
// one value as text, write one value given as text. Every call opens its key,
// works, and closes everything it opened before it returns.
#include <cstdint>

#include "platform/text.h"

namespace registry {

using platform::Text;
using platform::TextView;

// 0 success; 1 key not opened (for a read also: a type that is not rendered,
// or data that do not fit it); 2 no subkey at that position / value not
// read; 3 default value not read; 4 remote registry not reached. Stored at
// the end of every call whenever the pointer is not null.
using RegistryStatus = std::uint8_t;

// The name of subkey number `index` (1 for the first) in the registry's
// order, or "" with a non-zero status. `computer` "" is this computer.
Text RegistryListSubkey(RegistryStatus* status, TextView rootName, TextView keyPath,
                        std::int64_t index, TextView computer);

// The value as text by its type; `valueName` "" is the default value.
// This computer only. "" with a non-zero status on failure.
Text RegistryReadValue(RegistryStatus* status, TextView rootName, TextView keyPath,
                       TextView valueName);

// Opens or creates the key and stores the value converted by `type` (1, 2,
// 3, 4 or 7). Type 0 only opens or creates the key. 0 success, 1 failure;
// any other type stores nothing and fails.
int RegistryWriteValue(TextView rootName, TextView keyPath, TextView valueName, std::uint32_t type,
                       TextView text);

// As RegistryWriteValue, but only into a key that exists: a missing key is
// not created, and the call fails.
int RegistryWriteExistingValue(TextView rootName, TextView keyPath, TextView valueName,
                               std::uint32_t type, TextView text);

}  // namespace registry
