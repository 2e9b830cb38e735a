#pragma once
// The run report: one line per finished run appended to "レポート.txt".

#include <cstdint>

namespace velkor {

// Appends the run's line: kills, TitleList, "VELKOR", the local date and
// time, the player's name. A file that cannot be written ends the run
// through the failure report.
void WriteReport(std::int32_t killCount);

}  // namespace velkor
