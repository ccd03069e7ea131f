// Leak soak of the real program under Wine: fifty Refresh clicks in window
// mode must leave its handle count, and its GDI and USER object counts
// where they were after the first scan.
#include <gtest/gtest.h>
#include <winternl.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/program.h"
#include "tests/e2e/wait.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kRefreshes = 50;
// Every scan opens and closes a thread, a device set, the setup library,
// registry keys and devices; a leak in any of them grows a count by at least
// one per scan, 50 in all. What may differ without a leak is a few objects
// that Wine makes once and keeps (for instance a registry root key opened
// and cached the first time some thread asks for it) and the scan thread
// handle the loop holds, which is replaced, not added. Measured here: 33
// handles after the first scan, 35 after the fiftieth, and the same 36 as
// each of the fifty scans wrote its result.
constexpr long kTolerance = 4;

struct Counts {
  long handles = -1;
  long gdiObjects = -1;
  long userObjects = -1;
};

// SystemExtendedHandleInformation: every handle of every process.
constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
struct HandleEntry {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR value;
  ULONG access;
  USHORT backTraceIndex;
  USHORT objectType;
  ULONG attributes;
  ULONG reserved;
};
struct HandleTable {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};

// Wine's GetProcessHandleCount succeeds with 0 for every process, itself
// included; its system handle table is real, so the handles of the process
// are counted there instead.
long CountHandlesInSystemTable(DWORD processId) {
  std::vector<ULONG_PTR> buffer(1 << 16);
  for (int round = 0; round < 8; ++round) {
    ULONG needed = 0;
    const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR));
    const NTSTATUS status =
        ::NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(), size, &needed);
    if (status == 0) {
      const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
      long count = 0;
      for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == processId) ++count;
      }
      return count;
    }
    buffer.resize(buffer.size() * 2 + needed / sizeof(ULONG_PTR));
  }
  return -1;
}

Counts Measure(HANDLE process, DWORD processId) {
  Counts counts;
  DWORD handles = 0;
  if (::GetProcessHandleCount(process, &handles) && handles > 0) {
    counts.handles = static_cast<long>(handles);
  } else {
    counts.handles = CountHandlesInSystemTable(processId);
  }
  counts.gdiObjects = static_cast<long>(::GetGuiResources(process, GR_GDIOBJECTS));
  counts.userObjects = static_cast<long>(::GetGuiResources(process, GR_USEROBJECTS));
  return counts;
}

TEST(RefreshSoak, FiftyRefreshesLeaveHandleAndObjectCountsAsAfterTheFirstScan) {
  Program program(L"");
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([] { return ::IsWindowVisible(FindMainWindow()) != FALSE; }, 30s));
  ASSERT_TRUE(StatusBecomes(kNothingFound, 30s));
  std::this_thread::sleep_for(kFinalPause);

  const HWND window = FindMainWindow();
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  ASSERT_NE(process, nullptr);
  const Counts first = Measure(process, processId);
  ASSERT_GT(first.handles, 0);

  const HWND refresh = FindControl(window, kRefresh);
  std::string series;  // the handle count as each scan writes its result
  for (int i = 0; i < kRefreshes; ++i) {
    SCOPED_TRACE(i);
    // A click that lands in the last moments of the previous scan is
    // dropped, as it should be: click again until the scan starts.
    ASSERT_TRUE(WaitUntil(
        [&] {
          ::SendMessageW(refresh, BM_CLICK, 0, 0);
          return WaitUntil([] { return StatusText() == kChecking; }, 300ms);
        },
        10s));
    ASSERT_TRUE(StatusBecomes(kNothingFound, 30s));
    series += " " + std::to_string(Measure(process, processId).handles);
  }
  std::this_thread::sleep_for(kFinalPause);
  const Counts last = Measure(process, processId);
  ::CloseHandle(process);

  std::printf("handles %ld -> %ld, GDI objects %ld -> %ld, USER objects %ld -> %ld\n",
              first.handles, last.handles, first.gdiObjects, last.gdiObjects, first.userObjects,
              last.userObjects);
  std::printf("handles after each scan's result:%s\n", series.c_str());
  RecordProperty("handles_first", static_cast<int>(first.handles));
  RecordProperty("handles_last", static_cast<int>(last.handles));
  EXPECT_LE(last.handles, first.handles + kTolerance);
  // Wine's GetGuiResources answers 0 for a program that plainly has
  // windows, fonts and icons (measured with Wine 8): it keeps no such
  // count. Where a real count comes back, it is held to the same rule.
  if (first.gdiObjects > 0) {
    EXPECT_LE(last.gdiObjects, first.gdiObjects + kTolerance);
  }
  if (first.userObjects > 0) {
    EXPECT_LE(last.userObjects, first.userObjects + kTolerance);
  }

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(30s), 0);
}

}  // namespace
}  // namespace e2e
