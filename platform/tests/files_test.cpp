#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "testsupport/files.h"

namespace velkor::platform {
namespace {

class Folder : public ::testing::Test {
 private:
  test::ScopedTempDir temp_;
  test::ScopedWorkingDir inside_{temp_.Path()};
};

TEST_F(Folder, ReadWholeFileTakesOnlyRegularFilesWithinTheLimit) {
  test::WriteBytes("five", "12345");
  test::WriteBytes("six", "123456");
  ASSERT_EQ(::mkdir("folder", 0755), 0);
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
      {"five", 5, ReadStatus::Read, "12345"},
      {"link", 5, ReadStatus::Read, "12345"},
      {"six", 5, ReadStatus::Refused, ""},
      {"missing", 5, ReadStatus::Missing, ""},
      {"dangling", 5, ReadStatus::Missing, ""},
      {"folder", 5, ReadStatus::Refused, ""},
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

TEST_F(Folder, ReadFileStartReadsNoMoreThanAsked) {
  test::WriteBytes("file", std::string(100000, 'a') + "tail");
  std::string bytes;
  ASSERT_EQ(ReadFileStart("file", 68, bytes), ReadStatus::Read);
  EXPECT_EQ(bytes, std::string(68, 'a'));
  test::WriteBytes("short", "abc");
  ASSERT_EQ(ReadFileStart("short", 68, bytes), ReadStatus::Read);
  EXPECT_EQ(bytes, "abc");
}

// The new file has the permissions any new file gets, and a link in the
// target's place is replaced, not written through.
TEST_F(Folder, ReplaceFileMakesAnOrdinaryFileInTheTargetsPlace) {
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

TEST_F(Folder, CopyFileCopiesRegularFilesWholeAndNothingElse) {
  const std::string large(200000, 'z');  // more than one chunk
  test::WriteBytes("large", large);
  test::WriteBytes("empty", "");
  ASSERT_EQ(::mkfifo("fifo", 0644), 0);
  ASSERT_EQ(::mkdir("folder", 0755), 0);
  struct Case {
    const char* source;
    CopyStatus status;
  };
  const Case cases[] = {
      {"large", CopyStatus::Copied},      {"empty", CopyStatus::Copied},
      {"missing", CopyStatus::Missing},   {"fifo", CopyStatus::NotRegular},
      {"folder", CopyStatus::NotRegular}, {"/dev/zero", CopyStatus::NotRegular},
  };
  for (const Case& c : cases) {
    test::WriteBytes("copy", "before");
    EXPECT_EQ(CopyFile(c.source, "copy"), c.status) << c.source;
    EXPECT_EQ(test::ReadBytes("copy"), c.status == CopyStatus::Copied ? test::ReadBytes(c.source) : "before")
        << c.source;
  }
  EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"copy", "empty", "fifo", "folder", "large"}));
}

}  // namespace
}  // namespace velkor::platform
