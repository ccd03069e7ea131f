#pragma once

namespace mounter {

// Gives every volume device record under
// HKLM\SYSTEM\CurrentControlSet\Enum\STORAGE\Volume the "Class" and
// "ClassGUID" values it lacks; writes only into records that exist, never
// creating one. Shows and logs nothing.
void RepairVolumeRecords();

}  // namespace mounter
