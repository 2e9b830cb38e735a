// Only on POSIX systems: FIFOs, links, devices, /proc and permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "testsupport/files.h"

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

TEST_F(PosixFolder, CopyFileCopiesNoFifoOrDevice) {
  ASSERT_EQ(::mkfifo("fifo", 0644), 0);
  for (const char* source : {"fifo", "/dev/zero"}) {
    test::WriteBytes("copy", "before");
    EXPECT_EQ(CopyFile(source, "copy"), CopyStatus::NotRegular) << source;
    EXPECT_EQ(test::ReadBytes("copy"), "before") << source;
  }
  EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"copy", "fifo"}));
}

}  // namespace
}  // namespace velkor::platform
