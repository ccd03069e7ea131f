#pragma once
// How a scan's results read: the drive list row, the balloon line and the
// count texts. Pure functions.
#include <cstddef>
#include <cstdint>

#include "platform/text.h"

namespace mounter {

using platform::Text;
using platform::TextView;

// Letter, ": - ", label, then "   \"bus\"" when there is a bus name and
// " - product" when there is a product text (as delivered, blanks kept).
Text MakeDriveRow(char16_t letter, TextView label, TextView bus, TextView product);

// Letter, ": - ", label and CR LF: the balloon's line for the same drive.
Text MakeBalloonLine(char16_t letter, TextView label);

// The decimal count followed by `suffix`.
Text MakeCountText(std::int64_t count, TextView suffix);

// At most `limit` UTF-16 units of `text`, never ending in half of a
// surrogate pair.
Text CutText(TextView text, std::size_t limit);

}  // namespace mounter
