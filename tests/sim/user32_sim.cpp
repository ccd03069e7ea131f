#include "platform/shell32.h"
#include "platform/user32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"
#include "tests/sim/tray_sim.h"

namespace platform {

using sim::desktop;
using sim::Narrow;

namespace {

constexpr int kFillColumn = -2;  // LVSCW_AUTOSIZE_USEHEADER

void Dispatch(const Event& event) {
  if (event.kind == EventKind::kDeviceChange && desktop().deviceHook != nullptr) {
    desktop().deviceHook(desktop().deviceHookContext, event.value);
  }
}

}  // namespace

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

bool WindowShown(Window window) noexcept {
  return desktop().otherWindows.contains(window) && !desktop().hiddenOtherWindows.contains(window);
}

bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept {
  if (sim::Enter("CreateWindowExW", std::to_string(number))) return false;
  desktop().objects[number] = {title, {}, false, clientWidth, clientHeight, background};
  return true;
}

bool CreateControl(const ControlSpec& control) noexcept {
  if (sim::Enter("CreateWindowExW", std::to_string(control.number)) ||
      !desktop().objects.count(control.parent)) {
    return false;
  }
  sim::WindowObject object;
  object.title = control.text;
  object.visible = true;
  object.background = control.background;
  object.kind = control.kind;
  object.parent = control.parent;
  object.place = control.place;
  object.textColour = control.textColour;
  desktop().objects[control.number] = object;
  return true;
}

void SetObjectColours(int number, std::uint32_t background, std::uint32_t textColour) noexcept {
  (void)sim::Enter("RedrawWindow", std::to_string(number));
  if (auto it = desktop().objects.find(number); it != desktop().objects.end()) {
    it->second.background = background;
    it->second.textColour = textColour;
  }
}

void SetDefaultButton(int number) noexcept {
  (void)sim::Enter("BM_SETSTYLE", std::to_string(number));
  desktop().defaultButton = number;
}

bool HighContrastOn() noexcept {
  return !sim::Enter("SystemParametersInfoW", "SPI_GETHIGHCONTRAST") && desktop().highContrast;
}

void RaiseObject(int number) noexcept { (void)sim::Enter("SetWindowPos", std::to_string(number)); }

void SetWindowIcon(int number, int iconGroup) noexcept {
  (void)sim::Enter("WM_SETICON", std::to_string(number));
  desktop().objects[number].iconGroup = iconGroup;
}

void SetObjectFont(int number, const Text& face, int pixelHeight) noexcept {
  if (sim::Enter("CreateFontW", Narrow(face))) return;
  desktop().objects[number].fontFace = face;
  desktop().objects[number].fontPixels = pixelHeight;
}

Icon CreateIconFromBits(std::span<const std::uint8_t> bits) noexcept {
  if (sim::Enter("CreateIconFromResourceEx", std::to_string(bits.size())) || bits.empty()) {
    return 0;
  }
  ++desktop().iconsHeld;
  // The icon "is" its bits' size, so tests can tell which image was taken.
  return bits.size();
}

void SetObjectIcon(int number, Icon icon) noexcept {
  (void)sim::Enter("STM_SETICON", std::to_string(number));
  if (auto it = desktop().objects.find(number); it != desktop().objects.end()) {
    it->second.icon = icon;
  }
}

void AddListColumn(int number, const Text& title, int width) noexcept {
  (void)sim::Enter("LVM_INSERTCOLUMNW", std::to_string(number));
  desktop().objects[number].columns.emplace_back(title, width);
}

void FillListColumn(int number, int column) noexcept {
  (void)sim::Enter("LVM_SETCOLUMNWIDTH", std::to_string(number));
  auto& columns = desktop().objects[number].columns;
  if (column >= 0 && static_cast<std::size_t>(column) < columns.size()) {
    columns[column].second = kFillColumn;
  }
}

bool CreatePopupMenu(int number) noexcept {
  if (sim::Enter("CreatePopupMenu", std::to_string(number))) return false;
  desktop().menus[number];
  return true;
}

void AppendMenuItem(int menu, int item, const Text& text) noexcept {
  (void)sim::Enter("AppendMenuW", std::to_string(item));
  desktop().menus[menu].push_back({item, text});
}

void AppendMenuSeparator(int menu) noexcept {
  (void)sim::Enter("AppendMenuW", "separator");
  desktop().menus[menu].push_back({0, {}});
}

void ShowObject(int number) noexcept {
  (void)sim::Enter("ShowWindow", std::to_string(number));
  if (auto it = desktop().objects.find(number); it != desktop().objects.end()) {
    it->second.visible = true;
  }
}

bool ObjectVisible(int number) noexcept {
  const auto it = desktop().objects.find(number);
  return it != desktop().objects.end() && it->second.visible;
}

bool ObjectInForeground(int number) noexcept {
  return number != 0 && desktop().foregroundObject == number;
}

void FocusObject(int number) noexcept {
  (void)sim::Enter("SetFocus", std::to_string(number));
  desktop().focus = number;
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

void AnnounceLiveRegionChange(int number) noexcept {
  (void)sim::Enter("NotifyWinEvent", "EVENT_OBJECT_LIVEREGIONCHANGED " + std::to_string(number));
}

void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept {
  (void)sim::Enter("AnimateWindow", std::to_string(number));
  desktop().animations.push_back({number, milliseconds, flags});
}

void DestroyObjects() noexcept {
  (void)sim::Enter("DestroyObjects");
  // Every icon kept is deleted, as the end of the program does.
  for (const sim::TrayIcon& icon : sim::tray().kept) {
    (void)sim::Enter("Shell_NotifyIconW", "NIM_DELETE " + std::to_string(icon.id));
  }
  sim::tray().kept.clear();
  sim::tray().icons.clear();
  desktop().destroyed = true;
  desktop().iconsHeld = 0;
  desktop().timers.clear();
}

void DragObject(int number) noexcept {
  (void)sim::Enter("SendMessageW", "WM_NCLBUTTONDOWN " + std::to_string(number));
  (void)sim::Enter("RedrawWindow", std::to_string(number));
  desktop().drags.push_back(number);
}

void ShowPopupMenu(int menu, int owner) noexcept {
  (void)sim::Enter("TrackPopupMenu", std::to_string(menu));
  desktop().popups.emplace_back(menu, owner);
  desktop().foregroundObject = desktop().menuClosedElsewhere ? 0 : owner;
  if (desktop().menuChoice == 0) return;
  desktop().events.push_front(
      {EventKind::kMenuChoice, owner, 0, 0, static_cast<std::uint32_t>(desktop().menuChoice)});
}

bool StartTimer(int window, int timer, unsigned milliseconds) noexcept {
  if (sim::Enter("SetTimer", std::to_string(timer))) return false;
  (void)window;
  desktop().timers[timer] = milliseconds;
  return true;
}

Event WaitForEvent() noexcept {
  if (desktop().events.empty()) return {EventKind::kQuit, 0};
  const Event event = desktop().events.front();
  desktop().events.pop_front();
  Dispatch(event);
  return event;
}

void DrainEvents() noexcept {
  while (!desktop().alreadyQueued.empty()) {
    const Event event = desktop().alreadyQueued.front();
    desktop().alreadyQueued.pop_front();
    Dispatch(event);
  }
}

void SetDeviceChangeHook(DeviceChangeHook hook, void* context) noexcept {
  (void)sim::Enter("SetDeviceChangeHook", hook ? "on" : "off");
  desktop().deviceHook = hook;
  desktop().deviceHookContext = context;
}

}  // namespace platform
