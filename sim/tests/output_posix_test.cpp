// Only on POSIX systems: /dev/full and pipes without a reader.
// velkor-sim as a batch system runs it: output that cannot be written never
// ends with status 0.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/process_runner.h"

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
  const std::vector<std::string> part{"search", "--step", "50", "-n", "10", "--shard", "1/1"};
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

}  // namespace
}  // namespace velkor::sim
