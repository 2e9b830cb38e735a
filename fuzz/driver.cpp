// The program around a harness. With paths it replays every file named and
// every file in every folder named, in order, in one process: the corpus as
// a regression suite. With no arguments it runs the input on standard
// input; the fuzz build does so in afl-fuzz's persistent loop, one input
// after another in the same process.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/process.h"
#ifdef VELKOR_AFL
#include "fuzz/afl_coverage.h"
#endif

namespace {

namespace fs = std::filesystem;

void Run(const std::string& bytes) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Read without a buffer of the C library's: afl-fuzz rewinds the file behind
// descriptor 0 for each new input.
std::string ReadStandardInput() {
  std::string bytes;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = ::read(0, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<std::size_t>(got));
  return bytes;
}

// The files a path stands for: itself, or the regular files in it, sorted so
// that a replay runs in the same order everywhere. Absolute, since the
// harnesses change the working folder.
std::vector<fs::path> InputsAt(const fs::path& given) {
  std::error_code error;
  const fs::path path = fs::absolute(given, error);
  if (!fs::is_directory(path, error)) return {path};
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
    if (entry.is_regular_file(error)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

int Replay(int count, char** paths) {
  std::size_t replayed = 0;
  for (int i = 0; i < count; ++i) {
    for (const fs::path& file : InputsAt(paths[i])) {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
      }
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // Named first, so that the input of a crash is the last one named.
      std::fprintf(stderr, "%s\n", file.c_str());
      Run(bytes);
      ++replayed;
    }
  }
  // An empty corpus would pass without testing anything.
  if (replayed == 0) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  std::fprintf(stderr, "replayed %zu inputs\n", replayed);
  return 0;
}

#ifdef VELKOR_AFL
// afl-fuzz looks for this mark in the program to use the persistent loop.
__attribute__((used)) const char* const PersistentMark = "##SIG_AFL_PERSISTENT##";
// Inputs run by one process before afl-fuzz starts a fresh one.
constexpr unsigned InputsPerProcess = 10000;
#endif

}  // namespace

int main(int argc, char** argv) {
  velkor::platform::SetUpProcess(velkor::platform::ProcessRole::Tool);
  if (argc > 1) return Replay(argc - 1, argv + 1);
#ifdef VELKOR_AFL
  while (__afl_persistent_loop(InputsPerProcess) != 0) {
    velkor::fuzz::ForgetPreviousBlock();
    Run(ReadStandardInput());
  }
#else
  Run(ReadStandardInput());
#endif
  return 0;
}
