#pragma once
// The run report: one line per finished run appended to "レポート.txt".

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "persist/locale_time.h"
#include "platform/file_hooks.h"
#include "platform/file_writer.h"

namespace velkor {

// The report as one run writes it: the user's date and time settings, the
// clock it reads, and the line it appended last.
class RunReport {
 public:
  using Clock = std::time_t (*)();
  static std::time_t SystemClock() { return std::time(nullptr); }

  explicit RunReport(Clock clock = SystemClock) : clock_(clock) {}

  // Reads the user's date and time settings (LC_TIME) for the report line.
  // Start-up calls it once, before anything else is asked; until then the
  // default description holds.
  void ReadLocale();
  const ReportLocale& Locale() const { return locale_; }

  // Appends the run's line: kills, titleList, "VELKOR", the local date and
  // time of the clock, playerName; the bytes go through write, and hooks
  // tell the host. A file that cannot be written (or a host that did not
  // store the line) ends the run through the failure report.
  void Write(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
             platform::FileWriter write = platform::SystemWrite,
             const platform::FileHooks& hooks = platform::NoFileHooks);
  // The line the last Write appended (code page 932, no line end); empty
  // before any.
  const std::string& LastLine() const { return lastLine_; }

 private:
  Clock clock_;
  ReportLocale locale_;
  std::string lastLine_;
};

}  // namespace velkor
