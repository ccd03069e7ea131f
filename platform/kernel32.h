#pragma once
// kernel32, in portable types. Handles are opaque numbers (0 = none).
#include <cstdint>

#include "platform/text.h"
#include "platform/unique.h"

namespace platform {

using Handle = std::uintptr_t;
using Module = std::uintptr_t;
using Procedure = std::uintptr_t;

// GetUserDefaultLangID.
std::uint16_t GetUserDefaultLangID() noexcept;

struct MutexResult {
  Handle handle = 0;           // 0 when the mutex could not be created
  bool alreadyExisted = false;  // ERROR_ALREADY_EXISTS: another process holds it
};
// CreateMutexW without initial ownership.
[[nodiscard]] MutexResult CreateNamedMutex(const Text& name) noexcept;
void ReleaseMutex(Handle mutex) noexcept;
void CloseHandle(Handle handle) noexcept;

// LoadLibraryExW restricted to the system directory, so a DLL planted beside
// the program is never loaded into this administrator process. 0 on failure.
[[nodiscard]] Module LoadSystemLibrary(const Text& name) noexcept;
void FreeLibrary(Module module) noexcept;
// GetProcAddress by name; 0 when the library lacks it.
[[nodiscard]] Procedure FindProcedure(Module module, const char* name) noexcept;

// Calls a procedure looked up as "GetCommandLineW" (kernel32).
Text CallGetCommandLine(Procedure getCommandLine) noexcept;

// Ends the process. Never returns.
[[noreturn]] void ExitProcess(unsigned code);

using UniqueHandle = Unique<NumberTraits<Handle, CloseHandle>>;
using UniqueLibrary = Unique<NumberTraits<Module, FreeLibrary>>;

}  // namespace platform
