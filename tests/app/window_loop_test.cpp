#include "app/window_loop.h"

#include <gtest/gtest.h>

#include <array>

#include "app/objects.h"
#include "app/texts.h"
#include "app/window.h"
#include "mounter/scan.h"
#include "tests/sim/sim.h"
#include "tests/sim/threads_sim.h"
#include "tests/sim/tray_sim.h"

namespace app {
namespace {

using platform::Event;
using platform::EventKind;

const Event kTick{EventKind::kTimer, wakeTimer};
const Event kRefreshButton{EventKind::kControlClick, ctlRefresh};
const Event kCloseButton{EventKind::kControlClick, ctlClose};
const Event kMenuRefresh{EventKind::kMenuChoice, mainWindow, 0, 0, menuRefresh};
const Event kMenuExit{EventKind::kMenuChoice, mainWindow, 0, 0, menuExit};
const Event kMenuWeb{EventKind::kMenuChoice, mainWindow, 0, 0, menuWeb};
const Event kCloseRequest{EventKind::kCloseRequest, mainWindow};

Event Key(std::uint32_t key, int focus) { return {EventKind::kKeyDown, focus, 0, 0, key}; }
Event Device(std::uint32_t event) { return {EventKind::kDeviceChange, mainWindow, 0, 0, event}; }
Event Tray(std::uint32_t mouse, int icon = trayIcon) {
  return {EventKind::kTrayNotification, icon, 0, 0, mouse};
}
Event Focus(int control) { return {EventKind::kFocusChange, control}; }

StartupFlags TrayOnly() { return {.gui = 0, .autoMount = 1}; }

class EventLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    SetTexts(MakeTextTable(0x0409));
    sim::desktop().objects[mainWindow];
  }
  void TearDown() override {
    EndEventLoop(loop_);
    sim::FinishAllThreads();
  }

  void Begin(StartupFlags flags = {}, bool trayIconAdded = true) {
    loop_ = EventLoop{flags};
    loop_.trayIconMissing = !trayIconAdded;
    BeginEventLoop(loop_);
  }
  // One turn on `event`; false when the loop ends.
  bool Turn(const Event& event) {
    sim::desktop().events.push_back(event);
    return TurnEventLoop(loop_);
  }
  // Starts and ends the first scan, leaving the loop idle.
  void BeginIdle(StartupFlags flags = {}) {
    Begin(flags);
    ASSERT_TRUE(Turn(kTick));
    ASSERT_EQ(Scans(), 1u);
    sim::FinishThread(0);
  }
  std::size_t Scans() const { return sim::threads().started.size(); }
  bool Running() const { return ScanRunning(loop_); }

  EventLoop loop_;
};

TEST_F(EventLoopTest, FirstTurnStartsTheFirstScanWithTheOptions) {
  for (const StartupFlags& flags : {StartupFlags{1, 1, 0}, TrayOnly()}) {
    SCOPED_TRACE(flags.gui);
    SetUp();
    Begin(flags);
    const bool shown = flags.gui == 1;
    EXPECT_EQ(sim::desktop().objects[mainWindow].visible, shown);
    EXPECT_EQ(sim::desktop().focus, shown ? ctlRefresh : 0) << "usable without a mouse";
    EXPECT_EQ(sim::CountCalls("CoInitializeEx"), shown ? 1u : 0u) << "nothing to read aloud";
    EXPECT_EQ(sim::desktop().timers[wakeTimer], 100u);
    EXPECT_EQ(Scans(), 0u) << "nothing before the first turn";
    ASSERT_TRUE(Turn(kTick));
    ASSERT_EQ(Scans(), 1u);
    const auto& options = *static_cast<const mounter::ScanOptions*>(sim::threads().started[0].argument);
    EXPECT_EQ((std::array{options.usbOnly, options.removeLetters, options.notify, options.gui}),
              (std::array{flags.usbOnly, flags.removeLetters, flags.notify, flags.gui}));
    EXPECT_TRUE(Running());
    sim::FinishAllThreads();
  }
}

TEST_F(EventLoopTest, MessagesQueuedBeforeTheLoopAreDispatchedButNotActedOn) {
  sim::desktop().alreadyQueued = {kCloseRequest, kCloseButton, kMenuExit, kRefreshButton};
  Begin();
  EXPECT_TRUE(sim::desktop().alreadyQueued.empty());
  EXPECT_TRUE(Turn(kTick)) << "no quit left over";
  EXPECT_EQ(Scans(), 1u);
  sim::FinishThread(0);
  EXPECT_TRUE(Turn(kTick));
  EXPECT_EQ(Scans(), 1u) << "no refresh left over";
}

// What each event does, once while idle and once during a scan. A request
// made during a scan is dropped, not kept for later. Enter presses Refresh
// wherever the focus is, but on another button; Esc is the close button,
// which does nothing during a scan. The hidden window becomes the foreground
// window after its tray menu, and no key counts there: a stray Esc once ended
// the program, Enter started a scan. Exit and a close request (Alt+F4 too)
// end the loop even during a scan. With "-a" the device-change hook runs
// while the loop waits, so arrivals and node changes start a scan at once.
TEST_F(EventLoopTest, WhatEachEventDoesWhileIdleAndDuringAScan) {
  enum Effect { kNothing, kScanAtNextTurn, kScanAtOnce, kEnds };
  const StartupFlags shown;
  const StartupFlags withAutoMount{.autoMount = 1};
  const struct {
    const char* what;
    Event event;
    StartupFlags flags;
    Effect idle;
    Effect duringAScan = kNothing;
  } cases[] = {
      {"Refresh button", kRefreshButton, shown, kScanAtNextTurn},
      {"menu Refresh", kMenuRefresh, shown, kScanAtNextTurn},
      {"Enter on Refresh", Key(platform::kKeyEnter, ctlRefresh), shown, kScanAtNextTurn},
      {"Enter on the list", Key(platform::kKeyEnter, ctlDriveList), shown, kScanAtNextTurn},
      {"Enter on the window", Key(platform::kKeyEnter, mainWindow), shown, kScanAtNextTurn},
      {"hidden: Esc", Key(platform::kKeyEscape, mainWindow), TrayOnly(), kNothing},
      {"hidden: Enter", Key(platform::kKeyEnter, mainWindow), TrayOnly(), kNothing},
      {"hidden: Enter on x", Key(platform::kKeyEnter, ctlClose), TrayOnly(), kNothing},
      {"close button", kCloseButton, shown, kEnds},
      {"Esc, wherever the focus is", Key(platform::kKeyEscape, ctlRefresh), shown, kEnds},
      {"Enter on the close button", Key(platform::kKeyEnter, ctlClose), shown, kEnds},
      {"menu Exit", kMenuExit, shown, kEnds, kEnds},
      {"close request", kCloseRequest, shown, kEnds, kEnds},
      {"close request, hidden", kCloseRequest, TrayOnly(), kEnds, kEnds},
      {"arrival", Device(platform::kDeviceArrival), withAutoMount, kScanAtOnce},
      {"node change", Device(platform::kDeviceNodesChanged), withAutoMount, kScanAtOnce},
      {"removal", Device(platform::kDeviceRemoveComplete), withAutoMount, kNothing},
      {"DBT_DEVICEQUERYREMOVE", Device(0x8001), withAutoMount, kNothing},
      {"arrival without -a", Device(platform::kDeviceArrival), shown, kNothing},
      {"menu web", kMenuWeb, shown, kNothing},
      // A left click, or another icon, opens no menu.
      {"left click on the icon", Tray(platform::kMouseLeftButtonDown), shown, kNothing},
      {"right click on another icon", Tray(platform::kMouseRightButtonDown, trayIcon + 1), shown,
       kNothing},
      {"tick", kTick, shown, kNothing},
      {"other", Event{EventKind::kOther, ctlDriveList}, shown, kNothing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    BeginIdle(c.flags);
    EXPECT_EQ(sim::desktop().deviceHook != nullptr, c.flags.autoMount == 1);
    EXPECT_EQ(Turn(c.event), c.idle != kEnds);
    if (c.idle != kEnds) {
      const std::size_t scans = c.idle == kNothing ? 1u : 2u;
      EXPECT_EQ(Scans(), c.idle == kScanAtOnce ? 2u : 1u) << "clicks count after the start check";
      EXPECT_TRUE(Turn(kTick));
      EXPECT_EQ(Scans(), scans);
      sim::FinishAllThreads();
      EXPECT_TRUE(Turn(kTick));
      EXPECT_TRUE(Turn(kTick));
      EXPECT_EQ(Scans(), scans) << "the request was used up";
      EXPECT_TRUE(sim::desktop().popups.empty());
    }
    sim::FinishAllThreads();

    SetUp();
    Begin(c.flags);
    EXPECT_TRUE(Turn(kTick));
    ASSERT_TRUE(Running());
    EXPECT_EQ(Turn(c.event), c.duringAScan != kEnds);
    if (c.duringAScan != kEnds) {
      ASSERT_TRUE(Turn(kTick)) << "a request made during a scan is checked while it runs";
      sim::FinishThread(0);
      EXPECT_TRUE(Turn(kTick)) << "no quit kept for later";
      EXPECT_TRUE(Turn(kTick));
      EXPECT_EQ(Scans(), 1u) << "nor a scan";
    }
    sim::FinishAllThreads();
  }
}

// Once the menu has closed, the keyboard goes back to the notification
// area: a hidden window would keep it, and an Alt+F4 meant for the desktop
// would end the program. A user who clicked into another program keeps it
// there, and a window that shows keeps it.
TEST_F(EventLoopTest, RightButtonOnTheTrayIconOpensTheMenuAndTheFocusGoesBack) {
  const struct {
    const char* what;
    int choice;
    bool shown;
    bool closedElsewhere;
    bool focusBack;
  } cases[] = {
      {"closed without a choice", 0, false, false, true},
      {"Refresh chosen", menuRefresh, false, false, true},
      {"Exit chosen", menuExit, false, false, true},
      {"closed by a click into another program", 0, false, true, false},
      {"chosen while the window shows", menuRefresh, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    BeginIdle(c.shown ? StartupFlags{} : TrayOnly());
    sim::desktop().menuChoice = c.choice;
    sim::desktop().menuClosedElsewhere = c.closedElsewhere;
    ASSERT_TRUE(Turn(Tray(platform::kMouseRightButtonDown)));
    EXPECT_EQ(sim::desktop().popups, (std::vector<std::pair<int, int>>{{trayMenu, mainWindow}}));
    EXPECT_EQ(sim::CountCalls("Shell_NotifyIconW NIM_SETFOCUS 34"), c.focusBack ? 1u : 0u);
    EXPECT_EQ(Turn(kTick), c.choice != menuExit) << "the choice is the next event";
    EXPECT_EQ(Turn(kTick) && Scans() == 2u, c.choice == menuRefresh);
    sim::FinishAllThreads();
  }
}

// Each forwarded at once: the default look marks the button Enter presses,
// and the colours follow high contrast.
TEST_F(EventLoopTest, FocusAndColourChangesChangeTheLook) {
  const Event kColoursChanged{EventKind::kColoursChanged, mainWindow};
  const struct {
    Event event;
    bool highContrast;
    int look;
    std::uint32_t background;  // of the window
    std::uint32_t footer;
  } cases[] = {
      {Focus(ctlClose), false, ctlClose, 0xF6E5D0, 0xFF0000},
      {Focus(ctlDriveList), false, ctlRefresh, 0xF6E5D0, 0xFF0000},
      {Focus(ctlRefresh), false, ctlRefresh, 0xF6E5D0, 0xFF0000},
      {kColoursChanged, true, ctlRefresh, platform::kSystemWindowColour,
       platform::kSystemWindowTextColour},
      {kColoursChanged, false, ctlRefresh, 0xF6E5D0, 0xFF0000},
  };
  CreateWindowObjects();
  BeginIdle();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.event.object << " high contrast " << c.highContrast);
    sim::desktop().highContrast = c.highContrast;
    ASSERT_TRUE(Turn(c.event));
    EXPECT_EQ(sim::desktop().defaultButton, c.look);
    EXPECT_EQ(sim::desktop().objects[mainWindow].background, c.background);
    EXPECT_EQ(sim::desktop().objects[ctlFooter].textColour, c.footer);
  }
}

// A Windows PE whose shell starts after the program, a full Windows whose
// shell is busy at logon and never announces a start, a shell that starts
// afresh: without its icon the tray mode cannot be reached.
TEST_F(EventLoopTest, TheTrayIconIsAddedAgainUntilTheShellHasIt) {
  const struct {
    const char* what;
    bool shellRunning;
    int busyRefusals;
    int ticks;
    bool shellStarts;  // "TaskbarCreated" after the ticks
    std::size_t adds;
    bool shown;
  } cases[] = {
      {"taken at once", true, 0, 3 * kTrayRetryTicks, false, 1, true},
      {"busy shell, not yet tried again", true, 2, kTrayRetryTicks - 1, false, 1, false},
      {"busy shell, refused twice", true, 2, 3 * kTrayRetryTicks, false, 3, true},
      {"started late", false, 0, 0, true, 2, true},
      {"started afresh", true, 0, 0, true, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    sim::tray().shellRunning = c.shellRunning;
    sim::tray().busyRefusals = c.busyRefusals;
    Begin(TrayOnly(), CreateWindowObjects());
    for (int tick = 0; tick < c.ticks; ++tick) ASSERT_TRUE(Turn(kTick));
    if (c.shellStarts) {
      sim::tray().shellRunning = true;
      sim::tray().icons.clear();
      ASSERT_TRUE(Turn({EventKind::kShellStarted, mainWindow}));
    }
    EXPECT_EQ(sim::CountCalls("Shell_NotifyIconW NIM_ADD 34"), c.adds);
    EXPECT_EQ(sim::tray().icons.size(), c.shown ? 1u : 0u);
    sim::FinishAllThreads();
  }
}

TEST_F(EventLoopTest, PressesInTheTitleStripMoveTheWindow) {
  const struct {
    int x;
    int y;
    int object;
    bool moves;
  } cases[] = {
      {0, 0, mainWindow, true},
      {450, 0, mainWindow, true},
      {0, 33, mainWindow, true},
      {450, 33, mainWindow, true},
      {100, 33, ctlRule, true},     // on the rule itself
      {0, 34, mainWindow, false},
      {451, 10, mainWindow, false},
      {-1, 10, mainWindow, false},
      {10, -1, mainWindow, false},
      // A move would take the button's mouse capture and swallow its click.
      {350, 10, ctlClose, false},
  };
  BeginIdle();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    sim::desktop().drags.clear();
    ASSERT_TRUE(Turn({EventKind::kLeftButtonDown, c.object, c.x, c.y}));
    EXPECT_EQ(sim::desktop().drags, c.moves ? std::vector<int>{mainWindow} : std::vector<int>{});
  }
}

TEST_F(EventLoopTest, AThreadThatCannotStartLeavesTheLoopIdleAndIsTriedAgain) {
  sim::FailCall("CreateThread");
  Begin();
  ASSERT_TRUE(Turn(kTick));
  EXPECT_EQ(Scans(), 0u);
  ASSERT_TRUE(Turn(kRefreshButton));
  ASSERT_TRUE(Turn(kTick));
  EXPECT_EQ(sim::CountCalls("CreateThread"), 2u);
  EXPECT_FALSE(Turn(kCloseButton)) << "idle, so the close button works";
}

TEST_F(EventLoopTest, RunEventLoopRemovesItsHookWhenItEnds) {
  StartupFlags flags;
  flags.autoMount = 1;
  sim::desktop().events = {kTick, kCloseRequest, kTick};
  RunEventLoop(flags, true);
  EXPECT_EQ(sim::desktop().deviceHook, nullptr);
  EXPECT_EQ(sim::desktop().events.size(), 1u) << "ends on the close request";
  EXPECT_EQ(Scans(), 1u);
}

}  // namespace
}  // namespace app
