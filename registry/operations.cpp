#include "registry/operations.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <optional>
#include <utility>

#include "platform/advapi32.h"
#include "registry/keys.h"
#include "registry/value_text.h"

namespace registry {
namespace {

void Store(RegistryStatus* status, RegistryStatus value) {
  if (status != nullptr) *status = value;
}

// Names and paths cross into Windows as NUL-terminated strings: one holding
// U+0000 would address a shorter name than the caller gave, and a write would
// create it. Such a call fails as for a key that cannot be opened.
bool AnyHoldsNul(std::initializer_list<TextView> texts) {
  return std::any_of(texts.begin(), texts.end(),
                     [](TextView text) { return text.find(u'\0') != TextView::npos; });
}

int WriteInto(const platform::UniqueRegistryKey& key, TextView valueName, std::uint32_t type,
              TextView text) {
  if (!key) return 1;
  if (type == 0) return 0;
  const std::optional<Bytes> data = TextData(type, text);
  if (!data) return 1;
  return platform::SetRegistryValue(key.get(), Text(valueName), type, *data) == 0 ? 0 : 1;
}

}  // namespace

Text RegistryListSubkey(RegistryStatus* status, TextView rootName, TextView keyPath,
                        std::int64_t index, TextView computer) {
  if (AnyHoldsNul({rootName, keyPath, computer})) {
    Store(status, 1);
    return {};
  }
  RegistryStatus result = 1;
  Text name;
  OpenKey opened;
  const OpenOutcome outcome = OpenForReadingOn(computer, rootName, keyPath, opened);
  if (outcome == OpenOutcome::kNotConnected) {
    Store(status, 4);
    return name;
  }
  if (outcome == OpenOutcome::kOpened) {
    result = 2;
    // Positions below 1 name no subkey, nor do those past what a 32-bit
    // position can reach.
    if (index >= 1 && index - 1 <= std::numeric_limits<std::uint32_t>::max()) {
      Text found;
      if (platform::EnumerateSubkey(opened.key.get(), static_cast<std::uint32_t>(index - 1),
                                    found) == 0) {
        name = std::move(found);
        result = 0;
      }
    }
  }
  opened.key.reset();
  opened.remoteRoot.reset();
  Store(status, result);
  return name;
}

Text RegistryReadValue(RegistryStatus* status, TextView rootName, TextView keyPath,
                       TextView valueName) {
  if (AnyHoldsNul({rootName, keyPath, valueName})) {
    Store(status, 1);
    return {};
  }
  RegistryStatus result = 1;
  Text text;
  platform::UniqueRegistryKey key = OpenForReading(rootName, keyPath);
  if (key) {
    const Text name(valueName);
    std::uint32_t size = 0;
    (void)platform::QueryValueSize(key.get(), name, size);
    // The data read here are the ones converted: a second read could meet a
    // value changed in between and gives no more than this one.
    Bytes data(size);
    std::uint32_t type = 0;
    if (platform::QueryValueData(key.get(), name, type, data) != 0) {
      result = valueName.empty() ? 3 : 2;
    } else if (std::optional<Text> rendered = DataText(type, data)) {
      text = std::move(*rendered);
      result = 0;
    }
  }
  key.reset();
  Store(status, result);
  return text;
}

int RegistryWriteValue(TextView rootName, TextView keyPath, TextView valueName, std::uint32_t type,
                       TextView text) {
  if (AnyHoldsNul({rootName, keyPath, valueName})) return 1;
  return WriteInto(OpenForWriting(rootName, keyPath), valueName, type, text);
}

int RegistryWriteExistingValue(TextView rootName, TextView keyPath, TextView valueName,
                               std::uint32_t type, TextView text) {
  if (AnyHoldsNul({rootName, keyPath, valueName})) return 1;
  return WriteInto(OpenExistingForWriting(rootName, keyPath), valueName, type, text);
}

}  // namespace registry
