// Times programs under Wine from the inside of the same Wine machine.
//   probe visible RUNS TITLE EXE ARGS   launch to visible window, per run (ms)
//   probe exit RUNS EXE ARGS            launch to exit, per run (ms)
//   probe peak RUNS TITLE EXE ARGS      peak resident memory, per run (KB);
//                                       TITLE "-": the program ends itself
// Prints one line per run. A window run ends by WM_CLOSE. The programs'
// standard handles lead to NUL, so their output costs the same for all.
#include <windows.h>
#include <psapi.h>

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
  static const HANDLE nul = [] {
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    return ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherited, OPEN_EXISTING, 0, nullptr);
  }();
  std::wstring line = commandLine;
  STARTUPINFOW startup = {sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return nullptr;
  }
  ::CloseHandle(info.hThread);
  return info.hProcess;
}

// The peak so far; Windows and Wine keep it for the life of the process.
SIZE_T PeakKilobytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {sizeof(counters)};
  return ::GetProcessMemoryInfo(process, &counters, sizeof(counters))
             ? counters.PeakWorkingSetSize / 1024
             : 0;
}

// Samples the peak until the process ends (a process that has ended has no
// memory to ask about); closes the window titled `title` once it shows.
SIZE_T FollowPeak(HANDLE process, const wchar_t* title) {
  SIZE_T peak = 0;
  bool closed = title == nullptr;
  for (int i = 0; i < 20000 && ::WaitForSingleObject(process, 2) == WAIT_TIMEOUT; ++i) {
    const SIZE_T now = PeakKilobytes(process);
    if (now > peak) peak = now;
    if (closed) continue;
    const HWND window = ::FindWindowW(nullptr, title);
    if (window != nullptr && ::IsWindowVisible(window)) {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      closed = true;
    }
  }
  return peak;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const bool visible = std::wcscmp(argv[1], L"visible") == 0;
  const bool peak = std::wcscmp(argv[1], L"peak") == 0;
  const int runs = _wtoi(argv[2]);
  const wchar_t* title = visible || peak ? argv[3] : nullptr;
  if (peak && std::wcscmp(title, L"-") == 0) title = nullptr;
  const int first = visible || peak ? 4 : 3;
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
    double figure = -1;  // ms, or KB for "peak"
    if (peak) {
      figure = static_cast<double>(FollowPeak(process, title));
    } else if (visible) {
      for (int i = 0; i < 20000; ++i) {
        const HWND window = ::FindWindowW(nullptr, title);
        if (window != nullptr && ::IsWindowVisible(window)) {
          figure = Now() - start;
          ::PostMessageW(window, WM_CLOSE, 0, 0);
          break;
        }
        ::Sleep(1);
      }
      if (::WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
    } else {
      ::WaitForSingleObject(process, 60000);
      figure = Now() - start;
    }
    ::CloseHandle(process);
    std::printf("%.1f\n", figure);
    std::fflush(stdout);
  }
  return 0;
}
