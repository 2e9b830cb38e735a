#include "platform/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_writer.h"
#include "testsupport/process_runner.h"
#include "testsupport/system.h"
#include "testsupport/test_files.h"

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
  test::WriteBytes("large", std::string(200000, 'q'));  // more than one chunk
  ASSERT_TRUE(test::MakeFolder("folder"));
  struct Case {
    const char* path;
    std::size_t limit;
    ReadStatus status;
    std::string bytes;
  };
  const Case cases[] = {
      {"five", 5, ReadStatus::Read, "12345"},
      {"six", 5, ReadStatus::Refused, ""},
      {"large", 200000, ReadStatus::Read, std::string(200000, 'q')},
      {"large", 199999, ReadStatus::Refused, ""},
      {"missing", 5, ReadStatus::Missing, ""},
      {"nowhere/missing", 5, ReadStatus::Missing, ""},
      {"folder", 5, ReadStatus::Refused, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(c.path, c.limit, bytes), c.status) << c.path;
    EXPECT_EQ(bytes, c.bytes) << c.path;
  }
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

TEST_F(Folder, ReplaceFileMakesOrReplacesTheWholeFileAndLeavesNothingElse) {
  ASSERT_TRUE(ReplaceFile("target", "first"));
  EXPECT_EQ(test::ReadBytes("target"), "first");
  ASSERT_TRUE(ReplaceFile("target", "new"));
  EXPECT_EQ(test::ReadBytes("target"), "new");
  ASSERT_TRUE(test::MakeFolder("folder"));
  EXPECT_FALSE(ReplaceFile("folder", "new"));
  EXPECT_FALSE(ReplaceFile("nowhere/target", "new"));
  EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"folder", "target"}));
  EXPECT_TRUE(test::FolderEntries("folder").empty());
}

TEST_F(Folder, MakeFoldersMakesEveryMissingFolderDownToTheLast) {
  ASSERT_TRUE(MakeFolders("a/b/c"));
  EXPECT_EQ(test::FolderEntries("a/b"), std::vector<std::string>{"c"});
  EXPECT_TRUE(MakeFolders("a/b/c")) << "a folder that stands is made";
  EXPECT_TRUE(MakeFolders("a/b/d/")) << "a separator at the end";
  test::WriteBytes("file", "x");
  EXPECT_FALSE(MakeFolders("file")) << "a file is no folder";
  EXPECT_FALSE(MakeFolders("file/below"));
  EXPECT_EQ(test::ReadBytes("file"), "x");
  EXPECT_FALSE(MakeFolders(""));
  // From the root down: the folders above that stand are passed over.
  const std::string absolute = test::Utf8Of(std::filesystem::current_path()) + "/e/f";
  EXPECT_TRUE(MakeFolders(absolute));
  EXPECT_TRUE(test::Exists("e/f"));
}

TEST_F(Folder, AppendToFileCreatesOrExtendsAndNamesAreUtf8) {
  const std::string report = "\xE3\x83\xAC\xE3\x83\x9D\xE3\x83\xBC\xE3\x83\x88.txt";  // レポート.txt
  EXPECT_EQ(AppendToFile(report, "one\r\n"), AppendStatus::Appended);
  EXPECT_EQ(AppendToFile(report, "two\r\n"), AppendStatus::Appended);
  EXPECT_EQ(test::ReadBytes(report), "one\r\ntwo\r\n");
  ASSERT_TRUE(test::MakeFolder("folder"));
  EXPECT_EQ(AppendToFile("folder", "x"), AppendStatus::CannotOpen);
  EXPECT_EQ(AppendToFile("nowhere/file", "x"), AppendStatus::CannotOpen);
  EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"folder", report}));
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(report, 100, bytes), ReadStatus::Read);
  EXPECT_EQ(bytes, "one\r\ntwo\r\n");
}

// A killed save's leftover goes; files that merely look like one stay, and
// so does the temporary file of a replace still at work.
TEST_F(Folder, RemoveStaleTemporariesTakesOnlyLeftovers) {
  test::WriteBytes("save.dat.velkor-AbC123", "dead writer");
  test::WriteBytes("save.dat.backup", "the player's own");
  test::WriteBytes("save.dat.velkor-Big123", std::string(69, 'x'));
  RemoveStaleTemporaries("save.dat", 68);
  EXPECT_EQ(test::FolderEntries("."),
            (std::vector<std::string>{"save.dat.backup", "save.dat.velkor-Big123"}));

  // A clean-up while a replace writes: the replace still succeeds.
  VELKOR_NOT_ON_WEB("no file locks, so a clean-up cannot tell a replace still at work");
  static bool cleaned = false;
  const FileWriter cleaning([](FileHandle file, const void* data, std::size_t size) -> std::ptrdiff_t {
    if (!cleaned) RemoveStaleTemporaries("save.dat", 68);
    cleaned = true;
    return SystemWrite(file, data, size);
  });
  EXPECT_TRUE(ReplaceFile("save.dat", "new", "", cleaning));
  EXPECT_TRUE(cleaned);
  EXPECT_EQ(test::ReadBytes("save.dat"), "new");
}

// Another game that ends while this one is half-way through its line: its
// line lands whole, before or after ours, and an undo of ours never takes
// any of it.
struct Race {
  bool ourWriteFails;
  std::thread::id slowThread;
  std::thread other;
  std::atomic<bool> otherDone{false};
  int calls = 0;
};
Race* TheRace = nullptr;

std::ptrdiff_t HalfThenTheOtherGame(FileHandle file, const void* data, std::size_t size) {
  if (std::this_thread::get_id() != TheRace->slowThread) return SystemWrite(file, data, size);
  if (++TheRace->calls == 1) {
    const std::ptrdiff_t half = SystemWrite(file, data, size / 2);
    TheRace->other = std::thread([] {
      EXPECT_EQ(AppendToFile("report.txt", "BB\r\n"), AppendStatus::Appended);
      TheRace->otherDone = true;
    });
    // Long enough for an append that does not wait to finish.
    const long long deadline = test::MonotonicMs() + 500;
    while (!TheRace->otherDone && test::MonotonicMs() < deadline) std::this_thread::yield();
    return half;
  }
  if (TheRace->ourWriteFails) {
    errno = ENOSPC;
    return -1;
  }
  return SystemWrite(file, data, size);
}

TEST_F(Folder, AppendToFileNeverTearsOrCutsAnotherGamesLine) {
  VELKOR_NOT_ON_WEB("no threads to play the other game");
  struct Case {
    bool ourWriteFails;
    AppendStatus status;
    const char* after;
  };
  const Case cases[] = {
      {false, AppendStatus::Appended, "old\r\nAAAAAAAAAAAAAAAA\r\nBB\r\n"},
      {true, AppendStatus::CannotWrite, "old\r\nBB\r\n"},
  };
  for (const Case& c : cases) {
    test::WriteBytes("report.txt", "old\r\n");
    Race race;
    race.ourWriteFails = c.ourWriteFails;
    race.slowThread = std::this_thread::get_id();
    TheRace = &race;
    EXPECT_EQ(AppendToFile("report.txt", "AAAAAAAAAAAAAAAA\r\n", HalfThenTheOtherGame), c.status);
    race.other.join();
    TheRace = nullptr;
    EXPECT_EQ(test::ReadBytes("report.txt"), c.after) << c.ourWriteFails;
  }
}

}  // namespace
}  // namespace velkor::platform
