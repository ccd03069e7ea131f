#pragma once

namespace mounter {

// Gives every volume device record under
// HKLM\SYSTEM\CurrentControlSet\Enum\STORAGE\Volume the "Class" and
// "ClassGUID" values it lacks. Shows and logs nothing.
void RepairVolumeRecords();

}  // namespace mounter
