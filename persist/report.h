#pragma once
// The run report: one line per finished run appended to "レポート.txt".

#include <cstdint>
#include <string>

namespace velkor {

// Reads the user's date and time settings (LC_TIME) for the report line.
// Start-up calls it once, before anything else is asked.
void ReadReportLocale();

// Appends the run's line: kills, TitleList, "VELKOR", the local date and
// time, the player's name. A file that cannot be written ends the run
// through the failure report.
void WriteReport(std::int32_t killCount);
// The line the last WriteReport appended (code page 932, no line end);
// empty before any.
const std::string& LastReportLine();

}  // namespace velkor
