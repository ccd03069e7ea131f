#include "app/startup.h"

#include "app/options.h"
#include "app/texts.h"
#include "app/window.h"
#include "app/window_loop.h"
#include "mounter/enumerate.h"
#include "mounter/scan.h"
#include "platform/kernel32.h"
#include "platform/ole32.h"
#include "platform/system.h"
#include "platform/user32.h"

namespace app {
namespace {

constexpr char16_t kMutexName[] = u"Parvola";
constexpr char16_t kNoticeCaption[] = u"Parvola";
constexpr unsigned kHideMilliseconds = 420;
constexpr unsigned kHideFlags = 0x50010;  // AW_SLIDE | AW_HIDE | AW_CENTER

[[noreturn]] void End(Mode mode) {
  // Exit during a "-usb" scan must not leave "vol" defined behind it.
  const mounter::BusQueryHold hold;
  if (mode == Mode::kInteractive) {
    platform::AnimateObject(mainWindow, kHideMilliseconds, kHideFlags);
  }
  platform::DestroyObjects();
  platform::EndCom();
  platform::ExitProcess(0);
}

[[noreturn]] void EndAsSecondInstance(platform::Handle mutex) {
  platform::ReleaseMutex(mutex);
  platform::CloseHandle(mutex);
  platform::ShowMessageBox(kNoticeCaption, Texts()[kTextNothingFound]);
  // The hidden window of "-ng -a" made the foreground window would take the
  // keys meant for the desktop, and Alt+F4 would end it.
  if (const platform::Window first = platform::FindWindowByTitle(kMainWindowTitle);
      first != 0 && platform::WindowShown(first)) {
    platform::SetForegroundWindow(first);
  }
  End(Mode::kOneShot);
}

}  // namespace

void Run() {
  // Before anything touches a drive: probing an empty card-reader slot must
  // fail, not wait for a click on a system box (in one-shot mode, forever).
  platform::FailCriticalErrors();
  SetTexts(MakeTextTable(platform::GetUserDefaultLangID()));

  // The first instance keeps its handle until the process ends. A failed
  // creation counts as being the first instance.
  const platform::MutexResult mutex = platform::CreateNamedMutex(kMutexName);
  if (mutex.alreadyExisted) EndAsSecondInstance(mutex.handle);

  StartupFlags flags;
  ReadOptions(SplitCommandLine(), flags);

  const bool trayIconAdded = CreateWindowObjects();
  const Mode mode = ChooseMode(flags);
  if (mode == Mode::kOneShot) {
    mounter::RunScan({flags.usbOnly, flags.removeLetters, flags.notify, 1});
  } else {
    RunEventLoop(flags, trayIconAdded);
  }
  End(mode);
}

}  // namespace app
