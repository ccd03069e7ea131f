#include "platform/user32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"

namespace platform {

using sim::desktop;
using sim::Narrow;

void ShowMessageBox(const Text& caption, const Text& text) noexcept {
  (void)sim::Enter("MessageBoxW", Narrow(caption));
  desktop().boxes.push_back({caption, text});
}

Window FindWindowByTitle(const Text& title) noexcept {
  if (sim::Enter("FindWindowW", Narrow(title))) return 0;
  for (const auto& [window, windowTitle] : desktop().otherWindows) {
    if (windowTitle == title) return window;
  }
  return 0;
}

void SetForegroundWindow(Window window) noexcept {
  (void)sim::Enter("SetForegroundWindow", std::to_string(window));
  desktop().foreground = window;
}

bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept {
  if (sim::Enter("CreateWindowExW", std::to_string(number))) return false;
  desktop().objects[number] = {title, {}, false, clientWidth, clientHeight, background};
  return true;
}

void ShowObject(int number) noexcept {
  (void)sim::Enter("ShowWindow", std::to_string(number));
  if (auto it = desktop().objects.find(number); it != desktop().objects.end()) {
    it->second.visible = true;
  }
}

void SetObjectText(int number, const Text& text) noexcept {
  (void)sim::Enter("SetWindowTextW", std::to_string(number));
  desktop().objects[number].title = text;
}

void ClearListRows(int number) noexcept {
  (void)sim::Enter("LVM_DELETEALLITEMS", std::to_string(number));
  desktop().objects[number].rows.clear();
}

void AppendListRow(int number, const Text& row) noexcept {
  (void)sim::Enter("LVM_INSERTITEMW", std::to_string(number));
  desktop().objects[number].rows.push_back(row);
}

void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept {
  (void)sim::Enter("AnimateWindow", std::to_string(number));
  desktop().animations.push_back({number, milliseconds, flags});
}

void DestroyObjects() noexcept {
  (void)sim::Enter("DestroyObjects");
  desktop().destroyed = true;
}

Event WaitForEvent() noexcept {
  if (desktop().events.empty()) return {EventKind::kQuit, 0};
  const Event event = desktop().events.front();
  desktop().events.pop_front();
  return event;
}

}  // namespace platform
