// The tests' system routines on POSIX.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "testsupport/process_runner.h"
#include "testsupport/system.h"

namespace velkor::test {

bool OnWindows() { return false; }

void SetVariable(const std::string& name, const char* value) {
  if (value != nullptr) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

bool MakeFifo(const std::string& path) {
  // Node makes no FIFOs, so the WebAssembly build has the system's command
  // make a real one.
  if (OnWeb()) return RunCommand({"mkfifo", "-m", "644", path}, ".", "").exitStatus == 0;
  return ::mkfifo(path.c_str(), 0644) == 0;
}

bool MakeSymlink(const std::string& target, const std::string& path) {
  return ::symlink(target.c_str(), path.c_str()) == 0;
}

void MakeRemovable(const std::string&) {}

}  // namespace velkor::test
