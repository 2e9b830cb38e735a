#pragma once
// velkor-sim's work for one command line, apart from the process around it.

#include <string>
#include <string_view>

#include "sim/command_line.h"
#include "sim/progress.h"

namespace velkor::sim {

// Runs what line asks for (Runs and Threads filled in) and gives the text to
// print, in code page 932. progress, when given, shows how far a long run is.
std::string RunCommand(const CommandLine& line, ProgressBar* progress);

// text in the character set of the user's locale: UTF-8 for the C locale,
// unchanged for Shift-JIS.
std::string ForLocale(std::string_view text);

}  // namespace velkor::sim
