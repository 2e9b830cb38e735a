#pragma once
// A progress bar redrawn in place on a terminal.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace velkor::sim {

// The bar's line for done of of runs after seconds: the label, a bar of up
// to forty cells, the percentage, the rate in units per second and the time
// left. A narrower terminal gets fewer of them, so that the line stays
// within width - 1 columns (one that reaches the last column wraps on some
// terminals). All ASCII, so a byte is a column.
std::string ProgressLine(std::string_view label, std::string_view unit, std::uint64_t done, std::uint64_t of,
                         double seconds, std::size_t width);

class ProgressBar {
 public:
  // unit names the runs counted ("hunts", "battles").
  ProgressBar(std::FILE* out, std::string label, std::string unit);
  // Redraws the line, as wide as the terminal is now, when it has changed.
  void Update(std::uint64_t done, std::uint64_t of);
  // Clears the line, so that what follows starts on a clean one.
  void Finish();

 private:
  std::FILE* out_;
  std::string label_;
  std::string unit_;
  double start_;
  std::string shown_;
};

}  // namespace velkor::sim
