#include "tests/sim/threads_sim.h"

#include <algorithm>
#include <string>

namespace sim {
namespace {

constexpr platform::Handle kThreadHandleBase = 0x7000;

// Arguments of threads a test never ends die with the test process, as they
// would with a real one; kept reachable here so leak checks do not report
// them as the program's fault. Never destroyed: leak checks run after the
// destructors of statics.
std::vector<void*>& Unfinished() {
  static auto* const arguments = new std::vector<void*>;
  return *arguments;
}

SimThread* Find(platform::Handle handle) {
  const std::size_t index = handle - kThreadHandleBase;
  if (handle < kThreadHandleBase || index >= threads().started.size()) return nullptr;
  return &threads().started[index];
}

}  // namespace

void FinishThread(std::size_t index) {
  SimThread& thread = threads().started.at(index);
  if (!thread.running) return;
  std::erase(Unfinished(), thread.argument);
  // Copied out: an entry that starts threads of its own grows the list.
  const platform::ThreadEntry entry = thread.entry;
  void* const argument = thread.argument;
  entry(argument);
  threads().started.at(index).running = false;
}

void FinishAllThreads() {
  for (std::size_t i = 0; i < threads().started.size(); ++i) FinishThread(i);
}

}  // namespace sim

namespace platform {

Handle StartThread(ThreadEntry entry, void* argument) noexcept {
  if (sim::Enter("CreateThread")) return 0;
  sim::threads().started.push_back({entry, argument});
  sim::Unfinished().push_back(argument);
  ++sim::threads().openHandles;
  return sim::kThreadHandleBase + sim::threads().started.size() - 1;
}

bool ThreadRunning(Handle thread) noexcept {
  if (sim::Enter("WaitForSingleObject", std::to_string(thread))) return false;
  const sim::SimThread* found = sim::Find(thread);
  return found != nullptr && found->handleOpen && found->running;
}

void CloseThread(Handle thread) noexcept {
  (void)sim::Enter("CloseHandle", "thread " + std::to_string(thread));
  if (sim::SimThread* found = sim::Find(thread); found != nullptr && found->handleOpen) {
    found->handleOpen = false;
    --sim::threads().openHandles;
  }
}

}  // namespace platform
