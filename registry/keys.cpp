#include "registry/keys.h"

namespace registry {
namespace {

struct RootName {
  TextView name;
  platform::Key root;
  std::uint32_t viewFlag;
};

// In this order; the first equal name decides.
constexpr RootName kRootNames[] = {
    {u"hklm", platform::kLocalMachine, 0},
    {u"hkcr", platform::kClassesRoot, 0},
    {u"hkcu", platform::kCurrentUser, 0},
    {u"hku", platform::kUsers, 0},
    {u"hkcc", platform::kCurrentConfig, 0},
    {u"hklm64", platform::kLocalMachine, platform::kKeyWow64View64},
    {u"hkcu64", platform::kCurrentUser, platform::kKeyWow64View64},
};

}  // namespace

ResolvedKey ResolveKey(TextView rootName, TextView keyPath) {
  ResolvedKey resolved;
  const Text lower = platform::AsciiLower(rootName);
  for (const RootName& entry : kRootNames) {
    if (lower == entry.name) {
      resolved.root = entry.root;
      resolved.viewFlag = entry.viewFlag;
      break;
    }
  }
  resolved.path = keyPath;
  if (!resolved.path.empty() && resolved.path.front() == u'\\') resolved.path.remove_prefix(1);
  return resolved;
}

platform::UniqueRegistryKey OpenForReading(TextView rootName, TextView keyPath) {
  const ResolvedKey resolved = ResolveKey(rootName, keyPath);
  platform::UniqueRegistryKey key;
  // A name outside the table opens nothing; Windows would refuse a null root.
  if (resolved.root == 0) return key;
  (void)platform::OpenRegistryKey(resolved.root, Text(resolved.path),
                                  platform::kKeyRead | resolved.viewFlag, *key.put());
  return key;
}

OpenOutcome OpenForReadingOn(TextView computer, TextView rootName, TextView keyPath,
                             OpenKey& opened) {
  if (computer.empty()) {
    opened.key = OpenForReading(rootName, keyPath);
    return opened.key ? OpenOutcome::kOpened : OpenOutcome::kNotOpened;
  }
  const ResolvedKey resolved = ResolveKey(rootName, keyPath);
  if (resolved.root == 0) return OpenOutcome::kNotOpened;
  if (platform::ConnectRemoteRegistry(Text(computer), resolved.root, *opened.remoteRoot.put()) !=
      0) {
    return OpenOutcome::kNotConnected;
  }
  (void)platform::OpenRegistryKey(opened.remoteRoot.get(), Text(resolved.path), platform::kKeyRead,
                                  *opened.key.put());
  return opened.key ? OpenOutcome::kOpened : OpenOutcome::kNotOpened;
}

namespace {

platform::UniqueRegistryKey OpenWithAllAccess(TextView rootName, TextView keyPath,
                                              bool createMissing) {
  const ResolvedKey resolved = ResolveKey(rootName, keyPath);
  platform::UniqueRegistryKey key;
  if (resolved.root == 0) return key;
  const Text path(resolved.path);
  const std::uint32_t access = platform::kKeyAllAccess | resolved.viewFlag;
  if (platform::OpenRegistryKey(resolved.root, path, access, *key.put()) != 0 && createMissing) {
    (void)platform::CreateRegistryKey(resolved.root, path, access, *key.put());
  }
  return key;
}

}  // namespace

platform::UniqueRegistryKey OpenForWriting(TextView rootName, TextView keyPath) {
  return OpenWithAllAccess(rootName, keyPath, true);
}

platform::UniqueRegistryKey OpenExistingForWriting(TextView rootName, TextView keyPath) {
  return OpenWithAllAccess(rootName, keyPath, false);
}

}  // namespace registry
