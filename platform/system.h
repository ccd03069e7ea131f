#pragma once
// kernel32: pauses, the error mode, the Windows version and the ANSI code
// page.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace platform {

void Sleep(unsigned milliseconds) noexcept;

// Adds SEM_FAILCRITICALERRORS to the process's error mode and keeps the rest:
// a drive without a medium then fails the call instead of showing a system
// box that waits for a person. The mode belongs to the process, so every
// thread has it; child processes inherit it.
void FailCriticalErrors() noexcept;

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};
// GetVersionExA. Nothing when the query fails.
[[nodiscard]] std::optional<OsVersion> QueryOsVersion() noexcept;

// MultiByteToWideChar from the system's ANSI code page (CP_ACP). The empty
// text when the bytes cannot be converted.
Text AnsiToText(std::string_view bytes) noexcept;

}  // namespace platform
