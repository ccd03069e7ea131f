#pragma once
// A wait for the status line that, when it fails, says what it waited for,
// what the line read last and for how long.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/e2e/program.h"
#include "tests/sim/narrow.h"

namespace e2e {

inline ::testing::AssertionResult StatusBecomes(const std::wstring& expected,
                                                std::chrono::milliseconds timeout) {
  std::wstring last;
  if (WaitUntil([&] { return (last = StatusText()) == expected; }, timeout)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "waited " << timeout.count() << " ms for the status line to read \""
         << sim::Narrow(expected) << "\"; it read \"" << sim::Narrow(last) << "\" last";
}

}  // namespace e2e
