// The yardstick for the benchmarks: the smallest static MinGW window program,
// built the same way as parvola.exe. With "-ng" it ends at once; with
// "-hidden" it makes its window, never shows it, and ends; otherwise it
// shows a window titled " Baseline" until it is closed.
// Built with BASELINE_WITH_IMPORTS (and parvola.exe's manifest), it also
// imports every system DLL parvola.exe imports, in the same versions, and
// never calls them: what is left between the two is the program's own work.
#include <windows.h>

#include <cwchar>

#if defined(BASELINE_WITH_IMPORTS)
#include <commctrl.h>
#include <objbase.h>
#include <setupapi.h>
#include <shellapi.h>
#endif

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
#if defined(BASELINE_WITH_IMPORTS)
  // Never true; the calls only make the imports.
  if (std::wcsstr(arguments, L"-never-") != nullptr) {
    CLSID clsid;
    ::CLSIDFromString(arguments, &clsid);
    ::SetupDiDestroyDeviceInfoList(nullptr);
    ::Shell_NotifyIconW(NIM_DELETE, nullptr);
    ::InitCommonControls();
    ::RegCloseKey(nullptr);
    ::DeleteObject(nullptr);
  }
#endif
  if (std::wcsstr(arguments, L"-ng") != nullptr) return 0;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"Baseline";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, L"Baseline", L" Baseline", WS_POPUP | WS_BORDER, 100,
                                        100, 370, 205, nullptr, nullptr, instance, nullptr);
  if (std::wcsstr(arguments, L"-hidden") != nullptr) {
    // One line of text, as every window with controls has: the first
    // control that needs a font starts Wine's font system in this process.
    ::CreateWindowExW(0, L"STATIC", L"Baseline", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, window,
                      nullptr, instance, nullptr);
    ::DestroyWindow(window);
    return 0;
  }
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
