#include "app/window_loop.h"

#include <gtest/gtest.h>

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
Event Press(int x, int y, int object = mainWindow) {
  return {EventKind::kLeftButtonDown, object, x, y};
}
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
    const auto* options = static_cast<const mounter::ScanOptions*>(sim::threads().started[0].argument);
    EXPECT_EQ(options->usbOnly, flags.usbOnly);
    EXPECT_EQ(options->removeLetters, flags.removeLetters);
    EXPECT_EQ(options->notify, flags.notify);
    EXPECT_EQ(options->gui, flags.gui);
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

// Enter presses Refresh wherever the focus is, but on another button. The
// hidden window becomes the foreground window after its tray menu, and no
// key counts there: a stray Esc once ended the program, Enter started a scan.
TEST_F(EventLoopTest, RefreshWhileIdleStartsOneScanAtTheNextTurn) {
  const struct {
    const char* what;
    Event refresh;
    bool hidden;
  } cases[] = {
      {"button", kRefreshButton, false},
      {"menu", kMenuRefresh, false},
      {"Enter on Refresh", Key(platform::kKeyEnter, ctlRefresh), false},
      {"Enter on the list", Key(platform::kKeyEnter, ctlDriveList), false},
      {"Enter on the window", Key(platform::kKeyEnter, mainWindow), false},
      {"hidden: Esc", Key(platform::kKeyEscape, mainWindow), true},
      {"hidden: Enter", Key(platform::kKeyEnter, mainWindow), true},
      {"hidden: Enter on Refresh", Key(platform::kKeyEnter, ctlRefresh), true},
      {"hidden: Enter on x", Key(platform::kKeyEnter, ctlClose), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    BeginIdle(c.hidden ? TrayOnly() : StartupFlags{});
    ASSERT_TRUE(Turn(c.refresh));
    EXPECT_EQ(Scans(), 1u) << "the request is made after this turn's start check";
    ASSERT_TRUE(Turn(kTick));
    EXPECT_EQ(Scans(), c.hidden ? 1u : 2u);
    ASSERT_TRUE(Turn(kTick));
    EXPECT_EQ(Scans(), c.hidden ? 1u : 2u) << "the request was used up";
    sim::FinishAllThreads();
  }
}

TEST_F(EventLoopTest, ScanRequestsDuringAScanAreDroppedNotQueued) {
  const struct {
    const char* what;
    Event request;
    std::int64_t autoMount;
  } cases[] = {
      {"button", kRefreshButton, 0},
      {"menu", kMenuRefresh, 0},
      {"device arrival", Device(platform::kDeviceArrival), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    StartupFlags flags;
    flags.autoMount = c.autoMount;
    Begin(flags);
    ASSERT_TRUE(Turn(kTick));
    ASSERT_TRUE(Turn(c.request));
    ASSERT_TRUE(Turn(kTick));
    EXPECT_EQ(Scans(), 1u);
    sim::FinishThread(0);
    ASSERT_TRUE(Turn(kTick));
    ASSERT_TRUE(Turn(kTick));
    EXPECT_EQ(Scans(), 1u) << "nothing started after the running scan ended";
  }
}

// Exit and a close request (Alt+F4 too, hidden or not) end the loop even
// during a scan; the close button, and the keys that press it, then do
// nothing and leave nothing pending.
TEST_F(EventLoopTest, CloseButtonDuringAScanDoesNothingButExitAndCloseRequestsEnd) {
  const struct {
    const char* what;
    Event close;
    bool ends;  // during the scan
    bool hidden;
  } cases[] = {
      {"button", kCloseButton, false, false},
      {"Esc, wherever the focus is", Key(platform::kKeyEscape, ctlRefresh), false, false},
      {"Enter on the close button", Key(platform::kKeyEnter, ctlClose), false, false},
      {"menu Exit", kMenuExit, true, false},
      {"close request", kCloseRequest, true, false},
      {"close request, hidden", kCloseRequest, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    Begin(c.hidden ? TrayOnly() : StartupFlags{});
    ASSERT_TRUE(Turn(kTick));
    ASSERT_TRUE(Running());
    EXPECT_EQ(Turn(c.close), !c.ends);
    sim::FinishThread(0);
    if (!c.ends) {
      EXPECT_TRUE(Turn(kTick)) << "no quit kept for later";
      EXPECT_EQ(Scans(), 1u) << "nor a scan";
      EXPECT_FALSE(Turn(c.close)) << "while idle it ends the program";
    }
    sim::FinishAllThreads();
  }
}

TEST_F(EventLoopTest, MenuWebAndOtherEventsDoNothing) {
  BeginIdle();
  for (const Event& event : {kMenuWeb, Tray(platform::kMouseLeftButtonDown), kTick,
                             Tray(platform::kMouseRightButtonDown, trayIcon + 1),
                             Event{EventKind::kOther, ctlDriveList}}) {
    EXPECT_TRUE(Turn(event));
  }
  EXPECT_TRUE(Turn(kTick));
  EXPECT_EQ(Scans(), 1u);
  EXPECT_TRUE(sim::desktop().popups.empty()) << "a left click, or another icon, opens nothing";
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
      {Focus(ctlClose), false, ctlClose, 0xF6E5D0, 0xFF0000},
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
      {120, 15, mainWindow, true},
      {280, 20, ctlVersion, true},  // over the version text
      {100, 33, ctlRule, true},     // on the rule itself
      {0, 34, mainWindow, false},
      {200, 100, ctlPage, false},
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
    ASSERT_TRUE(Turn(Press(c.x, c.y, c.object)));
    EXPECT_EQ(sim::desktop().drags, c.moves ? std::vector<int>{mainWindow} : std::vector<int>{});
  }
}

TEST_F(EventLoopTest, OnlyWithAutoMountArrivalAndNodeChangesRequestAScanAtOnce) {
  const struct {
    std::uint32_t event;
    bool scans;
    std::int64_t autoMount = 1;
  } cases[] = {
      {platform::kDeviceArrival, true},
      {platform::kDeviceNodesChanged, true},
      {platform::kDeviceRemoveComplete, false},
      {0x8001, false},  // DBT_DEVICEQUERYREMOVE
      {0x0018, false},  // DBT_CONFIGCHANGED
      {platform::kDeviceArrival, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.event << " -a " << c.autoMount);
    SetUp();
    StartupFlags flags;
    flags.autoMount = c.autoMount;
    BeginIdle(flags);
    EXPECT_EQ(sim::desktop().deviceHook != nullptr, c.autoMount == 1);
    ASSERT_TRUE(Turn(Device(c.event)));
    EXPECT_EQ(Scans(), c.scans ? 2u : 1u) << "the hook runs while the loop waits";
    ASSERT_TRUE(Turn(kTick));
    EXPECT_EQ(Scans(), c.scans ? 2u : 1u);
    sim::FinishAllThreads();
  }
}

TEST_F(EventLoopTest, AThreadThatCannotStartLeavesTheLoopIdleAndIsTriedAgain) {
  sim::FailCall("CreateThread");
  Begin();
  ASSERT_TRUE(Turn(kTick));
  EXPECT_EQ(Scans(), 0u);
  EXPECT_FALSE(Running());
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
