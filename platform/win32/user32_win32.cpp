#include <windows.h>

#include <deque>
#include <map>

#include "platform/user32.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {
namespace {

using win32::Wide;

constexpr wchar_t kWindowClass[] = L"ParvolaWindow";

struct Objects {
  std::map<int, HWND> windows;
  HBRUSH background = nullptr;
  // Events seen by the window procedure, sent messages included, which
  // GetMessageW dispatches without ever returning them.
  std::deque<Event> events;
};

Objects& Table() {
  static Objects objects;
  return objects;
}

HWND Find(int number) {
  const auto it = Table().windows.find(number);
  return it == Table().windows.end() ? nullptr : it->second;
}

int NumberOf(HWND window) {
  for (const auto& [number, handle] : Table().windows) {
    if (handle == window) return number;
  }
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The loop decides what a close request means; the window never closes
  // itself.
  if (message == WM_CLOSE) {
    Table().events.push_back({EventKind::kCloseRequest, NumberOf(window)});
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass(HBRUSH background) {
  WNDCLASSEXW windowClass = {sizeof(windowClass)};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = kWindowClass;
  return ::RegisterClassExW(&windowClass) != 0;
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

bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept {
  Objects& objects = Table();
  objects.background = ::CreateSolidBrush(background);
  if (!RegisterWindowClass(objects.background)) return false;

  constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
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
  return true;
}

void ShowObject(int number) noexcept {
  if (const HWND window = Find(number)) ::ShowWindow(window, SW_SHOW);
}

void SetObjectText(int number, const Text& text) noexcept {
  if (const HWND window = Find(number)) ::SetWindowTextW(window, Wide(text).c_str());
}

// The list view arrives with the window's controls; until then there are no
// rows to change.
void ClearListRows(int) noexcept {}
void AppendListRow(int, const Text&) noexcept {}

void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept {
  if (const HWND window = Find(number)) ::AnimateWindow(window, milliseconds, flags);
}

void DestroyObjects() noexcept {
  Objects& objects = Table();
  for (const auto& [number, window] : objects.windows) ::DestroyWindow(window);
  objects.windows.clear();
  if (objects.background) ::DeleteObject(objects.background);
  objects.background = nullptr;
}

Event WaitForEvent() noexcept {
  std::deque<Event>& events = Table().events;
  if (events.empty()) {
    MSG message;
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) return {EventKind::kQuit, 0};
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    if (events.empty()) return {EventKind::kOther, NumberOf(message.hwnd)};
  }
  const Event event = events.front();
  events.pop_front();
  return event;
}

}  // namespace platform
