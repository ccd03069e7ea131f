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

// "" reads this computer, through OpenForReading.
TEST(OpenForReadingOn, AsksKeyReadWithTheViewFlagOnThisComputerOnly) {
  const struct {
    const char* what;
    Text computer;
    Text root;
    Text path;
    OpenOutcome expected;
    std::uint32_t access;  // of the one open made; 0 for none
  } cases[] = {
      {"hklm", u"", u"hklm", u"A", OpenOutcome::kOpened, platform::kKeyRead},
      {"HKLM64", u"", u"HKLM64", u"A", OpenOutcome::kOpened, platform::kKeyRead | kView64},
      {"hkcu64", u"", u"hkcu64", u"A", OpenOutcome::kOpened, platform::kKeyRead | kView64},
      {"missing local key", u"", u"hklm", u"B", OpenOutcome::kNotOpened, platform::kKeyRead},
      {"unknown root", u"", u"hklm ", u"A", OpenOutcome::kNotOpened, 0},
      {"remote, no view flag", u"\\\\server", u"hklm64", u"\\A", OpenOutcome::kOpened,
       platform::kKeyRead},
      {"unreachable computer", u"nowhere", u"hklm", u"A", OpenOutcome::kNotConnected, 0},
      {"computer name is not adjusted", u"server", u"hklm", u"A", OpenOutcome::kNotConnected, 0},
      {"missing remote key", u"\\\\server", u"hklm", u"B", OpenOutcome::kNotOpened,
       platform::kKeyRead},
      {"unknown root on a remote computer", u"\\\\server", u"hklm ", u"A", OpenOutcome::kNotOpened,
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::AddRegistryKey(u"HKLM\\A");
    sim::AddRegistryKey(u"HKCU\\A");
    sim::AddRegistryKey(u"HKLM\\A", u"\\\\server");
    {
      OpenKey opened;
      EXPECT_EQ(OpenForReadingOn(c.computer, c.root, c.path, opened), c.expected);
      EXPECT_EQ(static_cast<bool>(opened.key), c.expected == OpenOutcome::kOpened);
    }
    ASSERT_EQ(registry().opens.size(), c.access == 0 ? 0u : 1u);
    if (c.access != 0) {
      EXPECT_EQ(registry().opens[0].call, "RegOpenKeyExW");
      EXPECT_EQ(registry().opens[0].computer, c.computer);
      EXPECT_EQ(registry().opens[0].access, c.access);
    }
    if (!c.computer.empty() && c.expected == OpenOutcome::kOpened) {
      // The key is closed before the remote root it was opened below.
      const auto& calls = sim::Calls();
      ASSERT_GE(calls.size(), 2u);
      EXPECT_EQ(calls[calls.size() - 2], "RegCloseKey 4097");
      EXPECT_EQ(calls[calls.size() - 1], "RegCloseKey 4096");
    }
    EXPECT_EQ(registry().handles.size(), 0u);
    EXPECT_EQ(registry().badCloses, 0);
  }
}

TEST(OpenForWriting, OpensElseCreatesWithAllAccessAndTheViewFlag) {
  constexpr char kOpenThenCreate[] = "RegOpenKeyExW RegCreateKeyExW ";
  const struct {
    const char* what;
    Text root;
    Text path;
    bool opened;
    const char* calls;  // the opens and creates made, each asking `access`
    std::uint32_t access;
  } cases[] = {
      {"existing key", u"hkcu64", u"Existing", true, "RegOpenKeyExW ",
       platform::kKeyAllAccess | kView64},
      {"missing key", u"hkcu", u"\\New\\Deeper", true, kOpenThenCreate, platform::kKeyAllAccess},
      {"write access refused", u"hklm", u"Locked", false, kOpenThenCreate, platform::kKeyAllAccess},
      {"creation refused", u"hklm", u"Refused\\Below", false, kOpenThenCreate,
       platform::kKeyAllAccess},
      {"unknown root", u"hkey_local_machine", u"A", false, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::AddRegistryKey(u"HKCU\\Existing");
    sim::AddRegistryKey(u"HKLM\\Locked");
    registry().refuseWriteAccess.insert(u"HKLM\\Locked");
    registry().refuseCreate.insert(u"HKLM\\Refused");
    EXPECT_EQ(static_cast<bool>(OpenForWriting(c.root, c.path)), c.opened);
    std::string calls;
    for (const sim::RegistryOpen& open : registry().opens) {
      calls += open.call + " ";
      EXPECT_EQ(open.access, c.access) << open.call;
    }
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(registry().handles.size(), 0u);
  }
}

}  // namespace
}  // namespace registry
