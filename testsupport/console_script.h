#pragma once
// Drives the game's console from a test: a script of typed lines goes in,
// every byte written is kept, and a readable transcript can be compared with
// a golden file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "console/failure.h"
#include "data/error_sink.h"
#include "data/fighter.h"

namespace velkor::test {

class ScriptedDevice : public ConsoleDevice {
 public:
  explicit ScriptedDevice(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  void Put(std::string_view bytes) override;
  bool Get(std::string& line) override;

  const std::string& Output() const { return output_; }
  const std::string& Transcript() const { return transcript_; }
  std::size_t LinesLeft() const { return lines_.size() - next_; }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  std::string output_;      // raw code page 932 bytes
  std::string transcript_;  // UTF-8, with the typed lines shown as ⟨line⟩ and a line feed
};

// A fresh run for a test: a console bound to a scripted device, an empty
// player record and title list, and the random state at seed.
class ConsoleScript {
 public:
  explicit ConsoleScript(std::vector<std::string> lines, std::uint32_t seed = 0);
  ~ConsoleScript();
  ConsoleScript(const ConsoleScript&) = delete;
  ConsoleScript& operator=(const ConsoleScript&) = delete;

  // Everything written so far, as raw bytes.
  std::string Output();
  // Everything written so far in UTF-8, with the typed lines echoed.
  std::string Transcript();
  std::size_t LinesLeft() const { return device_.LinesLeft(); }
  velkor::Console& Console() { return console_; }
  // The scripted device, for a console of the test's own (a whole run's).
  ConsoleDevice& Device() { return device_; }
  // The game's error banner on this console.
  ErrorSink Banner();

  TPlayer Player{};
  std::string TitleList;
  std::uint32_t RandomState;

 private:
  ScriptedDevice device_;
  velkor::Console console_;
};

// An error sink for routines that must report nothing: a report fails the
// test that asked.
ErrorSink NoErrorExpected();

// A typed line (code page 932) as a transcript shows it: in UTF-8 between
// the echo marks, followed by a line feed.
std::string EchoedLine(std::string_view line);

// Splits text at "\n" into script lines (a last line without "\n" counts).
std::vector<std::string> Lines(std::string_view text);

// The lines of code page 932 output split at CR LF (never inside a
// character); the text after the last CR LF is the last line.
std::vector<std::string> CrLfLines(std::string_view text);

// Code page 932 <-> UTF-8, exact; a byte sequence that does not convert fails
// the test that asked.
std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view text);

// Compares a UTF-8 transcript with the golden file at path (relative to the
// source tree). With VELKOR_UPDATE_GOLDEN=1 the file is written instead, for
// a person to read and check before it is committed.
void ExpectGolden(const std::string& transcript, const std::string& relativePath);

// True when text is exactly the report of an uncaught failure of the given
// kind (the input-output kind unless told) with the given message, at any
// location.
bool IsFailureReport(std::string_view text, std::string_view message, std::string_view kind = KindInOut);

// The project's source folder (tests read fixtures and golden files there).
std::string SourceDir();

}  // namespace velkor::test
