#pragma once
// Failures the game does not handle: a scenario or report file that cannot be
// used, a console that cannot be read or written, memory that has run out.
// They end the run with a report on the console and exit status 1, and touch
// no file on the way out.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "platform/cp932_literal.h"

namespace velkor {

inline constexpr std::string_view KindInOut = "EInOutError";
inline constexpr std::string_view KindOutOfMemory = "EOutOfMemory";
inline constexpr std::string_view OutOfMemoryMessage = "メモリが足りません"_cp;
inline constexpr std::string_view ModuleName = "velkor";

class GameFailure : public std::exception {
 public:
  GameFailure(std::string_view kind, std::string_view message, std::uintptr_t location)
      : kind_(kind), message_(message), location_(location) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Kind() const { return kind_; }
  const std::string& Message() const { return message_; }
  // Where it was raised: an offset into the program's image.
  std::uintptr_t Location() const { return location_; }

 private:
  std::string kind_;
  std::string message_;
  std::uintptr_t location_;
};

// Raises a failure located at the caller.
[[noreturn]] void RaiseFailure(std::string_view kind, std::string_view message);
// The message for a file that cannot be opened.
std::string CannotOpenMessage(std::string_view fileName);

// The two report lines: "<kind>がモジュール <module> の <location> で発生しました。"
// and the failure's own message, each ended by CR LF.
std::string FailureReport(const GameFailure& failure);

class Console;

// Runs body; returns 0 when it returns normally, and also when the player
// quits at a terminal: then the console's quit line ends the output. A
// GameFailure is reported on console, after what was already written, and gives 1; so does
// std::bad_alloc, as the out-of-memory failure. Memory held back while body
// runs is given up for that report; when even the report cannot be written,
// the exit status still tells.
int RunGuarded(Console& console, const std::function<void()>& body);

}  // namespace velkor
