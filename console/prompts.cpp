#include "console/prompts.h"

#include <limits>

#include "console/console_io.h"
#include "console/line_reader.h"
#include "platform/cp932_literal.h"

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

std::string PadRight(std::string_view text, std::size_t width) {
  std::string padded(text);
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  return padded;
}

bool ReadOneChar(Console& console, char& key) {
  const std::string line = console.ReadLine();
  if (line.size() != 1) return false;
  key = line[0];
  return true;
}

char MenuLetter(std::int32_t index) {
  if (index >= 0 && index <= 25) return static_cast<char>('a' + index);
  if (index >= 26 && index <= 51) return static_cast<char>('A' + (index - 26));
  return ' ';
}

char IntToAlf(Console& console, std::int32_t index) {
  if (index >= 0 && index <= 51) return MenuLetter(index);
  console.WriteLine("error in IntToAlf(console, " + std::to_string(index) + ")");
  WaitEnter(console);
  return ' ';
}

std::int32_t AlfToInt(Console& console, char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A' + 26;
  console.WriteLine(std::string("error in AlfToInt(console, '") + letter + "')");
  WaitEnter(console);
  return 0;
}

char AskChoice(Console& console, std::string_view question, std::string_view allowed,
               std::string_view shown) {
  if (shown.empty()) shown = allowed;
  char key = 0;
  for (;;) {
    if (!question.empty()) console.WriteLine(question);
    console.Write("(" + std::string(shown) + ")");
    if (ReadOneChar(console, key) && allowed.find(key) != std::string_view::npos) break;
  }
  console.WriteLine();
  return key;
}

bool AskYesNo(Console& console, std::string_view question) {
  return AskChoice(console, std::string(question) + "(y/n)", "yn") == 'y';
}

bool ReadNumber(Console& console, std::int32_t& value) {
  const std::string line = console.ReadLine();
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

std::int32_t AskRange(Console& console, std::string_view question, std::int32_t low, std::int32_t high) {
  const std::string range = "{" + std::to_string(low) + "～"_cp + std::to_string(high) + "}";
  std::int32_t value = 0;
  for (;;) {
    console.WriteLine(question);
    console.Write(range);
    if (ReadNumber(console, value) && low <= value && value <= high) break;
  }
  console.WriteLine();
  return value;
}

void ErrorBanner(Console& console, std::string_view place) {
  console.WriteLine();
  console.WriteLine(BannerRule);
  console.WriteLine("error in " + std::string(place));
  console.WriteLine(BannerRule);
  WaitEnter(console);
  console.WriteLine();
}

void RuleLine(Console& console, std::string_view text) {
  std::string line = "--" + std::string(text);
  if (line.size() < RuleWidth) line.append(RuleWidth - line.size(), '-');
  console.WriteLine(line);
}

void WaitEnter(Console& console) { static_cast<void>(console.ReadLine()); }

}  // namespace velkor
