#include "tests/sim/resources_sim.h"

#include <string>

#include "tests/sim/narrow.h"

namespace platform {
namespace {

constexpr Module kDataFileBase = 0x5000;

}  // namespace

Text ProgramFilePath() noexcept {
  if (sim::Enter("GetModuleFileNameW")) return {};
  return sim::resources().programPath;
}

Module LoadDataFile(const Text& path) noexcept {
  if (sim::Enter("LoadLibraryExW", "AS_DATAFILE " + sim::Narrow(path)) ||
      !sim::resources().files.count(path)) {
    return 0;
  }
  ++sim::process().loadedLibraries;
  const Module module = kDataFileBase + sim::resources().loaded.size();
  sim::resources().loaded[module] = path;
  return module;
}

std::optional<std::vector<std::uint8_t>> ReadResource(Module module, int type,
                                                      int number) noexcept {
  const std::string what = std::to_string(type) + " " + std::to_string(number);
  if (sim::Enter("FindResourceW", what)) return std::nullopt;
  const auto file = sim::resources().loaded.find(module);
  if (file == sim::resources().loaded.end()) return std::nullopt;
  const auto& all = sim::resources().files[file->second].resources;
  const auto found = all.find({type, number});
  if (found == all.end()) return std::nullopt;
  if (sim::Enter("LoadResource", what) || sim::Enter("LockResource", what) ||
      sim::Enter("SizeofResource", what)) {
    return std::nullopt;
  }
  return found->second;
}

}  // namespace platform
