#pragma once
// The facts shown for a new drive: label, bus and product. Each takes a
// designator such as "E:" and answers with a text in every case; a fact
// that cannot be had is the empty text.
#include <array>
#include <cstdint>

#include "platform/text.h"

namespace mounter {

using platform::Text;

// Display names of STORAGE_BUS_TYPE values 0..13; 0 and every value past
// the table (virtual disks, storage spaces, NVMe, ...) have none.
inline constexpr std::array<const char16_t*, 14> BusTypeNames = {
    u"",     u"SCSI", u"ATAPI", u"ATA",   u"IEEE 1394", u"SSA",            u"Fibre channel",
    u"USB",  u"RAID", u"iSCSI", u"SAS",   u"SATA",      u"Secure Digital", u"MultiMedia Card",
};

// The name of a bus type from BusTypeNames, or the empty text.
Text BusTypeName(std::uint32_t busType);

// The volume label; the empty text when the volume does not answer.
Text ReadVolumeLabel(const Text& designator);
// The bus name of the drive's storage device from its descriptor.
Text ReadBusTypeName(const Text& designator);
// The product identification of the drive's storage device, converted from
// the ANSI code page, trailing blanks kept.
Text ReadProductId(const Text& designator);

}  // namespace mounter
