// The scenario driver. "--prepare" readies a freshly started test machine;
// "--arrange N" gives the first N volumes complete records and takes away
// the letters they were given (for benchmarks and demos); anything else runs
// the scenarios.
#include <gtest/gtest.h>

#include <cwchar>

#include "tests/e2e/mount/machine.h"

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wcscmp(argv[1], L"--prepare") == 0) return e2e::PrepareMachine();
  if (argc > 2 && std::wcscmp(argv[1], L"--arrange") == 0) {
    e2e::ArrangeVolumes(std::wcstoul(argv[2], nullptr, 10));
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
