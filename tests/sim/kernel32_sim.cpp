#include "platform/kernel32.h"
#include "tests/sim/narrow.h"
#include "tests/sim/sim.h"

namespace platform {

using sim::Narrow;
using sim::process;

namespace {

constexpr Handle kMutexHandleBase = 0x100;

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

Module LoadSystemLibrary(const Text& name) noexcept {
  process().librariesLoaded.push_back(name);
  if (sim::Enter("LoadLibraryExW", Narrow(name)) || process().missingLibraries.count(name)) {
    return 0;
  }
  ++process().loadedLibraries;
  return static_cast<Module>(process().librariesLoaded.size());
}

void FreeLibrary(Module module) noexcept {
  (void)sim::Enter("FreeLibrary", std::to_string(module));
  if (module != 0) --process().loadedLibraries;
}

Procedure FindProcedure(Module module, const char* name) noexcept {
  if (sim::Enter("GetProcAddress", name) || module == 0 ||
      process().missingProcedures.count(name)) {
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
