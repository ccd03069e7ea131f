// The volume record repair on its own, against the real registry, for
// bench/run:
//   parvola_records_bench fill N [complete]   makes N volume records afresh,
//                                              without the class values
//                                              unless "complete"
//   parvola_records_bench repair               repairs them once and prints
//                                              the milliseconds it took
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "mounter/repair.h"

namespace {

constexpr wchar_t kRecords[] = L"SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";

bool SetText(HKEY key, const wchar_t* name, const wchar_t* text) {
  const auto bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) ==
         ERROR_SUCCESS;
}

int Fill(int count, bool complete) {
  (void)::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecords);
  for (int k = 0; k < count; ++k) {
    wchar_t name[128];
    std::swprintf(name, 128, L"%ls\\STORAGE#Volume#%08d", kRecords, k);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, name, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
      return 1;
    }
    // What every record carries besides the class values.
    bool written = SetText(key, L"DeviceDesc", L"Generic volume");
    if (complete) {
      written = written && SetText(key, L"Class", L"Volume") &&
                SetText(key, L"ClassGUID", L"{71A27CDD-812A-11D0-BEC7-08002BE2092F}");
    }
    ::RegCloseKey(key);
    if (!written) return 1;
  }
  return 0;
}

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wcscmp(argv[1], L"fill") == 0) {
    return Fill(_wtoi(argv[2]), argc >= 4 && std::wcscmp(argv[3], L"complete") == 0);
  }
  if (argc == 2 && std::wcscmp(argv[1], L"repair") == 0) {
    const double start = Now();
    mounter::RepairVolumeRecords();
    std::printf("%.1f\n", Now() - start);
    return 0;
  }
  return 2;
}
