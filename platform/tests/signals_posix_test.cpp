// An end signal that arrives while a file is being replaced waits for the
// replacement to finish: the program then ends by that signal, with the new
// file whole and no temporary file left beside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "testsupport/test_files.h"

namespace velkor::platform {
namespace {

int TellParent = -1;  // the write end of a pipe to the test

// Tells the test that the save is under way, then writes slowly, so that the
// signal lands while the temporary file exists.
std::ptrdiff_t SlowWriter(FileHandle file, const void* data, std::size_t size) {
  std::ignore = ::write(TellParent, "w", 1);
  ::usleep(100000);
  return SystemWrite(file, data, size < 4 ? size : 4);
}

void SayBye(int signal) {
  const char line[] = {'b', 'y', 'e', static_cast<char>('0' + signal % 10)};
  std::ignore = ::write(TellParent, line, sizeof line);
}

class SignalFolder : public ::testing::Test {
 private:
  test::ScopedTempDir temp_;
  test::ScopedWorkingDir inside_{temp_.Path()};
};

TEST_F(SignalFolder, EndSignalWaitsForTheSaveAndLeavesNoTemporaryFile) {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    test::WriteBytes("save.dat", "old");
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(channel[0]);
      TellParent = channel[1];
      HandleEndSignals(SayBye);
      ReplaceFile("save.dat", "twelve bytes", "", SlowWriter);
      std::ignore = ::write(TellParent, "alive", 5);
      std::_Exit(0);
    }
    ::close(channel[1]);
    char first = 0;
    ASSERT_EQ(::read(channel[0], &first, 1), 1);
    ASSERT_EQ(::kill(child, signal), 0);
    std::string told;
    char buffer[64];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) told.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << signal;
    EXPECT_EQ(WTERMSIG(status), signal);
    // Only the writes, then the hook's line: the save finished, the program
    // did not go on past it.
    EXPECT_EQ(told.substr(told.find_first_not_of('w')), std::string("bye") + char('0' + signal % 10))
        << signal;
    EXPECT_EQ(test::ReadBytes("save.dat"), "twelve bytes") << signal;
    EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"}) << signal;
  }
}

// With standard output going to a file under a file size limit, a write
// past the limit fails like a full disk instead of ending the program: the
// process set-up sees to it.
TEST(ProcessSetUp, AWritePastTheFileSizeLimitFailsInsteadOfEndingTheProgram) {
  test::ScopedTempDir temp;
  const std::string path = temp.Path() + "/out.txt";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetUpProcess(ProcessRole::Game);
    const rlimit limit{10, 10};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const char bytes[20] = {};
    const bool partial = ::write(fd, bytes, sizeof bytes) == 10;
    const bool refused = ::write(fd, bytes, sizeof bytes) < 0 && errno == EFBIG;
    std::_Exit(partial && refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace velkor::platform
