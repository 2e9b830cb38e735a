#pragma once
// What tests need from the operating system beyond the game's own platform
// routines, and the way a test that only makes sense on one system says so.

#include <string>

namespace velkor::test {

// True in the Windows build.
bool OnWindows();

// True in the WebAssembly build, whose tests run under Node: it has no
// threads, no file locks and no FIFOs, and converts only the character sets
// of its own table.
constexpr bool OnWeb() {
#ifdef __EMSCRIPTEN__
  return true;
#else
  return false;
#endif
}

// Sets the environment variable name to value, or removes it when value is
// null.
void SetVariable(const std::string& name, const char* value);

// Only POSIX systems have these; on Windows they fail the test that asked
// (such a test skips before it asks).
bool MakeFifo(const std::string& path);
bool MakeSymlink(const std::string& target, const std::string& path);

// Clears what would stop the folder's contents from being removed (the
// read-only mark of a Windows file); nothing to do on POSIX.
void MakeRemovable(const std::string& folder);

}  // namespace velkor::test

// Skips the rest of the test where it makes no sense, saying why, so that
// the test runner lists it as skipped. A statement of its own.
#define VELKOR_ONLY_ON_POSIX(why) \
  if (::velkor::test::OnWindows()) GTEST_SKIP() << "only on POSIX systems: " << why
#define VELKOR_ONLY_ON_WINDOWS(why) \
  if (!::velkor::test::OnWindows()) GTEST_SKIP() << "only on Windows: " << why
#define VELKOR_NOT_ON_WEB(why) \
  if (::velkor::test::OnWeb()) GTEST_SKIP() << "not in the WebAssembly build: " << why
