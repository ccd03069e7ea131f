#include "app/window_loop.h"

#include <memory>

#include "app/objects.h"
#include "app/window.h"
#include "mounter/scan.h"
#include "platform/shell32.h"
#include "platform/threads.h"

namespace app {
namespace {

using platform::EventKind;

constexpr unsigned kWakeMilliseconds = 100;
constexpr int kStripRight = 450;
constexpr int kStripBottom = 33;

void OnDeviceChange(void* context, std::uint32_t event) {
  // A removal alone asks for nothing; the node change that comes with it
  // does.
  if (event == platform::kDeviceArrival || event == platform::kDeviceNodesChanged) {
    static_cast<EventLoop*>(context)->scanRequested = true;
  }
}

// A request made while a scan runs is dropped, not kept for later.
void StartScanIfIdle(EventLoop& loop) {
  if (ScanRunning(loop)) return;
  if (loop.scanThread != 0) {
    platform::CloseThread(loop.scanThread);
    loop.scanThread = 0;
  }
  auto options = std::make_unique<mounter::ScanOptions>(mounter::ScanOptions{
      loop.flags.usbOnly, loop.flags.removeLetters, loop.flags.notify, loop.flags.gui});
  const platform::Handle thread = platform::StartThread(&ScanWorker, options.get());
  // A thread that did not start leaves the record to us; the next request
  // tries again.
  if (thread == 0) return;
  (void)options.release();
  loop.scanThread = thread;
}

// Enter presses the focused button, and Refresh wherever else the focus is.
int ButtonForEnter(int focus) { return focus == ctlClose ? ctlClose : ctlRefresh; }

// Esc is the close button, with its rule. Keys count only in a window that
// is shown: the hidden one of the tray mode becomes the foreground window
// after its menu, and a stray Esc there must not end the program.
platform::Event AsButtonPress(const EventLoop& loop, const platform::Event& event) {
  if (event.kind != EventKind::kKeyDown) return event;
  if (loop.flags.gui != 1) return {EventKind::kOther, event.object};
  if (event.value == platform::kKeyEscape) return {EventKind::kControlClick, ctlClose};
  if (event.value != platform::kKeyEnter) return event;
  return {EventKind::kControlClick, ButtonForEnter(event.object)};
}

// Each try starts the count to the next one afresh.
void TryTrayIcon(EventLoop& loop) {
  loop.ticksWithoutTrayIcon = 0;
  loop.trayIconMissing = !AddTrayIcon();
}

// A shell busy at logon may refuse the icon and never announce a start;
// without its icon the tray mode could not be reached.
void RetryTrayIcon(EventLoop& loop) {
  if (loop.trayIconMissing && ++loop.ticksWithoutTrayIcon >= kTrayRetryTicks) TryTrayIcon(loop);
}

}  // namespace

bool ScanRunning(const EventLoop& loop) {
  return loop.scanThread != 0 && platform::ThreadRunning(loop.scanThread);
}

bool InTitleStrip(int x, int y) {
  return x >= 0 && x <= kStripRight && y >= 0 && y <= kStripBottom;
}

void ScanWorker(void* options) {
  const std::unique_ptr<mounter::ScanOptions> owned(static_cast<mounter::ScanOptions*>(options));
  mounter::RunScan(*owned);
}

void BeginEventLoop(EventLoop& loop) {
  if (loop.flags.autoMount == 1) platform::SetDeviceChangeHook(&OnDeviceChange, &loop);
  if (loop.flags.gui == 1) ShowMainWindow();
  platform::StartTimer(mainWindow, wakeTimer, kWakeMilliseconds);
  loop.scanRequested = true;
  platform::DrainEvents();
}

void ActOnEvent(EventLoop& loop, const platform::Event& received) {
  const platform::Event event = AsButtonPress(loop, received);
  switch (event.kind) {
    case EventKind::kCloseRequest:
      if (event.object == mainWindow) loop.quitRequested = true;
      break;
    case EventKind::kQuit:
      // Nothing can arrive any more.
      loop.quitRequested = true;
      break;
    case EventKind::kLeftButtonDown:
      // The close button lies in the strip too; a move started from it
      // would take its mouse capture and swallow the click.
      if (InTitleStrip(event.x, event.y) && event.object != ctlClose) {
        platform::DragObject(mainWindow);
      }
      break;
    default:
      break;
  }

  if (loop.scanRequested) {
    loop.scanRequested = false;
    StartScanIfIdle(loop);
  }

  switch (event.kind) {
    case EventKind::kTrayNotification:
      if (event.object != trayIcon || event.value != platform::kMouseRightButtonDown) break;
      platform::ShowPopupMenu(trayMenu, mainWindow);
      // Once its menu has closed, chosen from or not, the icon hands the
      // keyboard back to the notification area; a hidden window would keep
      // it, and Alt+F4 meant for the desktop would end the program. A user
      // who closed the menu by clicking into another program keeps it there.
      if (!platform::ObjectVisible(mainWindow) && platform::ObjectInForeground(mainWindow)) {
        platform::FocusTrayIcon(mainWindow, trayIcon);
      }
      break;
    case EventKind::kMenuChoice:
      if (event.value == static_cast<std::uint32_t>(menuRefresh)) loop.scanRequested = true;
      if (event.value == static_cast<std::uint32_t>(menuExit)) loop.quitRequested = true;
      break;
    case EventKind::kControlClick:
      if (event.object == ctlClose && !ScanRunning(loop)) loop.quitRequested = true;
      if (event.object == ctlRefresh) loop.scanRequested = true;
      break;
    case EventKind::kFocusChange:
      // The default look marks what Enter would press, as in a dialog.
      platform::SetDefaultButton(ButtonForEnter(event.object));
      break;
    case EventKind::kTimer:
      if (event.object == wakeTimer) RetryTrayIcon(loop);
      break;
    case EventKind::kShellStarted:
      TryTrayIcon(loop);
      break;
    case EventKind::kColoursChanged:
      ApplyColours();
      break;
    default:
      break;
  }
}

bool TurnEventLoop(EventLoop& loop) {
  ActOnEvent(loop, platform::WaitForEvent());
  return !loop.quitRequested;
}

void EndEventLoop(EventLoop&) { platform::SetDeviceChangeHook(nullptr, nullptr); }

void RunEventLoop(const StartupFlags& flags, bool trayIconAdded) {
  EventLoop loop{flags};
  loop.trayIconMissing = !trayIconAdded;
  BeginEventLoop(loop);
  while (TurnEventLoop(loop)) {
  }
  EndEventLoop(loop);
}

}  // namespace app
