// Spending the definition's point pool on stats and talents.
#include <string>

#include "console/console_io.h"
#include "console/prompts.h"
#include "data/fighter.h"
#include "data/tables.h"
#include "opening/definition.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"

namespace velkor {

void BuyStats(Console& console, TPlayer& player, std::int32_t& pointPool) {
  for (std::size_t i = 0; i < StatCount; ++i) {
    ShowSheet(console, player, false, "");
    const std::string name(StatNames[i]);
    const std::int32_t points = AskRange(console, name + "を入力して下さい。"_cp, 0, pointPool);
    const std::int32_t multiplier = StatMultipliers[i];
    const std::int32_t value = points * multiplier;
    player.BaseStats[i] = value;
    player.CurStats[i] = value;
    pointPool -= points;
    console.Write("きみの"_cp + name + "は"_cp);
    if (multiplier != 1)
      console.Write(std::to_string(points) + "に"_cp + std::to_string(multiplier) + "を乗じて"_cp);
    console.WriteLine(std::to_string(value) + "と定められた。"_cp);
  }
}

void BuyTalents(Console& console, TPlayer& player, std::int32_t& pointPool) {
  for (;;) {
    std::string keys;
    std::string menu;
    for (std::size_t i = 0; i < TalentCount; ++i) {
      if (player.Talents[i] != 0 || TalentCosts[i] > pointPool) continue;
      // The letter follows the talent's index, so letters never shift.
      const char letter = IntToAlf(console, static_cast<std::int32_t>(i));
      keys += letter;
      menu += "(" + std::string(1, letter) + ")" + PadRight(TalentNames[i], TalentNameWidth) +
              std::to_string(TalentCosts[i]) + std::string(LineEnd);
    }
    keys += 'Z';
    menu += "(Z)おわり"_cp + std::string(LineEnd);
    if (keys == "Z") return;

    ShowSheet(console, player, false, "");
    console.Write(menu);
    const char key = AskChoice(
        console, "きみに才能はあるのかな？ （残り"_cp + std::to_string(pointPool) + "ポイント）"_cp, keys);
    if (key == 'Z') return;
    const std::int32_t t = AlfToInt(console, key);
    const auto talent = static_cast<std::size_t>(t);
    console.WriteLine("きみには≪"_cp + std::string(TalentNames[talent]) + "≫の才能があった。"_cp);
    player.Talents[talent] = 1;
    pointPool -= TalentCosts[talent];
  }
}

}  // namespace velkor
