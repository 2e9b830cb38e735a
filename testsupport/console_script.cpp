#include "testsupport/console_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "console/prompts.h"
#include "console/to_cp932.h"
#include "data/fighter.h"
#include "platform/cp932_literal.h"

namespace velkor::test {

namespace {

// U+27E8 and U+27E9 in UTF-8: no code page 932 text converts to them, so an
// echoed line can never be mistaken for the game's own output.
constexpr std::string_view EchoOpen = "\xE2\x9F\xA8";
constexpr std::string_view EchoClose = "\xE2\x9F\xA9";

// Exact conversions both ways, each opened once for the whole test program.
bool ExactToUtf8(std::string_view bytes, std::string& text) {
  static CharsetConverter converter("UTF-8", GameCharset);
  text.clear();
  return converter.Exact(bytes, text);
}

bool ExactToCp932(std::string_view text, std::string& bytes) {
  static CharsetConverter converter(GameCharset, "UTF-8");
  bytes.clear();
  return converter.Exact(text, bytes);
}

std::string Hex(std::string_view bytes) {
  std::ostringstream hex;
  hex << std::hex;
  for (const char c : bytes) hex << static_cast<int>(static_cast<unsigned char>(c)) << ' ';
  return hex.str();
}

}  // namespace

void ScriptedDevice::Put(std::string_view bytes) {
  output_.append(bytes);
  transcript_ += Cp932ToUtf8(bytes);
}

bool ScriptedDevice::Get(std::string& line) {
  if (next_ >= lines_.size()) return false;
  line = lines_[next_++];
  // A line of bytes that are no code page 932 text (as a pipe may bring) is
  // echoed as its bytes.
  std::string text;
  transcript_ += ExactToUtf8(line, text) ? EchoedLine(line)
                                         : std::string(EchoOpen) + Hex(line) + std::string(EchoClose) + "\n";
  return true;
}

ConsoleScript::ConsoleScript(std::vector<std::string> lines, std::uint32_t seed)
    : RandomState(seed), device_(std::move(lines)) {
  console_.Bind(device_);
}

ConsoleScript::~ConsoleScript() {
  try {
    console_.Unbind();
  } catch (...) {
  }
}

ErrorSink ConsoleScript::Banner() {
  return [this](std::string_view place) { ErrorBanner(console_, place); };
}

std::string ConsoleScript::Output() {
  console_.FlushOutput();
  return device_.Output();
}

std::string ConsoleScript::Transcript() {
  console_.FlushOutput();
  return device_.Transcript();
}

ErrorSink NoErrorExpected() {
  return [](std::string_view place) { ADD_FAILURE() << "error reported in " << place; };
}

std::string EchoedLine(std::string_view line) {
  return std::string(EchoOpen) + Cp932ToUtf8(line) + std::string(EchoClose) + "\n";
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string> CrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n")) {
    lines.emplace_back(text.substr(0, at));
    text.remove_prefix(at + 2);
  }
  lines.emplace_back(text);
  return lines;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string text;
  if (!ExactToUtf8(bytes, text)) {
    ADD_FAILURE() << "not code page 932: " << Hex(bytes);
    return text;
  }
  // Two code page 932 codes can stand for one character; a transcript must
  // still pin the very bytes, so it only counts when it converts back.
  std::string back;
  if (!ExactToCp932(text, back) || back != bytes)
    ADD_FAILURE() << "code page 932 bytes do not survive a round trip: " << Hex(bytes);
  return text;
}

std::string Utf8ToCp932(std::string_view text) {
  std::string bytes;
  if (!ExactToCp932(text, bytes)) ADD_FAILURE() << "not convertible to code page 932";
  return bytes;
}

bool IsFailureReport(std::string_view text, std::string_view message, std::string_view kind) {
  // Compared as bytes: code page 932 text must never go through a pattern
  // matcher, whose special characters hide in its second bytes.
  const std::string head = std::string(kind) + "がモジュール velkor の "_cp;
  const std::string tail = " で発生しました。\r\n"_cp + std::string(message) + "\r\n";
  if (text.size() < head.size() + tail.size() + 8) return false;
  if (text.substr(0, head.size()) != head) return false;
  if (text.substr(text.size() - tail.size()) != tail) return false;
  const std::string_view location = text.substr(head.size(), text.size() - head.size() - tail.size());
  if (location.size() < 8) return false;
  for (const char c : location)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

std::string SourceDir() {
  const char* dir = std::getenv("VELKOR_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

void ExpectGolden(const std::string& transcript, const std::string& relativePath) {
  const std::string path = SourceDir() + "/" + relativePath;
  const char* update = std::getenv("VELKOR_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream out(path, std::ios::binary);
    out << transcript;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing golden file " << path;
  std::ostringstream golden;
  golden << in.rdbuf();
  if (golden.str() == transcript) return;
  // Name the first line that differs, which is what a reader needs.
  std::istringstream want(golden.str()), got(transcript);
  std::string wantLine, gotLine;
  int number = 1;
  while (true) {
    const bool moreWant = static_cast<bool>(std::getline(want, wantLine));
    const bool moreGot = static_cast<bool>(std::getline(got, gotLine));
    if (!moreWant && !moreGot) break;
    if (!moreWant || !moreGot || wantLine != gotLine) {
      ADD_FAILURE() << path << " differs at line " << number << "\n  golden: " << wantLine
                    << "\n  actual: " << gotLine;
      return;
    }
    ++number;
  }
  ADD_FAILURE() << path << " differs";
}

}  // namespace velkor::test
