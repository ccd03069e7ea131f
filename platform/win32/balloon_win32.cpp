#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "platform/shell32.h"
#include "platform/win32/objects_win32.h"
#include "platform/win32/text_win32.h"

namespace platform {

// The fields hold the longest texts the caller may pass, and a terminator.
static_assert(std::size(NOTIFYICONDATAW{}.szInfo) == kBalloonTextLimit + 1);
static_assert(std::size(NOTIFYICONDATAW{}.szInfoTitle) == kBalloonTitleLimit + 1);

int ModifyTrayBalloon(int windowNumber, unsigned iconId, const Text& title, const Text& text,
                      unsigned timeout, std::uint32_t infoFlags) noexcept {
  NOTIFYICONDATAW data = {};
  // The version 3 layout: understood by every shell since XP, and the
  // fields after it (balloon icon) are not used.
  static_assert(NOTIFYICONDATAW_V3_SIZE == 968);
  data.cbSize = NOTIFYICONDATAW_V3_SIZE;
  data.hWnd = win32::WindowOf(windowNumber);
  data.uID = iconId;
  data.uFlags = NIF_INFO;
  data.uTimeout = timeout;
  data.dwInfoFlags = infoFlags;
  win32::CopyField(data.szInfo, text);
  win32::CopyField(data.szInfoTitle, title);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

}  // namespace platform
