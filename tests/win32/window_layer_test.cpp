// The real window layer under Wine: what each message becomes as an event.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <dbt.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ole32.h"
#include "platform/resources.h"
#include "platform/shell32.h"
#include "platform/threads.h"
#include "platform/user32.h"
#include "platform/win32/objects_win32.h"

namespace platform {
namespace {

constexpr int kMain = 10, kPage = 20, kButton = 30, kText = 19, kList = 28, kTimer = 35;

class WindowLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateMainWindow(kMain, u" Layer test", 370, 205, 0xF6E5D0));
    ASSERT_TRUE(CreateControl({kText, ControlKind::kStaticText, kMain, {270, 12, 50, 20}, u"V."}));
    ASSERT_TRUE(CreateControl({kPage, ControlKind::kContainer, kMain, {8, 35, 359, 170}, u""}));
    ASSERT_TRUE(CreateControl({kButton, ControlKind::kPushButton, kPage, {170, 140, 70, 25}, u"Go"}));
    ASSERT_TRUE(CreateControl({kList, ControlKind::kList, kPage, {70, 35, 280, 100}, u""}));
    DrainEvents();
  }
  void TearDown() override {
    SetDeviceChangeHook(nullptr, nullptr);
    DestroyObjects();
  }
  static HWND Of(int number) { return win32::WindowOf(number); }
};

// The next event that is not a focus change, which a click or showing the
// window may bring first.
Event NextEventButFocus() {
  Event event = WaitForEvent();
  while (event.kind == EventKind::kFocusChange) event = WaitForEvent();
  return event;
}

TEST_F(WindowLayer, MessagesBecomeEventRecords) {
  const struct {
    const char* name;
    std::function<void()> send;
    Event expected;
  } cases[] = {
      {"close request", [] { ::SendMessageW(Of(kMain), WM_CLOSE, 0, 0); },
       {EventKind::kCloseRequest, kMain}},
      {"button inside the container",
       [] { ::SendMessageW(Of(kButton), BM_CLICK, 0, 0); },
       {EventKind::kControlClick, kButton}},
      {"menu item", [] { ::SendMessageW(Of(kMain), WM_COMMAND, MAKEWPARAM(3, 0), 0); },
       {EventKind::kMenuChoice, kMain, 0, 0, 3}},
      {"tray right button",
       [] { ::SendMessageW(Of(kMain), WM_APP + 1, 34, WM_RBUTTONDOWN); },
       {EventKind::kTrayNotification, 34, 0, 0, WM_RBUTTONDOWN}},
      {"press on a text, in the main window's client area",
       [] { ::PostMessageW(Of(kText), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6)); },
       {EventKind::kLeftButtonDown, kText, 275, 18}},
      {"press on the main window",
       [] { ::PostMessageW(Of(kMain), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(450, 33)); },
       {EventKind::kLeftButtonDown, kMain, 450, 33}},
      // Last: it goes on ticking.
      {"timer tick", [] { ASSERT_TRUE(StartTimer(kMain, kTimer, 10)); },
       {EventKind::kTimer, kTimer}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.send();
    const Event event = NextEventButFocus();
    EXPECT_EQ(event.kind, c.expected.kind);
    EXPECT_EQ(event.object, c.expected.object);
    EXPECT_EQ(event.x, c.expected.x);
    EXPECT_EQ(event.y, c.expected.y);
    EXPECT_EQ(event.value, c.expected.value);
  }
  EXPECT_TRUE(::IsWindow(Of(kMain))) << "a close request never closes the window itself";
}

// Hidden, as in the tray mode, where the window becomes the foreground
// window after its menu: no key does anything. Shown, Enter and Esc are
// events of their own, not the commands 1 and 2 of the system's dialog keys
// (those are the tray menu's items).
TEST_F(WindowLayer, KeysActOnlyWhileTheWindowIsShown) {
  const struct {
    const char* name;
    bool shown;
    int to;
    WPARAM key;
    EventKind expected;
  } cases[] = {
      {"Esc, hidden", false, kList, VK_ESCAPE, EventKind::kOther},
      {"Enter, hidden", false, kButton, VK_RETURN, EventKind::kOther},
      {"Space on a button, hidden", false, kButton, VK_SPACE, EventKind::kOther},
      {"Tab, hidden", false, kMain, VK_TAB, EventKind::kOther},
      {"Enter on a button", true, kButton, VK_RETURN, EventKind::kKeyDown},
      {"Esc on the list", true, kList, VK_ESCAPE, EventKind::kKeyDown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.shown && !::IsWindowVisible(Of(kMain))) {
      ShowObject(kMain);
      DrainEvents();
    }
    const HWND focus = ::GetFocus();
    ::PostMessageW(Of(c.to), WM_KEYDOWN, c.key, 1);
    if (!c.shown) ::PostMessageW(Of(c.to), WM_KEYUP, c.key, 0xC0000001);
    const Event event = NextEventButFocus();
    EXPECT_EQ(event.kind, c.expected);
    EXPECT_EQ(event.object, c.to);
    if (c.shown) {
      EXPECT_EQ(event.value, c.key);
      continue;
    }
    EXPECT_EQ(NextEventButFocus().kind, EventKind::kOther) << "the key's release";
    ::PostMessageW(Of(kMain), WM_NULL, 0, 0);
    EXPECT_EQ(WaitForEvent().kind, EventKind::kOther) << "no click followed";
    EXPECT_EQ(::GetFocus(), focus);
  }
}

TEST_F(WindowLayer, TheDefaultLookGoesToOneButtonAndFocusChangesAreReported) {
  constexpr int kOther = 16;
  ASSERT_TRUE(CreateControl({kOther, ControlKind::kPushButton, kMain, {340, 4, 25, 25}, u"x"}));
  ShowObject(kMain);
  DrainEvents();
  for (const int number : {kButton, kOther, kButton}) {
    SCOPED_TRACE(number);
    SetDefaultButton(number);
    for (const int button : {kButton, kOther}) {
      EXPECT_EQ(::GetWindowLongW(Of(button), GWL_STYLE) & BS_TYPEMASK,
                button == number ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    }
    FocusObject(number);
    ::PostMessageW(Of(kMain), WM_NULL, 0, 0);
    const Event event = WaitForEvent();
    EXPECT_EQ(event.kind, EventKind::kFocusChange);
    EXPECT_EQ(event.object, number);
  }
}

TEST_F(WindowLayer, DeviceChangesReachTheHookDuringDispatch) {
  struct Seen {
    std::vector<std::uint32_t> events;
  } seen;
  SetDeviceChangeHook([](void* context, std::uint32_t event) {
    static_cast<Seen*>(context)->events.push_back(event);
  }, &seen);
  ::SendMessageW(Of(kMain), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  ::SendMessageW(Of(kMain), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  EXPECT_EQ(seen.events, (std::vector<std::uint32_t>{DBT_DEVICEARRIVAL, DBT_DEVNODES_CHANGED}));

  SetDeviceChangeHook(nullptr, nullptr);
  ::SendMessageW(Of(kMain), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_EQ(seen.events.size(), 2u);
}

TEST_F(WindowLayer, QueuedMessagesAreDrainedUnreported) {
  ::PostMessageW(Of(kMain), WM_CLOSE, 0, 0);
  ::PostMessageW(Of(kMain), WM_COMMAND, MAKEWPARAM(2, 0), 0);
  ::PostMessageW(Of(kMain), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  DrainEvents();
  EXPECT_EQ(WaitForEvent().kind, EventKind::kShellStarted) << "the icon is not lost";
  ::PostMessageW(Of(kMain), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 2));
  EXPECT_EQ(WaitForEvent().kind, EventKind::kLeftButtonDown);
}

TEST_F(WindowLayer, TextsAndRowsWrittenFromAnotherThreadArriveWhileTheMainThreadWaits) {
  std::atomic<bool> done = false;
  std::thread writer([&] {
    SetObjectText(kText, u"from the scan");
    ClearListRows(kList);
    AppendListRow(kList, u"E: - DATA");
    AppendListRow(kList, u"F: - ");
    done = true;
    ::PostMessageW(Of(kMain), WM_NULL, 0, 0);
  });
  while (!done) (void)WaitForEvent();
  writer.join();
  wchar_t text[64] = {};
  ::GetWindowTextW(Of(kText), text, 64);
  EXPECT_STREQ(text, L"from the scan");
  ASSERT_EQ(::SendMessageW(Of(kList), LVM_GETITEMCOUNT, 0, 0), 2);
  wchar_t row[64] = {};
  ListView_GetItemText(Of(kList), 1, 0, row, 64);
  EXPECT_STREQ(row, L"F: - ") << "appended at the end";
  EXPECT_EQ(ListView_GetNextItem(Of(kList), -1, LVNI_FOCUSED), 0)
      << "Tab onto the list shows where the arrow keys start";
  EXPECT_EQ(ListView_GetNextItem(Of(kList), -1, LVNI_SELECTED), -1) << "nothing is selected";
}

TEST_F(WindowLayer, ListColumnFillsTheListAndTheImageKeepsItsSize) {
  AddListColumn(kList, u"", 100);
  EXPECT_EQ(ListView_GetColumnWidth(Of(kList), 0), 100);
  // Filled again once the rows bring the vertical bar, it narrows with the
  // client area, and no sideways bar shows.
  for (const int rows : {0, 9}) {
    SCOPED_TRACE(rows);
    for (int row = 0; row < rows; ++row) AppendListRow(kList, u"E: - DATA");
    FillListColumn(kList, 0);
    RECT client;
    ::GetClientRect(Of(kList), &client);
    EXPECT_EQ(ListView_GetColumnWidth(Of(kList), 0), client.right);
    EXPECT_EQ(::GetWindowLongW(Of(kList), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL),
              rows == 0 ? 0 : WS_VSCROLL);
  }

  ASSERT_TRUE(CreateControl({29, ControlKind::kImage, kPage, {10, 50, 60, 54}, u""}));
  SetObjectIcon(29, reinterpret_cast<Icon>(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION))));
  RECT image;
  ::GetWindowRect(Of(29), &image);
  EXPECT_EQ(image.right - image.left, 60);
  EXPECT_EQ(image.bottom - image.top, 54);
  EXPECT_NE(::SendMessageW(Of(29), STM_GETICON, 0, 0), 0);
}

// The icon is made once and kept, so that a shell that has lost it gets it
// again and the end deletes it; an add the shell has already taken counts.
TEST_F(WindowLayer, TheTrayIconIsKeptForTheShellAndDeletedAtTheEnd) {
  NOTIFYICONDATAW icon = {sizeof(icon)};
  icon.hWnd = Of(kMain);
  icon.uID = 34;
  ASSERT_TRUE(AddTrayIcon(kMain, 34, ProgramFilePath(), u"tip"));
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon)) << "as a shell that starts afresh";
  EXPECT_TRUE(AddTrayIcon(kMain, 34, u"C:\\no\\such\\file.exe", u"tip")) << "the kept icon";
  EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &icon)) << "the shell has it again";
  EXPECT_TRUE(AddTrayIcon(kMain, 34, ProgramFilePath(), u"tip")) << "a shell that has it";
  DestroyObjects();
  EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &icon)) << "deleted at the end";
}

TEST_F(WindowLayer, WindowIconIsTheProgramsIconInBothSizes) {
  // This binary carries the program's resources, icon group 1 among them.
  SetWindowIcon(kMain, 1);
  for (const auto& [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
    SCOPED_TRACE(kind);
    const int size = ::GetSystemMetrics(metric);
    const HANDLE expected = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                         IMAGE_ICON, size, size, LR_SHARED);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(::SendMessageW(Of(kMain), WM_GETICON, kind, 0), reinterpret_cast<LRESULT>(expected));
  }
}

TEST_F(WindowLayer, FocusComesBackToItsControlWithTheWindow) {
  ShowObject(kMain);
  FocusObject(kButton);
  EXPECT_EQ(::GetFocus(), Of(kButton));
  const HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
  ::SetActiveWindow(other);
  ASSERT_NE(::GetFocus(), Of(kButton));
  ::SetActiveWindow(Of(kMain));
  EXPECT_EQ(::GetFocus(), Of(kButton));
  ::DestroyWindow(other);
}

TEST_F(WindowLayer, DestroyingForgetsEveryObject) {
  const HWND main = Of(kMain);
  DestroyObjects();
  EXPECT_FALSE(::IsWindow(main));
  EXPECT_EQ(Of(kMain), nullptr);
  EXPECT_EQ(Of(kButton), nullptr);
  SetObjectText(kText, u"after the end");  // harmless
}

TEST(Threads, RunningUntilTheEntryReturns) {
  static HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const Handle thread = StartThread([](void*) { ::WaitForSingleObject(release, INFINITE); }, nullptr);
  ASSERT_NE(thread, 0u);
  EXPECT_TRUE(ThreadRunning(thread));
  ::SetEvent(release);
  ::WaitForSingleObject(reinterpret_cast<HANDLE>(thread), 5000);
  EXPECT_FALSE(ThreadRunning(thread));
  CloseThread(thread);
}

// EndCom undoes only what StartCom did: a thread already in the
// multithreaded apartment keeps it, one that StartCom set up leaves it.
TEST(Com, EndUndoesOnlyWhatStartDid) {
  for (const bool alreadyMultithreaded : {false, true}) {
    std::thread([&] {
      if (alreadyMultithreaded) ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      StartCom();
      EndCom();
      const HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      EXPECT_EQ(after, alreadyMultithreaded ? S_FALSE : S_OK) << alreadyMultithreaded;
      for (int undo = alreadyMultithreaded ? 2 : 1; undo > 0; --undo) ::CoUninitialize();
    }).join();
  }
}

TEST(Resources, ProgramFileAndMissingResources) {
  const Text self = ProgramFilePath();
  ASSERT_GE(self.size(), 4u);
  EXPECT_EQ(self.substr(self.size() - 4), u".exe");
  const Module module = LoadDataFile(self);
  ASSERT_NE(module, 0u);
  EXPECT_EQ(ReadResource(module, kResourceIconGroup, 4242), std::nullopt);
  FreeLibrary(module);
  EXPECT_EQ(LoadDataFile(u"C:\\no\\such\\file.exe"), 0u);
}

}  // namespace
}  // namespace platform
