#pragma once
// Simulated files with resources, and the running program's own path.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/resources.h"
#include "tests/sim/sim.h"

namespace sim {

struct ResourceFile {
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> resources;  // (type, number)
};

struct Resources {
  Text programPath = u"C:\\Tools\\parvola.exe";
  std::map<Text, ResourceFile> files;
  std::map<platform::Module, Text> loaded;  // data files by module
};
inline Resources& resources() { return State<Resources>(); }

}  // namespace sim
