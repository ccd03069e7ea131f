#pragma once
// System error codes that more than one library reports and the code above
// tells apart (winerror.h), kept once so that both headers can be included
// together.
#include <cstdint>

namespace platform {

inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorPathNotFound = 3;

}  // namespace platform
