// Looks at a running parvola.exe from outside, for the demonstration:
//   parvola_inspect wait    waits for the first scan's result, prints the
//                           status line, the drive list and any balloon
//   parvola_inspect tab     presses Tab in the program's window, as a user
//                           without a mouse moves the focus
//   parvola_inspect close   asks the program to close (WM_CLOSE)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/texts.h"
#include "mounter/scan_texts.h"
#include "tests/e2e/program.h"

namespace {

using namespace std::chrono_literals;

// msvcrt's wide printf stops at the first non-ASCII character.
void Print(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                        size, nullptr, nullptr);
  bytes += '\n';
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

// Whether `status` is one of the texts a finished scan shows, in the
// language the program took from this same user.
bool ShowsScanResult(const std::wstring& status) {
  const app::TextTable texts = app::MakeTextTable(::GetUserDefaultLangID());
  const platform::Text text(status.begin(), status.end());
  if (text == texts[app::kTextNothingFound]) return true;
  for (int count = 1; count <= 24; ++count) {  // a letter each, C to Z
    if (text == mounter::MakeCountText(count, texts[app::kTextFoundSuffix])) return true;
  }
  return false;
}

int Wait() {
  const bool ready = e2e::WaitUntil(
      [] { return ::IsWindowVisible(e2e::FindMainWindow()) && ShowsScanResult(e2e::StatusText()); },
      60s);
  if (!ready) {
    Print(L"no scan result within 60 s; the status line reads \"" + e2e::StatusText() + L"\"");
    return 1;
  }
  Print(L"status: " + e2e::StatusText());
  for (const std::wstring& row : e2e::DriveRows()) Print(L"row:    " + row);
  // Wine's notification area opens a balloon two seconds after it is asked for.
  std::wstring text;
  if (e2e::WaitUntil([&] { return !(text = e2e::BalloonText()).empty(); }, 6s)) {
    for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.replace(at, 2, L" | ");
    Print(L"balloon: " + text);
  } else {
    Print(L"balloon: none shown");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"wait") return Wait();
  if (command == L"tab") {
    ::SetForegroundWindow(e2e::FindMainWindow());
    e2e::PressKeys({VK_TAB});
    return 0;
  }
  if (command == L"close") return ::PostMessageW(e2e::FindMainWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
  Print(L"usage: parvola_inspect wait|tab|close");
  return 2;
}
