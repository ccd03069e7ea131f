#pragma once
// The event loop over the window layer's event records, and the scan worker
// it starts. Everything here runs on the main thread except ScanWorker.
#include "app/options.h"
#include "platform/kernel32.h"
#include "platform/user32.h"

namespace app {

struct EventLoop {
  StartupFlags flags;
  bool scanRequested = false;
  bool quitRequested = false;
  platform::Handle scanThread = 0;  // the last scan thread started; 0 before the first
  // The shell has refused the tray icon since it last tried: it is tried
  // again every kTrayRetryTicks ticks of the wake timer.
  bool trayIconMissing = false;
  int ticksWithoutTrayIcon = 0;
};

inline constexpr int kTrayRetryTicks = 30;

// Before the first turn: the device-change hook (with "-a"), the window
// with the focus on Refresh (with the window shown), the wake timer, the
// first scan request, and every message already queued, dispatched without
// acting on it.
void BeginEventLoop(EventLoop& loop);
// Waits for the next event and acts on it. False once the loop must end.
bool TurnEventLoop(EventLoop& loop);
// The checks made on each event, in their order.
void ActOnEvent(EventLoop& loop, const platform::Event& event);
// Removes the hook, which points at `loop`.
void EndEventLoop(EventLoop& loop);
// The whole loop: runs until the user ends the program (window mode or
// tray only).
void RunEventLoop(const StartupFlags& flags, bool trayIconAdded);

bool ScanRunning(const EventLoop& loop);
// The strip from the top of the window down to the rule under the title.
bool InTitleStrip(int x, int y);

// The entry of a scan thread: runs one scan with the mounter::ScanOptions
// record it is given, then frees the record.
void ScanWorker(void* options);

}  // namespace app
