#pragma once
// velkor-sim's work for one command line, apart from the process around it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sim/command_line.h"
#include "sim/progress.h"

namespace velkor::sim {

// Part files that merge cannot take; what says why.
class MergeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs what line asks for (Runs and Threads filled in) and gives the text to
// print, in code page 932. progress, when given, shows how far a long run is;
// invariantBreaks, when given, receives the broken invariants the runs met
// (none but through a fault of the program). Throws MergeError for parts
// that do not make one search.
std::string RunCommand(const CommandLine& line, ProgressBar* progress,
                       std::uint64_t* invariantBreaks = nullptr);

// text in the character set of the user's locale: UTF-8 for the C locale,
// unchanged for Shift-JIS.
std::string ForLocale(std::string_view text);

}  // namespace velkor::sim
