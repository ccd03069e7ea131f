#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "platform/advapi32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/registry_sim.h"
#include "tests/sim/sim.h"

namespace sim {
namespace {

constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorBadNetPath = 53;
constexpr std::int32_t kErrorBadPathname = 161;
// What the program's listing gives RegEnumKeyExW as the name's capacity.
constexpr std::size_t kNameCapacity = 255;

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::string Hex(std::uint32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", number);
  return text;
}

const Text* PredefinedRootName(platform::Key key) {
  static const std::pair<platform::Key, Text> kRoots[] = {
      {platform::kLocalMachine, u"HKLM"},  {platform::kClassesRoot, u"HKCR"},
      {platform::kCurrentUser, u"HKCU"},   {platform::kUsers, u"HKU"},
      {platform::kCurrentConfig, u"HKCC"},
  };
  for (const auto& [root, name] : kRoots) {
    if (root == key) return &name;
  }
  return nullptr;
}

// Windows reads every name and path as a NUL-terminated string, so it never
// sees what follows a U+0000.
Text AtNul(const Text& text) { return text.substr(0, text.find(u'\0')); }

// Where a key sits: on which computer, and its components from the root.
struct Location {
  Text computer;
  std::vector<Text> components;
  Text Path() const {
    Text path;
    for (const Text& component : components) {
      if (!path.empty()) path.push_back(u'\\');
      path.append(component);
    }
    return path;
  }
};

std::vector<Text> Split(platform::TextView path) {
  std::vector<Text> components(1);
  for (char16_t c : path) {
    if (c == u'\\') {
      components.emplace_back();
    } else {
      components.back().push_back(c);
    }
  }
  return components;
}

// The parent handle and a path below it, as the registry resolves them: a
// trailing "\" is ignored, a leading one or an empty component is refused.
std::int32_t Resolve(platform::Key parent, platform::TextView path, Location& location) {
  if (const Text* root = PredefinedRootName(parent)) {
    location.components = {*root};
  } else {
    const auto handle = registry().handles.find(parent);
    if (handle == registry().handles.end()) return kErrorInvalidHandle;
    location.computer = handle->second.computer;
    location.components = Split(handle->second.path);
  }
  if (path.empty()) return 0;
  std::vector<Text> below = Split(path);
  if (below.size() > 1 && below.back().empty()) below.pop_back();
  for (Text& component : below) {
    if (component.empty()) return kErrorBadPathname;
    location.components.push_back(std::move(component));
  }
  return 0;
}

RegistryNode* Machine(const Text& computer) {
  if (computer.empty()) return &registry().local;
  const auto found = registry().remote.find(computer);
  return found == registry().remote.end() ? nullptr : &found->second;
}

RegistryNode* Find(const Location& location) {
  RegistryNode* node = Machine(location.computer);
  for (std::size_t i = 0; node != nullptr && i < location.components.size(); ++i) {
    const Text& component = location.components[i];
    // The roots always exist.
    if (i == 0) {
      node = &node->subkeys[component];
      continue;
    }
    const auto found = node->subkeys.find(component);
    node = found == node->subkeys.end() ? nullptr : &found->second;
  }
  return node;
}

RegistryNode* FindHandle(platform::Key key, std::int32_t& error) {
  const auto handle = registry().handles.find(key);
  if (handle == registry().handles.end()) {
    error = kErrorInvalidHandle;
    return nullptr;
  }
  error = 0;
  return Find({handle->second.computer, Split(handle->second.path)});
}

bool Denied(const Location& location, std::uint32_t access) {
  if (!location.computer.empty()) return false;
  const Text path = location.Path();
  if (registry().refuseOpen.count(path)) return true;
  const std::uint32_t beyondReading = access & ~(platform::kKeyRead | platform::kKeyWow64View64);
  return beyondReading != 0 && registry().refuseWriteAccess.count(path) != 0;
}

platform::Key NewHandle(const Location& location, bool remoteRoot, std::uint32_t access) {
  const platform::Key key = registry().nextHandle++;
  registry().handles[key] = {location.computer, location.Path(), remoteRoot, access};
  return key;
}

// What every open and create does first: resolve the path, record and log
// the attempt. An injected failure wins over a path that does not resolve.
std::int32_t BeginOpen(const char* call, platform::Key parent, const Text& path,
                       std::uint32_t access, Location& location) {
  const std::int32_t resolved = Resolve(parent, AtNul(path), location);
  registry().opens.push_back({call, location.computer, location.Path(), access});
  if (Enter(call, Narrow(location.Path()) + " " + Hex(access))) return kErrorAccessDenied;
  return resolved;
}

}  // namespace

bool NoCase::operator()(platform::TextView a, platform::TextView b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Upper(x) < Upper(y); });
}

int Registry::OpenKeys() const {
  return static_cast<int>(std::count_if(handles.begin(), handles.end(),
                                        [](const auto& h) { return !h.second.remoteRoot; }));
}

int Registry::OpenRemoteRoots() const { return static_cast<int>(handles.size()) - OpenKeys(); }

RegistryNode& AddRegistryKey(platform::TextView path, platform::TextView computer) {
  RegistryNode* node = computer.empty() ? &registry().local : &registry().remote[Text(computer)];
  for (const Text& component : Split(path)) node = &node->subkeys[component];
  return *node;
}

const RegistryNode* FindRegistryKey(platform::TextView path, platform::TextView computer) {
  return Find({Text(computer), Split(path)});
}

void RemoveRegistryKey(platform::TextView path) {
  std::vector<Text> components = Split(path);
  const Text last = components.back();
  components.pop_back();
  if (RegistryNode* parent = Find({Text(), components})) parent->subkeys.erase(last);
}

void PutRegistryValue(platform::TextView path, platform::TextView name, std::uint32_t type,
                      std::vector<std::uint8_t> data) {
  AddRegistryKey(path).values[Text(name)] = {type, std::move(data)};
}

std::optional<RegistryValue> RegistryValueAt(platform::TextView path, platform::TextView name) {
  const RegistryNode* node = FindRegistryKey(path);
  if (node == nullptr) return std::nullopt;
  const auto found = node->values.find(name);
  if (found == node->values.end()) return std::nullopt;
  return found->second;
}

}  // namespace sim

namespace platform {

using sim::Location;
using sim::Narrow;
using sim::registry;

std::int32_t OpenRegistryKey(Key parent, const Text& path, std::uint32_t access,
                             Key& opened) noexcept {
  opened = 0;
  Location location;
  if (const std::int32_t error = sim::BeginOpen("RegOpenKeyExW", parent, path, access, location)) {
    return error;
  }
  if (sim::Find(location) == nullptr) return kErrorFileNotFound;
  if (sim::Denied(location, access)) return sim::kErrorAccessDenied;
  opened = sim::NewHandle(location, false, access);
  return 0;
}

std::int32_t CreateRegistryKey(Key parent, const Text& path, std::uint32_t access,
                               Key& created) noexcept {
  created = 0;
  Location location;
  if (const std::int32_t error =
          sim::BeginOpen("RegCreateKeyExW", parent, path, access, location)) {
    return error;
  }
  // Refused before anything is made, so a refusal leaves no partial keys.
  Location prefix{location.computer, {}};
  for (const Text& component : location.components) {
    prefix.components.push_back(component);
    if (sim::Find(prefix) == nullptr && registry().refuseCreate.count(prefix.Path())) {
      return sim::kErrorAccessDenied;
    }
  }
  if (sim::Denied(location, access)) return sim::kErrorAccessDenied;
  sim::RegistryNode* node = sim::Machine(location.computer);
  if (node == nullptr) return sim::kErrorInvalidHandle;
  for (const Text& component : location.components) node = &node->subkeys[component];
  created = sim::NewHandle(location, false, access);
  return 0;
}

std::int32_t ConnectRemoteRegistry(const Text& given, Key root, Key& remote) noexcept {
  remote = 0;
  const Text computer = sim::AtNul(given);
  if (sim::Enter("RegConnectRegistryW", Narrow(computer))) return sim::kErrorBadNetPath;
  const Text* rootName = sim::PredefinedRootName(root);
  if (rootName == nullptr) return sim::kErrorInvalidHandle;
  if (!registry().remote.count(computer)) return sim::kErrorBadNetPath;
  remote = sim::NewHandle({computer, {*rootName}}, true, 0);
  return 0;
}

std::int32_t EnumerateSubkey(Key key, std::uint32_t position, Text& name) noexcept {
  if (sim::Enter("RegEnumKeyExW", std::to_string(position))) return sim::kErrorAccessDenied;
  std::int32_t error = 0;
  const sim::RegistryNode* node = sim::FindHandle(key, error);
  if (error != 0) return error;
  if (node == nullptr || position >= node->subkeys.size()) return kErrorNoMoreItems;
  auto& place = registry().listingPlace;
  if (place.node != node || place.count != node->subkeys.size() || place.position > position) {
    place = {node, node->subkeys.size(), 0, node->subkeys.begin()};
  }
  place.at = std::next(place.at, static_cast<std::ptrdiff_t>(position - place.position));
  place.position = position;
  const Text& found = place.at->first;
  // The capacity counts the terminating NUL, so with 255 the longest name
  // listed has 254 characters.
  // https://learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regenumkeyexw
  if (found.size() + 1 > sim::kNameCapacity) return kErrorMoreData;
  name = found;
  return 0;
}

std::int32_t QueryValueSize(Key key, const Text& given, std::uint32_t& size) noexcept {
  const Text name = sim::AtNul(given);
  std::int32_t result = sim::kErrorAccessDenied;
  if (!sim::Enter("RegQueryValueExW", "size " + Narrow(name))) {
    const sim::RegistryNode* node = sim::FindHandle(key, result);
    if (result == 0) {
      result = kErrorFileNotFound;
      if (node != nullptr && node->values.count(name)) {
        size = static_cast<std::uint32_t>(node->values.find(name)->second.data.size());
        result = 0;
      }
    }
  }
  if (registry().afterSizeQuery) {
    const auto hook = registry().afterSizeQuery;
    hook();
  }
  return result;
}

std::int32_t QueryValueData(Key key, const Text& given, std::uint32_t& type,
                            std::vector<std::uint8_t>& data) noexcept {
  const Text name = sim::AtNul(given);
  if (sim::Enter("RegQueryValueExW", "data " + Narrow(name))) return sim::kErrorAccessDenied;
  std::int32_t error = 0;
  const sim::RegistryNode* node = sim::FindHandle(key, error);
  if (error != 0) return error;
  if (node == nullptr) return kErrorFileNotFound;
  const auto found = node->values.find(name);
  if (found == node->values.end()) return kErrorFileNotFound;
  if (found->second.data.size() > data.size()) return kErrorMoreData;
  type = found->second.type;
  data = found->second.data;
  return 0;
}

std::int32_t SetRegistryValue(Key key, const Text& given, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) noexcept {
  const Text name = sim::AtNul(given);
  if (sim::Enter("RegSetValueExW", Narrow(name) + " " + std::to_string(type))) {
    return sim::kErrorAccessDenied;
  }
  const auto handle = registry().handles.find(key);
  if (handle == registry().handles.end()) return sim::kErrorInvalidHandle;
  constexpr std::uint32_t kKeySetValue = 0x2;
  if ((handle->second.access & kKeySetValue) == 0) return sim::kErrorAccessDenied;
  std::int32_t error = 0;
  sim::RegistryNode* node = sim::FindHandle(key, error);
  if (node == nullptr) return kErrorFileNotFound;
  node->values[name] = {type, data};
  return 0;
}

void CloseRegistryKey(Key key) noexcept {
  (void)sim::Enter("RegCloseKey", std::to_string(key));
  if (registry().handles.erase(key) == 0) ++registry().badCloses;
}

}  // namespace platform
