#pragma once
// The record that the player and every enemy begin with, and the player's own
// record. The fields mirror the 68-byte image stored in save.dat, alignment
// gaps included, so that a record converts to and from it byte for byte.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

// A length byte and N bytes of storage. Storage past the length keeps whatever
// it held: it is part of the saved image and of its checksum.
template <std::size_t N>
struct ShortString {
  std::uint8_t Length = 0;
  std::array<char, N> Storage{};

  static constexpr std::size_t Capacity = N;

  std::string Text() const { return std::string(Storage.data(), std::min<std::size_t>(Length, N)); }
  // Takes at most N bytes of text; the rest of the storage is not touched.
  void Assign(std::string_view text) {
    const std::size_t n = std::min(text.size(), N);
    std::copy_n(text.data(), n, Storage.data());
    Length = static_cast<std::uint8_t>(n);
  }
};

struct TFighter {
  ShortString<16> Name;
  std::array<std::uint8_t, 3> NameGap{};  // alignment gap of the saved image
  std::array<std::int32_t, 4> CurStats{};
  std::array<std::int32_t, 4> BaseStats{};
  std::array<std::uint8_t, 4> Talents{};  // 0 = not owned, 1 = owned

  bool HasTalent(int talent) const { return Talents[static_cast<std::size_t>(talent)] != 0; }
};

struct TPlayer : TFighter {
  ShortString<10> Checksum;
  std::uint8_t TailGap = 0;  // alignment gap of the saved image
};

inline constexpr std::size_t PlayerImageSize = 68;
using PlayerImage = std::array<std::uint8_t, PlayerImageSize>;

// The record as stored in save.dat: integers little-endian, every byte kept.
PlayerImage ToImage(const TPlayer& player);
TPlayer FromImage(const PlayerImage& image);
// The same as the bytes of a file: the record's image, and the record of a
// file's first 68 bytes (bytes a shorter file lacks read as zero).
std::string ImageBytes(const TPlayer& player);
TPlayer FromImageBytes(std::string_view bytes);

// "【<kills>人斬り】" followed by titleList (the titles won in the run, one
// bracketed label after another): the hunt's heading and the start of the
// report line.
std::string KillsAndTitles(std::int32_t killCount, std::string_view titleList);

// True when a definition could have made this fighter: a name of 1 to
// NameLimit bytes, stats of at least 0 (hit points in steps of 5), talents
// 0 or 1, no more points spent than the pool holds, and current stats equal
// to the base ones. Bytes past the name and the gaps are free.
bool CouldBeDefined(const TFighter& fighter);

// Current stats := base stats.
void RestoreStats(TFighter& fighter);
// Empty name (storage untouched), stats 0, no talents.
void ClearFighter(TFighter& fighter);
// ClearFighter of the fighter part; the checksum keeps its value.
void ClearPlayer(TPlayer& player);

}  // namespace velkor
