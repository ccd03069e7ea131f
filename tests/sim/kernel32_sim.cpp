#include <string_view>

#include "platform/kernel32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"

namespace platform {

using sim::Narrow;
using sim::process;

namespace {

constexpr Handle kMutexHandleBase = 0x100;
// Loaded from the start and never freed; far from the numbers of loads.
constexpr Module kKernel32 = 0x7FF0000;

}  // namespace

std::uint16_t GetUserDefaultLangID() noexcept {
  (void)sim::Enter("GetUserDefaultLangID");
  return process().languageId;
}

MutexResult CreateNamedMutex(const Text& name) noexcept {
  if (sim::Enter("CreateMutexW", Narrow(name))) return {};
  ++process().openHandles;
  return {kMutexHandleBase + static_cast<Handle>(process().openHandles),
          process().mutexesElsewhere.count(name) != 0};
}

void ReleaseMutex(Handle mutex) noexcept {
  (void)sim::Enter("ReleaseMutex", std::to_string(mutex));
}

void CloseHandle(Handle handle) noexcept {
  (void)sim::Enter("CloseHandle", std::to_string(handle));
  if (handle != 0) --process().openHandles;
}

Module LoadLibraryWithFlags(const Text& nameOrPath, std::uint32_t flags) noexcept {
  process().librariesLoaded.push_back(nameOrPath);
  if (sim::Enter("LoadLibraryExW", Narrow(nameOrPath))) return 0;
  // Windows 7, Server 2008 R2 and PE 3.x without update KB2533623 refuse the
  // flag with ERROR_INVALID_PARAMETER.
  // https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
  if ((flags & kLoadLibrarySearchSystem32) != 0 && process().oldLoader) return 0;
  // The machine's libraries all live in the system directory.
  Text name = nameOrPath;
  const Text directory = Text(sim::kSystemDirectory) + u"\\";
  if (AsciiLower(nameOrPath).starts_with(AsciiLower(directory))) {
    name = nameOrPath.substr(directory.size());
  }
  if (name.find(u'\\') != Text::npos || process().missingLibraries.count(name)) return 0;
  ++process().loadedLibraries;
  return static_cast<Module>(process().librariesLoaded.size());
}

void FreeLibrary(Module module) noexcept {
  (void)sim::Enter("FreeLibrary", std::to_string(module));
  if (module != 0) --process().loadedLibraries;
}

Module FindLoadedLibrary(const Text& name) noexcept {
  if (sim::Enter("GetModuleHandleW", Narrow(name))) return 0;
  return AsciiLower(name) == u"kernel32.dll" ? kKernel32 : 0;
}

Text SystemDirectory() noexcept {
  if (sim::Enter("GetSystemDirectoryW")) return {};
  return sim::kSystemDirectory;
}

Procedure FindProcedure(Module module, const char* name) noexcept {
  if (sim::Enter("GetProcAddress", name) || module == 0 ||
      process().missingProcedures.count(name)) {
    return 0;
  }
  if (module == kKernel32 && process().oldLoader && std::string_view(name) == "AddDllDirectory") {
    return 0;
  }
  return reinterpret_cast<Procedure>(name);
}

Text CallGetCommandLine(Procedure) noexcept {
  (void)sim::Enter("GetCommandLineW");
  return process().commandLine;
}

void ExitProcess(unsigned code) {
  (void)sim::Enter("ExitProcess", std::to_string(code));
  throw sim::ProcessExit{code};
}

}  // namespace platform
