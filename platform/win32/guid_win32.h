#pragma once
// GUIDs cross the Win32 boundary by copying their 16 bytes in memory order.
#include <windows.h>

#include <cstring>

#include "platform/ole32.h"

namespace platform::win32 {

static_assert(sizeof(GUID) == sizeof(Guid));

inline GUID ToGuid(const Guid& guid) {
  GUID out;
  std::memcpy(&out, guid.data(), sizeof(out));
  return out;
}

inline Guid FromGuid(const GUID& guid) {
  Guid out;
  std::memcpy(out.data(), &guid, sizeof(guid));
  return out;
}

}  // namespace platform::win32
