#include "sim/progress.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/clock.h"
#include "platform/terminal_size.h"

namespace velkor::sim {

namespace {

constexpr std::size_t Cells = 40;
constexpr std::size_t FewestCells = 10;  // a shorter bar says nothing the percentage does not
constexpr std::size_t UnknownWidth = 80;

std::string Printed(const char* format, double value) {
  std::array<char, 32> buffer{};
  const int n = std::snprintf(buffer.data(), buffer.size(), format, value);
  return std::string(buffer.data(), static_cast<std::size_t>(std::clamp(n, 0, 31)));
}

std::string Rate(double perSecond) {
  if (perSecond < 1000) return Printed("%.0f", perSecond);
  if (perSecond < 1e6) return Printed("%.1fk", perSecond / 1e3);
  return Printed("%.1fM", perSecond / 1e6);
}

std::string TwoDigits(std::uint64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string Duration(double seconds) {
  const auto whole = static_cast<std::uint64_t>(std::min(seconds, 1e12) + 0.5);
  if (whole < 3600) return std::to_string(whole / 60) + "m" + TwoDigits(whole % 60) + "s";
  return std::to_string(whole / 3600) + "h" + TwoDigits(whole / 60 % 60) + "m";
}

}  // namespace

std::string ProgressLine(std::string_view label, std::string_view unit, std::uint64_t done, std::uint64_t of,
                         double seconds, std::size_t width) {
  const std::size_t room = width == 0 ? 0 : width - 1;
  const double share = of == 0 ? 1.0 : static_cast<double>(std::min(done, of)) / static_cast<double>(of);
  const std::string percent = std::to_string(static_cast<int>(share * 100)) + "%";
  std::string rate = "-/s";
  std::string left = "-";
  if (done > 0 && seconds > 0) {
    const double perSecond = static_cast<double>(done) / seconds;
    rate = Rate(perSecond) + "/s";
    left = Duration(static_cast<double>(of - std::min(done, of)) / perSecond);
  }
  const std::string full = " " + percent + " " + rate.substr(0, rate.size() - 2) + " " + std::string(unit) +
                           "/s " + left + " left";
  const std::string brief = " " + percent + " " + rate + " " + left;
  // The richest line that fits, with the bar as long as the room allows.
  struct Form {
    std::string before, after;
  };
  const Form forms[] = {{std::string(label) + " ", full}, {"", full}, {"", brief}};
  for (const Form& form : forms) {
    const std::size_t fixed = form.before.size() + form.after.size() + 2;
    if (fixed + FewestCells > room) continue;
    const std::size_t cells = std::min(Cells, room - fixed);
    const auto filled = static_cast<std::size_t>(share * static_cast<double>(cells));
    return form.before + "[" + std::string(filled, '#') + std::string(cells - filled, ' ') + "]" + form.after;
  }
  const std::string bare = brief.substr(1);
  return bare.size() <= room ? bare : percent.substr(0, room);
}

ProgressBar::ProgressBar(std::FILE* out, std::string label, std::string unit)
    : out_(out), label_(std::move(label)), unit_(std::move(unit)), start_(platform::SteadySeconds()) {}

void ProgressBar::Update(std::uint64_t done, std::uint64_t of) {
  const int columns = platform::ErrorTerminalColumns();
  const std::size_t width = columns > 0 ? static_cast<std::size_t>(columns) : UnknownWidth;
  const std::string line = ProgressLine(label_, unit_, done, of, platform::SteadySeconds() - start_, width);
  if (line == shown_) return;
  // A shorter line than the last (the terminal narrowed) must not leave the
  // old one's end behind.
  const std::size_t stale =
      shown_.size() > line.size() ? std::min(shown_.size(), width - 1) - std::min(line.size(), width - 1) : 0;
  std::fprintf(out_, "\r%s%s", line.c_str(), std::string(stale, ' ').c_str());
  if (stale != 0) std::fprintf(out_, "\r%s", line.c_str());
  std::fflush(out_);
  shown_ = line;
}

void ProgressBar::Finish() {
  if (shown_.empty()) return;
  std::fprintf(out_, "\r%s\r", std::string(shown_.size(), ' ').c_str());
  std::fflush(out_);
  shown_.clear();
}

}  // namespace velkor::sim
