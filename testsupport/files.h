#pragma once
// Files and folders for tests that write: a folder of their own that goes
// away afterwards, a working directory that is put back, and the game's
// dat/ copied in.

#include <string>
#include <vector>

namespace velkor::test {

// A fresh empty folder under the system's temporary folder ($TMPDIR or
// /tmp), removed with everything in it when the object goes.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Makes folder the working directory for the life of the object and goes back
// to the one before at the end; a change that fails fails the test.
class ScopedWorkingDir {
 public:
  explicit ScopedWorkingDir(const std::string& folder);
  ~ScopedWorkingDir();
  ScopedWorkingDir(const ScopedWorkingDir&) = delete;
  ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

 private:
  std::string previous_;
};

// Copies the repository's dat/ folder (the scenario files) to folder/dat, as
// the game expects to find it in its working directory.
void CopyGameData(const std::string& folder);

// The whole file as bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Writes bytes as the whole file; a failed write fails the test.
void WriteBytes(const std::string& path, const std::string& bytes);
// True when something (a file, a folder) stands at path.
bool Exists(const std::string& path);
// The names in folder, sorted, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace velkor::test
