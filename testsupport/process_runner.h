#pragma once
// Runs the built game, or another program, as a separate process, as a
// player or a script would.

#include <string>
#include <vector>

namespace velkor::test {

struct ProcessResult {
  int exitStatus = -1;  // -1 when it did not exit by itself
  bool timedOut = false;
  std::string output;  // everything written to standard output
};

// Resource limits for the started program, to see what it does when a
// resource runs out; a negative value leaves that limit as it is. Only POSIX
// systems have them.
struct ProcessLimits {
  long long fileSizeBytes = -1;      // RLIMIT_FSIZE: the largest file it may write
  long long addressSpaceBytes = -1;  // RLIMIT_AS: all the memory it may map
};

// Starts program in workDir with input as its standard input (closed after
// the last byte), and waits at most timeoutSeconds for it to end.
ProcessResult RunProgram(const std::string& program, const std::string& workDir, const std::string& input,
                         int timeoutSeconds = 20, const ProcessLimits& limits = {});

// Starts argv[0] (a path, or a name looked up on the PATH) with the arguments
// that follow it, as RunProgram does; what it writes to standard error is kept
// in the output too.
ProcessResult RunCommand(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds = 60);

// Runs argv in workDir with input on its standard input, under limits; its
// standard error goes into the output too when mergeErrors, else to the
// test's own. Each system has its own.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds, const ProcessLimits& limits,
                         bool mergeErrors);

// The built game, as CMake placed it.
std::string GameProgram();

// Another program built beside the game, named with the same suffix (".exe"
// on Windows).
std::string ProgramBesideGame(const std::string& name);

// Milliseconds on a clock that only goes forward, for deadlines.
long long MonotonicMs();

}  // namespace velkor::test
