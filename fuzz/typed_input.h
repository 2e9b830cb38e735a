#pragma once
// The console of a harness: the typed lines come from the input's bytes and
// what the game writes is looked at, then dropped.

#include <cstddef>
#include <sstream>
#include <string>
#include <string_view>

#include "console/console_io.h"

namespace velkor::fuzz {

class TypedInput : public ConsoleDevice {
 public:
  // Lines are read from bytes as from standard input (cut at MaxLineBytes),
  // at most maxReads of them: a long input must not make a long run.
  // Watched output is searched for the marks of a broken invariant, which
  // only the game's own texts can make: a name has 16 bytes at most. The
  // text of a scenario file made by the fuzzer could forge them.
  TypedInput(std::string_view bytes, std::size_t maxReads, bool watchOutput = true);
  // Aborts when watched output shows a broken invariant. The bytes are
  // dropped, unless VELKOR_FUZZ_ECHO=1 asks for them (and the typed lines)
  // on standard output, to see what an input does.
  void Put(std::string_view bytes) override;
  bool Get(std::string& line) override;

  // The game asked for a line when there was none left.
  bool Ended() const { return ended_; }

 private:
  std::istringstream in_;
  std::size_t readsLeft_;
  bool watchOutput_;
  bool echo_;
  bool ended_ = false;
};

}  // namespace velkor::fuzz
