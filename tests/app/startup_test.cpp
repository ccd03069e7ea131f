#include "app/startup.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>
#include <utility>

#include "app/objects.h"
#include "app/texts.h"
#include "app/window.h"
#include "tests/sim/narrow.h"
#include "mounter/enumerate.h"
#include "tests/sim/sim.h"
#include "tests/sim/system_sim.h"
#include "tests/sim/volumes_sim.h"

namespace app {
namespace {

using sim::Narrow;

constexpr unsigned kHideFlags = 0x50010;

// Runs the whole program on the simulated machine; returns its exit code.
unsigned RunProgram() {
  try {
    Run();
  } catch (const sim::ProcessExit& exit) {
    return exit.code;
  }
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST(MakeTextTable, GermanForEveryRegionOfGermanOnly) {
  const struct {
    std::uint16_t languageId;
    bool german;
  } cases[] = {
      {0x0407, true},   // Germany
      {0x0C07, true},   // Austria
      {0x0007, true},   // neutral German
      {0xFC07, true},   // any sublanguage bits
      {0x0409, false},  // English
      {0x0000, false},
      {0x0047, false},  // 0x47 is not 7
      {0x0207, false},  // the primary language is 10 bits wide, not 8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.languageId);
    const TextTable table = MakeTextTable(c.languageId);
    EXPECT_EQ(Narrow(table[kTextChecking]), c.german ? "Überprüfe System..." : "Check System...");
    EXPECT_EQ(Narrow(table[kTextFoundSuffix]),
              c.german ? " neue Partition(en) gefunden." : " new Partition(s) found.");
    EXPECT_EQ(Narrow(table[kTextNothingFound]),
              c.german ? "Keine neue Partition gefunden." : "No partition found.");
    EXPECT_EQ(Narrow(table[kTextRefresh]), c.german ? "Aktualisieren" : "Refresh");
    EXPECT_EQ(Narrow(table[kTextExit]), c.german ? "Beenden" : "Exit");
    int filled = 0;
    for (const Text& text : table) filled += !text.empty();
    EXPECT_EQ(filled, 5) << "slot 0 and the unused slots stay empty";
  }
}

// A hidden first window ("-ng -a") made the foreground window would take
// the keys meant for the desktop.
TEST_F(StartupTest, SecondInstanceShowsTheNoticeBringsTheFirstForwardAndEnds) {
  const struct {
    const char* what;
    bool firstWindow;
    bool hidden;
    platform::Window forward;
  } cases[] = {{"shown", true, false, 0x77}, {"hidden", true, true, 0}, {"none", false, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    sim::process().languageId = 0x0C07;
    sim::process().mutexesElsewhere.insert(u"Parvola");
    sim::process().commandLine = u"parvola.exe -ng";
    sim::desktop().otherWindows[0x51] = u"Parvola";  // not the main window's title
    if (c.firstWindow) sim::desktop().otherWindows[0x77] = u" Parvola";
    if (c.hidden) sim::desktop().hiddenOtherWindows.insert(0x77);

    EXPECT_EQ(RunProgram(), 0u);

    ASSERT_EQ(sim::desktop().boxes.size(), 1u);
    EXPECT_EQ(Narrow(sim::desktop().boxes[0].caption), "Parvola");
    EXPECT_EQ(Narrow(sim::desktop().boxes[0].text), "Keine neue Partition gefunden.");
    EXPECT_EQ(sim::desktop().foreground, c.forward);
    EXPECT_EQ(sim::process().openHandles, 0) << "its own mutex handle is given back";
    EXPECT_TRUE(sim::desktop().objects.empty()) << "no window is made";
    EXPECT_TRUE(sim::desktop().animations.empty());
    const auto& calls = sim::Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "GetProcAddress GetCommandLineW"), 0)
        << "options are not read";
    const auto release = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
      return call.starts_with("ReleaseMutex");
    });
    const auto box = std::find(calls.begin(), calls.end(), "MessageBoxW Parvola");
    EXPECT_LT(release, box) << "the mutex is given up before the notice waits for the user";
  }
}

TEST_F(StartupTest, FailedMutexCountsAsFirstInstance) {
  sim::FailCall("CreateMutexW");
  sim::process().commandLine = u"parvola.exe -ng";
  EXPECT_EQ(RunProgram(), 0u);
  EXPECT_TRUE(sim::desktop().boxes.empty());
  EXPECT_EQ(sim::desktop().objects.count(mainWindow), 1u);
}

TEST_F(StartupTest, ModesShowTheWindowAndAnimateItsEndOnlyWhenInteractive) {
  const struct {
    Text commandLine;
    bool visible;
    bool animated;
  } cases[] = {
      {u"parvola.exe", true, true},
      {u"parvola.exe -a", true, true},
      {u"parvola.exe -ng", false, false},
      {u"parvola.exe -ng -a", false, true},
      {u"parvola.exe -NG -usb -rl -nt", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.commandLine));
    sim::Reset();
    sim::process().commandLine = c.commandLine;
    sim::desktop().events.push_back({platform::EventKind::kCloseRequest, mainWindow});

    EXPECT_EQ(RunProgram(), 0u);

    ASSERT_EQ(sim::desktop().objects.count(mainWindow), 1u) << "made in every mode";
    EXPECT_EQ(sim::desktop().objects[mainWindow].visible, c.visible);
    ASSERT_EQ(sim::desktop().animations.size(), c.animated ? 1u : 0u);
    for (const sim::Animation& animation : sim::desktop().animations) {
      EXPECT_EQ(animation.milliseconds, 420u);
      EXPECT_EQ(animation.flags, kHideFlags);
    }
    EXPECT_TRUE(sim::desktop().destroyed);
    EXPECT_EQ(sim::desktop().objects[ctlStatus].politeLiveRegion, c.visible);
    EXPECT_EQ(sim::desktop().comStarted, 0) << "COM, set up for the shown window, is undone";
    EXPECT_EQ(sim::process().loadedLibraries, 0);
    EXPECT_EQ(sim::process().openHandles, 1) << "the first instance keeps its mutex";
  }
}

TEST_F(StartupTest, OneShotOnWindowsAsWineCannotShowIt) {
  const struct {
    const char* what;
    Text commandLine;
    void (*arrange)();
  } cases[] = {
      // Each probe would wait for a click on "There is no disk in the drive".
      {"-rl probes an empty card-reader slot", u"parvola.exe -ng -rl",
       [] {
         sim::DefineName(u"E:", u"\\Device\\CardReader0");
         sim::AddDevice(u"\\Device\\CardReader0", {.driveType = 2, .medium = false});
       }},
      {"a new letter leads to a slot without a medium", u"parvola.exe -ng",
       [] { sim::AddListedVolume(sim::VolumePath(3)).medium = false; }},
      // Without the flag, every option would be ignored and nothing listed.
      {"Windows 7 without KB2533623", u"parvola.exe -ng", [] { sim::process().oldLoader = true; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::process().commandLine = c.commandLine;
    sim::DefineName(u"C:", sim::VolumePath(1));
    sim::AddDevice(sim::VolumePath(1));
    sim::AddListedVolume(sim::VolumePath(2)).label = u"DATA";
    c.arrange();

    EXPECT_EQ(RunProgram(), 0u);

    EXPECT_TRUE(sim::process().criticalErrorBoxes.empty());
    EXPECT_FALSE(sim::desktop().objects[mainWindow].visible);
    ASSERT_EQ(sim::desktop().objects[ctlDriveList].rows.size(), 1u);
    EXPECT_EQ(Narrow(sim::desktop().objects[ctlDriveList].rows[0]), "D: - DATA");
  }
}

TEST_F(StartupTest, ExitDuringABusQueryLeavesNoVolDefined) {
  // The query runs on a thread of its own, as on the scan thread, and stops
  // while it holds "vol" until the end has begun waiting.
  sim::process().commandLine = u"parvola.exe -ng -a -usb";
  sim::desktop().events.push_back({platform::EventKind::kMenuChoice, mainWindow, 0, 0, menuExit});
  sim::AddDevice(sim::VolumePath(2)).busType = 7;
  std::promise<void> holding;
  std::promise<void> goOn;
  sim::OnNextCall("CreateFileW", [&] {
    holding.set_value();
    goOn.get_future().wait();
  });
  std::thread query([] { (void)mounter::QueryVolumeBusType(sim::VolumePath(2)); });
  holding.get_future().wait();
  bool finished = false;
  // The held query ends, and the scan asks about its next volume: the end has
  // begun, so that query must not define "vol" again.
  const auto finish = [&] {
    if (std::exchange(finished, true)) return;
    goOn.set_value();
    query.join();
    (void)mounter::QueryVolumeBusType(sim::VolumePath(2));
  };
  sim::os().duringNextSleep = finish;

  EXPECT_EQ(RunProgram(), 0u);
  const std::optional<Text> volAtExit = sim::TargetOf(u"vol");
  finish();

  EXPECT_FALSE(volAtExit) << Narrow(*volAtExit);
  EXPECT_EQ(sim::CountCalls("DefineDosDeviceW 1 vol"), 1u);
  EXPECT_EQ(sim::Calls().back(), "ExitProcess 0");
}

}  // namespace
}  // namespace app
