#include "tests/sim/sim.h"

#include <algorithm>
#include <utility>

namespace sim {
namespace {

struct Machine {
  std::vector<std::string> calls;
  std::set<std::string, std::less<>> failing;
  int generation = 0;
  std::set<std::size_t> failingAt;
  std::map<std::string, std::function<void()>, std::less<>> onNextCall;
};

Machine& machine() {
  static Machine m;
  return m;
}

}  // namespace

void Reset() {
  const int next = machine().generation + 1;
  machine() = Machine();
  machine().generation = next;
}

int Generation() { return machine().generation; }

const std::vector<std::string>& Calls() { return machine().calls; }

std::size_t CountCalls(std::string_view prefix) {
  return static_cast<std::size_t>(
      std::count_if(machine().calls.begin(), machine().calls.end(),
                    [prefix](const std::string& entry) { return entry.starts_with(prefix); }));
}

std::string CallName(const std::string& entry) { return entry.substr(0, entry.find(' ')); }

void FailCall(std::string name) { machine().failing.insert(std::move(name)); }

void FailCallAt(std::size_t index) { machine().failingAt.insert(index); }

void OnNextCall(std::string name, std::function<void()> action) {
  machine().onNextCall[std::move(name)] = std::move(action);
}

bool Enter(std::string_view name, std::string_view detail) {
  const bool failsHere = machine().failingAt.count(machine().calls.size()) != 0;
  std::string entry(name);
  if (!detail.empty()) entry.append(" ").append(detail);
  machine().calls.push_back(std::move(entry));
  if (const auto it = machine().onNextCall.find(name); it != machine().onNextCall.end()) {
    const std::function<void()> action = std::move(it->second);
    machine().onNextCall.erase(it);
    action();
  }
  return failsHere || machine().failing.count(name) != 0;
}

}  // namespace sim
