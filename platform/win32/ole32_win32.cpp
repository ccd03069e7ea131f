#include <windows.h>
#include <objbase.h>

#include "platform/ole32.h"
#include "platform/win32/guid_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {
namespace {

// Whether the CoInitializeEx of StartCom must be balanced: S_FALSE (set up
// already) counts too, RPC_E_CHANGED_MODE does not.
bool comStarted = false;

}  // namespace

std::int32_t ClsidFromText(const Text& text, Guid& guid) noexcept {
  std::wstring wide = win32::Wide(text);
  CLSID clsid = {};
  const HRESULT result = ::CLSIDFromString(wide.data(), &clsid);
  if (result == S_OK) guid = win32::FromGuid(clsid);
  return result;
}

void StartCom() noexcept {
  comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void EndCom() noexcept {
  if (comStarted) ::CoUninitialize();
  comStarted = false;
}

}  // namespace platform
