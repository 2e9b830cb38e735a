#include "console/prompts.h"

#include <limits>

#include "console/console_io.h"
#include "console/line_reader.h"

namespace velkor {

namespace {

constexpr std::size_t RuleWidth = 24;
constexpr std::string_view BannerRule = "-------------------------------------";

}  // namespace

std::string RightInt(int width, std::int32_t value) {
  std::string digits = std::to_string(value);
  if (width > 0 && digits.size() < static_cast<std::size_t>(width))
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
  return digits;
}

bool ReadOneChar(char& key) {
  const std::string line = ReadLine();
  if (line.size() != 1) return false;
  key = line[0];
  return true;
}

char IntToAlf(std::int32_t index) {
  if (index >= 0 && index <= 25) return static_cast<char>('a' + index);
  if (index >= 26 && index <= 51) return static_cast<char>('A' + (index - 26));
  WriteLine("error in IntToAlf(" + std::to_string(index) + ")");
  WaitEnter();
  return ' ';
}

std::int32_t AlfToInt(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A' + 26;
  WriteLine(std::string("error in AlfToInt('") + letter + "')");
  WaitEnter();
  return 0;
}

char AskChoice(std::string_view question, std::string_view allowed, std::string_view shown) {
  if (shown.empty()) shown = allowed;
  char key = 0;
  for (;;) {
    if (!question.empty()) WriteLine(question);
    Write("(" + std::string(shown) + ")");
    if (ReadOneChar(key) && allowed.find(key) != std::string_view::npos) break;
  }
  WriteLine();
  return key;
}

bool AskYesNo(std::string_view question) { return AskChoice(std::string(question) + "(y/n)", "yn") == 'y'; }

bool ReadNumber(std::int32_t& value) {
  const std::string line = ReadLine();
  // A line the reader had to cut is refused: its value is not known.
  if (line.empty() || line.size() > MaxLineBytes) return false;
  std::int64_t total = 0;
  for (const char c : line) {
    if (c < '0' || c > '9') return false;
    total = total * 10 + (c - '0');
    if (total > std::numeric_limits<std::int32_t>::max()) return false;
  }
  value = static_cast<std::int32_t>(total);
  return true;
}

std::int32_t AskRange(std::string_view question, std::int32_t low, std::int32_t high) {
  const std::string range = "{" + std::to_string(low) + "～" + std::to_string(high) + "}";
  std::int32_t value = 0;
  for (;;) {
    WriteLine(question);
    Write(range);
    if (ReadNumber(value) && low <= value && value <= high) break;
  }
  WriteLine();
  return value;
}

void ErrorBanner(std::string_view place) {
  WriteLine();
  WriteLine(BannerRule);
  WriteLine("error in " + std::string(place));
  WriteLine(BannerRule);
  WaitEnter();
  WriteLine();
}

void RuleLine(std::string_view text) {
  std::string line = "--" + std::string(text);
  if (line.size() < RuleWidth) line.append(RuleWidth - line.size(), '-');
  WriteLine(line);
}

void WaitEnter() { static_cast<void>(ReadLine()); }

}  // namespace velkor
