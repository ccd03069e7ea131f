#pragma once
// Balloons shown at the simulated tray.
#include <cstdint>
#include <vector>

#include "tests/sim/sim.h"

namespace sim {

struct Balloon {
  int window;
  unsigned icon;
  Text title;
  Text text;
  unsigned timeout;
  std::uint32_t infoFlags;
};

struct Balloons {
  std::vector<Balloon> shown;
};
inline Balloons& balloons() { return State<Balloons>(); }

}  // namespace sim
