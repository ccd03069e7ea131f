#include "tests/e2e/program.h"

#include <commctrl.h>

#include <thread>

namespace e2e {
namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"parvola.exe";
}

BOOL CALLBACK FindBalloon(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == L"tooltips_class32" && ::IsWindowVisible(window) &&
      !WindowText(window).empty()) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

Program::Program(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION info = {};
  if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
}

Program::~Program() {
  if (process_ == nullptr) return;
  if (Running()) {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 5000);
  }
  ::CloseHandle(process_);
}

long Program::WaitForExit(std::chrono::milliseconds timeout) {
  if (process_ == nullptr ||
      ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

bool Program::Running() const {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

HWND FindMainWindow() { return ::FindWindowW(nullptr, L" Parvola"); }

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring StatusText() {
  return WindowText(FindControl(FindMainWindow(), kStatus));
}

HWND FindControl(HWND mainWindow, int number) {
  if (HWND control = ::GetDlgItem(mainWindow, number)) return control;
  const HWND page = ::GetDlgItem(mainWindow, kPage);
  return page ? ::GetDlgItem(page, number) : nullptr;
}

std::vector<std::wstring> ListRows(HWND list) {
  std::vector<std::wstring> rows;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(list, &processId);
  const HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return rows;
  constexpr int kCapacity = 512;
  const SIZE_T size = sizeof(LVITEMW) + kCapacity * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(
      ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote != nullptr) {
    const auto count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      LVITEMW item = {};
      item.iSubItem = 0;
      item.cchTextMax = kCapacity;
      item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
      wchar_t text[kCapacity] = {};
      ::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
      ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
      ::ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t),
                          nullptr);
      rows.emplace_back(text);
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return rows;
}

std::vector<std::wstring> DriveRows() {
  return ListRows(FindControl(FindMainWindow(), kDriveList));
}

std::wstring BalloonText() {
  HWND balloon = nullptr;
  ::EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&balloon));
  return balloon ? WindowText(balloon) : L"";
}

void PressKeys(const std::vector<unsigned>& keys) {
  const auto key = [](WORD code, DWORD flags) {
    INPUT input = {INPUT_KEYBOARD};
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    return input;
  };
  for (const unsigned code : keys) {
    std::vector<INPUT> inputs;
    const WORD modifier = (code & kShift) ? VK_SHIFT : (code & kAlt) ? VK_MENU : 0;
    if (modifier != 0) inputs.push_back(key(modifier, 0));
    inputs.push_back(key(static_cast<WORD>(code), 0));
    inputs.push_back(key(static_cast<WORD>(code), KEYEVENTF_KEYUP));
    if (modifier != 0) inputs.push_back(key(modifier, KEYEVENTF_KEYUP));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // One key at a time, as a person types: each is taken before the next.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

void MouseAt(int x, int y, DWORD buttons) {
  INPUT input = {INPUT_MOUSE};
  // Absolute positions are in 1/65535 of the screen.
  input.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  ::SendInput(1, &input, sizeof(INPUT));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {sizeof(info)};
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                                : nullptr;
}

}  // namespace e2e
