// Only on Windows: write-protected files and names that are not UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "testsupport/test_files.h"

namespace velkor::platform {
namespace {

class WindowsFolder : public ::testing::Test {
 private:
  test::ScopedTempDir temp_;
  test::ScopedWorkingDir inside_{temp_.Path()};
};

// The read opens for reading only, so a write-protected save loads; moving a
// new file over it is refused, and the new file goes again.
TEST_F(WindowsFolder, AWriteProtectedFileIsReadButNotReplaced) {
  test::WriteBytes("save.dat", "old bytes");
  test::SetPermissions("save.dat", 0444);
  std::string bytes;
  EXPECT_EQ(ReadFileStart("save.dat", 3, bytes), ReadStatus::Read);
  EXPECT_EQ(bytes, "old");
  EXPECT_FALSE(ReplaceFile("save.dat", "new"));
  EXPECT_EQ(test::ReadBytes("save.dat"), "old bytes");
  EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});
}

TEST_F(WindowsFolder, NamesThatAreNotUtf8AreRefused) {
  const std::string name = "\x83\x8C\x83\x7C.txt";  // レポ in code page 932
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(name, 10, bytes), ReadStatus::Refused);
  EXPECT_FALSE(ReplaceFile(name, "x"));
  EXPECT_EQ(AppendToFile(name, "x"), AppendStatus::CannotOpen);
  EXPECT_TRUE(test::FolderEntries(".").empty());
}

}  // namespace
}  // namespace velkor::platform
