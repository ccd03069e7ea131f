// Times programs under Wine from the inside of the same Wine machine.
//   probe visible RUNS TITLE EXE ARGS   launch to visible window, per run (ms)
//   probe exit RUNS EXE ARGS            launch to exit, per run (ms)
// Prints one line of milliseconds per run. A window run ends by WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HANDLE Launch(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return nullptr;
  }
  ::CloseHandle(info.hThread);
  return info.hProcess;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const bool visible = std::wcscmp(argv[1], L"visible") == 0;
  const int runs = _wtoi(argv[2]);
  const wchar_t* title = visible ? argv[3] : nullptr;
  const int first = visible ? 4 : 3;
  // On Windows the desktop is always there. Wine starts its desktop process
  // for the first program that asks and ends it a moment after the last one
  // has gone, so each timed run would pay for a fresh start. The probe holds
  // it for all runs.
  (void)::GetDesktopWindow();
  std::wstring commandLine;
  for (int i = first; i < argc; ++i) {
    commandLine += (i == first ? L"\"" : L" ") + std::wstring(argv[i]) + (i == first ? L"\"" : L"");
  }
  for (int run = 0; run < runs; ++run) {
    const double start = Now();
    const HANDLE process = Launch(commandLine);
    if (process == nullptr) return 1;
    double elapsed = -1;
    if (visible) {
      for (int i = 0; i < 20000; ++i) {
        const HWND window = ::FindWindowW(nullptr, title);
        if (window != nullptr && ::IsWindowVisible(window)) {
          elapsed = Now() - start;
          ::PostMessageW(window, WM_CLOSE, 0, 0);
          break;
        }
        ::Sleep(1);
      }
      if (::WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
    } else {
      ::WaitForSingleObject(process, 60000);
      elapsed = Now() - start;
    }
    ::CloseHandle(process);
    std::printf("%.1f\n", elapsed);
    std::fflush(stdout);
  }
  return 0;
}
