#include "fuzz/typed_input.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/line_reader.h"
#include "fuzz/require.h"

namespace velkor::fuzz {

namespace {

// What the game writes only when one of its own rules has been broken: the
// error banner and the menu letter conversions given an impossible value.
constexpr std::array<std::string_view, 3> BrokenInvariantMarks{
    "-------------------------------------\r\nerror in ",
    "error in IntToAlf(",
    "error in AlfToInt(",
};

}  // namespace

TypedInput::TypedInput(std::string_view bytes, std::size_t maxReads, bool watchOutput)
    : in_(std::string(bytes)), readsLeft_(maxReads), watchOutput_(watchOutput) {
  const char* echo = std::getenv("VELKOR_FUZZ_ECHO");
  echo_ = echo != nullptr && std::strcmp(echo, "1") == 0;
}

void TypedInput::Put(std::string_view bytes) {
  if (echo_) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  if (!watchOutput_) return;
  for (const std::string_view mark : BrokenInvariantMarks)
    Require(bytes.find(mark) == std::string_view::npos, "the game reported a broken invariant");
}

bool TypedInput::Get(std::string& line) {
  if (readsLeft_ > 0 && ReadBoundedLine(in_, line)) {
    --readsLeft_;
    if (echo_) std::fwrite(("<" + line + ">\n").data(), 1, line.size() + 3, stdout);
    return true;
  }
  ended_ = true;
  return false;
}

}  // namespace velkor::fuzz
