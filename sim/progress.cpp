#include "sim/progress.h"

namespace velkor::sim {

std::string ProgressLine(const char* label, std::uint64_t done, std::uint64_t of) {
  constexpr std::size_t Cells = 40;
  // At most Cells, so it fits a size_t on 32-bit WebAssembly too.
  const auto filled = static_cast<std::size_t>(of == 0 ? Cells : done * Cells / of);
  const std::uint64_t percent = of == 0 ? 100 : done * 100 / of;
  return std::string(label) + " [" + std::string(filled, '#') + std::string(Cells - filled, ' ') + "] " +
         std::to_string(percent) + "%";
}

void ProgressBar::Update(std::uint64_t done, std::uint64_t of) {
  const std::string line = ProgressLine(label_, done, of);
  if (line == shown_) return;
  shown_ = line;
  std::fprintf(out_, "\r%s", line.c_str());
  std::fflush(out_);
}

void ProgressBar::Finish() {
  if (shown_.empty()) return;
  std::fprintf(out_, "\r%s\r", std::string(shown_.size(), ' ').c_str());
  std::fflush(out_);
  shown_.clear();
}

}  // namespace velkor::sim
