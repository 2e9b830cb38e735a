// The tests' system routines on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>

#include "testsupport/system.h"

namespace velkor::test {

namespace fs = std::filesystem;

bool OnWindows() { return true; }

void SetVariable(const std::string& name, const char* value) {
  // An empty value removes the variable.
  _putenv_s(name.c_str(), value != nullptr ? value : "");
}

bool MakeFifo(const std::string& path) {
  ADD_FAILURE() << "no FIFOs on Windows: " << path;
  return false;
}

bool MakeSymlink(const std::string& target, const std::string& path) {
  ADD_FAILURE() << "no symbolic links for tests on Windows: " << path << " -> " << target;
  return false;
}

void MakeRemovable(const std::string& folder) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(fs::u8path(folder), error), end; !error && it != end;
       it.increment(error)) {
    const DWORD attributes = ::GetFileAttributesW(it->path().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
      ::SetFileAttributesW(it->path().c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
}

}  // namespace velkor::test
