#include "testsupport/process_runner.h"

#include <cstdlib>

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

}  // namespace velkor::test
