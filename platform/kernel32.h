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

// LoadLibraryExW flags.
inline constexpr std::uint32_t kLoadWithAlteredSearchPath = 0x8;
inline constexpr std::uint32_t kLoadLibrarySearchSystem32 = 0x800;

// LoadLibraryExW with no file handle: a name or a full path. 0 on failure.
[[nodiscard]] Module LoadLibraryWithFlags(const Text& nameOrPath, std::uint32_t flags) noexcept;
void FreeLibrary(Module module) noexcept;
// GetModuleHandleW: a library already loaded into the process. No reference
// is taken, so the result is never freed. 0 when it is not loaded.
[[nodiscard]] Module FindLoadedLibrary(const Text& name) noexcept;
// GetSystemDirectoryW, without a trailing "\"; empty on failure.
[[nodiscard]] Text SystemDirectory() noexcept;
// GetProcAddress by name; 0 when the library lacks it.
[[nodiscard]] Procedure FindProcedure(Module module, const char* name) noexcept;

// Calls a procedure looked up as "GetCommandLineW" (kernel32).
Text CallGetCommandLine(Procedure getCommandLine) noexcept;

// Ends the process. Never returns.
[[noreturn]] void ExitProcess(unsigned code);

using UniqueHandle = Unique<NumberTraits<Handle, CloseHandle>>;
using UniqueLibrary = Unique<NumberTraits<Module, FreeLibrary>>;

}  // namespace platform
