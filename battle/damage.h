#pragma once
// The damage formula: an amount scaled down by a defense, and what each
// action makes of it.

#include <cstdint>

namespace velkor {

// 100 to the power -d/100 as the double nearest to the exact value (for d a
// multiple of one half, as every defense and half defense of the game is).
double DefenseFactor(double d);

// The smallest integer not below n x DefenseFactor(d), the product taken
// exactly (not rounded to a double first). Held within 32 bits, and at least
// 1 for a positive n even where the factor underflows to 0.
std::int32_t ApplyDefense(std::int32_t n, double d);

// The amount action deals before defense and guard, from the attacker's
// current attack: (A + 1) div 2 for "弱撃", 12 for "崩し", 2 x A for "剣劇",
// A for the rest. Held within 32 bits.
std::int32_t BaseAmount(std::uint8_t action, std::int32_t attack);

// amount through the target's current defense: "衝撃" goes through half of
// it (not rounded); "崩し" and "剣劇" are not reduced.
std::int32_t AfterDefense(std::uint8_t action, std::int32_t amount, std::int32_t defense);

// amount through a guard token, which takes the full defense whatever the
// action: also "崩し" and "剣劇", and "衝撃" not by half.
std::int32_t AfterGuard(std::int32_t amount, std::int32_t defense);

}  // namespace velkor
