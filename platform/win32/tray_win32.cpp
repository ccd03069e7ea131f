#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/shell32.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/tray_win32.h"

namespace platform {
namespace {

// Each as it was first added, whether or not the shell took it, so that a
// shell that starts afresh or late can be given it, and so that the end
// deletes it.
std::vector<NOTIFYICONDATAW>& Added() {
  static std::vector<NOTIFYICONDATAW> icons;
  return icons;
}

void Remove(NOTIFYICONDATAW& added) {
  // The icon is named by window and number: a GUID would tie it to the
  // program's path, which changes with every copy on a stick. An add
  // reported as failed may have shown the icon all the same; deleting an
  // icon the shell does not have is harmless.
  ::Shell_NotifyIconW(NIM_DELETE, &added);
  ::DestroyIcon(added.hIcon);
}

}  // namespace

bool AddTrayIcon(int windowNumber, unsigned iconId, const Text& iconFile,
                 const Text& tooltip) noexcept {
  const HWND window = win32::WindowOf(windowNumber);
  if (window == nullptr) return false;
  std::vector<NOTIFYICONDATAW>& added = Added();
  auto kept = std::find_if(added.begin(), added.end(), [&](const NOTIFYICONDATAW& icon) {
    return icon.hWnd == window && icon.uID == iconId;
  });
  if (kept == added.end()) {
    HICON small = nullptr;
    ::ExtractIconExW(win32::Wide(iconFile).c_str(), 0, nullptr, &small, 1);
    if (small == nullptr) return false;
    NOTIFYICONDATAW data = {sizeof(data)};
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = win32::kTrayMessage;
    data.hIcon = small;
    win32::CopyField(data.szTip, tooltip);
    kept = added.insert(added.end(), data);
  }
  // A shell busy at logon may report an add as failed and show the icon all
  // the same; an add again is then refused as a duplicate, while a change
  // shows that the shell has it.
  return ::Shell_NotifyIconW(NIM_ADD, &*kept) != FALSE ||
         ::Shell_NotifyIconW(NIM_MODIFY, &*kept) != FALSE;
}

void FocusTrayIcon(int windowNumber, unsigned iconId) noexcept {
  NOTIFYICONDATAW data = {sizeof(data)};
  data.hWnd = win32::WindowOf(windowNumber);
  data.uID = iconId;
  ::Shell_NotifyIconW(NIM_SETFOCUS, &data);
}

void win32::RemoveTrayIcons() noexcept {
  for (NOTIFYICONDATAW& added : Added()) Remove(added);
  Added().clear();
}

}  // namespace platform
