#include <windows.h>
#include <objbase.h>

#include "platform/ole32.h"
#include "platform/win32/guid_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {

std::int32_t ClsidFromText(const Text& text, Guid& guid) noexcept {
  std::wstring wide = win32::Wide(text);
  CLSID clsid = {};
  const HRESULT result = ::CLSIDFromString(wide.data(), &clsid);
  if (result == S_OK) guid = win32::FromGuid(clsid);
  return result;
}

}  // namespace platform
