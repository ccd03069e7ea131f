#pragma once
// Simulated threads: started, never run by themselves. A test ends one when
// it chooses, which runs its entry to the end on the test's own thread.
#include <cstddef>
#include <vector>

#include "platform/threads.h"
#include "tests/sim/sim.h"

namespace sim {

struct SimThread {
  platform::ThreadEntry entry = nullptr;
  void* argument = nullptr;
  bool running = true;
  bool handleOpen = true;
};

struct Threads {
  std::vector<SimThread> started;  // in the order of StartThread
  int openHandles = 0;
};
inline Threads& threads() { return State<Threads>(); }

// Runs thread `index`'s entry and marks it ended.
void FinishThread(std::size_t index);
// Ends every thread that still runs.
void FinishAllThreads();

}  // namespace sim
