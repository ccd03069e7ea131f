#include "app/window.h"

#include "platform/user32.h"

namespace app {
namespace {

constexpr int kClientWidth = 370;
constexpr int kClientHeight = 205;
constexpr std::uint32_t kLightBlue = 0xF6E5D0;  // RGB(208, 229, 246)

}  // namespace

void CreateWindowObjects() {
  platform::CreateMainWindow(mainWindow, kMainWindowTitle, kClientWidth, kClientHeight,
                             kLightBlue);
}

void RunEventLoop(const StartupFlags& flags) {
  if (flags.gui == 1) platform::ShowObject(mainWindow);
  for (;;) {
    const platform::Event event = platform::WaitForEvent();
    if (event.kind == platform::EventKind::kCloseRequest ||
        event.kind == platform::EventKind::kQuit) {
      return;
    }
  }
}

}  // namespace app
