#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <atomic>
#include <deque>
#include <map>
#include <vector>

#include "platform/user32.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/tray_win32.h"
#include "platform/win32/unique_win32.h"

namespace platform {
namespace {

using win32::Wide;

constexpr wchar_t kWindowClass[] = L"ParvolaWindow";
constexpr int kObjectSlots = 64;  // object numbers are small: window 10, controls 16..31

struct Objects {
  // Read by the scan thread (texts, rows) while the main thread may destroy
  // the objects, hence atomic slots rather than a map that could be changing.
  std::array<std::atomic<HWND>, kObjectSlots> windows{};
  // The rest is touched by the main thread only.
  std::array<std::uint32_t, kObjectSlots> backgrounds{};
  std::array<std::uint32_t, kObjectSlots> textColours{};
  std::array<bool, kObjectSlots> pushButtons{};
  std::map<std::uint32_t, win32::UniqueGdiObject> brushes;  // by colour
  std::map<int, win32::UniqueMenu> menus;
  std::vector<win32::UniqueGdiObject> fonts;
  std::vector<win32::UniqueIcon> icons;
  int mainNumber = -1;  // the top-level window: mouse positions are given in its client area
  int focusNumber = 0;  // the control that gets the focus when the main window is activated
  int reportedFocus = 0;  // the control last reported by a kFocusChange event
  UINT taskbarCreated = 0;  // the shell's announcement that it has started afresh
  bool classRegistered = false;
  DeviceChangeHook hook = nullptr;
  void* hookContext = nullptr;
  // Events seen by the window procedure, sent messages included, which
  // GetMessageW dispatches without ever returning them.
  std::deque<Event> events;

  Objects() {
    backgrounds.fill(kDefaultColour);
    textColours.fill(kDefaultColour);
  }
};

Objects& Table() {
  static Objects objects;
  return objects;
}

bool ValidNumber(int number) { return number >= 0 && number < kObjectSlots; }

HWND Find(int number) {
  return ValidNumber(number) ? Table().windows[number].load() : nullptr;
}

int NumberOf(HWND window) {
  if (window == nullptr) return 0;
  for (int number = 0; number < kObjectSlots; ++number) {
    if (Table().windows[number].load() == window) return number;
  }
  return 0;
}

COLORREF Resolve(std::uint32_t colour) {
  constexpr std::uint32_t kSystemBit = 0x80000000;
  return (colour & kSystemBit) != 0 ? ::GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}

// By the colour it paints, so that a system colour changed since gets a
// brush of its own.
HBRUSH BrushOf(std::uint32_t colour) {
  win32::UniqueGdiObject& brush = Table().brushes[Resolve(colour)];
  if (!brush) brush.reset(::CreateSolidBrush(Resolve(colour)));
  return static_cast<HBRUSH>(brush.get());
}

std::uint32_t BackgroundOf(int number) {
  return ValidNumber(number) ? Table().backgrounds[number] : kDefaultColour;
}

// The dialog font of plain Win32 programs (MS Shell Dlg, 8 points): narrow
// enough for the fixed widths of the small texts, such as the version.
HFONT InterfaceFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

void Push(Event event) { Table().events.push_back(event); }

// Colours a static control from its own entry in the table; others keep
// the system's look.
LRESULT ColourStatic(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int number = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  const std::uint32_t background = BackgroundOf(number);
  if (background == kDefaultColour) return ::DefWindowProcW(window, message, wParam, lParam);
  const HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkColor(dc, Resolve(background));
  if (Table().textColours[number] != kDefaultColour) {
    ::SetTextColor(dc, Resolve(Table().textColours[number]));
  }
  return reinterpret_cast<LRESULT>(BrushOf(background));
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A shell that starts afresh, or late, knows no icons: each program adds
  // its own again.
  if (message == Table().taskbarCreated && message != 0) {
    Push({EventKind::kShellStarted, NumberOf(window)});
  }
  switch (message) {
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back to the same control,
      // as in a dialog; by default it would come back to the window itself,
      // where no key does anything.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window, focus)) Table().focusNumber = NumberOf(focus);
      } else if (const HWND focus = Find(Table().focusNumber);
                 HIWORD(wParam) == 0 && focus != nullptr && ::IsChild(window, focus)) {
        ::SetFocus(focus);
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      const std::uint32_t background = BackgroundOf(NumberOf(window));
      if (background == kDefaultColour) break;
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, BrushOf(background));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      return ColourStatic(window, message, wParam, lParam);
    case WM_CTLCOLORBTN: {
      // The corners around a themed button show the parent's colour.
      const std::uint32_t background = BackgroundOf(NumberOf(window));
      if (background == kDefaultColour) break;
      return reinterpret_cast<LRESULT>(BrushOf(background));
    }
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        Push({EventKind::kControlClick, LOWORD(wParam)});
      } else if (lParam == 0 && HIWORD(wParam) == 0) {
        Push({EventKind::kMenuChoice, NumberOf(window), 0, 0, LOWORD(wParam)});
      }
      return 0;
    case WM_SYSCOLORCHANGE:
      // Only top-level windows get it; common controls learn of the change
      // only when it is passed on to them.
      if (const int number = NumberOf(window); number == Table().mainNumber) {
        for (const std::atomic<HWND>& slot : Table().windows) {
          const HWND control = slot.load();
          if (control != nullptr && control != window) ::SendMessageW(control, message, 0, 0);
        }
        Push({EventKind::kColoursChanged, number});
      }
      return 0;
    case WM_CLOSE:
      // The loop decides what a close request means; the window never
      // closes itself.
      Push({EventKind::kCloseRequest, NumberOf(window)});
      return 0;
    case WM_DEVICECHANGE:
      if (Table().hook != nullptr) Table().hook(Table().hookContext, static_cast<std::uint32_t>(wParam));
      Push({EventKind::kDeviceChange, NumberOf(window), 0, 0, static_cast<std::uint32_t>(wParam)});
      break;  // the default handling follows in every case
    case win32::kTrayMessage:
      Push({EventKind::kTrayNotification, static_cast<int>(wParam), 0, 0, LOWORD(lParam)});
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass() {
  Objects& objects = Table();
  if (objects.classRegistered) return true;
  WNDCLASSEXW windowClass = {sizeof(windowClass)};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  objects.classRegistered = ::RegisterClassExW(&windowClass) != 0;
  return objects.classRegistered;
}

void InitCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

struct ClassAndStyle {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
};

ClassAndStyle ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStaticText:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::kContainer:
      return {kWindowClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::kImage:
      // Centred, the control keeps its own size instead of taking the icon's.
      return {L"STATIC", SS_ICON | SS_CENTERIMAGE, 0};
    case ControlKind::kList:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

void FocusControl(HWND control) {
  Objects& objects = Table();
  objects.focusNumber = NumberOf(control);
  // A window shows no focus cue until a key has been used in it; the user
  // who cannot use a mouse must see where the focus is from the start.
  if (const HWND main = Find(objects.mainNumber)) {
    ::SendMessageW(main, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  ::SetFocus(control);
}

// Tab moves the focus; Enter and Esc become events of their own and never
// reach a control. IsDialogMessageW would report Enter and Esc as commands
// 1 and 2 without a control, which is how the tray menu reports its items.
bool TakeKey(const MSG& message) {
  const HWND main = Find(Table().mainNumber);
  if (message.message != WM_KEYDOWN || main == nullptr ||
      (message.hwnd != main && !::IsChild(main, message.hwnd))) {
    return false;
  }
  // Alt+F4 is a system key and still closes the hidden window.
  if (!::IsWindowVisible(main)) return true;
  switch (message.wParam) {
    case VK_TAB: {
      const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
      const HWND from = message.hwnd == main ? nullptr : message.hwnd;
      if (const HWND next = ::GetNextDlgTabItem(main, from, backwards)) FocusControl(next);
      return true;
    }
    case VK_RETURN:
    case VK_ESCAPE:
      Push({EventKind::kKeyDown, NumberOf(message.hwnd), 0, 0,
            static_cast<std::uint32_t>(message.wParam)});
      return true;
    default:
      return false;
  }
}

void Deliver(const MSG& message) {
  if (TakeKey(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

}  // namespace

HWND win32::WindowOf(int number) noexcept { return Find(number); }

void ShowMessageBox(const Text& caption, const Text& text) noexcept {
  ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
}

Window FindWindowByTitle(const Text& title) noexcept {
  return reinterpret_cast<Window>(::FindWindowW(nullptr, Wide(title).c_str()));
}

void SetForegroundWindow(Window window) noexcept {
  ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

bool WindowShown(Window window) noexcept {
  return ::IsWindowVisible(reinterpret_cast<HWND>(window)) != FALSE;
}

bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept {
  if (!ValidNumber(number) || !RegisterWindowClass()) return false;
  Objects& objects = Table();
  objects.backgrounds[number] = background;

  // Clipped children: the background is not painted under the controls
  // just before they paint themselves, which flickers after a move.
  constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  RECT frame = {0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const HWND window = ::CreateWindowExW(0, kWindowClass, Wide(title).c_str(), kStyle, x, y,
                                        width, height, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return false;
  objects.windows[number] = window;
  objects.mainNumber = number;
  // The program runs elevated, and the message filter of such a process
  // drops the unelevated shell's messages above WM_USER: its restart
  // announcement and the tray icon's mouse notifications.
  objects.taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
  for (const UINT message : {objects.taskbarCreated, win32::kTrayMessage}) {
    ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
  }
  return true;
}

bool CreateControl(const ControlSpec& control) noexcept {
  const HWND parent = Find(control.parent);
  if (!ValidNumber(control.number) || parent == nullptr) return false;
  if (control.kind == ControlKind::kList) InitCommonControls();
  Objects& objects = Table();
  objects.backgrounds[control.number] = control.background;
  objects.textColours[control.number] = control.textColour;

  const ClassAndStyle made = ClassFor(control.kind);
  const Rect& place = control.place;
  const HWND window = ::CreateWindowExW(
      made.extendedStyle, made.className, Wide(control.text).c_str(),
      // Without clipped siblings, overlapping controls paint in an order
      // Windows does not promise; Wine happens to paint in creation order.
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | made.style, place.x, place.y, place.width,
      place.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.number)),
      ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return false;
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(InterfaceFont()), FALSE);
  objects.windows[control.number] = window;
  objects.pushButtons[control.number] = control.kind == ControlKind::kPushButton;
  return true;
}

void SetObjectColours(int number, std::uint32_t background, std::uint32_t textColour) noexcept {
  if (!ValidNumber(number)) return;
  Table().backgrounds[number] = background;
  Table().textColours[number] = textColour;
  if (const HWND window = Find(number)) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void SetDefaultButton(int number) noexcept {
  for (int button = 0; button < kObjectSlots; ++button) {
    const HWND window = Find(button);
    if (window == nullptr || !Table().pushButtons[button]) continue;
    const LONG style = button == number ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) != style) {
      ::SendMessageW(window, BM_SETSTYLE, style, TRUE);
    }
  }
}

bool HighContrastOn() noexcept {
  HIGHCONTRASTW contrast = {sizeof(contrast)};
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void RaiseObject(int number) noexcept {
  if (const HWND window = Find(number)) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void SetWindowIcon(int number, int iconGroup) noexcept {
  const HWND window = Find(number);
  if (window == nullptr) return;
  const struct {
    WPARAM kind;
    int size;
  } icons[] = {{ICON_BIG, ::GetSystemMetrics(SM_CXICON)},
               {ICON_SMALL, ::GetSystemMetrics(SM_CXSMICON)}};
  for (const auto& icon : icons) {
    // Shared: the system keeps one copy per size and frees it with the
    // process.
    const HANDLE image = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconGroup),
                                      IMAGE_ICON, icon.size, icon.size, LR_SHARED);
    ::SendMessageW(window, WM_SETICON, icon.kind, reinterpret_cast<LPARAM>(image));
  }
}

void SetObjectFont(int number, const Text& face, int pixelHeight) noexcept {
  const HWND window = Find(number);
  if (window == nullptr) return;
  // A negative height asks for the character height rather than the cell's.
  const HFONT font = ::CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, Wide(face).c_str());
  if (font == nullptr) return;
  Table().fonts.emplace_back(font);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

Icon CreateIconFromBits(std::span<const std::uint8_t> bits) noexcept {
  if (bits.empty()) return 0;
  // Width and height 0 without LR_DEFAULTSIZE: the image's own size.
  const HICON icon = ::CreateIconFromResourceEx(const_cast<PBYTE>(bits.data()),
                                                static_cast<DWORD>(bits.size()), TRUE,
                                                0x00030000, 0, 0, 0);
  return reinterpret_cast<Icon>(icon);
}

void SetObjectIcon(int number, Icon icon) noexcept {
  const HICON handle = reinterpret_cast<HICON>(icon);
  if (handle != nullptr) Table().icons.emplace_back(handle);
  if (const HWND window = Find(number)) {
    ::SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(handle), 0);
  }
}

void AddListColumn(int number, const Text& title, int width) noexcept {
  const HWND list = Find(number);
  if (list == nullptr) return;
  std::wstring text = Wide(title);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = width;
  column.pszText = text.data();
  ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void FillListColumn(int number, int column) noexcept {
  if (const HWND list = Find(number)) {
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
  }
}

bool CreatePopupMenu(int number) noexcept {
  const HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return false;
  Table().menus[number].reset(menu);
  return true;
}

void AppendMenuItem(int menu, int item, const Text& text) noexcept {
  const auto found = Table().menus.find(menu);
  if (found == Table().menus.end()) return;
  ::AppendMenuW(found->second.get(), MF_STRING, static_cast<UINT_PTR>(item), Wide(text).c_str());
}

void AppendMenuSeparator(int menu) noexcept {
  const auto found = Table().menus.find(menu);
  if (found == Table().menus.end()) return;
  ::AppendMenuW(found->second.get(), MF_SEPARATOR, 0, nullptr);
}

void ShowObject(int number) noexcept {
  if (const HWND window = Find(number)) ::ShowWindow(window, SW_SHOW);
}

bool ObjectVisible(int number) noexcept {
  const HWND window = Find(number);
  return window != nullptr && ::IsWindowVisible(window);
}

bool ObjectInForeground(int number) noexcept {
  const HWND window = Find(number);
  return window != nullptr && ::GetForegroundWindow() == window;
}

void FocusObject(int number) noexcept {
  if (const HWND control = Find(number)) FocusControl(control);
}

void SetObjectText(int number, const Text& text) noexcept {
  if (const HWND window = Find(number)) ::SetWindowTextW(window, Wide(text).c_str());
}

void ClearListRows(int number) noexcept {
  if (const HWND list = Find(number)) ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void AppendListRow(int number, const Text& row) noexcept {
  const HWND list = Find(number);
  if (list == nullptr) return;
  std::wstring text = Wide(row);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = text.data();
  if (::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0) return;
  // Without a focused row the list shows no focus cue when Tab reaches it,
  // only after an arrow key; the selection stays empty.
  LVITEMW focused = {};
  focused.stateMask = LVIS_FOCUSED;
  focused.state = LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focused));
}

void AnnounceLiveRegionChange(int number) noexcept {
  // Defined for Windows 8 and later; Windows 7 passes it on to nobody.
  constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
  if (const HWND window = Find(number)) {
    ::NotifyWinEvent(kLiveRegionChanged, window, OBJID_CLIENT, CHILDID_SELF);
  }
}

void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept {
  if (const HWND window = Find(number)) ::AnimateWindow(window, milliseconds, flags);
}

void DestroyObjects() noexcept {
  win32::RemoveTrayIcons();
  Objects& objects = Table();
  for (std::atomic<HWND>& slot : objects.windows) {
    // Destroying the main window has destroyed its controls already.
    const HWND window = slot.exchange(nullptr);
    if (window != nullptr && ::IsWindow(window)) ::DestroyWindow(window);
  }
  objects.menus.clear();
  objects.icons.clear();
  objects.fonts.clear();
  objects.brushes.clear();
}

void DragObject(int number) noexcept {
  const HWND window = Find(number);
  if (window == nullptr) return;
  POINT cursor = {};
  ::GetCursorPos(&cursor);
  ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void ShowPopupMenu(int menu, int owner) noexcept {
  const auto found = Table().menus.find(menu);
  const HWND window = Find(owner);
  if (found == Table().menus.end() || window == nullptr) return;
  POINT cursor = {};
  ::GetCursorPos(&cursor);
  // Unless the owner is the foreground window, the menu stays open when the
  // user clicks elsewhere; the empty message afterwards lets it close at
  // once on the next click (the documented TrackPopupMenu idiom).
  ::SetForegroundWindow(window);
  // The item comes back here, before anything else can happen to the
  // window, and goes on as the next event.
  const UINT item = static_cast<UINT>(::TrackPopupMenu(found->second.get(), TPM_RETURNCMD,
                                                       cursor.x - 1, cursor.y - 1, 0, window,
                                                       nullptr));
  ::PostMessageW(window, WM_NULL, 0, 0);
  if (item != 0) Push({EventKind::kMenuChoice, owner, 0, 0, item});
}

bool StartTimer(int window, int timer, unsigned milliseconds) noexcept {
  const HWND handle = Find(window);
  return handle != nullptr && ::SetTimer(handle, static_cast<UINT_PTR>(timer), milliseconds,
                                         nullptr) != 0;
}

Event WaitForEvent() noexcept {
  std::deque<Event>& events = Table().events;
  if (events.empty()) {
    MSG message;
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) return {EventKind::kQuit, 0};
    Deliver(message);
    // A key, a click or the window's activation may have moved the focus
    // to another of our controls.
    const int focus = NumberOf(::GetFocus());
    if (focus != 0 && focus != Table().mainNumber && focus != Table().reportedFocus) {
      Table().reportedFocus = focus;
      events.push_back({EventKind::kFocusChange, focus});
    }
    if (message.message == WM_LBUTTONDOWN) {
      // Wherever the press went, the loop wants it in the main window's
      // client area.
      POINT at = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
      if (const HWND main = Find(Table().mainNumber)) ::MapWindowPoints(message.hwnd, main, &at, 1);
      events.push_back({EventKind::kLeftButtonDown, NumberOf(message.hwnd), at.x, at.y});
    } else if (message.message == WM_TIMER) {
      events.push_back({EventKind::kTimer, static_cast<int>(message.wParam)});
    }
    if (events.empty()) return {EventKind::kOther, NumberOf(message.hwnd)};
  }
  const Event event = events.front();
  events.pop_front();
  return event;
}

void DrainEvents() noexcept {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the loop, which ends on it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Deliver(message);
  }
  // A shell that started meanwhile must still get the tray icon.
  std::deque<Event>& events = Table().events;
  bool shellStarted = false;
  for (const Event& event : events) shellStarted |= event.kind == EventKind::kShellStarted;
  events.clear();
  if (shellStarted) Push({EventKind::kShellStarted, Table().mainNumber});
}

void SetDeviceChangeHook(DeviceChangeHook hook, void* context) noexcept {
  Table().hook = hook;
  Table().hookContext = context;
}

}  // namespace platform
