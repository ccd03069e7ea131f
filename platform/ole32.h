#pragma once
// ole32, in portable types.
#include <array>
#include <cstdint>

#include "platform/text.h"

namespace platform {

// A GUID in its in-memory layout (Data1..Data3 little-endian).
using Guid = std::array<std::uint8_t, 16>;

// CLSIDFromString. Returns its HRESULT (0 is S_OK); `guid` is written only
// on success.
[[nodiscard]] std::int32_t ClsidFromText(const Text& text, Guid& guid) noexcept;

// CoInitializeEx apartment-threaded on the calling thread; a failure is
// remembered and leaves COM as it was.
void StartCom() noexcept;
// CoUninitialize, once for a StartCom that succeeded; else nothing.
void EndCom() noexcept;

}  // namespace platform
