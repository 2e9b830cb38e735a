#pragma once
// One battle between Player and a roster enemy, turn by turn.

#include <cstdint>
#include <string>

namespace velkor {

// Fights roster entry enemyIndex; on return result is "勝利" or "敗北".
// A victory over an enemy with a title appends it to TitleList.
void Battle(std::int32_t enemyIndex, std::string& result);

}  // namespace velkor
