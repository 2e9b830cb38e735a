// The test helpers for files: a test run must leave no folders behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

std::string WorkingDir() { return test::Utf8Of(std::filesystem::current_path()); }

TEST(ScopedTempDir, IsFreshAndGoesWithEverythingInIt) {
  std::string path;
  {
    test::ScopedTempDir folder;
    test::ScopedTempDir other;
    path = folder.Path();
    EXPECT_NE(path, other.Path());
    EXPECT_NE(path.find("velkor-test-"), std::string::npos);
    ASSERT_TRUE(test::MakeFolder(path + "/dat"));
    test::WriteBytes(path + "/dat/0.dat", "x");
    test::WriteBytes(path + "/locked.txt", "y");
    test::SetPermissions(path + "/locked.txt", 0444);
  }
  EXPECT_FALSE(test::Exists(path));
}

TEST(ScopedWorkingDir, GoesBackToTheFolderBefore) {
  const std::string before = WorkingDir();
  test::ScopedTempDir folder;
  {
    test::ScopedWorkingDir inside(folder.Path());
    test::WriteBytes("here.txt", "z");
  }
  EXPECT_EQ(WorkingDir(), before);
  EXPECT_EQ(test::ReadBytes(folder.Path() + "/here.txt"), "z");
}

TEST(CopyGameData, BringsTheScenarioFiles) {
  test::ScopedTempDir folder;
  test::CopyGameData(folder.Path());
  for (const char* file : {"/dat/0.dat", "/dat/1.dat"}) {
    const std::string copied = test::ReadBytes(folder.Path() + file);
    EXPECT_FALSE(copied.empty()) << file;
    EXPECT_EQ(copied, test::ReadBytes(test::SourceDir() + file)) << file;
  }
  EXPECT_EQ(test::ReadBytes(folder.Path() + "/missing"), "");
}

}  // namespace
}  // namespace velkor
