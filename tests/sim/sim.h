#pragma once
// A simulated Windows machine behind platform/*.h. Tests arrange its state,
// run the portable code against it, and inspect what that code did.
// Every test starts with sim::Reset().
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "platform/user32.h"

namespace sim {

using platform::Text;

// Back to a freshly booted machine: no state, no log, no injected failures.
void Reset();

// The state of one area of the machine (the registry, the DOS devices...),
// made afresh on first use after each Reset. Each area keeps its struct in
// its own header and reaches it through State<Area>().
int Generation();
template <class T>
T& State() {
  static T state;
  static int generation = -1;
  if (generation != Generation()) {
    state = T();
    generation = Generation();
  }
  return state;
}

// ---- call log and failure injection -------------------------------------

// Every simulated call is logged by its Windows name, with details after a
// blank where they matter ("LoadLibraryExW Shell32.dll").
const std::vector<std::string>& Calls();
// How many logged calls begin with `prefix`: a call name ("CreateFileW"), or
// a name with the start of its details ("RegQueryValueExW data").
std::size_t CountCalls(std::string_view prefix);
// The Windows name of a logged call: the entry up to its first blank.
std::string CallName(const std::string& entry);
// Later calls of `name` fail, until Reset.
void FailCall(std::string name);
// Only the call that will stand at `index` in the log (from 0) fails, so a
// later call of the same name can succeed where an earlier one did not.
void FailCallAt(std::size_t index);
// Runs `action` once, when the next call of `name` is entered and before it
// does anything: what another program or thread does just then.
void OnNextCall(std::string name, std::function<void()> action);
// Logs a call and tells whether it must fail. For the simulated wrappers.
[[nodiscard]] bool Enter(std::string_view name, std::string_view detail = {});

// ---- the process ----------------------------------------------------------

// Thrown by ExitProcess, so a test sees the end of the program.
struct ProcessExit {
  unsigned code;
};

inline constexpr char16_t kSystemDirectory[] = u"C:\\Windows\\system32";
inline constexpr std::uint32_t kFailCriticalErrors = 0x1;  // SEM_FAILCRITICALERRORS

struct Process {
  std::uint16_t languageId = 0x0409;
  Text commandLine = u"parvola.exe";
  // What CommandLineToArgvW gives as the program path; by default the
  // system's rule (up to the closing quote, or to the first blank or tab).
  std::optional<Text> programPath;
  // Named mutexes that another process holds.
  std::set<Text> mutexesElsewhere;
  std::set<Text> missingLibraries;          // as named to LoadLibraryExW
  std::set<std::string> missingProcedures;  // as named to GetProcAddress
  // Windows 7 or PE 3.x without KB2533623: kernel32 has no AddDllDirectory
  // and LoadLibraryExW refuses LOAD_LIBRARY_SEARCH_SYSTEM32.
  bool oldLoader = false;
  std::uint32_t errorMode = 0;  // SetErrorMode flags
  // Every "There is no disk in the drive" box shown (by root), each of which
  // would wait for a person.
  std::vector<Text> criticalErrorBoxes;
  // Bookkeeping the tests inspect.
  int openHandles = 0;
  int loadedLibraries = 0;
  std::vector<Text> librariesLoaded;  // every name or path passed to LoadLibraryExW
};
inline Process& process() { return State<Process>(); }

// ---- windows ---------------------------------------------------------------

struct MessageBoxShown {
  Text caption;
  Text text;
};

struct WindowObject {
  Text title;  // or the control's text
  std::vector<Text> rows;  // of a list
  bool visible = false;
  int clientWidth = 0;
  int clientHeight = 0;
  std::uint32_t background = 0;
  // Controls, as CreateControl made them.
  platform::ControlKind kind = platform::ControlKind::kStaticText;
  int parent = 0;
  platform::Rect place;
  std::uint32_t textColour = platform::kDefaultColour;
  Text fontFace;
  int fontPixels = 0;
  platform::Icon icon = 0;
  int iconGroup = 0;                          // of the program's file, as the window's own icon
  std::vector<std::pair<Text, int>> columns;  // title, width (-2: fills the list)
  Text accessibleName;                        // set by direct annotation
  bool politeLiveRegion = false;              // LiveSetting Polite, by direct annotation
};

struct MenuItem {
  int item;  // 0 for a separator
  Text text;
};

struct Animation {
  int object;
  unsigned milliseconds;
  unsigned flags;
};

struct Desktop {
  std::map<int, WindowObject> objects;  // our own, by number
  // Top-level windows of other processes, by handle value.
  std::map<platform::Window, Text> otherWindows;
  std::set<platform::Window> hiddenOtherWindows;  // such as ours in "-ng -a"
  platform::Window foreground = 0;
  int foregroundObject = 0;  // ours that is the foreground window; 0: another program's
  // The user closes the next pop-up menu by clicking into another program,
  // which then is the foreground window.
  bool menuClosedElsewhere = false;
  // CoInitializeEx calls not yet balanced. Without one, CoCreateInstance
  // fails with CO_E_NOTINITIALIZED, and no annotation is made.
  // https://learn.microsoft.com/windows/win32/api/combaseapi/nf-combaseapi-cocreateinstance
  int comStarted = 0;
  int focus = 0;  // the control with the keyboard focus
  int defaultButton = 0;  // the push button with the default look
  // SPI_GETHIGHCONTRAST; Wine has no high-contrast scheme to turn on.
  // https://learn.microsoft.com/windows/win32/api/winuser/ns-winuser-highcontrastw
  bool highContrast = false;
  // What the user picks from the next pop-up menu; 0 closes it without a
  // choice.
  int menuChoice = 0;
  std::vector<MessageBoxShown> boxes;
  std::vector<Animation> animations;
  bool destroyed = false;
  // Delivered in order by WaitForEvent; when empty it reports kQuit.
  std::deque<platform::Event> events;
  // Waiting before the loop begins: DrainEvents dispatches them unreported.
  std::deque<platform::Event> alreadyQueued;
  std::map<int, std::vector<MenuItem>> menus;
  std::map<int, unsigned> timers;  // timer -> period
  std::vector<int> drags;          // windows moved by their title strip
  std::vector<std::pair<int, int>> popups;  // menu, owner
  platform::DeviceChangeHook deviceHook = nullptr;
  void* deviceHookContext = nullptr;
  int iconsHeld = 0;  // made by CreateIconFromBits, not yet destroyed
};
inline Desktop& desktop() { return State<Desktop>(); }

}  // namespace sim
