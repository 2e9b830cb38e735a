#include "testsupport/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "testsupport/console_script.h"
#include "testsupport/system.h"

namespace velkor::test {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

ScopedTempDir::ScopedTempDir() {
  // A new name under the system's temporary folder ($TMPDIR or /tmp, or
  // Windows' own): create_directory tells whether it was there already.
  static std::uint32_t state = static_cast<std::uint32_t>(std::time(nullptr)) ^ 0x5EED;
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    state = state * 1664525u + 1013904223u;
    std::ostringstream name;
    name << "velkor-test-" << std::hex << state;
    std::error_code error;
    if (fs::create_directory(base / name.str(), error)) {
      path_ = Utf8Of(base / name.str());
      return;
    }
  }
  throw std::runtime_error("cannot make a folder under " + Utf8Of(base));
}

ScopedTempDir::~ScopedTempDir() {
  MakeRemovable(path_);
  std::error_code error;
  fs::remove_all(PathOf(path_), error);
  if (error) ADD_FAILURE() << "cannot remove " << path_ << ": " << error.message();
}

namespace {

// Notes the working directory in previous and goes to folder.
void ChangeWorkingDir(const std::string& folder, std::string& previous) {
  std::error_code error;
  previous = Utf8Of(fs::current_path(error));
  ASSERT_FALSE(error) << error.message();
  fs::current_path(PathOf(folder), error);
  ASSERT_FALSE(error) << folder << ": " << error.message();
}

}  // namespace

ScopedWorkingDir::ScopedWorkingDir(const std::string& folder) { ChangeWorkingDir(folder, previous_); }

ScopedWorkingDir::~ScopedWorkingDir() {
  if (!previous_.empty()) {
    std::error_code error;
    fs::current_path(PathOf(previous_), error);
    EXPECT_FALSE(error) << previous_;
  }
}

void CopyGameData(const std::string& folder) {
  std::error_code error;
  fs::copy(PathOf(SourceDir()) / "dat", PathOf(folder) / "dat", fs::copy_options::recursive, error);
  ASSERT_FALSE(error) << "cannot copy dat/ to " << folder << ": " << error.message();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

bool MakeFolder(const std::string& path) {
  std::error_code error;
  return fs::create_directory(PathOf(path), error);
}

void Remove(const std::string& path) {
  std::error_code error;
  fs::remove(PathOf(path), error);
}

void SetPermissions(const std::string& path, unsigned mode) {
  std::error_code error;
  fs::permissions(PathOf(path), static_cast<fs::perms>(mode), error);
  ASSERT_FALSE(error) << path << ": " << error.message();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::status(PathOf(path), error));
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(PathOf(folder), error), end; !error && it != end; it.increment(error))
    names.push_back(Utf8Of(it->path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace velkor::test
