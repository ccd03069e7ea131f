#pragma once
// Owners for the Win32 handle kinds the wrappers hold. Each close keeps the
// thread's last-error value, so a wrapper can close and still report why the
// call before failed.
#include <windows.h>
#include <setupapi.h>

#include "platform/unique.h"

namespace platform::win32 {

template <class T, auto Invalid_, auto Close_>
struct Win32Traits {
  using Id = T;
  static Id Invalid() { return reinterpret_cast<Id>(Invalid_); }
  static void Close(Id id) noexcept {
    const DWORD error = ::GetLastError();
    Close_(id);
    ::SetLastError(error);
  }
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFileHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void CloseModule(HMODULE m) { ::FreeLibrary(m); }
inline void CloseDevInfo(HDEVINFO d) { ::SetupDiDestroyDeviceInfoList(d); }
inline void CloseIcon(HICON i) { ::DestroyIcon(i); }
inline void CloseMenu(HMENU m) { ::DestroyMenu(m); }
inline void CloseGdiObject(HGDIOBJ o) { ::DeleteObject(o); }

// Kernel objects whose "none" is NULL (threads, mutexes) ...
using UniqueHandle = Unique<Win32Traits<HANDLE, std::intptr_t{0}, CloseKernelHandle>>;
// ... and files and devices, whose "none" is INVALID_HANDLE_VALUE.
using UniqueFile = Unique<Win32Traits<HANDLE, std::intptr_t{-1}, CloseFileHandle>>;
using UniqueKey = Unique<Win32Traits<HKEY, std::intptr_t{0}, CloseKey>>;
using UniqueModule = Unique<Win32Traits<HMODULE, std::intptr_t{0}, CloseModule>>;
using UniqueDevInfo = Unique<Win32Traits<HDEVINFO, std::intptr_t{-1}, CloseDevInfo>>;
using UniqueIcon = Unique<Win32Traits<HICON, std::intptr_t{0}, CloseIcon>>;
using UniqueMenu = Unique<Win32Traits<HMENU, std::intptr_t{0}, CloseMenu>>;
using UniqueGdiObject = Unique<Win32Traits<HGDIOBJ, std::intptr_t{0}, CloseGdiObject>>;

}  // namespace platform::win32
