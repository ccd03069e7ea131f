#include "app/texts.h"

#include <utility>

namespace app {
namespace {

TextTable g_texts;

struct Translation {
  int slot;
  const char16_t* english;
  const char16_t* german;
};

constexpr Translation kTranslations[] = {
    {kTextChecking, u"Check System...", u"\u00DCberpr\u00FCfe System..."},
    {kTextFoundSuffix, u" new Partition(s) found.", u" neue Partition(en) gefunden."},
    {kTextNothingFound, u"No partition found.", u"Keine neue Partition gefunden."},
    {kTextRefresh, u"Refresh", u"Aktualisieren"},
    {kTextExit, u"Exit", u"Beenden"},
};

}  // namespace

TextTable MakeTextTable(std::uint16_t languageId) {
  constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
  constexpr std::uint16_t kGerman = 7;
  const bool german = (languageId & kPrimaryLanguageMask) == kGerman;
  TextTable table;
  for (const Translation& t : kTranslations) table[t.slot] = german ? t.german : t.english;
  return table;
}

const TextTable& Texts() { return g_texts; }

void SetTexts(TextTable table) { g_texts = std::move(table); }

}  // namespace app
