#include "mounter/repair.h"

namespace mounter {

void RepairVolumeRecords() {}

}  // namespace mounter
