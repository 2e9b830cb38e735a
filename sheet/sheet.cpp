#include "sheet/sheet.h"

#include <cstdint>

#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"

namespace velkor {

std::string StatusWord(const TFighter& fighter) {
  // Widened so that the comparisons hold for any 32-bit HP.
  const std::int64_t current = fighter.CurStats[StatHP];
  const std::int64_t base = fighter.BaseStats[StatHP];
  if (current <= 0) return "死亡"_cp;
  if (4 * current < base) return "瀕死"_cp;
  if (2 * current < base) return "重傷"_cp;
  if (current < base) return "負傷"_cp;
  return "十全"_cp;
}

void ShowSheet(Console& console, const TFighter& fighter, bool isShort, std::string_view caption) {
  RuleLine(console, " " + fighter.Name.Text() + " ");
  if (isShort) {
    console.WriteLine(StatusWord(fighter));
  } else {
    for (std::size_t i = 0; i < StatCount; ++i) {
      console.WriteLine(PadRight(StatNames[i], StatNameWidth) + RightInt(5, fighter.CurStats[i]) + "/" +
                        RightInt(5, fighter.BaseStats[i]));
    }
    std::string talents;
    for (std::size_t t = 0; t < TalentCount; ++t) {
      if (fighter.Talents[t] != 0) talents += "≪"_cp + std::string(TalentNames[t]) + "≫"_cp;
    }
    if (!talents.empty()) console.WriteLine(talents);
  }
  console.Write(caption);
  RuleLine(console, "");
}

}  // namespace velkor
