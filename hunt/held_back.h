#pragma once
// The last two enemies of the story: held back by name until enough others
// are dead, and fought in rounds of their own scenery.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/cp932_literal.h"

namespace velkor {

struct HeldBack {
  std::string_view Name;
  // The kill count from which it may be offered; the round at exactly this
  // count always shows Scenery.
  std::int32_t FromKillCount;
  std::string_view Scenery;
};

inline constexpr std::array<HeldBack, 2> HeldBackEnemies{{
    {"黒野宇美"_cp, 10, "潮騒の音が聞こえる。"_cp},
    {"黒野大地"_cp, 11, "地平線の向こうが燃えている。"_cp},
}};

}  // namespace velkor
