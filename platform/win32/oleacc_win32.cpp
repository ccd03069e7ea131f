#include <windows.h>
#include <oleacc.h>

#include "platform/oleacc.h"
#include "platform/system_library.h"
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
constexpr GUID kIidClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kPropIdAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// The library's own class factory, asked directly: through COM's registry
// the class would be created from whatever path is registered for it, and
// only after COM has been set up on this thread.
IAccPropServices* CreateAccPropServices() {
  const Module oleacc = LoadSystemLibrary(u"oleacc.dll");
  if (oleacc == 0) return nullptr;
  // Never freed: the annotation is kept for as long as the window lives,
  // and the library that keeps it must not be unloaded under it.
  const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      FindProcedure(oleacc, "DllGetClassObject"));
  IClassFactory* factory = nullptr;
  if (getClassObject == nullptr || FAILED(getClassObject(kClsidAccPropServices, kIidClassFactory,
                                                         reinterpret_cast<void**>(&factory)))) {
    return nullptr;
  }
  IAccPropServices* services = nullptr;
  if (FAILED(factory->CreateInstance(nullptr, kIidAccPropServices,
                                     reinterpret_cast<void**>(&services)))) {
    services = nullptr;
  }
  factory->Release();
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

}  // namespace platform
