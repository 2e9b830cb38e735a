#pragma once
// The game's fixed vocabulary: stats, talents and actions.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/cp932_literal.h"

namespace velkor {

enum StatIndex : int { StatHP = 0, StatAttack = 1, StatDefense = 2, StatSpeed = 3 };
inline constexpr int StatCount = 4;
inline constexpr std::array<std::string_view, StatCount> StatNames{"ＨＰ"_cp, "攻撃力"_cp, "防御力"_cp,
                                                                   "素早さ"_cp};
// One point of HP is worth 5 HP; one point of any other stat is worth 1.
inline constexpr std::array<std::int32_t, StatCount> StatMultipliers{5, 1, 1, 1};

enum TalentIndex : int { EvilEye = 0, MindEye = 1, Quick = 2, HyperReaction = 3 };
inline constexpr int TalentCount = 4;
inline constexpr std::array<std::string_view, TalentCount> TalentNames{"魔眼"_cp, "心眼"_cp, "クイック"_cp,
                                                                       "超反応"_cp};
inline constexpr std::array<std::int32_t, TalentCount> TalentCosts{12, 10, 6, 8};

// The longest name in bytes; the prompt and the refusal both show it.
inline constexpr std::int32_t NameLimit = 16;
// Points to spend on stats and talents; what is left at the end is dropped.
inline constexpr std::int32_t InitialPointPool = 100;

enum ActionCode : std::uint8_t {
  actAttack = 0,
  actImpact = 1,
  actSnipe = 2,
  actWeakStrike = 3,
  actBreak = 4,
  actGuard = 5,
  actEvade = 6,
  actSwordPlay = 7,
  actEnd = 8,  // an empty slot and the end of a plan
};
inline constexpr int ActionCount = 9;
inline constexpr std::array<std::string_view, ActionCount> ActionNames{
    "攻撃"_cp, "衝撃"_cp, "狙撃"_cp, "弱撃"_cp, "崩し"_cp, "防御"_cp, "回避"_cp, "剣劇"_cp, "おわり"_cp};
inline constexpr std::array<std::int32_t, ActionCount> ActionCosts{5, 10, 6, 3, 8, 4, 7, 50, 0};
// Menu letters in code order; case matters: "x" guards, "X" is the sword play.
inline constexpr std::string_view ActionLetters = "abcdhxyXZ";

// Byte widths that names are padded to in lists and sheets.
inline constexpr std::size_t StatNameWidth = 6;
inline constexpr std::size_t ActionNameWidth = 7;
inline constexpr std::size_t TalentNameWidth = 9;

}  // namespace velkor
