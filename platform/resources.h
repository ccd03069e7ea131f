#pragma once
// kernel32: the program's own file and the resources of a file, in portable
// types.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/kernel32.h"
#include "platform/text.h"

namespace platform {

inline constexpr int kResourceIcon = 3;        // RT_ICON
inline constexpr int kResourceIconGroup = 14;  // RT_GROUP_ICON

// GetModuleFileNameW of the running program; empty on failure.
Text ProgramFilePath() noexcept;

// LoadLibraryExW with LOAD_LIBRARY_AS_DATAFILE: the file's resources only,
// no code runs. 0 on failure; free it with FreeLibrary.
[[nodiscard]] Module LoadDataFile(const Text& path) noexcept;

// FindResourceW, LoadResource, LockResource and SizeofResource: a copy of
// exactly the resource's bytes. Nothing when any step fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadResource(Module module, int type,
                                                                    int number) noexcept;

}  // namespace platform
