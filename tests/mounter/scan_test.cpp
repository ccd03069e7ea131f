#include "mounter/scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/objects.h"
#include "app/texts.h"
#include "mounter/scan_texts.h"
#include "tests/sim/balloon_sim.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"
#include "tests/sim/system_sim.h"
#include "tests/sim/volumes_sim.h"

namespace mounter {
namespace {

using platform::Text;
using sim::AddListedVolume;
using sim::Narrow;
using sim::VolumePath;

constexpr std::uint32_t kNoRootDir = 1;
constexpr std::uint32_t kRemovable = 2;
const Text kStick = u"\\Device\\Stick";
const Text kOther = u"\\Device\\Other";

constexpr sim::VolumeDevice kEmpty{.driveType = kRemovable, .medium = false};
constexpr char kShareTarget[] = "\\device\\lanmanredirector\\;d:0\\server\\deploy";
const Text kSlot = u"\\Device\\Slot";
const Text kSlotLower = platform::AsciiLower(kSlot);

// D: on a USB stick, made with the stick's exact name.
void StickLetter(sim::VolumeDevice stick = {}) {
  stick.driveType = kRemovable;
  sim::AddDevice(kStick, stick);
  sim::DefineName(u"D:", kStick);
}

// D: on a network share, as the redirector names it.
void ShareLetter(bool reachable) {
  const Text share = u"\\Device\\LanmanRedirector\\;D:0\\server\\deploy";
  sim::AddShare(share, reachable);
  sim::DefineName(u"D:", share);
}
// No file system mounts until it is unlocked.
constexpr sim::VolumeDevice kLocked{.answers = false, .opens = false};

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    app::SetTexts(app::MakeTextTable(0x0409));
  }

  // A letter in use, pointing at a device of its own, made as the system
  // makes its letters: the device first, named by its exact name.
  static sim::VolumeDevice& Letter(char16_t letter, const Text& path,
                                   const sim::VolumeDevice& device = {}) {
    sim::VolumeDevice& made = sim::AddDevice(path, device);
    sim::DefineName(Text(1, letter) + u":", path);
    return made;
  }

  static const Text& Status() { return sim::desktop().objects[app::ctlStatus].title; }
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const Text& row : sim::desktop().objects[app::ctlDriveList].rows) {
      rows.push_back(Narrow(row));
    }
    return rows;
  }
  static const std::vector<sim::Balloon>& Balloons() { return sim::balloons().shown; }
  // Lower case: only one row is about the letter case of a definition.
  static std::string Target(const char16_t* name) {
    const auto target = sim::TargetOf(name);
    return target ? Narrow(platform::AsciiLower(*target)) : "(none)";
  }
};

// The letter rows run under every reading of how Windows knows a drive type.
class LetterTest : public ScanTest, public ::testing::WithParamInterface<sim::DriveTypeModel> {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    Fresh();
  }
  void Fresh() const {
    sim::Reset();
    sim::volumes().driveTypeModel = GetParam();
  }
};

std::string ModelName(const ::testing::TestParamInfo<sim::DriveTypeModel>& model) {
  constexpr const char* kNames[] = {"AskedLive", "KeptFromCreation", "NtDesign"};
  return kNames[static_cast<int>(model.param)];
}

INSTANTIATE_TEST_SUITE_P(, LetterTest, ::testing::ValuesIn(sim::kDriveTypeModels), ModelName);

ScanOptions Options(std::int64_t notify = 1, std::int64_t gui = 1, std::int64_t removeLetters = 0,
                    std::int64_t usbOnly = 0) {
  return {usbOnly, removeLetters, notify, gui};
}

TEST_P(LetterTest, LetterlessVolumesTakeTheFreeLettersInListOrder) {
  Letter(u'C', VolumePath(1));
  Letter(u'D', VolumePath(2));
  // Only whole paths strike a volume: not an empty target, nor the tail of
  // another path.
  Letter(u'G', u"");
  Letter(u'H', u"HarddiskVolume3");
  // Already lettered as C:, reported in another letter case.
  AddListedVolume(u"\\DEVICE\\HARDDISKVOLUME1");
  AddListedVolume(VolumePath(5)).label = u"DATA";
  AddListedVolume(VolumePath(3)).label = u"BACKUP";

  RunScan(Options());

  // Given as the device manager reported it, so Windows can type the letter.
  EXPECT_EQ(sim::TargetOf(u"e:"), VolumePath(5));
  EXPECT_EQ(sim::TargetOf(u"f:"), VolumePath(3));
  EXPECT_EQ(Target(u"i:"), "(none)");
  EXPECT_EQ(sim::TargetOf(u"c:"), VolumePath(1));  // not defined again
  EXPECT_EQ(Rows(), (std::vector<std::string>{"E: - DATA", "F: - BACKUP"}));
  ASSERT_EQ(Balloons().size(), 1u);
  const sim::Balloon& balloon = Balloons()[0];
  EXPECT_EQ(Narrow(balloon.title), "2 new Partition(s) found.");
  EXPECT_EQ(Narrow(balloon.text), "E: - DATA\r\nF: - BACKUP\r\n");
  EXPECT_EQ(balloon.window, app::mainWindow);
  EXPECT_EQ(balloon.icon, static_cast<unsigned>(app::trayIcon));
  EXPECT_EQ(balloon.timeout, 80u);
  EXPECT_EQ(balloon.infoFlags, 0u);
  EXPECT_EQ(Status(), balloon.title);
  EXPECT_EQ(sim::os().sleeps, (std::vector<unsigned>{300, 1000}));

  sim::balloons().shown.clear();
  RunScan(Options());

  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Narrow(Status()), "No partition found.");
  EXPECT_TRUE(Balloons().empty());
  EXPECT_EQ(sim::TargetOf(u"f:"), VolumePath(3));
  EXPECT_EQ(Target(u"i:"), "(none)");
}

// A screen reader reads each status the scan shows, but only from a window
// that shows. The one column spans the list whether the rows have brought
// its vertical bar or not, so no sideways bar shows.
TEST_F(ScanTest, StatusIsAnnouncedWhileShownAndTheColumnFitsTheListAfterEachChange) {
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    sim::Reset();
    sim::desktop().objects[app::mainWindow].visible = shown;
    sim::desktop().objects[app::ctlDriveList].rows = {u"E: - OLD"};
    AddListedVolume(VolumePath(2));
    AddListedVolume(VolumePath(3));
    RunScan(Options());
    std::string seen;
    for (const std::string& call : sim::Calls()) {
      if (call.ends_with(" 27") || call.ends_with(" 28")) seen += sim::CallName(call) + " ";
    }
    const std::string status = shown ? "SetWindowTextW NotifyWinEvent " : "SetWindowTextW ";
    const std::string row = "LVM_INSERTITEMW LVM_SETCOLUMNWIDTH ";
    EXPECT_EQ(seen, status + "LVM_DELETEALLITEMS LVM_SETCOLUMNWIDTH " + row + row + status);
    EXPECT_EQ(Rows().size(), 2u);
  }
}

TEST_P(LetterTest, RemoveLettersFreesEmptyRemovableDrivesButNeverA) {
  Letter(u'A', u"\\Device\\Floppy0", kEmpty);
  Letter(u'B', u"\\Device\\Floppy1", kEmpty);
  Letter(u'C', VolumePath(1));
  Letter(u'E', u"\\Device\\CardReader0", kEmpty);
  Letter(u'F', u"\\Device\\CardReader1", {.driveType = kRemovable});
  AddListedVolume(VolumePath(8)).answers = false;  // unformatted, fixed
  AddListedVolume(VolumePath(7)).label = u"NEW";

  RunScan(Options(1, 1, /*removeLetters=*/1));

  EXPECT_EQ(Target(u"a:"), "\\device\\floppy0");
  EXPECT_EQ(Target(u"b:"), "(none)");
  EXPECT_EQ(Target(u"f:"), "\\device\\cardreader1");
  // D was free anyway, and a fixed volume that does not answer keeps the
  // letter it is given; the next volume takes the next letter, E, which
  // became free before the bookkeeping. Only the one that answers counts.
  EXPECT_EQ(Target(u"d:"), "\\device\\harddiskvolume8");
  EXPECT_EQ(Target(u"e:"), "\\device\\harddiskvolume7");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"E: - NEW"}));
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Narrow(Balloons()[0].title), "1 new Partition(s) found.");
  EXPECT_EQ(Narrow(Balloons()[0].text), "E: - NEW\r\n");
}

TEST_P(LetterTest, AVolumeWithoutAFileSystemKeepsOneLetterOrWithRemoveLettersNone) {
  // The slot's volume stays in the volume class, so the letter taken from it
  // before the bookkeeping would be given back, one lower, at every scan.
  const struct {
    const char* what;
    std::int64_t removeLetters;
    void (*arrange)();
    const char* slotLetter;  // after each scan
    const char* g;           // what G: leads to after the first scan
    int definitions;         // of the slot's letter, over all scans
  } cases[] = {
      {"-rl", 1, [] {}, "(none)", "(none)", 3},
      {"-rl, and a definition stacked on G: after it was inspected", 1,
       [] {
         sim::AddDevice(kOther);
         sim::OnNextCall("DefineDosDeviceW", [] { sim::DefineName(u"G:", kOther); });
       },
       "(none)", "\\device\\other", 3},
      {"without -rl, a slot without a letter keeps its new one, uncounted", 0,
       [] { sim::volumes().dosNames.erase(u"g:"); }, "d:", "(none)", 1},
      {"without -rl, a locked volume keeps its new one, uncounted", 0,
       [] {
         sim::volumes().dosNames.erase(u"g:");
         sim::AddDevice(kSlot, kLocked);
       },
       "d:", "(none)", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    Letter(u'C', VolumePath(1));
    sim::AddEmptySlot(kSlot);
    sim::DefineName(u"G:", kSlot);
    c.arrange();

    for (int scan = 1; scan <= 3; ++scan) {
      SCOPED_TRACE(scan);
      RunScan(Options(1, 1, c.removeLetters));

      std::string slotLetter = "(none)";
      for (const auto& [name, targets] : sim::volumes().dosNames) {
        if (name != u"g:" && platform::AsciiLower(targets.back()) == kSlotLower) {
          slotLetter = Narrow(name);
        }
      }
      EXPECT_EQ(slotLetter, c.slotLetter);
      if (scan == 1) {
        EXPECT_EQ(Target(u"g:"), c.g);
      }
      EXPECT_TRUE(Rows().empty());
    }
    EXPECT_EQ(std::count_if(sim::volumes().definitions.begin(), sim::volumes().definitions.end(),
                            [](const auto& d) {
                              return d.flags == 1 && platform::AsciiLower(*d.target) == kSlotLower;
                            }),
              c.definitions);
  }
}

TEST_P(LetterTest, RemoveLettersOnlyWhenExactlyOne) {
  for (std::int64_t removeLetters : {0, 2, -1}) {
    SCOPED_TRACE(removeLetters);
    Fresh();
    Letter(u'E', u"\\Device\\CardReader0", kEmpty);
    RunScan(Options(1, 1, removeLetters));
    EXPECT_EQ(Target(u"e:"), "\\device\\cardreader0");
  }
}

TEST_P(LetterTest, LettersThatLeadNowhereAreRemovedButNotReusedInTheSameScan) {
  const struct {
    const char* what;
    void (*arrange)();  // D: and its device
    const char* left;   // what D: leads to afterwards
  } cases[] = {
      // Windows' answer decides, though the device still opens (a letter it
      // could not type, on an empty drive).
      {"root reported missing",
       [] {
         sim::AddDevice(kStick, {.driveType = kNoRootDir});
         sim::DefineName(u"D:", kStick);
       },
       "(none)"},
      {"substituted drive whose folder's parent was deleted",
       [] {
         sim::AddFolder(u"\\??\\C:\\Temp\\Deploy");
         sim::DefineName(u"D:", u"\\??\\C:\\Temp\\Deploy");
         sim::PullDevice(u"\\??\\C:\\Temp\\Deploy");
       },
       "(none)"},
      {"stick pulled",
       [] {
         StickLetter();
         sim::PullDevice(kStick);
       },
       "(none)"},
      // Popping the top would take away the newcomer, not the one inspected;
      // and the volume the newcomer leads to is lettered now.
      {"stick pulled, and a listed volume stacked on D: before the removal",
       [] {
         StickLetter();
         sim::PullDevice(kStick);
         AddListedVolume(kOther);
         sim::OnNextCall("DefineDosDeviceW", [] { sim::DefineName(u"D:", kOther); });
       },
       "\\device\\other"},
      {"empty slot", [] { StickLetter({.medium = false}); }, "\\device\\stick"},
      {"locked volume", [] { StickLetter(kLocked); }, "\\device\\stick"},
      {"substituted drive",
       [] {
         sim::AddFolder(u"\\??\\C:\\Deploy");
         sim::DefineName(u"D:", u"\\??\\C:\\Deploy");
       },
       "\\??\\c:\\deploy"},
      {"network drive", [] { ShareLetter(true); }, kShareTarget},
      {"network drive whose server does not answer", [] { ShareLetter(false); }, kShareTarget},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    Letter(u'C', VolumePath(1));
    AddListedVolume(VolumePath(4)).label = u"X";
    c.arrange();

    RunScan(Options());

    EXPECT_EQ(Target(u"d:"), c.left);
    EXPECT_EQ(Target(u"e:"), "\\device\\harddiskvolume4");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"E: - X"}));
    EXPECT_EQ(sim::volumes().slowCalls.size(), 0u) << "waited on the network";
  }
}

TEST_P(LetterTest, ALetterInUseIsNeverDefinedOver) {
  // Defining over a letter in use would stack this volume on it (as in
  // Windows PE), and the letter would lead elsewhere.
  const struct {
    const char* what;
    void (*arrange)();
    const char* row;      // the one row, or nullptr for none
    const char* d;        // what D: leads to afterwards
    std::size_t changes;  // DefineDosDeviceW calls that took effect
  } cases[] = {
      {"D: given away during the pause",
       [] { sim::os().duringNextSleep = [] { sim::DefineName(u"D:", u"\\Device\\Other"); }; },
       "E: - B", "\\device\\other", 1},
      {"the listing failed, so C: looked free", [] { sim::FailCall("GetLogicalDriveStringsW"); },
       "D: - B", "\\device\\harddiskvolume3", 1},
      {"D: given away between the check and the definition",
       [] {
         sim::OnNextCall("DefineDosDeviceW", [] { sim::DefineName(u"D:", u"\\Device\\Other"); });
       },
       "E: - B", "\\device\\other", 3},
      // Unread, the letter may lead elsewhere: ours goes.
      {"the read-back after the definition failed",
       [] { sim::OnNextCall("DefineDosDeviceW", [] { sim::FailCall("QueryDosDeviceW"); }); },
       nullptr, "(none)", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    Letter(u'C', VolumePath(1));
    AddListedVolume(VolumePath(2)).label = u"A";
    AddListedVolume(VolumePath(3)).label = u"B";
    c.arrange();

    RunScan(Options());

    for (const auto& [name, targets] : sim::volumes().dosNames) {
      EXPECT_EQ(targets.size(), 1u) << Narrow(name);
    }
    EXPECT_EQ(Rows(), c.row ? std::vector<std::string>{c.row} : std::vector<std::string>{});
    EXPECT_EQ(Target(u"d:"), c.d);
    EXPECT_EQ(sim::volumes().definitions.size(), c.changes);
  }
}

TEST_P(LetterTest, FreeLettersRunFromCToZAndVolumesBeyondThemWait) {
  const struct {
    int lettersInUse;  // from C upwards
    int volumes;
    int mounted;
    char first;  // the first new drive's letter
  } cases[] = {{22, 3, 2, 'Y'}, {23, 2, 1, 'Z'}, {24, 1, 0}, {24, 3, 0}, {0, 1, 1, 'C'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lettersInUse << " in use, " << c.volumes << " volumes");
    Fresh();
    for (int i = 0; i < c.lettersInUse; ++i) Letter(static_cast<char16_t>(u'C' + i), VolumePath(i));
    for (int i = 0; i < c.volumes; ++i) AddListedVolume(VolumePath(100 + i));

    RunScan(Options());

    ASSERT_EQ(Rows().size(), static_cast<std::size_t>(c.mounted));
    if (c.mounted > 0) {
      EXPECT_EQ(Rows()[0][0], c.first);
    }
    EXPECT_EQ(sim::CountCalls("DefineDosDeviceW 1 "), static_cast<std::size_t>(c.mounted));
    // The found balloon comes whenever there was a volume to mount.
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Narrow(Balloons()[0].title), std::to_string(c.mounted) + " new Partition(s) found.");
    if (c.mounted == 0) {
      EXPECT_EQ(Narrow(Balloons()[0].text), "");
      EXPECT_EQ(Narrow(Status()), "No partition found.");
    }
  }
}

TEST_F(ScanTest, RowPiecesDependOnBusAndProduct) {
  const struct {
    std::uint32_t busType;
    std::string product;
    const char* row;
  } cases[] = {
      {7, "Flash Disk      ", "E: - DATA   \"USB\" - Flash Disk      "},
      {11, "", "E: - DATA   \"SATA\""},
      {0, "X", "E: - DATA - X"},
      {14, "", "E: - DATA"},
      {17, "", "E: - DATA"},
      {13, "Caf\xE9", "E: - DATA   \"MultiMedia Card\" - Café"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    sim::Reset();
    Letter(u'C', VolumePath(1));
    Letter(u'D', VolumePath(2));
    sim::VolumeDevice& volume = AddListedVolume(VolumePath(9));
    volume.label = u"DATA";
    volume.busType = c.busType;
    volume.product = c.product;

    RunScan(Options());

    EXPECT_EQ(Rows(), (std::vector<std::string>{c.row}));
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Narrow(Balloons()[0].text), "E: - DATA\r\n");
  }
}

TEST_F(ScanTest, BalloonsFollowNotifyAndGui) {
  const struct {
    bool found;
    std::int64_t notify;
    std::int64_t gui;
    const char* balloon;  // title of the one balloon, or nullptr for none
  } cases[] = {
      {true, 1, 1, "1 new Partition(s) found."},
      {true, 1, 0, "1 new Partition(s) found."},
      {true, 0, 0, nullptr},
      {true, 2, 0, nullptr},
      {false, 1, 0, "Parvola"},
      {false, 1, 1, nullptr},
      {false, 0, 0, nullptr},
      {false, 0, 1, nullptr},
      {false, 1, 2, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.found << " notify " << c.notify << " gui " << c.gui);
    sim::Reset();
    Letter(u'C', VolumePath(1));
    if (c.found) AddListedVolume(VolumePath(2));

    RunScan(Options(c.notify, c.gui));

    EXPECT_EQ(Narrow(Status()), c.found ? "1 new Partition(s) found." : "No partition found.");
    if (c.balloon == nullptr) {
      EXPECT_TRUE(Balloons().empty());
      continue;
    }
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Narrow(Balloons()[0].title), c.balloon);
    if (!c.found) {
      EXPECT_EQ(Narrow(Balloons()[0].text), "No partition found.");
    }
  }
}

TEST_P(LetterTest, UsbOnlyMountsOnlyUsbVolumes) {
  Letter(u'C', VolumePath(1));
  AddListedVolume(VolumePath(2)).busType = 11;
  AddListedVolume(VolumePath(3)).busType = 7;

  RunScan(Options(1, 1, 0, /*usbOnly=*/1));

  EXPECT_EQ(Target(u"d:"), "\\device\\harddiskvolume3");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D: -    \"USB\""}));
  EXPECT_EQ(Target(u"vol"), "(none)");
}

// Asked again when a letter appears between its two calls.
TEST_F(ScanTest, ListLogicalDrivesReadsLowerCaseDesignators) {
  Letter(u'C', VolumePath(1));
  Letter(u'Z', VolumePath(2));
  sim::volumes().afterDriveStrings = [] { Letter(u'A', VolumePath(3)); };
  LogicalDriveList drives{u"stale"};
  EXPECT_EQ(ListLogicalDrives(drives), 3);
  EXPECT_EQ(drives, (LogicalDriveList{u"a:", u"c:", u"z:"}));
  EXPECT_EQ(sim::CountCalls("GetLogicalDriveStringsW"), 3u);

  sim::FailCall("GetLogicalDriveStringsW");
  EXPECT_EQ(ListLogicalDrives(drives), 0);
  EXPECT_TRUE(drives.empty());
}

TEST_F(ScanTest, ShowTrayBalloonCutsItsTextsAndSkipsSystemsBeforeXp) {
  const Text longText(300, u'x');
  const Text longTitle(70, u'y');
  EXPECT_NE(ShowTrayBalloon(34, 10, longTitle, longText, 80, 0), 0);
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].text, Text(255, u'x'));
  EXPECT_EQ(Balloons()[0].title, Text(63, u'y'));

  const struct {
    std::uint32_t major, minor;
    bool shown;
  } versions[] = {{4, 0, false}, {5, 0, false}, {5, 1, true}, {6, 0, true}, {10, 0, true}};
  for (const auto& v : versions) {
    SCOPED_TRACE(testing::Message() << v.major << "." << v.minor);
    sim::Reset();
    sim::os().version = {v.major, v.minor};
    EXPECT_EQ(ShowTrayBalloon(34, 10, u"t", u"x", 80, 0) != 0, v.shown);
    EXPECT_EQ(Balloons().size(), v.shown ? 1u : 0u);
  }

  sim::Reset();
  sim::FailCall("GetVersionExA");
  EXPECT_NE(ShowTrayBalloon(34, 10, u"t", u"x", 80, 0), 0);
}

TEST(CutText, KeepsWholeSurrogatePairs) {
  const Text pair = u"\U0001F4BE";  // two units
  const Text high(1, char16_t{0xD83D});
  const struct {
    const char* what;
    Text text;
    std::size_t limit;
    Text cut;
  } cases[] = {
      {"fits", u"abc", 3, u"abc"},
      {"cut", u"abcd", 3, u"abc"},
      {"pair inside", u"a" + pair, 3, u"a" + pair},
      {"pair across the limit", u"ab" + pair, 3, u"ab"},
      {"unpaired high before a letter", u"ab" + high + u"c", 3, u"ab" + high},
      {"limit 0", u"abc", 0, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CutText(c.text, c.limit), c.cut);
  }
}

}  // namespace
}  // namespace mounter
