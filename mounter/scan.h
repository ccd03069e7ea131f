#pragma once
// One scan: find volumes without a drive letter and give them one.
#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace mounter {

// Made afresh for every scan; flags hold 0 or 1.
struct ScanOptions {
  std::int64_t usbOnly = 0;
  std::int64_t removeLetters = 0;
  std::int64_t notify = 0;
  std::int64_t gui = 0;
};

// Finds the volumes without a letter, gives each the next free letter from
// C to Z, and reports what answered in the status line, the drive list and
// a balloon. Every failed system call only makes a step yield less.
void RunScan(const ScanOptions& options);

// Drive designators in use ("c:"), lower case, in the system's order.
using LogicalDriveList = std::vector<platform::Text>;

// Fills `drives` afresh; returns the number of entries.
std::int64_t ListLogicalDrives(LogicalDriveList& drives);

// Shows a balloon at icon `iconNumber` of our window object `windowNumber`;
// the text is cut to 255 and the title to 63 characters. Does nothing before
// Windows XP. Returns the shell's result (non-zero on success).
int ShowTrayBalloon(int iconNumber, int windowNumber, const platform::Text& title,
                    const platform::Text& text, unsigned timeout, std::uint32_t iconFlags);

}  // namespace mounter
