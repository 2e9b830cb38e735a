#pragma once
// The folder a harness plays the game in, as the game's working folder: a
// copy of dat/ and whatever the game writes there.

#include <string>
#include <string_view>

namespace velkor::fuzz {

// Makes the folder the working folder, once per process. It is made under
// $TMPDIR and removed at exit, unless VELKOR_FUZZ_FOLDER names one to use
// (and keep): afl-fuzz starts a process for each input, and a folder per
// process would be left behind by every crash and every hang.
void EnterGameFolder();

// Removes everything but dat/, so that each input starts from the same files
// and a fault replays from its input alone.
void ClearGameFolder();

// The whole file at path as bytes; false when there is none.
bool ReadFile(const std::string& path, std::string& bytes);
// Writes bytes as the whole file at path; a write that fails aborts.
void WriteFile(const std::string& path, std::string_view bytes);

}  // namespace velkor::fuzz
