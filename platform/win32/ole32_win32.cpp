#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "platform/ole32.h"
#include "platform/win32/text_win32.h"

namespace platform {

std::int32_t ClsidFromText(const Text& text, Guid& guid) noexcept {
  std::wstring wide = win32::Wide(text);
  CLSID clsid = {};
  const HRESULT result = ::CLSIDFromString(wide.data(), &clsid);
  static_assert(sizeof(clsid) == sizeof(guid));
  if (result == S_OK) std::memcpy(guid.data(), &clsid, sizeof(clsid));
  return result;
}

}  // namespace platform
