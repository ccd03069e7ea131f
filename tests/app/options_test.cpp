#include "app/options.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"

namespace app {
namespace {

using sim::Narrow;

TEST(TrimControl, DropsControlsAndBlanksAtBothEndsOnly) {
  const struct {
    Text input;
    Text expected;
  } cases[] = {
      {u"", u""},
      {u"   ", u""},
      {u"\t\r\n -ng \x01\x1F", u"-ng"},
      {u"a  b", u"a  b"},
      {u"!x!", u"!x!"},  // 33 is kept
      {u"\x7F", u"\x7F"},
      {u"\u00A0x\u00A0", u"\u00A0x\u00A0"},  // no-break space is not below 33
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.input));
    EXPECT_EQ(TrimControl(c.input), c.expected);
  }
}

TEST(SplitArguments, FollowsTheSystemsSplitOfTheProgramPath) {
  const struct {
    const char* what;
    Text commandLine;
    Text programPath;
    Text expected;
  } cases[] = {
      {"no arguments", u"parvola.exe", u"parvola.exe", u""},
      {"only blanks after the path", u"parvola.exe  \t ", u"parvola.exe", u""},
      {"two options", u"parvola.exe -ng -a", u"parvola.exe", u"-ng\n-a\n"},
      {"quoted path with blanks", u"\"C:\\Tools dir\\parvola.exe\" -ng -nt",
       u"C:\\Tools dir\\parvola.exe", u"-ng\n-nt\n"},
      {"quoted path, no options", u"\"C:\\a b\\parvola.exe\"", u"C:\\a b\\parvola.exe", u""},
      {"quoted option", u"parvola.exe \"-a\"", u"parvola.exe", u"-a\n"},
      {"quoted blanks stay", u"parvola.exe \"a b\" c", u"parvola.exe", u"a b\nc\n"},
      {"two blanks give an empty field", u"parvola.exe -ng  -a", u"parvola.exe",
       u"-ng\n\n-a\n"},
      {"a tab does not separate", u"parvola.exe -ng\t-a", u"parvola.exe", u"-ng\t-a\n"},
      {"unbalanced quote keeps the rest together", u"parvola.exe \"-ng -a", u"parvola.exe",
       u"-ng -a\n"},
      {"quote glued to an option", u"parvola.exe -n\"g\" -a", u"parvola.exe", u"-ng\n-a\n"},
      {"path found later in the line", u"x parvola.exe -ng", u"parvola.exe", u"-ng\n"},
      // Not found: position 0, so the tail starts at 1-based position 0 + 5.
      {"path not found", u"parvola.exe -ng", u"zzzzz", u"ola.exe\n-ng\n"},
      {"path longer than the line", u"p.exe", u"a-much-longer-path", u""},
      {"empty path", u" -ng", u"", u"-ng\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Narrow(SplitArguments(c.commandLine, c.programPath)), Narrow(c.expected));
  }
}

TEST(ReadOptions, ComparesWholeFieldsAfterLowerCasing) {
  const struct {
    Text arguments;
    StartupFlags expected;
  } cases[] = {
      {u"", {0, 0, 1, 1, 0}},
      {u"-ng\n", {0, 0, 1, 0, 0}},
      {u"-Ng\n", {0, 0, 1, 0, 0}},
      {u"/ng\n", {0, 0, 1, 1, 0}},
      {u"--ng\n", {0, 0, 1, 1, 0}},
      {u"-ngx\n", {0, 0, 1, 1, 0}},
      {u" -ng\n", {0, 0, 1, 1, 0}},
      {u"-ng\t-a\n", {0, 0, 1, 1, 0}},
      {u"-ng\n\n-a\n", {0, 0, 1, 0, 1}},
      {u"-USB\n-Rl\n-nT\n-A\n-ng\n", {1, 1, 0, 0, 1}},
      {u"-a\n-a\n-a\n", {0, 0, 1, 1, 1}},
      {u"-usb", {0, 0, 1, 1, 0}},  // a field needs its line feed
      {u"junk\n-rl\n\x01\n", {0, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments));
    StartupFlags flags;
    ReadOptions(c.arguments, flags);
    const auto fields = [](const StartupFlags& f) {
      return std::array{f.usbOnly, f.removeLetters, f.notify, f.gui, f.autoMount};
    };
    EXPECT_EQ(fields(flags), fields(c.expected));
  }
}

// Both functions are looked up by name in system libraries, each freed
// again; anything unresolved counts as no arguments.
TEST(SplitCommandLine, ReadsTheProcessCommandLine) {
  const struct {
    const char* what;
    void (*arrange)();
    const char* expected = "";
  } cases[] = {
      {"all there", [] {}, "-NG\n\n-a\n"},
      {"no shell32", [] { sim::process().missingLibraries.insert(u"Shell32.dll"); }},
      {"no kernel32", [] { sim::process().missingLibraries.insert(u"Kernel32.dll"); }},
      {"no CommandLineToArgvW",
       [] { sim::process().missingProcedures.insert("CommandLineToArgvW"); }},
      {"no GetCommandLineW", [] { sim::process().missingProcedures.insert("GetCommandLineW"); }},
      {"CommandLineToArgvW fails", [] { sim::FailCall("CommandLineToArgvW"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    sim::process().commandLine = u"\"C:\\Program Files\\parvola.exe\" -NG  \"-a\"";
    c.arrange();
    EXPECT_EQ(Narrow(SplitCommandLine()), c.expected);
    EXPECT_EQ(sim::process().loadedLibraries, 0);
    const std::vector<Text> both = {u"Kernel32.dll", u"Shell32.dll"};
    if (*c.expected) {
      EXPECT_EQ(sim::process().librariesLoaded, both);
    }
  }
}

}  // namespace
}  // namespace app
