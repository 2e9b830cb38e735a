#include "sim/build.h"

#include <algorithm>

#include "console/prompts.h"
#include "data/points.h"
#include "enemy/enemy.h"
#include "platform/cp932_literal.h"

namespace velkor::sim {

std::int32_t PointsSpent(const Build& build) {
  return static_cast<std::int32_t>(PointCost(build.StatPoints, build.Talents));
}

TFighter MakeFighter(const Build& build) {
  TFighter fighter{};
  fighter.Name.Assign("ハンター"_cp);
  fighter.BaseStats = build.StatPoints;
  ScaleStats(fighter.BaseStats);
  fighter.Talents = build.Talents;
  RestoreStats(fighter);
  return fighter;
}

std::string StatsText(const Build& build) {
  std::string text;
  for (std::size_t i = 0; i < StatCount; ++i) {
    if (i != 0) text += ',';
    text += std::to_string(build.StatPoints[i]);
  }
  return text;
}

std::string TalentLetters(const Build& build) {
  std::string letters;
  for (std::int32_t t = 0; t < TalentCount; ++t)
    if (build.Talents[static_cast<std::size_t>(t)] != 0) letters += MenuLetter(t);
  return letters.empty() ? "-" : letters;
}

std::optional<Build> ParseBuild(std::string_view stats, std::string_view talents, std::string& error) {
  Build build;
  std::size_t stat = 0;
  bool ok = true;
  for (std::size_t at = 0; ok && at <= stats.size();) {
    const std::size_t comma = std::min(stats.find(',', at), stats.size());
    const std::string_view field = stats.substr(at, comma - at);
    std::int32_t value = 0;
    ok = stat < StatCount && !field.empty() && field.size() <= 3;
    for (std::size_t i = 0; ok && i < field.size(); ++i) {
      ok = field[i] >= '0' && field[i] <= '9';
      value = value * 10 + (field[i] - '0');
    }
    if (ok) build.StatPoints[stat++] = value;
    at = comma + 1;
  }
  if (!ok || stat != StatCount) {
    error = "--stats wants four whole numbers for HP,ATK,DEF,SPD, for example 25,25,25,25";
    return std::nullopt;
  }
  for (const char letter : talents) {
    const std::size_t t = static_cast<std::size_t>(letter - 'a');
    if (letter < 'a' || t >= TalentCount || build.Talents[t] != 0) {
      error =
          "--talents wants each of the letters a, b, c, d (the definition menu's talents) "
          "at most once";
      return std::nullopt;
    }
    build.Talents[t] = 1;
  }
  if (PointsSpent(build) > InitialPointPool) {
    error = "the build costs " + std::to_string(PointsSpent(build)) + " points; the pool holds " +
            std::to_string(InitialPointPool);
    return std::nullopt;
  }
  return build;
}

}  // namespace velkor::sim
