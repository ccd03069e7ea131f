// Leak soak: over a thousand scans on a busy simulated machine, each with one
// or two platform calls failing, some of them started by the event loop on
// its worker. After every scan nothing may be held that the scan took:
// handles, registry keys, remote roots, device sets, libraries, the
// transient "vol" name, the worker's ScanOptions record.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/objects.h"
#include "app/texts.h"
#include "app/window_loop.h"
#include "mounter/scan.h"
#include "registry/value_text.h"
#include "tests/sim/narrow.h"
#include "tests/sim/registry_sim.h"
#include "tests/sim/setupapi_sim.h"
#include "tests/sim/sim.h"
#include "tests/sim/system_sim.h"
#include "tests/sim/threads_sim.h"
#include "tests/sim/volumes_sim.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// The worker frees its ScanOptions record through plain delete; the record
// is nowhere else to be seen once the thread has ended. These replacements
// of the global allocation functions only note whether the one block the
// test watches has been given back. They replace the whole non-aligned
// family, so a sanitizer never sees a block made by one family freed by
// another.
namespace {

std::atomic<void*> watchedBlock{nullptr};
std::atomic<bool> watchedBlockFreed{false};

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) std::abort();
  return block;
}

void Free(void* block) {
  if (block != nullptr && block == watchedBlock.load()) watchedBlockFreed = true;
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }

namespace app {
namespace {

using platform::Text;
using sim::AddListedVolume;
using sim::Narrow;
using sim::VolumePath;

constexpr std::uint32_t kRemovable = 2;
constexpr int kSoakScans = 1000;
const Text kRecords = u"HKLM\\SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";
// Another program's definition of "vol", there before the scan.
const Text kOtherVol = u"\\Device\\SomeoneElses";
// The log entry of the call that takes our "vol" away again.
constexpr char kVolRemoval[] = "DefineDosDeviceW 7 vol ";

// A machine with something on every path of a scan: a lettered volume, an
// empty card reader, a letter whose device is gone, a USB stick, a disk
// without label, one that does not answer, a dynamic-disk volume, a member
// without a device path, and volume records complete, incomplete and odd.
void ArrangeMachine(bool otherVol) {
  sim::Reset();
  SetTexts(MakeTextTable(0x0409));
  sim::desktop().objects[mainWindow];
  sim::DefineName(u"C:", VolumePath(1));
  sim::AddDevice(VolumePath(1));
  sim::DefineName(u"E:", u"\\Device\\CardReader0");
  sim::AddDevice(u"\\Device\\CardReader0") = {kRemovable, false};
  sim::DefineName(u"G:", u"\\Device\\Gone");
  if (otherVol) sim::DefineName(u"vol", kOtherVol);

  AddListedVolume(VolumePath(1));
  AddListedVolume(VolumePath(2)) = {3, true, u"DATA", true, true, 7, "Stick "};
  AddListedVolume(VolumePath(3)).busType = 11;
  AddListedVolume(VolumePath(4)).answers = false;
  AddListedVolume(u"\\Device\\HarddiskDmVolumes\\PhysicalDmVolumes\\BlockVolume1");
  sim::deviceManager().volumes.push_back({std::nullopt});
  AddListedVolume(VolumePath(5)) = {3, true, u"USB2", true, true, 7, ""};

  const Text guid = u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}";
  sim::PutRegistryValue(kRecords + u"\\A", u"Class", registry::kRegSz, sim::Utf16Bytes(u"Volume"));
  sim::PutRegistryValue(kRecords + u"\\A", u"ClassGUID", registry::kRegSz, sim::Utf16Bytes(guid));
  sim::AddRegistryKey(kRecords + u"\\B");
  sim::PutRegistryValue(kRecords + u"\\C", u"Class", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  sim::PutRegistryValue(kRecords + u"\\D", u"Class", registry::kRegSz, sim::Utf16Bytes(u"Volume"));
}

// One failure injection.
struct Injection {
  std::string name;             // a call failing every time, or
  std::vector<std::size_t> at;  // the calls at these log positions failing once
};

// Makes the calls fail; returns what failed, for the messages.
std::string Inject(const Injection& injection) {
  if (!injection.name.empty()) sim::FailCall(injection.name);
  std::string text = injection.name.empty() ? "calls at" : "every " + injection.name;
  for (std::size_t index : injection.at) text += " " + std::to_string(index);
  for (std::size_t index : injection.at) sim::FailCallAt(index);
  return text;
}

// Did the system refuse to take our "vol" away? Then it stays, and there is
// nothing more the program could do about it.
int RefusedVolRemovals(const Injection& injection) {
  int refused = 0;
  for (std::size_t index : injection.at) {
    if (index < sim::Calls().size() && sim::Calls()[index].starts_with(kVolRemoval)) ++refused;
  }
  return refused;
}

// Everything that must hold after a scan, whatever failed in it.
void ExpectNothingLeft(const Injection& injection, bool otherVol, bool scanned = true) {
  EXPECT_EQ(sim::process().openHandles, 0);
  EXPECT_EQ(sim::process().loadedLibraries, 0);
  EXPECT_EQ(sim::deviceManager().openSets, 0);
  EXPECT_EQ(sim::registry().OpenKeys(), 0);
  EXPECT_EQ(sim::registry().OpenRemoteRoots(), 0);
  EXPECT_EQ(sim::registry().badCloses, 0);

  const auto vol = sim::volumes().dosNames.find(u"vol");
  const std::size_t vols = vol == sim::volumes().dosNames.end() ? 0 : vol->second.size();
  ASSERT_EQ(vols, (otherVol ? 1u : 0u) + RefusedVolRemovals(injection));
  if (otherVol) {
    EXPECT_EQ(vol->second.front(), kOtherVol) << "another program's vol was touched";
  }

  // Every other name is one of the arranged letters or a letter given to a
  // listed volume.
  for (const auto& [name, targets] : sim::volumes().dosNames) {
    if (name == u"vol" || name == u"c:" || name == u"e:" || name == u"g:") continue;
    EXPECT_TRUE(name.size() == 2 && name[1] == u':') << Narrow(name);
    for (const Text& target : targets) {
      EXPECT_TRUE(platform::AsciiLower(target).starts_with(u"\\device\\harddiskvolume"))
          << Narrow(target);
    }
  }

  if (!scanned) return;
  const Text& status = sim::desktop().objects[ctlStatus].title;
  EXPECT_TRUE(status.ends_with(Texts()[kTextFoundSuffix]) || status == Texts()[kTextNothingFound])
      << Narrow(status);
}

// What a clean scan lists: the card reader keeps E: unless empty removable
// drives are freed, the silent volume keeps the letter it was given and the
// departed G: is not reused; the dynamic-disk volume is never listed.
struct OptionSet {
  mounter::ScanOptions options;
  std::vector<std::string> rows;
};

const OptionSet kOptionSets[] = {
    // usbOnly, removeLetters, notify, gui
    {{0, 0, 1, 1},
     {"D: - DATA   \"USB\" - Stick ", "F: -    \"SATA\"", "I: - USB2   \"USB\""}},
    {{1, 1, 1, 0}, {"D: - DATA   \"USB\" - Stick ", "E: - USB2   \"USB\""}},
    {{0, 1, 0, 0},
     {"D: - DATA   \"USB\" - Stick ", "E: -    \"SATA\"", "H: - USB2   \"USB\""}},
    {{1, 0, 0, 1}, {"D: - DATA   \"USB\" - Stick ", "F: - USB2   \"USB\""}},
};

TEST(ScanSoak, AThousandScansWithCallsFailingInTurnLeaveNothingBehind) {
  int scans = 0;
  std::set<std::string> names;
  for (const OptionSet& set : kOptionSets) {
    const mounter::ScanOptions& options = set.options;
    SCOPED_TRACE(testing::Message()
                 << "usbOnly " << options.usbOnly << " removeLetters " << options.removeLetters
                 << " notify " << options.notify << " gui " << options.gui);
    // One clean scan tells which calls there are and how many.
    ArrangeMachine(false);
    mounter::RunScan(options);
    ++scans;
    ExpectNothingLeft({}, false);
    std::vector<std::string> rows;
    for (const Text& row : sim::desktop().objects[ctlDriveList].rows) rows.push_back(Narrow(row));
    ASSERT_EQ(rows, set.rows);
    const std::size_t callCount = sim::Calls().size();
    std::set<std::string> these;
    for (const std::string& call : sim::Calls()) these.insert(sim::CallName(call));
    names.insert(these.begin(), these.end());

    std::vector<Injection> injections;
    for (const std::string& name : these) injections.push_back({name, {}});
    for (std::size_t i = 0; i < callCount; ++i) {
      injections.push_back({"", {i}});
      // Two in a row: a definition and its removal, an open and its query...
      if (i + 1 < callCount) injections.push_back({"", {i, i + 1}});
    }
    for (const Injection& injection : injections) {
      for (bool otherVol : {false, true}) {
        // Pairs take turns with the two "vol" arrangements, to keep the run short.
        if (injection.at.size() == 2 && otherVol != (injection.at[0] % 2 == 1)) continue;
        ArrangeMachine(otherVol);
        SCOPED_TRACE(Inject(injection) + (otherVol ? ", vol defined elsewhere" : ""));
        mounter::RunScan(options);
        ++scans;
        ExpectNothingLeft(injection, otherVol);
        // Both pauses are kept, whatever failed.
        EXPECT_EQ(sim::os().sleeps.size(), 2u);
        if (HasFatalFailure() || testing::Test::HasFailure()) return;
      }
    }
  }
  // The calls of the scan, the enumeration, the repair and the drive facts.
  std::istringstream expected(
      "GetLogicalDriveStringsW GetDriveTypeW GetVolumeInformationW QueryDosDeviceW "
      "DefineDosDeviceW LoadLibraryExW GetProcAddress FreeLibrary CLSIDFromString "
      "SetupDiGetClassDevsW SetupDiEnumDeviceInfo SetupDiGetDeviceRegistryPropertyW "
      "SetupDiDestroyDeviceInfoList CreateFileW DeviceIoControl CloseHandle MultiByteToWideChar "
      "GetVersionExA RegOpenKeyExW RegEnumKeyExW RegQueryValueExW RegSetValueExW RegCloseKey "
      "Shell_NotifyIconW Sleep");
  for (std::string name; expected >> name;) EXPECT_EQ(names.count(name), 1u) << name;
  EXPECT_GE(scans, kSoakScans);
  RecordProperty("scans", scans);
  RecordProperty("calls", static_cast<int>(names.size()));
}

// Finishes every scan thread still running, checking that each gives back
// the record it was handed.
void FinishScans(int& scans) {
  for (std::size_t i = 0; i < sim::threads().started.size(); ++i) {
    sim::SimThread& thread = sim::threads().started[i];
    if (!thread.running) continue;
    watchedBlock = thread.argument;
    watchedBlockFreed = false;
    sim::FinishThread(i);
    ++scans;
    EXPECT_TRUE(watchedBlockFreed.load()) << "the ScanOptions record of scan thread " << i;
    watchedBlock = nullptr;
  }
}

TEST(ScanSoak, ScansOnTheWorkerGiveBackTheirRecordsAndThreadHandles) {
  constexpr int kRefreshes = 6;
  const platform::Event tick{platform::EventKind::kTimer, wakeTimer};
  const platform::Event refresh{platform::EventKind::kControlClick, ctlRefresh};
  const platform::Event arrival{platform::EventKind::kDeviceChange, mainWindow, 0, 0,
                                platform::kDeviceArrival};
  StartupFlags flags;
  flags.autoMount = 1;

  // The calls the loop makes around its scans, from one clean run.
  auto run = [&](int& scans) {
    EventLoop loop{flags};
    BeginEventLoop(loop);
    for (int i = 0; i < kRefreshes; ++i) {
      sim::desktop().events.push_back(tick);
      (void)TurnEventLoop(loop);
      // One request arrives while the scan runs, and is dropped.
      sim::desktop().events.push_back(i % 2 == 0 ? refresh : arrival);
      (void)TurnEventLoop(loop);
      FinishScans(scans);
      sim::desktop().events.push_back(i % 2 == 0 ? arrival : refresh);
      (void)TurnEventLoop(loop);
    }
    EndEventLoop(loop);
    FinishScans(scans);
    // Only the last thread's handle may still be held: the program keeps it
    // until it ends.
    EXPECT_EQ(sim::threads().openHandles, loop.scanThread != 0 ? 1 : 0);
  };

  int scans = 0;
  ArrangeMachine(true);
  run(scans);
  ExpectNothingLeft({}, true);
  ASSERT_GE(scans, kRefreshes);
  std::set<std::string> names;
  for (const std::string& call : sim::Calls()) names.insert(sim::CallName(call));
  for (const char* expected : {"CreateThread", "WaitForSingleObject", "SetTimer"}) {
    EXPECT_EQ(names.count(expected), 1u) << expected;
  }

  for (const std::string& name : names) {
    SCOPED_TRACE("every " + name);
    ArrangeMachine(true);
    sim::FailCall(name);
    const int before = scans;
    run(scans);
    ExpectNothingLeft({name, {}}, true, scans > before);
    if (testing::Test::HasFailure()) return;
  }
  RecordProperty("scans", scans);

#if defined(__SANITIZE_ADDRESS__)
  // A record of a thread that could not start never reaches a thread; the
  // loop frees it itself. Nothing shows it but the leak checker.
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
}  // namespace app
