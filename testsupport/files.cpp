#include "testsupport/files.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "testsupport/console_script.h"

namespace velkor::test {

namespace fs = std::filesystem;

ScopedTempDir::ScopedTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/velkor-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp " + pattern);
  path_ = pattern;
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code error;
  fs::remove_all(path_, error);
  if (error) ADD_FAILURE() << "cannot remove " << path_ << ": " << error.message();
}

namespace {

// Notes the working directory in previous and goes to folder.
void ChangeWorkingDir(const std::string& folder, std::string& previous) {
  char* here = ::getcwd(nullptr, 0);
  ASSERT_NE(here, nullptr);
  previous = here;
  std::free(here);
  ASSERT_EQ(::chdir(folder.c_str()), 0) << folder;
}

}  // namespace

ScopedWorkingDir::ScopedWorkingDir(const std::string& folder) { ChangeWorkingDir(folder, previous_); }

ScopedWorkingDir::~ScopedWorkingDir() {
  if (!previous_.empty()) {
    EXPECT_EQ(::chdir(previous_.c_str()), 0) << previous_;
  }
}

void CopyGameData(const std::string& folder) {
  std::error_code error;
  fs::copy(fs::path(SourceDir()) / "dat", fs::path(folder) / "dat", fs::copy_options::recursive, error);
  ASSERT_FALSE(error) << "cannot copy dat/ to " << folder << ": " << error.message();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace velkor::test
