// Only on POSIX systems: FIFOs, links, devices, /proc and permissions.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_writer.h"
#include "platform/files.h"
#include "testsupport/test_files.h"

namespace velkor::platform {
namespace {

class PosixFolder : public ::testing::Test {
 private:
  test::ScopedTempDir temp_;
  test::ScopedWorkingDir inside_{temp_.Path()};
};

TEST_F(PosixFolder, ReadWholeFileFollowsLinksAndRefusesFifosAndDevices) {
  test::WriteBytes("five", "12345");
  ASSERT_EQ(::mkfifo("fifo", 0644), 0);
  ASSERT_EQ(::symlink("nowhere", "dangling"), 0);
  ASSERT_EQ(::symlink("five", "link"), 0);
  struct Case {
    const char* path;
    std::size_t limit;
    ReadStatus status;
    std::string bytes;
  };
  const Case cases[] = {
      {"link", 5, ReadStatus::Read, "12345"},
      {"dangling", 5, ReadStatus::Missing, ""},
      {"fifo", 5, ReadStatus::Refused, ""},
      {"/dev/zero", 5, ReadStatus::Refused, ""},
      // A regular file whose size the system does not tell beforehand is
      // still held to the limit while it is read.
      {"/proc/self/status", 16, ReadStatus::Refused, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(c.path, c.limit, bytes), c.status) << c.path;
    EXPECT_EQ(bytes, c.bytes) << c.path;
  }
  std::string status;
  EXPECT_EQ(ReadWholeFile("/proc/self/status", 1 << 20, status), ReadStatus::Read);
  EXPECT_NE(status.find("Name:"), std::string::npos);
}

// The new file has the permissions any new file gets, and a link in the
// target's place is replaced, not written through.
TEST_F(PosixFolder, ReplaceFileMakesAnOrdinaryFileInTheTargetsPlace) {
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFile("target", "new"));
  test::WriteBytes("victim", "keep me");
  ASSERT_EQ(::symlink("victim", "linked"), 0);
  ASSERT_TRUE(ReplaceFile("linked", "new"));
  ::umask(mask);

  for (const char* name : {"target", "linked"}) {
    struct stat info {};
    ASSERT_EQ(::lstat(name, &info), 0) << name;
    EXPECT_TRUE(S_ISREG(info.st_mode)) << name;
    EXPECT_EQ(info.st_mode & 0777, 0644u) << name;
    EXPECT_EQ(test::ReadBytes(name), "new") << name;
  }
  EXPECT_EQ(test::ReadBytes("victim"), "keep me");
  EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"linked", "target", "victim"}));
}

// Only what a killed writer left is removed: a regular file, small enough,
// at exactly a temporary name of the target, and not locked by a writer
// that is still at work. A player's own files stay, whatever their names.
TEST_F(PosixFolder, RemoveStaleTemporariesTakesOnlyLeftoversOfDeadWriters) {
  test::WriteBytes("save.dat", "kept");
  test::WriteBytes("save.dat.velkor-AbC123", "dead writer");
  test::WriteBytes("save.dat.velkor-Live12", "live writer");
  const int live = ::open("save.dat.velkor-Live12", O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  test::WriteBytes("save.dat.backup", "the player's own");
  test::WriteBytes("save.dat.a1B2c3", "the player's own, or an older game's");
  test::WriteBytes("save.dat.velkor-Short", "five letters");
  test::WriteBytes("save.dat.velkor-Big123", std::string(69, 'x'));
  test::WriteBytes("other.dat.velkor-AbC123", "another target's");
  ASSERT_EQ(::symlink("save.dat", "save.dat.velkor-Link12"), 0);
  ASSERT_TRUE(test::MakeFolder("save.dat.velkor-Dir123"));
  ASSERT_EQ(::mkfifo("save.dat.velkor-Fifo12", 0644), 0);

  RemoveStaleTemporaries("save.dat", 68);
  ::close(live);
  EXPECT_EQ(test::FolderEntries("."),
            (std::vector<std::string>{"other.dat.velkor-AbC123", "save.dat", "save.dat.a1B2c3",
                                      "save.dat.backup", "save.dat.velkor-Big123", "save.dat.velkor-Dir123",
                                      "save.dat.velkor-Fifo12", "save.dat.velkor-Link12",
                                      "save.dat.velkor-Live12", "save.dat.velkor-Short"}));
  EXPECT_EQ(test::ReadBytes("save.dat"), "kept");
}

// A writer killed in the middle of a replace leaves its temporary file; the
// next clean-up removes it.
TEST_F(PosixFolder, AWriterKilledHalfWayLeavesWhatTheCleanUpRemoves) {
  int channel[2];
  ASSERT_EQ(::pipe(channel), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    static int tell = channel[1];
    const FileWriter halfThenStop([](FileHandle file, const void* data, std::size_t size) -> std::ptrdiff_t {
      const std::ptrdiff_t written = SystemWrite(file, data, size / 2);
      std::ignore = ::write(tell, "w", 1);
      ::pause();
      return written;
    });
    ReplaceFile("save.dat", "twelve bytes", "", halfThenStop);
    std::_Exit(0);
  }
  ::close(channel[1]);
  char written = 0;
  ASSERT_EQ(::read(channel[0], &written, 1), 1);
  ::close(channel[0]);
  // While it lives, its file is in use.
  RemoveStaleTemporaries("save.dat", 68);
  EXPECT_EQ(test::FolderEntries(".").size(), 1u);
  ASSERT_EQ(::kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  RemoveStaleTemporaries("save.dat", 68);
  EXPECT_TRUE(test::FolderEntries(".").empty());
}

}  // namespace
}  // namespace velkor::platform
