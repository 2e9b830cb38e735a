#pragma once
// The look-ahead's decisions, kept by what the player saw. A decision is a
// function of the matchup and the sight alone (its draws are seeded from
// them), so a kept one is the one that would be worked out again, and what
// is kept, dropped or shared never changes a result.

#include <array>
#include <cstdint>
#include <vector>

#include "sim/sight.h"

namespace velkor::sim {

class DecisionCache {
 public:
  using Plan = std::array<std::uint8_t, SlotCount>;

  // The number that stands for matchup in the keys, good until the next
  // Enter or Keep (either may drop everything kept).
  std::uint32_t Enter(const Matchup& matchup);
  // The plan kept for sight (whose HashOf is hash) in the matchup entered
  // as matchup, or null.
  const Plan* Find(std::uint32_t matchup, const Sight& sight, std::uint64_t hash) const;
  void Keep(std::uint32_t matchup, const Sight& sight, std::uint64_t hash, const Plan& plan);

 private:
  struct Entry {
    Sight Key;
    std::uint32_t Matchup = 0;
    Plan Value{};
    bool Used = false;
  };
  void Clear();
  void Grow(std::size_t size);

  std::vector<Matchup> matchups_;
  std::vector<Entry> entries_;  // open addressing, a power of two in size
  std::size_t used_ = 0;
};

}  // namespace velkor::sim
