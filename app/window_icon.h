#pragma once
// The program icon shown in the window, taken from an icon-group resource.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/text.h"

namespace app {

// The RT_ICON number of the image of width `width` with the most bits per
// pixel in an icon-group directory (count at byte 4, 14-byte entries from
// byte 6: width at 0, bits per pixel at 6, image number at 12, little
// endian). Among equal depths the first wins; 0 bits per pixel never wins.
// Reads only entries that lie wholly inside `group`, whatever the count says.
std::optional<std::uint16_t> PickIconImage(std::span<const std::uint8_t> group, int width);

// Shows in image control `control` the image of width `width` from icon
// group `group` of file `file`; the control stays empty when any step fails.
void LoadResourceIcon(int control, const platform::Text& file, int group, int width);

}  // namespace app
