#include "tests/sim/system_sim.h"

#include <string>
#include <utility>

namespace platform {

void Sleep(unsigned milliseconds) noexcept {
  (void)sim::Enter("Sleep", std::to_string(milliseconds));
  sim::os().sleeps.push_back(milliseconds);
  if (auto during = std::exchange(sim::os().duringNextSleep, nullptr)) during();
}

void FailCriticalErrors() noexcept {
  (void)sim::Enter("SetErrorMode");
  sim::process().errorMode |= sim::kFailCriticalErrors;
}

std::optional<OsVersion> QueryOsVersion() noexcept {
  if (sim::Enter("GetVersionExA")) return std::nullopt;
  return sim::os().version;
}

// The simulated ANSI code page is Latin-1: every byte is the code point of
// the same value, so tests can tell a converted byte from a copied one.
Text AnsiToText(std::string_view bytes) noexcept {
  if (sim::Enter("MultiByteToWideChar")) return {};
  Text text;
  for (char c : bytes) text.push_back(static_cast<unsigned char>(c));
  return text;
}

}  // namespace platform
