#pragma once
// user32 and the window layer, in portable types.
//
// The program addresses its own window objects by fixed small numbers; this
// layer keeps the number -> handle table and is the only code that sees
// HWNDs. Windows of other processes are opaque `Window` values.
#include <cstdint>
#include <span>

#include "platform/text.h"

namespace platform {

using Window = std::uintptr_t;
using Icon = std::uintptr_t;

// MessageBoxW with an OK button only; returns when the user has closed it.
void ShowMessageBox(const Text& caption, const Text& text) noexcept;
// FindWindowW by title alone; 0 when there is none.
[[nodiscard]] Window FindWindowByTitle(const Text& title) noexcept;
void SetForegroundWindow(Window window) noexcept;
// IsWindowVisible of another program's window.
[[nodiscard]] bool WindowShown(Window window) noexcept;

// ---- building --------------------------------------------------------------

// Creates the top-level window `number`: hidden, a thin border and no
// caption, the given client size, centred on the screen, filled with
// `background` (0x00BBGGRR). False when the window could not be created.
bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept;

enum class ControlKind {
  kStaticText,  // left-aligned, one line
  kPushButton,  // reports clicks
  kContainer,   // a plain child window that holds other controls
  kImage,       // shows an icon, centred, without resizing itself
  kList,        // report view, no column header, single selection
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;
// Colours of the system's current scheme, looked up whenever the object is
// painted, so they follow a change of scheme (GetSysColor index in the low
// byte).
inline constexpr std::uint32_t kSystemWindowColour = 0x80000005;      // COLOR_WINDOW
inline constexpr std::uint32_t kSystemWindowTextColour = 0x80000008;  // COLOR_WINDOWTEXT

struct ControlSpec {
  int number = 0;
  ControlKind kind = ControlKind::kStaticText;
  int parent = 0;  // the object it lies in; its position is relative to it
  Rect place;
  Text text;
  std::uint32_t background = kDefaultColour;  // 0x00BBGGRR
  std::uint32_t textColour = kDefaultColour;
};
// Creates a visible control in the user interface font. False when it could
// not be created (an unknown parent included).
bool CreateControl(const ControlSpec& control) noexcept;
// New colours for object `number` (as in ControlSpec), repainted at once
// with everything in it.
void SetObjectColours(int number, std::uint32_t background, std::uint32_t textColour) noexcept;
// Gives push button `number` the default look (BS_DEFPUSHBUTTON) and takes
// it from every other push button.
void SetDefaultButton(int number) noexcept;
// SPI_GETHIGHCONTRAST: whether the user has chosen a high-contrast scheme.
[[nodiscard]] bool HighContrastOn() noexcept;
// Puts control `number` at the top of its siblings. Controls clip their
// siblings, so it paints over any it overlaps, in the same way on every
// version of Windows.
void RaiseObject(int number) noexcept;
// Gives window `number` the large and small images of icon group `iconGroup`
// of the program's own file, for its taskbar button and task switcher entry.
void SetWindowIcon(int number, int iconGroup) noexcept;
// Gives object `number` a font of that face whose characters (the em, without
// the internal leading) are `pixelHeight` pixels high. The layer frees it.
void SetObjectFont(int number, const Text& face, int pixelHeight) noexcept;

// CreateIconFromResourceEx over the bits of one RT_ICON resource, at the
// image's own size; 0 on failure.
[[nodiscard]] Icon CreateIconFromBits(std::span<const std::uint8_t> bits) noexcept;
// Shows `icon` (0: none) in image control `number`. The layer owns the icon
// from here on, also when the control does not exist.
void SetObjectIcon(int number, Icon icon) noexcept;

// The only column of list `number`.
void AddListColumn(int number, const Text& title, int width) noexcept;
// LVSCW_AUTOSIZE_USEHEADER: the last column fills the list's width.
void FillListColumn(int number, int column) noexcept;

// The pop-up menu `number` and its items, identified by small numbers.
// False when the menu could not be made.
bool CreatePopupMenu(int number) noexcept;
void AppendMenuItem(int menu, int item, const Text& text) noexcept;
void AppendMenuSeparator(int menu) noexcept;

// ---- using -----------------------------------------------------------------

void ShowObject(int number) noexcept;
// IsWindowVisible: whether window `number` is shown. Callable from the scan
// thread.
[[nodiscard]] bool ObjectVisible(int number) noexcept;
// Whether window `number` is the foreground window.
[[nodiscard]] bool ObjectInForeground(int number) noexcept;
// Gives control `number` the keyboard focus and shows the focus cue; its
// window gives the focus back to it whenever it is activated again.
void FocusObject(int number) noexcept;
// Texts and rows of our own objects. Callable from the scan thread: the
// main thread keeps dispatching messages while a scan runs.
void SetObjectText(int number, const Text& text) noexcept;
void ClearListRows(int number) noexcept;
// The first row of a list gets the focused state (not the selection), so
// that a list reached by Tab shows where the arrow keys start.
void AppendListRow(int number, const Text& row) noexcept;
// NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED) for object `number`: a
// screen reader reads a live region's new text. Callable from the scan
// thread.
void AnnounceLiveRegionChange(int number) noexcept;
// AnimateWindowW on object `number`.
void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept;
// Removes the tray icon and destroys every object, font, menu and icon made.
void DestroyObjects() noexcept;

// Lets the user move window `number` as if its caption had been pressed
// (WM_NCLBUTTONDOWN with HTCAPTION), then redraws it at once.
void DragObject(int number) noexcept;
// Shows menu `menu` one pixel up and left of the cursor, owned by window
// `owner`, until it closes; the choice, if any, arrives later as a
// kMenuChoice event. The owner is made the foreground window for it.
void ShowPopupMenu(int menu, int owner) noexcept;
// SetTimer on window `window`; false when the timer could not be made.
bool StartTimer(int window, int timer, unsigned milliseconds) noexcept;

// ---- events ----------------------------------------------------------------

enum class EventKind {
  kOther,             // anything the loop does not act on
  kCloseRequest,      // WM_CLOSE to the main window
  kQuit,              // WM_QUIT: the queue is gone
  kLeftButtonDown,    // x, y: the cursor in the main window's client area
  kControlClick,      // object: the control
  kMenuChoice,        // value: the item
  kTrayNotification,  // object: the tray icon; value: the mouse message
  kTimer,             // object: the timer
  kDeviceChange,      // value: the device event (wParam of WM_DEVICECHANGE)
  kKeyDown,           // object: the control with the focus; value: kKeyEnter or kKeyEscape
  kFocusChange,       // object: the control that has just got the keyboard focus
  kShellStarted,      // "TaskbarCreated": a notification area without our icons
  kColoursChanged,    // WM_SYSCOLORCHANGE: another colour scheme, high contrast or not
};

// The keys that arrive as kKeyDown events. Tab and Shift+Tab move the focus
// within the layer; every other key goes to the control with the focus.
// While the main window is hidden no key does anything: it becomes the
// foreground window after its tray menu, yet nobody sees where the focus is.
inline constexpr std::uint32_t kKeyEnter = 0x0D;   // VK_RETURN
inline constexpr std::uint32_t kKeyEscape = 0x1B;  // VK_ESCAPE

// Mouse messages a tray notification carries.
inline constexpr std::uint32_t kMouseLeftButtonDown = 0x0201;   // WM_LBUTTONDOWN
inline constexpr std::uint32_t kMouseRightButtonDown = 0x0204;  // WM_RBUTTONDOWN

// Device events of WM_DEVICECHANGE.
inline constexpr std::uint32_t kDeviceNodesChanged = 0x0007;      // DBT_DEVNODES_CHANGED
inline constexpr std::uint32_t kDeviceArrival = 0x8000;           // DBT_DEVICEARRIVAL
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;    // DBT_DEVICEREMOVECOMPLETE

struct Event {
  EventKind kind = EventKind::kOther;
  int object = 0;  // the object the message was for, when it is one of ours
  int x = 0;
  int y = 0;
  std::uint32_t value = 0;
};

// Waits for the next message, dispatches it, and describes it.
[[nodiscard]] Event WaitForEvent() noexcept;
// Dispatches every message already queued, without describing any but a
// kShellStarted, which is kept for the next wait.
void DrainEvents() noexcept;

// Called during dispatch of every WM_DEVICECHANGE to our windows, before the
// default handling, which the message always gets afterwards. Runs on the
// thread that waits for events. A null hook removes it.
using DeviceChangeHook = void (*)(void* context, std::uint32_t event);
void SetDeviceChangeHook(DeviceChangeHook hook, void* context) noexcept;

}  // namespace platform
