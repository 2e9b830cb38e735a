#pragma once
// A progress bar redrawn in place on a terminal.

#include <cstdint>
#include <cstdio>
#include <string>

namespace velkor::sim {

// The bar's line for done of of: a label, forty cells and the percentage.
std::string ProgressLine(const char* label, std::uint64_t done, std::uint64_t of);

class ProgressBar {
 public:
  ProgressBar(std::FILE* out, const char* label) : out_(out), label_(label) {}
  // Redraws the line when it has changed.
  void Update(std::uint64_t done, std::uint64_t of);
  // Clears the line, so that what follows starts on a clean one.
  void Finish();

 private:
  std::FILE* out_;
  const char* label_;
  std::string shown_;
};

}  // namespace velkor::sim
