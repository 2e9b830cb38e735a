#pragma once
// The simulator's tables, as text for people or as CSV for scripts. Enemy
// names are code page 932 bytes, like every text of the game.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sim/best_tables.h"
#include "sim/runs.h"
#include "sim/search.h"

namespace velkor::sim {

// "58.7%  [ 53.0%,  64.2%]": the share of successes out of n and its 95%
// interval, as the tables print them.
std::string ShareWithInterval(std::uint64_t successes, std::uint64_t n);

// One row per roster entry: number (1..12), name, wins, win rate with its
// 95% interval, average turns, the player's average HP left after a win.
std::string BattleTable(const std::array<EnemyTally, RosterSize>& tallies, bool csv);

// How far the hunts got: one row per kill count 0..12, then the share that
// reached the ending and the average kills.
std::string HuntTable(const HuntTally& tally, bool csv);

// The first top builds of ranked; enemy says what was counted.
std::string SearchTable(const std::vector<RankedBuild>& ranked, std::size_t top,
                        std::optional<std::int32_t> enemy, bool csv);

// What getting each table took: the exact chance of winning from the
// battle's start, the states, the distinct plans and merged moves of the
// solve, its Gauss-Seidel sweeps, its processor seconds and the memory of
// its tables; a table read from the cache shows only the seconds of reading.
std::string SolveTable(const std::vector<TableNote>& notes, bool csv);

}  // namespace velkor::sim
