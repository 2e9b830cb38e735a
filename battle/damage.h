#pragma once
// The damage formula: an amount scaled down by a defense.

#include <cstdint>

namespace velkor {

// 100 to the power -d/100 as the double nearest to the exact value (for d a
// multiple of one half, as every defense and half defense of the game is).
double DefenseFactor(double d);

// The smallest integer not below n x DefenseFactor(d), the product taken
// exactly (not rounded to a double first). Held within 32 bits.
std::int32_t ApplyDefense(std::int32_t n, double d);

}  // namespace velkor
