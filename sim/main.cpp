// velkor-sim: read the command line, run, print in the locale's character set.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "sim/app.h"
#include "sim/parallel.h"

int main(int argc, char** argv) {
  using namespace velkor::sim;
  // Bytes pass as they stand (on Windows, standard output is set to binary).
  velkor::platform::OpenStandardConsole();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  std::string error;
  std::optional<CommandLine> line = ParseCommandLine(args, error);
  if (!line) {
    std::fprintf(stderr, "velkor-sim: %s\nTry 'velkor-sim --help'.\n", error.c_str());
    return 2;
  }
  if (line->Run == CommandLine::Mode::Help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (line->Threads == 0) line->Threads = DefaultThreads();
  if (line->Runs == 0) line->Runs = DefaultRuns(line->Run);

  const bool terminal = isatty(STDERR_FILENO) != 0;
  std::optional<ProgressBar> bar;
  // Merging is quick; a part written for merge is still worth watching.
  const bool search = line->Run == CommandLine::Mode::Search;
  if (terminal && line->Run != CommandLine::Mode::Merge)
    bar.emplace(stderr, search ? "searching" : "playing", search && line->Enemy ? "battles" : "hunts");
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
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (std::fflush(stdout) != 0) return 1;
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
