// Only on POSIX systems: the Debian package.
// The Debian package made from this build: the same layout as an
// installation, under /usr, with what it needs declared.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "testsupport/process_runner.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

class Package : public ::testing::Test {
 protected:
  // The package is made into the build folder's package/, where
  // scripts/check-package.sh takes it from. CI makes it once, there, from
  // the build a packager makes, and skips this test in its other builds.
  void SetUp() override {
    if (std::getenv("VELKOR_PACKAGE_CHECKED_LATER") != nullptr)
      GTEST_SKIP() << "the package is made and checked by scripts/check-package.sh";
    const fs::path folder = fs::path(VELKOR_BINARY_DIR) / "package";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const test::ProcessResult made =
        test::RunCommand({VELKOR_CPACK_COMMAND, "-G", "DEB", "--config",
                          std::string(VELKOR_BINARY_DIR) + "/CPackConfig.cmake", "-B", folder.string()},
                         folder_.Path(), "", 300);
    ASSERT_EQ(made.exitStatus, 0) << made.output;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().extension() == ".deb") deb_ = entry.path().string();
    ASSERT_FALSE(deb_.empty()) << made.output;
  }

  // What dpkg-deb says about the package, which must succeed: option, the
  // package, then the field asked for, if any.
  std::string Ask(const std::string& option, const std::string& field = "") {
    std::vector<std::string> argv{"dpkg-deb", option, deb_};
    if (!field.empty()) argv.push_back(field);
    const test::ProcessResult run = test::RunCommand(argv, folder_.Path(), "");
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    return run.output;
  }

  test::ScopedTempDir folder_;
  std::string deb_;
};

// Every file of the package with its permissions, as dpkg-deb --contents
// lists it: "-rwxr-xr-x root/root 1234 2024-01-01 00:00 ./usr/games/velkor".
std::map<std::string, std::string> FilesOf(const std::string& listing) {
  std::map<std::string, std::string> files;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == 'd') continue;  // folders
    std::istringstream fields(line);
    std::string mode, owner, size, date, time, path;
    fields >> mode >> owner >> size >> date >> time >> path;
    EXPECT_EQ(owner, "root/root") << line;
    files[path] = mode;
  }
  return files;
}

// One test, as making the package takes a few seconds.
TEST_F(Package, HoldsTheInstallationUnderUsrAndDeclaresWhatItNeeds) {
  const std::map<std::string, std::string> expected{
      {"./usr/games/velkor", "-rwxr-xr-x"},
      {"./usr/lib/games/velkor/velkor", "-rwxr-xr-x"},
      {"./usr/lib/games/velkor/velkor-show-report", "-rwxr-xr-x"},
      {"./usr/bin/velkor-sim", "-rwxr-xr-x"},
      {"./usr/share/games/velkor/dat/0.dat", "-rw-r--r--"},
      {"./usr/share/games/velkor/dat/1.dat", "-rw-r--r--"},
      {"./usr/share/doc/velkor/guide.md", "-rw-r--r--"},
      {"./usr/share/doc/velkor/playing.md", "-rw-r--r--"},
      {"./usr/share/doc/velkor/simulator.md", "-rw-r--r--"},
      {"./usr/share/doc/velkor/copyright", "-rw-r--r--"},
      {"./usr/share/doc/velkor/changelog.Debian.gz", "-rw-r--r--"},
      {"./usr/share/man/man6/velkor.6.gz", "-rw-r--r--"},
      {"./usr/share/man/man6/velkor-sim.6.gz", "-rw-r--r--"},
      {"./usr/share/man/ja/man6/velkor.6.gz", "-rw-r--r--"},
  };
  EXPECT_EQ(FilesOf(Ask("--contents")), expected);

  EXPECT_EQ(Ask("--field", "Package"), "velkor\n");
  EXPECT_EQ(Ask("--field", "Section"), "games\n");
  const std::string depends = Ask("--field", "Depends");
  for (const char* library : {"libc6 (>=", "libstdc++6 (>=", "libgcc-s1 (>=", "libedit2 (>="})
    EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
  EXPECT_NE(Ask("--field", "Maintainer"), "\n");
  EXPECT_NE(Ask("--field", "Description").find("Japanese"), std::string::npos);
}

}  // namespace
}  // namespace velkor
