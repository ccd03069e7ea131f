#pragma once
// Starts parvola.exe (from the driver's own folder) and watches it from
// outside, as a user's tools would.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The program's own numbers and texts, as a user's tools see them.
inline constexpr int kPage = 20, kStatus = 27, kDriveList = 28, kRefresh = 30, kMenuExit = 3;
inline const std::wstring kChecking = L"Check System...";
inline const std::wstring kNothingFound = L"No partition found.";
// A scan runs on for this pause after its result is shown; a request made
// before its end is dropped.
inline constexpr std::chrono::milliseconds kFinalPause{1300};

// A started program; killed on destruction if it still runs, so a failing
// test never leaves a process behind.
class Program {
 public:
  explicit Program(const std::wstring& arguments);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_ != nullptr; }
  // The exit code once the process has ended within `timeout`; -1 otherwise.
  long WaitForExit(std::chrono::milliseconds timeout);
  bool Running() const;

 private:
  HANDLE process_ = nullptr;
};

// Polls `condition` every 20 ms until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The main window of a running instance, or nullptr.
HWND FindMainWindow();

std::wstring WindowText(HWND window);

// The main window's status line; empty when there is none.
std::wstring StatusText();

// Control `number` of the main window, also when it lies in the page
// container; nullptr when there is none.
HWND FindControl(HWND mainWindow, int number);

// The rows of a list view of another process, read through memory lent in
// that process (a pointer of ours means nothing there).
std::vector<std::wstring> ListRows(HWND list);
// Those of the main window's drive list.
std::vector<std::wstring> DriveRows();

// Text of the balloon Wine's virtual desktop shows, or empty while none is
// visible. Wine opens a balloon about two seconds after it is asked for.
std::wstring BalloonText();

// Real input, through the system's input queue to the foreground window
// (SendInput), as a user's keyboard and mouse make it; each key is pressed
// and released, with Shift or Alt held when it carries kShift or kAlt.
inline constexpr unsigned kShift = 0x10000;
inline constexpr unsigned kAlt = 0x20000;
void PressKeys(const std::vector<unsigned>& keys);
// Moves the pointer to screen point x, y and then makes `buttons`
// (MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, both or none) there.
void MouseAt(int x, int y, DWORD buttons);
// The window with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);

}  // namespace e2e
