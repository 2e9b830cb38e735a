#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "console/scenario.h"
#include "console/to_cp932.h"

namespace velkor {

namespace {

constexpr unsigned char ScrambleMask = 0x0F;
constexpr std::string_view NameToken = "$PlayerName";
constexpr std::string_view EndMarker = "#End";

unsigned char ScrambleByte(unsigned char byte) {
  return byte < 0x20 ? byte : static_cast<unsigned char>(byte ^ ScrambleMask);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares ASCII letters without regard to case; every other byte exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// name == nullptr keeps the tokens as they stand.
std::string Transform(std::string_view line, bool lineIsScrambled, const std::string_view* name) {
  std::string out;
  out.reserve(line.size());
  std::size_t i = 0;
  while (i < line.size()) {
    if (EqualsIgnoringCase(line.substr(i, NameToken.size()), NameToken)) {
      out.append(name != nullptr ? *name : line.substr(i, NameToken.size()));
      i += NameToken.size();
      continue;
    }
    const auto byte = static_cast<unsigned char>(line[i]);
    const unsigned char plain = lineIsScrambled ? ScrambleByte(byte) : byte;
    // A second byte is taken with its lead byte, so it can never start a token.
    const bool lead = IsCp932LeadByte(static_cast<char>(plain));
    const std::size_t width = lead && i + 1 < line.size() ? 2 : 1;
    for (std::size_t k = 0; k < width; ++k)
      out.push_back(static_cast<char>(ScrambleByte(static_cast<unsigned char>(line[i + k]))));
    i += width;
  }
  return out;
}

}  // namespace

std::string ScrambleText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(ScrambleByte(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> SplitScenarioLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  // CR and LF never occur inside a code page 932 character, scrambled or not.
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool IsEndMarker(std::string_view line) { return EqualsIgnoringCase(line, EndMarker); }

std::string ScrambleAroundTokens(std::string_view line, bool lineIsScrambled, std::string_view name) {
  return Transform(line, lineIsScrambled, &name);
}

std::string ScrambleKeepingTokens(std::string_view line, bool lineIsScrambled) {
  return Transform(line, lineIsScrambled, nullptr);
}

}  // namespace velkor
