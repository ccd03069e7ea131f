// The yardstick for the benchmarks: the smallest static MinGW window program,
// built the same way as parvola.exe. With "-ng" it ends at once; otherwise it
// shows a window titled " Baseline" until it is closed.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  if (std::wcsstr(arguments, L"-ng") != nullptr) return 0;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"Baseline";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, L"Baseline", L" Baseline", WS_POPUP | WS_BORDER, 100,
                                        100, 370, 205, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
