#include "testsupport/process_runner.h"

#include <cstdlib>

#include "platform/clock.h"

namespace velkor::test {

ProcessResult RunProgram(const std::string& program, const std::string& workDir, const std::string& input,
                         int timeoutSeconds, const ProcessLimits& limits) {
  return RunProcess({program}, workDir, input, timeoutSeconds, limits, false);
}

ProcessResult RunCommand(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds) {
  return RunProcess(argv, workDir, input, timeoutSeconds, {}, true);
}

std::string GameProgram() {
  const char* program = std::getenv("VELKOR_PROGRAM");
  return program != nullptr ? program : "velkor";
}

std::string ProgramBesideGame(const std::string& name) {
  const std::string game = GameProgram();
  const std::size_t separator = game.find_last_of("/\\");
  const std::string folder = separator == std::string::npos ? "" : game.substr(0, separator + 1);
  const std::string suffix = ".exe";
  const bool suffixed =
      game.size() > suffix.size() && game.compare(game.size() - suffix.size(), suffix.size(), suffix) == 0;
  return folder + name + (suffixed ? suffix : "");
}

long long MonotonicMs() { return static_cast<long long>(platform::SteadySeconds() * 1000.0); }

}  // namespace velkor::test
