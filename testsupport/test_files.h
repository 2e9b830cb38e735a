#pragma once
// Files and folders for tests that write: a folder of their own that goes
// away afterwards, a working directory that is put back, and the game's
// dat/ copied in.

#include <filesystem>
#include <string>
#include <vector>

namespace velkor::test {

// Paths in tests are UTF-8 strings; these turn one into the library's path
// and back, whatever the system's own form of names.
std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);

// A fresh empty folder under the system's temporary folder ($TMPDIR or
// /tmp, or Windows' own), removed with everything in it when the object
// goes.
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
// Makes a folder; false when it cannot (something stands there).
bool MakeFolder(const std::string& path);
// Removes the file or empty folder at path, if anything stands there.
void Remove(const std::string& path);
// Sets the permissions of path as chmod would (0444 write-protects a file,
// also on Windows, where only the write permission of a file counts).
void SetPermissions(const std::string& path, unsigned mode);
// True when something (a file, a folder) stands at path.
bool Exists(const std::string& path);
// The names in folder, sorted, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace velkor::test
