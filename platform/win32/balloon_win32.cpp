#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/shell32.h"
#include "platform/win32/objects_win32.h"

namespace platform {
namespace {

// Copies at most the field's capacity less one character, terminated.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const Text& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), field);
  field[length] = L'\0';
}

}  // namespace

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
  CopyField(data.szInfo, text);
  CopyField(data.szInfoTitle, title);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

}  // namespace platform
