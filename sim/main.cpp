// velkor-sim: read the command line, run, print in the locale's character set.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/process.h"
#include "sim/app.h"
#include "sim/best_tables.h"
#include "sim/parallel.h"
#include "sim/solve_cache.h"

namespace {

// Writes text to standard output, whole; a write that fails (a full disk, a
// closed pipe) is said, so that a batch system never takes a lost part for
// done.
bool WriteOut(std::string_view text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  if (std::fflush(stdout) == 0 && written && std::ferror(stdout) == 0) return true;
  std::fprintf(stderr, "velkor-sim: cannot write the output: %s\n", std::strerror(errno));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velkor::sim;
  velkor::platform::SetUpProcess(velkor::platform::ProcessRole::Tool);
  // Bytes pass as they stand (on Windows, standard output is set to binary).
  velkor::platform::OpenStandardConsole();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  std::string error;
  std::optional<CommandLine> line = ParseCommandLine(args, error);
  if (!line) {
    std::fprintf(stderr, "velkor-sim: %s\nTry 'velkor-sim --help'.\n", error.c_str());
    return 2;
  }
  if (line->Run == CommandLine::Mode::Help) return WriteOut(HelpText()) ? 0 : 1;
  // Threads past a few per core would only take memory.
  line->Threads = UsefulThreads(line->Threads == 0 ? DefaultThreads() : line->Threads, UINT64_MAX);
  if (!line->Cache)
    line->Cache = DefaultCacheFolder([](const char* name) -> const char* { return std::getenv(name); });
  if (line->Runs == 0) line->Runs = DefaultRuns(line->Run);

  const bool terminal = isatty(STDERR_FILENO) != 0;
  std::optional<ProgressBar> bar;
  // Merging is quick; a part written for merge is still worth watching.
  const bool search = line->Run == CommandLine::Mode::Search;
  const bool battles = line->Run == CommandLine::Mode::Battles || (search && line->Enemy);
  if (terminal && line->Run != CommandLine::Mode::Merge && line->Run != CommandLine::Mode::Solve)
    bar.emplace(stderr,
                search                                   ? "searching"
                : line->Run == CommandLine::Mode::Advise ? "advising"
                                                         : "playing",
                battles ? "battles" : "hunts");
  int shown = -1;
  if (terminal) {
    // A solve of the best play says how far it has come, on its own line.
    TableStore::Shared().OnSolve([&shown](const TableNote& note, double done) {
      const int percent = static_cast<int>(done * 100);
      if (percent == shown) return;
      shown = percent;
      std::fprintf(stderr, "\rsolving the best play against enemy %d: %3d%%", note.Enemy + 1, percent);
      if (percent >= 100) std::fputs("\r                                                \r", stderr);
      std::fflush(stderr);
    });
  }
  const double start = velkor::platform::SteadySeconds();
  std::string text;
  std::uint64_t breaks = 0;
  try {
    text = ForLocale(RunCommand(*line, bar ? &*bar : nullptr, &breaks));
  } catch (const MergeError& refused) {
    std::fprintf(stderr, "velkor-sim: %s\n", refused.what());
    return 1;
  } catch (const std::bad_alloc&) {
    // 2 stays the status of a bad command line.
    std::fputs("\nvelkor-sim: out of memory\n", stderr);
    return 3;
  }
  const double seconds = velkor::platform::SteadySeconds() - start;
  if (!WriteOut(text)) return 1;
  if (terminal) std::fprintf(stderr, "(%.2f s on %u threads)\n", seconds, line->Threads);
  if (breaks != 0) {
    // A fault of the program, not of the arguments: the tables stand, but
    // whoever runs it must hear of it.
    std::fprintf(stderr, "velkor-sim: the runs met %llu broken invariants of the engine\n",
                 static_cast<unsigned long long>(breaks));
    return 4;
  }
  return 0;
}
