#pragma once
// The enemy's action weights as its draw uses them, worked out once for a set
// of weights instead of at every slot: what is affordable changes only at the
// nine costs of the actions, so for each of those levels of points, and for
// the second slot (where "崩し" counts double) apart, the running totals of
// the weights in code order are kept once first asked for.

#include <array>
#include <cstdint>

#include "data/tables.h"

namespace velkor {

class WeightTable {
 public:
  struct Totals {
    std::array<std::int64_t, ActionCount> Running{};
    bool Ascending = true;  // no weight below 0, as in every roster entry
  };

  // The running totals of rate's weights of the actions that cost no more
  // than points, in slot; all 0 when points is below 0.
  const Totals& For(const std::array<std::int32_t, ActionCount>& rate, std::int32_t points, int slot);

 private:
  static constexpr std::size_t Levels = 10;  // below 0, then one per distinct cost
  std::array<std::int32_t, ActionCount> rate_{};
  std::array<std::array<bool, 2>, Levels> known_{};
  std::array<std::array<Totals, 2>, Levels> totals_{};
};

}  // namespace velkor
