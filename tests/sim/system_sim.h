#pragma once
// The simulated clock, Windows version and ANSI code page.
#include <vector>

#include "platform/system.h"
#include "tests/sim/sim.h"

namespace sim {

struct System {
  std::vector<unsigned> sleeps;  // milliseconds, recorded, never slept
  platform::OsVersion version{10, 0};
};
inline System& os() { return State<System>(); }

}  // namespace sim
