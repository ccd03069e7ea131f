#include "registry/keys.h"

#include <gtest/gtest.h>

#include "registry/operations.h"
#include "tests/sim/narrow.h"
#include "tests/sim/registry_sim.h"

namespace registry {
namespace {

using sim::Narrow;
using sim::registry;

constexpr std::uint32_t kView64 = platform::kKeyWow64View64;

TEST(ResolveKey, MatchesTheSevenNamesAfterLowerCasingOnly) {
  const struct {
    Text name;
    platform::Key root;
    std::uint32_t viewFlag;
  } cases[] = {
      {u"hklm", platform::kLocalMachine, 0},
      {u"HKLM", platform::kLocalMachine, 0},
      {u"hKlM", platform::kLocalMachine, 0},
      {u"hkcr", platform::kClassesRoot, 0},
      {u"HKCU", platform::kCurrentUser, 0},
      {u"hku", platform::kUsers, 0},
      {u"hkcc", platform::kCurrentConfig, 0},
      {u"hklm64", platform::kLocalMachine, kView64},
      {u"HKLM64", platform::kLocalMachine, kView64},
      {u"hkcu64", platform::kCurrentUser, kView64},
      {u"hkcr64", 0, 0},
      {u"hku64", 0, 0},
      {u"hkcc64", 0, 0},
      {u"hklm32", 0, 0},
      {u" hklm", 0, 0},
      {u"hklm ", 0, 0},
      {u"hklm\\", 0, 0},
      {u"HKEY_LOCAL_MACHINE", 0, 0},
      {u"", 0, 0},
      {u"h\u212Alm", 0, 0},  // Kelvin sign: only ASCII is lowered
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    const ResolvedKey resolved = ResolveKey(c.name, u"x");
    EXPECT_EQ(resolved.root, c.root);
    EXPECT_EQ(resolved.viewFlag, c.viewFlag);
  }
}

TEST(ResolveKey, DropsExactlyOneLeadingBackslash) {
  const struct {
    Text path;
    Text expected;
  } cases[] = {
      {u"SYSTEM\\Setup", u"SYSTEM\\Setup"},
      {u"\\SYSTEM\\Setup", u"SYSTEM\\Setup"},
      {u"\\\\SYSTEM", u"\\SYSTEM"},
      {u"SYSTEM\\", u"SYSTEM\\"},
      {u"", u""},
      {u"\\", u""},
      {u"sYsTeM", u"sYsTeM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    EXPECT_EQ(ResolveKey(u"hklm", c.path).path, c.expected);
  }
}

TEST(OpenForReading, AsksKeyReadWithTheViewFlagOfTheRoot) {
  const struct {
    Text root;
    std::uint32_t access;
  } cases[] = {{u"hklm", platform::kKeyRead},
               {u"HKLM64", platform::kKeyRead | kView64},
               {u"hkcu64", platform::kKeyRead | kView64}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.root));
    sim::Reset();
    sim::AddRegistryKey(u"HKLM\\A");
    sim::AddRegistryKey(u"HKCU\\A");
    EXPECT_TRUE(OpenForReading(c.root, u"A"));
    ASSERT_EQ(registry().opens.size(), 1u);
    EXPECT_EQ(registry().opens[0].access, c.access);
    EXPECT_EQ(registry().OpenKeys(), 0);
  }
}

TEST(OpenForReading, AnUnknownRootOpensNothingAndCreatesNothing) {
  sim::Reset();
  EXPECT_FALSE(OpenForReading(u"hklm ", u"A"));
  EXPECT_FALSE(OpenForReading(u"hklm", u"Missing"));
  EXPECT_EQ(sim::FindRegistryKey(u"HKLM\\Missing"), nullptr);
  EXPECT_EQ(registry().handles.size(), 0u);
}

TEST(OpenForReadingOn, RemoteOpenConnectsThenOpensWithoutTheViewFlag) {
  sim::Reset();
  sim::AddRegistryKey(u"HKLM\\A", u"\\\\server");
  {
    OpenKey opened;
    ASSERT_EQ(OpenForReadingOn(u"\\\\server", u"hklm64", u"\\A", opened), OpenOutcome::kOpened);
    EXPECT_EQ(registry().OpenKeys(), 1);
    EXPECT_EQ(registry().OpenRemoteRoots(), 1);
    ASSERT_EQ(registry().opens.size(), 1u);
    EXPECT_EQ(registry().opens[0].computer, u"\\\\server");
    EXPECT_EQ(registry().opens[0].path, u"HKLM\\A");
    EXPECT_EQ(registry().opens[0].access, platform::kKeyRead);
  }
  // The key is closed before the remote root it was opened below.
  const auto& calls = sim::Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "RegCloseKey 4097");
  EXPECT_EQ(calls[calls.size() - 1], "RegCloseKey 4096");
  EXPECT_EQ(registry().handles.size(), 0u);
  EXPECT_EQ(registry().badCloses, 0);
}

TEST(OpenForReadingOn, ConnectionAndOpenFailures) {
  const struct {
    const char* what;
    Text computer;
    Text root;
    Text path;
    OpenOutcome expected;
  } cases[] = {
      {"unreachable computer", u"nowhere", u"hklm", u"A", OpenOutcome::kNotConnected},
      {"computer name is not adjusted", u"server", u"hklm", u"A", OpenOutcome::kNotConnected},
      {"missing remote key", u"\\\\server", u"hklm", u"B", OpenOutcome::kNotOpened},
      {"unknown root on a remote computer", u"\\\\server", u"hklm ", u"A", OpenOutcome::kNotOpened},
      {"missing local key", u"", u"hklm", u"A", OpenOutcome::kNotOpened},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::AddRegistryKey(u"HKLM\\A", u"\\\\server");
    {
      OpenKey opened;
      EXPECT_EQ(OpenForReadingOn(c.computer, c.root, c.path, opened), c.expected);
      EXPECT_FALSE(opened.key);
    }
    EXPECT_EQ(registry().handles.size(), 0u);
    EXPECT_EQ(registry().badCloses, 0);
  }
}

TEST(OpenForWriting, OpensElseCreatesWithAllAccessAndTheViewFlag) {
  sim::Reset();
  sim::AddRegistryKey(u"HKCU\\Existing");
  {
    const auto key = OpenForWriting(u"hkcu64", u"Existing");
    EXPECT_TRUE(key);
    ASSERT_EQ(registry().opens.size(), 1u);
    EXPECT_EQ(registry().opens[0].access, platform::kKeyAllAccess | kView64);
  }
  registry().opens.clear();
  {
    const auto key = OpenForWriting(u"hkcu", u"\\New\\Deeper");
    EXPECT_TRUE(key);
    ASSERT_EQ(registry().opens.size(), 2u);
    EXPECT_EQ(registry().opens[1].call, "RegCreateKeyExW");
    EXPECT_EQ(registry().opens[1].path, u"HKCU\\New\\Deeper");
    EXPECT_EQ(registry().opens[1].access, platform::kKeyAllAccess);
  }
  EXPECT_NE(sim::FindRegistryKey(u"HKCU\\New\\Deeper"), nullptr);
  EXPECT_EQ(registry().handles.size(), 0u);
}

TEST(OpenForWriting, FailsWhenNeitherOpenNorCreateWorks) {
  sim::Reset();
  sim::AddRegistryKey(u"HKLM\\Locked");
  registry().refuseWriteAccess.insert(u"HKLM\\Locked");
  registry().refuseCreate.insert(u"HKLM\\Refused");
  EXPECT_FALSE(OpenForWriting(u"hklm", u"Locked"));
  EXPECT_FALSE(OpenForWriting(u"hklm", u"Refused\\Below"));
  EXPECT_EQ(sim::FindRegistryKey(u"HKLM\\Refused"), nullptr);
  EXPECT_FALSE(OpenForWriting(u"hkey_local_machine", u"A"));
  EXPECT_EQ(registry().handles.size(), 0u);
}

}  // namespace
}  // namespace registry
