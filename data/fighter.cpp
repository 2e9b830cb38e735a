#include "data/fighter.h"

#include "data/points.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"

namespace velkor {

namespace {

// Offsets of the saved image.
constexpr std::size_t NameOffset = 0;
constexpr std::size_t GapOffset = 17;
constexpr std::size_t CurStatsOffset = 20;
constexpr std::size_t BaseStatsOffset = 36;
constexpr std::size_t TalentsOffset = 52;
constexpr std::size_t ChecksumOffset = 56;
constexpr std::size_t TailGapOffset = 67;

void PutInt(PlayerImage& image, std::size_t at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt(const PlayerImage& image, std::size_t at) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(image[at + i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

template <std::size_t N>
void PutShort(PlayerImage& image, std::size_t at, const ShortString<N>& text) {
  image[at] = text.Length;
  for (std::size_t i = 0; i < N; ++i) image[at + 1 + i] = static_cast<std::uint8_t>(text.Storage[i]);
}

template <std::size_t N>
void GetShort(const PlayerImage& image, std::size_t at, ShortString<N>& text) {
  text.Length = image[at];
  for (std::size_t i = 0; i < N; ++i) text.Storage[i] = static_cast<char>(image[at + 1 + i]);
}

}  // namespace

PlayerImage ToImage(const TPlayer& player) {
  PlayerImage image{};
  PutShort(image, NameOffset, player.Name);
  for (std::size_t i = 0; i < 3; ++i) image[GapOffset + i] = player.NameGap[i];
  for (std::size_t i = 0; i < 4; ++i) {
    PutInt(image, CurStatsOffset + 4 * i, player.CurStats[i]);
    PutInt(image, BaseStatsOffset + 4 * i, player.BaseStats[i]);
    image[TalentsOffset + i] = player.Talents[i];
  }
  PutShort(image, ChecksumOffset, player.Checksum);
  image[TailGapOffset] = player.TailGap;
  return image;
}

TPlayer FromImage(const PlayerImage& image) {
  TPlayer player{};
  GetShort(image, NameOffset, player.Name);
  for (std::size_t i = 0; i < 3; ++i) player.NameGap[i] = image[GapOffset + i];
  for (std::size_t i = 0; i < 4; ++i) {
    player.CurStats[i] = GetInt(image, CurStatsOffset + 4 * i);
    player.BaseStats[i] = GetInt(image, BaseStatsOffset + 4 * i);
    player.Talents[i] = image[TalentsOffset + i];
  }
  GetShort(image, ChecksumOffset, player.Checksum);
  player.TailGap = image[TailGapOffset];
  return player;
}

std::string ImageBytes(const TPlayer& player) {
  const PlayerImage image = ToImage(player);
  return std::string(image.begin(), image.end());
}

TPlayer FromImageBytes(std::string_view bytes) {
  PlayerImage image{};
  std::transform(bytes.begin(),
                 bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), image.size())),
                 image.begin(), [](char c) { return static_cast<std::uint8_t>(c); });
  return FromImage(image);
}

std::string KillsAndTitles(std::int32_t killCount, std::string_view titleList) {
  return "【"_cp + std::to_string(killCount) + "人斬り】"_cp + std::string(titleList);
}

bool CouldBeDefined(const TFighter& fighter) {
  if (fighter.Name.Length < 1 || fighter.Name.Length > NameLimit) return false;
  if (fighter.CurStats != fighter.BaseStats) return false;
  std::array<std::int32_t, StatCount> points{};
  for (std::size_t stat = 0; stat < StatCount; ++stat) {
    const std::int32_t value = fighter.BaseStats[stat];
    if (value < 0 || value % StatMultipliers[stat] != 0) return false;
    points[stat] = value / StatMultipliers[stat];
  }
  for (const std::uint8_t talent : fighter.Talents)
    if (talent > 1) return false;
  return PointCost(points, fighter.Talents) <= InitialPointPool;
}

void RestoreStats(TFighter& fighter) { fighter.CurStats = fighter.BaseStats; }

void ClearFighter(TFighter& fighter) {
  fighter.Name.Length = 0;
  fighter.BaseStats.fill(0);
  RestoreStats(fighter);
  fighter.Talents.fill(0);
}

void ClearPlayer(TPlayer& player) { ClearFighter(player); }

}  // namespace velkor
