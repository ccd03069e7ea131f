#pragma once
// The program's message texts, in German or English.
#include <array>
#include <cstdint>

#include "parvola_version.h"
#include "platform/text.h"

namespace app {

using platform::Text;

inline constexpr char16_t kVersion[] = u"" PARVOLA_VERSION;
inline constexpr int kTextSlots = 161;
using TextTable = std::array<Text, kTextSlots>;

// Slots the rest of the program reads.
inline constexpr int kTextChecking = 1;
inline constexpr int kTextFoundSuffix = 2;
inline constexpr int kTextNothingFound = 3;
inline constexpr int kTextRefresh = 5;
inline constexpr int kTextExit = 10;

// German for any region of German (primary language 7), English otherwise.
TextTable MakeTextTable(std::uint16_t languageId);

// The table of this process. Filled once at start-up, before any scan thread
// exists, and only read afterwards, so threads read it without locking.
const TextTable& Texts();
void SetTexts(TextTable table);

}  // namespace app
