#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/shell32.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/tray_win32.h"
#include "platform/win32/unique_win32.h"

namespace platform {
namespace {

// Each as it was added, so that a restarted shell can be given it again.
std::vector<NOTIFYICONDATAW>& Added() {
  static std::vector<NOTIFYICONDATAW> icons;
  return icons;
}

void Remove(NOTIFYICONDATAW& added) {
  // The icon is named by window and number: a GUID would tie it to the
  // program's path, which changes with every copy on a stick.
  ::Shell_NotifyIconW(NIM_DELETE, &added);
  ::DestroyIcon(added.hIcon);
}

}  // namespace

bool AddTrayIcon(int windowNumber, unsigned iconId, const Text& iconFile,
                 const Text& tooltip) noexcept {
  const HWND window = win32::WindowOf(windowNumber);
  if (window == nullptr) return false;
  HICON small = nullptr;
  ::ExtractIconExW(win32::Wide(iconFile).c_str(), 0, nullptr, &small, 1);
  win32::UniqueIcon icon(small);
  if (!icon) return false;

  NOTIFYICONDATAW data = {sizeof(data)};
  data.hWnd = window;
  data.uID = iconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = win32::kTrayMessage;
  data.hIcon = icon.get();
  win32::CopyField(data.szTip, tooltip);
  if (!::Shell_NotifyIconW(NIM_ADD, &data)) return false;
  (void)icon.release();
  Added().push_back(data);
  return true;
}

void win32::RemoveTrayIcons() noexcept {
  for (NOTIFYICONDATAW& added : Added()) Remove(added);
  Added().clear();
}

void win32::RestoreTrayIcons() noexcept {
  for (NOTIFYICONDATAW& added : Added()) ::Shell_NotifyIconW(NIM_ADD, &added);
}

}  // namespace platform
