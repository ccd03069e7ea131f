#pragma once
// kernel32 threads, in portable types: start one, ask whether it still runs.
#include "platform/kernel32.h"

namespace platform {

using ThreadEntry = void (*)(void* argument);

// CreateThread running entry(argument). 0 when the thread could not be
// started: then `entry` never runs and `argument` is still the caller's.
[[nodiscard]] Handle StartThread(ThreadEntry entry, void* argument) noexcept;
// A wait with zero time-out. A handle that cannot be waited on counts as a
// thread that has ended, so a broken handle never blocks later starts.
[[nodiscard]] bool ThreadRunning(Handle thread) noexcept;
// CloseHandle on a thread handle; the thread itself runs on.
void CloseThread(Handle thread) noexcept;

}  // namespace platform
