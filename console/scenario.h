#pragma once
// The story files: scrambled text played line by line with pauses.

#include <cstddef>
#include <string>
#include <string_view>

#include <vector>
#include "console/console_io.h"

namespace velkor {

// Every byte of 0x20 or above XOR 0x0F; bytes below 0x20 unchanged. Its own inverse.
std::string ScrambleText(std::string_view text);

// The scenario file number (0 the opening, 1 the ending) as a path relative to
// the working directory: the file in the folder "dat", named with the
// system's own separator ("dat/0.dat", on Windows "dat\0.dat"), as the
// failure report names it.
std::string ScenarioPath(int number);

// The largest scenario file the game reads. The real ones are a few KB; a
// larger file is taken for a wrong one and not read at all.
inline constexpr std::size_t ScenarioFileLimit = 1024 * 1024;

// Plays a scenario file, putting playerName where the file holds the name
// token. A file that cannot be used ends the run through the failure report:
// one that cannot be opened or read, anything but a regular file (a FIFO or
// a device is never waited on), or one larger than ScenarioFileLimit.
void PlayScenario(Console& console, const std::string& fileName, std::string_view playerName);

// Start-up's check that both scenario files can be used, as PlayScenario
// would use them; the first that cannot ends the run through the failure
// report.
void CheckScenarioFiles();

// The pieces of the scenario format, shared by playback and by the tool that
// makes the files.

// The lines of a text split at CR LF, a lone CR or a lone LF; a line end at
// the very end makes no further empty line.
std::vector<std::string> SplitScenarioLines(std::string_view text);
// True for a line of exactly "#End", letters in any case.
bool IsEndMarker(std::string_view line);
// The line with every byte passed through ScrambleText except the name tokens
// ("$PlayerName", letters in any case), which become name. The walk goes by
// whole code page 932 characters; lineIsScrambled tells whether the line's
// text is stored scrambled (playback) or plain (making a file), so that lead
// bytes are known either way.
std::string ScrambleAroundTokens(std::string_view line, bool lineIsScrambled, std::string_view name);
// Same, but the tokens stay exactly as they stand.
std::string ScrambleKeepingTokens(std::string_view line, bool lineIsScrambled);

// A scenario file made from its story source: UTF-8 text converted to code
// page 932, every line scrambled except end markers and name tokens, each
// line ended by CR LF. Throws std::invalid_argument naming the first source
// line that is not UTF-8 or holds a character code page 932 lacks.
std::string ScenarioFromStory(std::string_view utf8Source);

}  // namespace velkor
