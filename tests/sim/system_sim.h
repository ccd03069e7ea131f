#pragma once
// The simulated clock, Windows version and ANSI code page.
#include <functional>
#include <vector>

#include "platform/system.h"
#include "tests/sim/sim.h"

namespace sim {

struct System {
  std::vector<unsigned> sleeps;  // milliseconds, recorded, never slept
  // Run once during the next pause: what other programs do meanwhile.
  std::function<void()> duringNextSleep;
  platform::OsVersion version{10, 0};
};
inline System& os() { return State<System>(); }

}  // namespace sim
