#pragma once
// The game's only door to the player: every text goes out through Write and
// WriteLine and every answer comes in through ReadLine. The bytes are code
// page 932 on both sides; what sits behind the door (standard streams, a
// terminal with another character set, a test script) is a ConsoleDevice.

#include <iosfwd>
#include <string>
#include <string_view>

namespace velkor {

class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;
  // Shows bytes to the player. Called once per exchange with all pending text.
  virtual void Put(std::string_view bytes) = 0;
  // Takes one typed line without its LF; false when input has ended.
  // The devices over standard streams keep at most MaxLineBytes + 1 bytes
  // of a line (console/line_reader.h).
  virtual bool Get(std::string& line) = 0;
  // The bytes the screen gets for text shown whole at the start of a line,
  // without sending them or touching what is pending. Raw devices show the
  // bytes as they are.
  virtual std::string Shown(std::string_view text) { return std::string(text); }
};

// A device over two standard streams, passing the bytes through unchanged.
class StreamConsole : public ConsoleDevice {
 public:
  StreamConsole(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  void Put(std::string_view bytes) override;
  bool Get(std::string& line) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

// Routes the game's console through device until another one is bound.
// Pending output is flushed to the old device first.
void BindConsole(ConsoleDevice& device);
// Goes back to the console of before start-up, which drops all output and
// has no input. Pending output is flushed to the old device first.
void UnbindConsole();

// Text without a line end; it stays pending until the next read or flush.
void Write(std::string_view text);
// Text followed by CR LF.
void WriteLine(std::string_view text = {});
// Flushes pending output, then reads one line and drops its LF and a CR just
// before it. At end of input the run cannot go on: raises the input failure.
std::string ReadLine();
// Hands all pending output to the device.
void FlushOutput();

// At a terminal (standard input and output both), the end of input is the
// player's way to quit, not a failure: ReadLine then throws PlayerQuit.
// Through pipes and files it stays the input failure that scripts rely on.
void SetEndOfInputQuits(bool quits);
bool EndOfInputQuits();
class PlayerQuit {};
// What the bound console's screen gets for text (ConsoleDevice::Shown).
std::string ShownOnScreen(std::string_view text);
// True when nothing has been written yet or the last text ended a line.
bool AtLineStart();

inline constexpr std::string_view LineEnd = "\r\n";

}  // namespace velkor
