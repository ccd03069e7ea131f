#include <windows.h>
#include <oleacc.h>

#include "platform/oleacc.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {
namespace {

// Spelt out here rather than taken from the import libraries, which would
// make oleacc.dll a load-time dependency.
constexpr GUID kClsidAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropIdAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kLivePolite = 1;  // LiveSetting's Polite

// As "Using Direct Annotation" has it: through COM, on a thread where COM is
// set up. A bare Windows PE registers no such class, and the call fails.
IAccPropServices* CreateAccPropServices() {
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                kIidAccPropServices, reinterpret_cast<void**>(&services)))) {
    return nullptr;
  }
  return services;
}

}  // namespace

void SetAccessibleName(int number, const Text& name) noexcept {
  const HWND control = win32::WindowOf(number);
  if (control == nullptr) return;
  IAccPropServices* services = CreateAccPropServices();
  if (services == nullptr) return;
  services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropIdAccName,
                           win32::Wide(name).c_str());
  services->Release();
}

void MakePoliteLiveRegion(int number) noexcept {
  const HWND control = win32::WindowOf(number);
  if (control == nullptr) return;
  IAccPropServices* services = CreateAccPropServices();
  if (services == nullptr) return;
  // Set by hand: VariantInit would import oleaut32 for a zero fill.
  VARIANT polite = {};
  polite.vt = VT_I4;
  polite.lVal = kLivePolite;
  services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                        kLiveSettingProperty, polite);
  services->Release();
}

}  // namespace platform
