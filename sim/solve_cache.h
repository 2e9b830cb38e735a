#pragma once
// Solved tables kept on disk, one file per build, enemy and set of plans, so
// that a matchup is solved once. A file says what it was solved for (its
// key: the build, the enemy's numbers, the plans, this program's solver and
// a fingerprint of the engine's turns) and ends with a checksum; a file that
// is damaged, cut short or made for anything else is not used, and the
// table solved anew replaces it (through a new file renamed over it).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/best_solver.h"
#include "sim/build.h"

namespace velkor::sim {

// Bumped whenever the solve or the file's layout changes what a file holds.
inline constexpr std::uint32_t SolveFormat = 1;

// What a table was solved for, as text.
std::string TableKey(TurnModel& model, const Build& build, std::int32_t enemy, PlanSet plans);

// The file's name in the cache folder: plain ASCII, one per build, enemy
// and set of plans.
std::string TableFileName(const Build& build, std::int32_t enemy, PlanSet plans);

// The bytes of a file holding table for key, and the table again from such
// bytes when they are whole and were made for key.
std::string TableBytes(const SolvedTable& table, std::string_view key);
std::optional<SolvedTable> TableFromBytes(std::string_view bytes, std::string_view key);

// The folder that velkor-sim keeps its tables in when no --cache is given:
// VELKOR_SIM_CACHE, else $XDG_CACHE_HOME/velkor-sim, else
// $HOME/.cache/velkor-sim (on Windows %LOCALAPPDATA%\velkor-sim first).
// Of the system's variables only an absolute path names a folder; empty when
// none does. env gives a variable's value or null.
std::string DefaultCacheFolder(const char* (*env)(const char* name));

}  // namespace velkor::sim
