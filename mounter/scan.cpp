#include "mounter/scan.h"

#include <algorithm>

#include "app/objects.h"
#include "app/texts.h"
#include "mounter/driveinfo.h"
#include "mounter/enumerate.h"
#include "mounter/scan_texts.h"
#include "platform/shell32.h"
#include "platform/system.h"
#include "platform/user32.h"
#include "platform/volumes.h"

namespace mounter {
namespace {

using platform::Text;

constexpr char16_t kCandidateLetters[] = u"cdefghijklmnopqrstuvwxyz";
constexpr char16_t kNothingFoundTitle[] = u"Parvola";
constexpr unsigned kBookkeepingPause = 300;
constexpr unsigned kEndPause = 1000;
constexpr unsigned kBalloonTimeout = 80;
constexpr std::uint32_t kNoBalloonIcon = 0;
// Each root in the drive strings is "C:\" and its terminator.
constexpr std::uint32_t kRootLength = 4;
// Letters appearing between the calls make the list longer each time; a few
// rounds cover any real race without looping on a misbehaving system.
constexpr int kDriveStringRounds = 8;

constexpr bool OlderThanXp(const platform::OsVersion& version) {
  return version.major < 5 || (version.major == 5 && version.minor < 1);
}

char16_t Upper(char16_t letter) {
  return letter >= u'a' && letter <= u'z' ? static_cast<char16_t>(letter - u'a' + u'A') : letter;
}

constexpr std::uint32_t kExactRemoval = platform::kDefineRawTargetPath |
                                        platform::kDefineRemoveDefinition |
                                        platform::kDefineExactMatchOnRemove;

// Removes the one definition of `name` that leads to `target`. As the
// system account a name can hold a stack of definitions, and a removal
// without a target pops whatever lies on top, perhaps not the one inspected.
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-definedosdevicew
bool RemoveExactly(const Text& name, const Text& target) {
  return platform::DefineDosName(kExactRemoval, name, target);
}

// A letter whose target cannot be read is left alone.
void TakeLetterAway(const Text& designator) {
  if (const auto target = platform::QueryDosTarget(designator)) {
    (void)RemoveExactly(designator, *target);
  }
}

// Empty card-reader slots and the like keep a letter that leads nowhere;
// "a:" is left alone (a floppy drive answers only with a disk in it).
void RemoveEmptyRemovableDrives() {
  LogicalDriveList drives;
  ListLogicalDrives(drives);
  for (const Text& drive : drives) {
    if (drive == u"a:") continue;
    if (platform::QueryDriveType(drive) != platform::kDriveRemovable) continue;
    if (platform::ProbeVolume(drive + u"\\") == 0) TakeLetterAway(drive);
  }
}

// Windows keeps a letter's drive type from when the letter was made, so a
// pulled stick's letter may go on saying removable: the object it names is
// asked too. An empty drive, a locked volume or any other failure to open
// keeps the letter. A network letter is judged by its type alone: opening it
// goes through the redirector, and an unreachable server would hold every
// scan for its connection time-out.
bool LeadsNowhere(const Text& drive) {
  const std::uint32_t type = platform::QueryDriveType(drive);
  if (type == platform::kDriveNoRootDir) return true;
  if (type == platform::kDriveRemote) return false;
  const std::uint32_t error = platform::DeviceOpenError(u"\\\\.\\" + drive);
  return error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound;
}

// A volume as the device manager reported it, and in lower case for the
// bookkeeping. The letter is given with the reported path: Windows types a
// letter when it is made only if the target names the device by its exact
// name, and a letter it cannot type is worked out by opening the root at
// each call, which reads as missing wherever no file system mounts (an
// empty slot, a locked volume): it would be taken away and given again at
// every scan, and "-rl" would never see it as removable.
struct Volume {
  Text reported;
  Text lower;
};

std::vector<Volume> SplitVolumeList(const Text& list) {
  std::vector<Volume> entries;
  std::size_t start = 0;
  for (std::size_t bar = list.find(u'|'); bar != Text::npos; bar = list.find(u'|', start)) {
    const Text path = list.substr(start, bar - start);
    entries.push_back({path, platform::AsciiLower(path)});
    start = bar + 1;
  }
  return entries;
}

// Strikes the volumes that already sit behind a letter and the letters in
// use. A letter that leads nowhere loses its definition but still counts as
// in use for the rest of this scan.
void StrikeLettered(std::vector<Volume>& volumes, Text& freeLetters) {
  LogicalDriveList drives;
  ListLogicalDrives(drives);
  for (const Text& drive : drives) {
    auto target = platform::QueryDosTarget(drive);
    if (target && LeadsNowhere(drive)) {
      (void)RemoveExactly(drive, *target);
      target = platform::QueryDosTarget(drive);
    }
    // Whole entries are compared, so one volume's path that ends another's
    // (or an empty target) strikes nothing else.
    if (target) {
      std::erase_if(volumes, [lower = platform::AsciiLower(*target)](const Volume& volume) {
        return volume.lower == lower;
      });
    }
    std::erase(freeLetters, drive[0]);
  }
}

// Whether `designator` now holds our definition and nothing else. Someone
// who defined it between our check and our definition has ours stacked on
// theirs, and the letter would lead to our volume: ours is taken away again.
bool DefinedAlone(const Text& designator, const Volume& volume) {
  const auto targets = platform::QueryDosTargets(designator);
  const auto ours = [&](const Text& target) {
    return platform::AsciiLower(target) == volume.lower;
  };
  if (targets && targets->size() == 1 && ours(targets->front())) return true;
  // Not read back, ours goes too: the exact match spares any other
  // definition. Read back without ours (it did not take), nothing is
  // removed: where the flag is ignored (Wine) that would take another's.
  if (!targets || std::any_of(targets->begin(), targets->end(), ours)) {
    (void)RemoveExactly(designator, volume.reported);
  }
  return false;
}

// A screen reader reads each new status when it is done with what it says;
// a hidden window says nothing.
void ShowStatus(const Text& text) {
  platform::SetObjectText(app::ctlStatus, text);
  if (platform::ObjectVisible(app::mainWindow)) platform::AnnounceLiveRegionChange(app::ctlStatus);
}

// The one column spans the list whether its vertical bar shows or not: a
// column as wide as the list without the bar makes a sideways bar once the
// rows need the vertical one.
void FitListColumn() { platform::FillListColumn(app::ctlDriveList, 0); }

}  // namespace

std::int64_t ListLogicalDrives(LogicalDriveList& drives) {
  drives.clear();
  Text buffer;
  std::uint32_t result = platform::ReadLogicalDriveStrings(buffer);
  // A result that does not fit is the length needed now: a letter was
  // defined since the last call. Ask again rather than read past the buffer.
  for (int round = 0; round < kDriveStringRounds && result >= buffer.size(); ++round) {
    if (result == 0) return 0;
    buffer.assign(result, u'\0');
    result = platform::ReadLogicalDriveStrings(buffer);
  }
  if (result >= buffer.size()) return 0;
  for (std::uint32_t k = 0; k < result / kRootLength; ++k) {
    drives.push_back(platform::AsciiLower(buffer.substr(k * kRootLength, 2)));
  }
  return static_cast<std::int64_t>(drives.size());
}

int ShowTrayBalloon(int iconNumber, int windowNumber, const Text& title, const Text& text,
                    unsigned timeout, std::uint32_t iconFlags) {
  // A failed version query counts as new enough.
  if (const auto version = platform::QueryOsVersion(); version && OlderThanXp(*version)) {
    return 0;
  }
  return platform::ModifyTrayBalloon(windowNumber, static_cast<unsigned>(iconNumber),
                                     CutText(title, platform::kBalloonTitleLimit),
                                     CutText(text, platform::kBalloonTextLimit), timeout, iconFlags);
}

void RunScan(const ScanOptions& options) {
  const app::TextTable& texts = app::Texts();
  ShowStatus(texts[app::kTextChecking]);
  platform::ClearListRows(app::ctlDriveList);
  FitListColumn();

  if (options.removeLetters == 1) RemoveEmptyRemovableDrives();

  std::vector<Volume> volumes = SplitVolumeList(EnumerateVolumeDevices(options.usbOnly));
  Text freeLetters = kCandidateLetters;
  StrikeLettered(volumes, freeLetters);

  platform::Sleep(kBookkeepingPause);

  std::int64_t mountedCount = 0;
  if (!volumes.empty()) {
    Text balloonText;
    // Volume i always gets free letter i, also when an earlier volume did
    // not answer: that letter stays with it.
    for (std::size_t i = 0; i < volumes.size() && i < freeLetters.size(); ++i) {
      const char16_t letter = Upper(freeLetters[i]);
      const Text designator = Text(1, letter) + u":";
      // Running as LocalSystem (as in Windows PE), a definition over a name
      // in use is stacked on it, and the letter would lead to this volume.
      // So a letter given away during the pause, or one that only looked
      // free because the listing failed, stays with its owner; this volume
      // waits for the next scan.
      // https://learn.microsoft.com/windows/win32/fileio/defining-an-ms-dos-device-name
      if (platform::DosNameInUse(designator)) continue;
      const Volume& volume = volumes[i];
      if (!platform::DefineDosName(platform::kDefineRawTargetPath, designator, volume.reported)) {
        continue;
      }
      if (!DefinedAlone(designator, volume)) continue;
      if (platform::ProbeVolume(designator + u"\\") != 1) {
        // An empty slot's volume stays in the volume class, so a letter
        // taken from it before the scan would only move to the next free
        // one; with "-rl" it is taken back at once and the slot ends free.
        if (options.removeLetters == 1 &&
            platform::QueryDriveType(designator) == platform::kDriveRemovable) {
          (void)RemoveExactly(designator, volume.reported);
        }
        continue;
      }

      ++mountedCount;
      const Text label = ReadVolumeLabel(designator);
      balloonText += MakeBalloonLine(letter, label);
      const Text bus = ReadBusTypeName(designator);
      const Text product = ReadProductId(designator);
      platform::AppendListRow(app::ctlDriveList, MakeDriveRow(letter, label, bus, product));
      FitListColumn();
    }
    if (options.notify == 1) {
      (void)ShowTrayBalloon(app::trayIcon, app::mainWindow,
                            MakeCountText(mountedCount, texts[app::kTextFoundSuffix]),
                            balloonText, kBalloonTimeout, kNoBalloonIcon);
    }
  }

  if (mountedCount == 0) {
    ShowStatus(texts[app::kTextNothingFound]);
    // Said by a balloon only when notifications are on and no window shows.
    if (options.notify != 0 && options.gui == 0) {
      (void)ShowTrayBalloon(app::trayIcon, app::mainWindow, kNothingFoundTitle,
                            texts[app::kTextNothingFound], kBalloonTimeout, kNoBalloonIcon);
    }
  } else {
    ShowStatus(MakeCountText(mountedCount, texts[app::kTextFoundSuffix]));
  }

  platform::Sleep(kEndPause);
}

}  // namespace mounter
