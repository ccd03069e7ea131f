#pragma once
// user32 and the window layer, in portable types.
//
// The program addresses its own window objects by fixed small numbers; this
// layer keeps the number -> handle table and is the only code that sees
// HWNDs. Windows of other processes are opaque `Window` values.
#include <cstdint>

#include "platform/text.h"

namespace platform {

using Window = std::uintptr_t;

// MessageBoxW with an OK button only; returns when the user has closed it.
void ShowMessageBox(const Text& caption, const Text& text) noexcept;
// FindWindowW by title alone; 0 when there is none.
[[nodiscard]] Window FindWindowByTitle(const Text& title) noexcept;
void SetForegroundWindow(Window window) noexcept;

// Creates the top-level window `number`: hidden, a thin border and no
// caption, the given client size, centred on the screen, filled with
// `background` (0x00BBGGRR). False when the window could not be created.
bool CreateMainWindow(int number, const Text& title, int clientWidth, int clientHeight,
                      std::uint32_t background) noexcept;
void ShowObject(int number) noexcept;
// Texts and rows of our own objects. Callable from the scan thread: the
// main thread keeps dispatching messages while a scan runs.
void SetObjectText(int number, const Text& text) noexcept;
void ClearListRows(int number) noexcept;
void AppendListRow(int number, const Text& row) noexcept;
// AnimateWindowW on object `number`.
void AnimateObject(int number, unsigned milliseconds, unsigned flags) noexcept;
// Removes the tray icon and destroys every object, font and icon made.
void DestroyObjects() noexcept;

enum class EventKind {
  kOther,         // anything the loop does not act on
  kCloseRequest,  // WM_CLOSE to the main window
  kQuit,          // WM_QUIT: the queue is gone
};

struct Event {
  EventKind kind = EventKind::kOther;
  int object = 0;  // the object the message was for, when it is one of ours
};

// Waits for the next message, dispatches it, and describes it.
[[nodiscard]] Event WaitForEvent() noexcept;

}  // namespace platform
