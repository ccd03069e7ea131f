#include <windows.h>

#include <memory>

#include "platform/threads.h"

namespace platform {
namespace {

struct Start {
  ThreadEntry entry;
  void* argument;
};

DWORD WINAPI Trampoline(LPVOID parameter) {
  const std::unique_ptr<Start> start(static_cast<Start*>(parameter));
  start->entry(start->argument);
  return 0;
}

}  // namespace

Handle StartThread(ThreadEntry entry, void* argument) noexcept {
  auto start = std::make_unique<Start>(Start{entry, argument});
  const HANDLE thread = ::CreateThread(nullptr, 0, Trampoline, start.get(), 0, nullptr);
  if (thread == nullptr) return 0;
  (void)start.release();  // the thread frees it
  return reinterpret_cast<Handle>(thread);
}

bool ThreadRunning(Handle thread) noexcept {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(thread), 0) == WAIT_TIMEOUT;
}

void CloseThread(Handle thread) noexcept {
  if (thread != 0) ::CloseHandle(reinterpret_cast<HANDLE>(thread));
}

}  // namespace platform
