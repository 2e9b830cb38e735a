// Only on POSIX systems: /dev/full, pipes without a reader, /dev/zero and memory limits.
// velkor-sim as a batch system runs it: output that cannot be written, and
// part files that are no parts at all, never end with status 0 or take the
// memory.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/process_runner.h"
#include "testsupport/test_files.h"

namespace velkor::sim {
namespace {

std::string SimProgram() { return test::ProgramBesideGame("velkor-sim"); }

struct Ended {
  int status = -1;  // the wait status
  std::string errors;
};

// Runs velkor-sim with args, its standard output going to out, and gives how
// it ended and what it wrote to standard error.
Ended RunWritingTo(const std::vector<std::string>& args, int out) {
  std::vector<std::string> argv{SimProgram()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  int errors[2];
  Ended ended;
  if (::pipe(errors) != 0) return ended;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(errors[1], STDERR_FILENO);
    ::close(errors[0]);
    ::execv(pointers[0], pointers.data());
    _exit(127);
  }
  ::close(errors[1]);
  char buffer[4096];
  for (ssize_t n; (n = ::read(errors[0], buffer, sizeof buffer)) > 0;) ended.errors.append(buffer, n);
  ::close(errors[0]);
  ::waitpid(child, &ended.status, 0);
  return ended;
}

// A full disk, and a pipe whose reader has gone: a message and status 1,
// never 0 (nor the end by SIGPIPE that a batch system may not read as a
// failure of the part).
TEST(VelkorSimOutput, AFailedWriteIsToldAndEndsWithStatusOne) {
  const std::vector<std::string> part{"search", "--policy", "greedy",  "--step", "50",
                                      "-n",     "10",       "--shard", "1/1"};
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  ::close(pipe[0]);
  for (const int out : {full, pipe[1]}) {
    for (const std::vector<std::string>& args : {part, std::vector<std::string>{"--help"}}) {
      const Ended ended = RunWritingTo(args, out);
      ASSERT_TRUE(WIFEXITED(ended.status)) << "ended by signal " << WTERMSIG(ended.status);
      EXPECT_EQ(WEXITSTATUS(ended.status), 1) << args[0];
      EXPECT_EQ(ended.errors.rfind("velkor-sim: cannot write the output: ", 0), 0u) << ended.errors;
    }
  }
  ::close(full);
  ::close(pipe[1]);
}

// Files that hold no line of a part, however large, are refused at their
// first line, in a memory smaller than the line: /dev/zero, one line of
// 64 MiB.
TEST(VelkorSimOutput, MergeRefusesEndlessLinesAtOnce) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  test::ScopedTempDir folder;
  const std::string huge = folder.Path() + "/huge.csv";
  test::WriteBytes(huge, std::string(64 << 20, '7'));
  for (const std::string& file : {std::string("/dev/zero"), huge}) {
    const test::ProcessResult run =
        test::RunProcess({SimProgram(), "merge", file}, ".", "", 10, {-1, 48LL << 20}, true);
    EXPECT_FALSE(run.timedOut) << file;
    EXPECT_EQ(run.exitStatus, 1) << file;
    EXPECT_EQ(run.output, "velkor-sim: \"" + file + "\" is not a part written by search --shard\n");
  }
}

// Memory that runs out while the parts are merged is told as such, with the
// status for it.
TEST(VelkorSimOutput, MemoryRunningOutInMergeEndsWithStatusThree) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  test::ScopedTempDir folder;
  const std::string part = folder.Path() + "/part.csv";
  // The first build of the finest search: merging it holds a row for every
  // build of that search, more than 48 MiB allow.
  test::WriteBytes(
      part,
      "part,parts,policy,step,enemy,runs,seed,policy_seed,build,hp,atk,def,spd,talents,successes,kills\n"
      "1,1,greedy,1,,1,1,1,0,0,0,0,100,,0,0\n");
  const test::ProcessResult run =
      test::RunProcess({SimProgram(), "merge", part}, ".", "", 10, {-1, 48LL << 20}, true);
  EXPECT_EQ(run.exitStatus, 3) << run.output;
  EXPECT_NE(run.output.find("velkor-sim: out of memory"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace velkor::sim
