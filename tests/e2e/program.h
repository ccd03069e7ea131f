#pragma once
// Starts parvola.exe (from the driver's own folder) and watches it from
// outside, as a user's tools would.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

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

// Control `number` of the main window, also when it lies in the page
// container; nullptr when there is none.
HWND FindControl(HWND mainWindow, int number);

// The rows of a list view of another process, read through memory lent in
// that process (a pointer of ours means nothing there).
std::vector<std::wstring> ListRows(HWND list);


}  // namespace e2e
