// Hostile command lines given to the real parvola.exe: whatever follows
// "-ng", the program runs its one scan and exits 0. The lines are random but
// repeatable (fixed seeds), one table row per kind of hostility.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/options.h"
#include "tests/e2e/program.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// CreateProcessW takes at most 32767 characters, the program path included.
constexpr std::size_t kLongest = 32000;

std::wstring Junk(int kind, std::mt19937& random) {
  std::uniform_int_distribution<int> pick(0, 0x7FFFFFFF);
  std::wstring junk;
  const std::size_t length = kind == 0 ? kLongest - 300 - pick(random) % 100 : pick(random) % 200;
  while (junk.size() < length) {
    const int r = pick(random);
    switch (kind) {
      case 0:  // very long, mostly printable, with blanks and quotes
        junk += static_cast<wchar_t>(r % 5 == 0 ? L' ' : r % 7 == 0 ? L'"' : 33 + r % 94);
        break;
      case 1:  // control characters (no NUL: it ends a command line)
        junk += static_cast<wchar_t>(1 + r % 31);
        break;
      case 2:  // unbalanced quotes and backslashes around option-like words
        junk += (r % 3 == 0) ? L"\"" : (r % 3 == 1) ? L"\\\\\"" : L" -n\"g ";
        break;
      case 3:  // text beyond the basic plane, as pairs and as lone halves
        if (r % 3 == 0) {
          junk += static_cast<wchar_t>(0xD800 + r % 0x400);
          junk += static_cast<wchar_t>(0xDC00 + (r >> 10) % 0x400);
        } else {
          junk += static_cast<wchar_t>((r % 2 ? 0xD800 : 0xDC00) + (r >> 3) % 0x400);
        }
        break;
      default:  // anything at all but NUL
        junk += static_cast<wchar_t>(1 + r % 0xFFFF);
    }
  }
  junk.resize(std::min(junk.size(), length));
  return junk;
}

// True when the line would keep the program in its event loop ("-a").
bool AsksForAutoMount(const std::wstring& arguments) {
  const std::wstring line = L"parvola.exe -ng " + arguments;
  app::StartupFlags flags;
  app::ReadOptions(app::SplitArguments(app::Text(line.begin(), line.end()), u"parvola.exe"),
                   flags);
  return flags.autoMount == 1;
}

class HostileCommandLine : public ::testing::TestWithParam<int> {};

TEST_P(HostileCommandLine, OneShotAlwaysEndsWithExitCodeZero) {
  std::mt19937 random(1234 + GetParam());
  for (int run = 0; run < 24; ++run) {
    std::wstring junk = Junk(GetParam(), random);
    if (AsksForAutoMount(junk)) continue;
    SCOPED_TRACE(testing::Message() << "run " << run << ", " << junk.size() << " characters");
    Program program(L"-ng " + junk);
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.WaitForExit(30s), 0);
  }
}

std::string KindName(const testing::TestParamInfo<int>& kind) {
  const char* names[] = {"VeryLong", "ControlCharacters", "UnbalancedQuotes", "BeyondBasicPlane",
                         "AnyCharacters"};
  return names[kind.param];
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileCommandLine, ::testing::Range(0, 5), KindName);

}  // namespace
}  // namespace e2e
