#pragma once
// The story files: scrambled text played line by line with pauses.

#include <string>
#include <string_view>

namespace velkor {

// Every byte of 0x20 or above XOR 0x0F; bytes below 0x20 unchanged. Its own inverse.
std::string ScrambleText(std::string_view text);

// The scenario file number (0 the opening, 1 the ending) as a path relative to
// the working directory: the file in the folder "dat".
std::string ScenarioPath(int number);

// Plays a scenario file, putting playerName where the file holds the name
// token. A file that cannot be read ends the run through the failure report.
void PlayScenario(const std::string& fileName, std::string_view playerName);

}  // namespace velkor
