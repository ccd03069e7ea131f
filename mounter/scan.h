#pragma once
// One scan: find volumes without a drive letter and give them one.
#include <cstdint>

namespace mounter {

// Made afresh for every scan; flags hold 0 or 1.
struct ScanOptions {
  std::int64_t usbOnly = 0;
  std::int64_t removeLetters = 0;
  std::int64_t notify = 0;
  std::int64_t gui = 0;
};

void RunScan(const ScanOptions& options);

}  // namespace mounter
