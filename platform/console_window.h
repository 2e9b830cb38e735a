#pragma once
// A console window that is read and written in UTF-16 (Windows' console),
// seen by the game as a pair of streams of code page 932 bytes. Written
// apart from the system, so that the conversions are tested everywhere.

#include <cstddef>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "platform/charset.h"

namespace velkor::platform {

class ConsoleWindow {
 public:
  virtual ~ConsoleWindow() = default;
  // Shows the text; false when it cannot.
  virtual bool Write(std::u16string_view text) = 0;
  enum class Read { Text, End, Failed };
  // Takes what the player has typed so far, up to and with a line end, at
  // most max units; End when the window has no more input.
  virtual Read ReadSome(std::u16string& text, std::size_t max) = 0;
};

// Code page 932 bytes out to a window: each flush is one Write of all that
// is pending. A lead byte at the end waits for its pair in the next flush;
// one still waiting at the end is shown as "?". A pair with nothing assigned
// to it shows as one "?".
class ConsoleWindowOutput : public std::streambuf {
 public:
  explicit ConsoleWindowOutput(ConsoleWindow& window);
  ~ConsoleWindowOutput() override;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override;

 private:
  ConsoleWindow& window_;
  CharsetConverter toWindow_;
  std::string pending_;
};

// Typed text in from a window as code page 932 bytes, with one "?" for each
// character that code page 932 lacks. Ctrl-Z at the start of a line ends the
// input, as it does for the console's other programs. A window that cannot
// be read makes the stream bad.
class ConsoleWindowInput : public std::streambuf {
 public:
  explicit ConsoleWindowInput(ConsoleWindow& window);

 protected:
  int_type underflow() override;

 private:
  ConsoleWindow& window_;
  CharsetConverter fromWindow_;
  std::string buffer_;
  char16_t heldHigh_ = 0;  // the first half of a surrogate pair, waiting for the second
  bool atLineStart_ = true;
  bool ended_ = false;
};

}  // namespace velkor::platform
