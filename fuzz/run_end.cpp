#include "fuzz/run_end.h"

#include <algorithm>
#include <string>

#include "console/console_io.h"
#include "fuzz/game_folder.h"
#include "fuzz/require.h"
#include "persist/report_line.h"
#include "persist/save_file.h"

namespace velkor::fuzz {

void CheckRunEnd(int status, const TypedInput& input, GameRun& run) {
  Require(status == 0 || status == 1, "StartUp gave a status other than 0 and 1");
  Require(status == 0 || input.Ended(), "a failure report while there was input left");

  std::string report;
  if (ReadFile(ReportPath, report)) {
    // Trail bytes of code page 932 are never CR or LF, so bytes can be counted.
    const bool oneLine = report.size() >= 2 && report.compare(report.size() - 2, 2, "\r\n") == 0 &&
                         std::count(report.begin(), report.end(), '\n') == 1 &&
                         std::count(report.begin(), report.end(), '\r') == 1;
    Require(oneLine, "the report is not exactly one line");
  } else {
    Require(status != 0, "a normal end without a report line");
  }

  std::string save;
  const bool saved = ReadFile(SaveFileName, save);
  Require(saved || status != 0, "a normal end without a save.dat");
  if (saved) {
    run.Io.Unbind();
    Require(LoadPlayer(run.Io, run.Player), "the save.dat left by a run does not load");
  }
}

}  // namespace velkor::fuzz
