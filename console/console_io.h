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

// The end of input at a terminal: the player's way to quit (see
// Console::SetEndOfInputQuits).
class PlayerQuit {};

// The console of one run: the device it is bound to and the text not yet
// handed to it. Before anything is bound it drops all output and has no
// input.
class Console {
 public:
  Console() = default;
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Routes the console through device until another one is bound.
  // Pending output is flushed to the old device first.
  void Bind(ConsoleDevice& device);
  // Goes back to the console of before start-up, which drops all output and
  // has no input. Pending output is flushed to the old device first.
  void Unbind();

  // Text without a line end; it stays pending until the next read or flush.
  void Write(std::string_view text);
  // Text followed by CR LF.
  void WriteLine(std::string_view text = {});
  // Flushes pending output, then reads one line and drops its LF and a CR
  // just before it. At end of input the run cannot go on: raises the input
  // failure.
  std::string ReadLine();
  // Hands all pending output to the device.
  void FlushOutput();

  // At a terminal (standard input and output both), the end of input is the
  // player's way to quit, not a failure: ReadLine then throws PlayerQuit.
  // Through pipes and files it stays the input failure that scripts rely on.
  void SetEndOfInputQuits(bool quits) { endOfInputQuits_ = quits; }
  bool EndOfInputQuits() const { return endOfInputQuits_; }
  // True when nothing has been written yet or the last text ended a line.
  bool AtLineStart() const { return atLineStart_; }

  // The one line said when the player quits at a terminal (RunGuarded says
  // it): the game changes it as the character's state changes. Empty by
  // default.
  void SetQuitLine(std::string_view line) { quitLine_ = line; }
  const std::string& QuitLine() const { return quitLine_; }

  // The bytes the screen gets for text shown whole at the start of a line,
  // as the bound device shows them (ConsoleDevice::Shown), without sending
  // them.
  std::string Shown(std::string_view text) { return bound_->Shown(text); }

 private:
  // Used until start-up binds the real console: swallows output, has no input.
  class NullConsole : public ConsoleDevice {
   public:
    void Put(std::string_view) override {}
    bool Get(std::string&) override { return false; }
  };

  NullConsole null_;
  ConsoleDevice* bound_ = &null_;
  std::string pending_;
  bool atLineStart_ = true;
  bool endOfInputQuits_ = false;
  std::string quitLine_;
};

inline constexpr std::string_view LineEnd = "\r\n";

}  // namespace velkor
