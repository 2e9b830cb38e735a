// The character set conversions on a POSIX system, through iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/charset.h"

namespace velkor::platform {

namespace {

const iconv_t NotOpen = reinterpret_cast<iconv_t>(-1);
const std::size_t Failed = static_cast<std::size_t>(-1);
// Decodes one character into four bytes, to learn where a character ends.
constexpr const char* OneCharacterCharset = "UTF-32LE";

// One iconv call from the start of text into buffer: text loses what was
// converted and filled tells how much of buffer was written. Returns iconv's
// result and leaves its errno.
std::size_t ConvertInto(iconv_t cd, std::string_view& text, char* buffer, std::size_t size,
                        std::size_t& filled) {
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* to = buffer;
  std::size_t toLeft = size;
  const std::size_t result = iconv(cd, &in, &inLeft, &to, &toLeft);
  filled = size - toLeft;
  text.remove_prefix(text.size() - inLeft);
  return result;
}

// One iconv call over the rest of text, appended to out; text loses what was
// converted. Returns iconv's result and leaves its errno.
std::size_t ConvertSome(iconv_t cd, std::string_view& text, std::string& out) {
  char buffer[4096];
  std::size_t filled = 0;
  const std::size_t result = ConvertInto(cd, text, buffer, sizeof buffer, filled);
  const int error = errno;
  out.append(buffer, filled);
  errno = error;
  return result;
}

// Writes the bytes that close the shift state.
void CloseShiftState(iconv_t cd, std::string& out) {
  char buffer[64];
  char* to = buffer;
  std::size_t toLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &to, &toLeft);
  out.append(buffer, sizeof buffer - toLeft);
}

}  // namespace

struct CharsetConverter::State {
  Walk walk;
  std::string from;
  iconv_t cd;
  // Source -> UTF-32LE, to learn where a character ends; opened when first
  // needed.
  iconv_t decoder = NotOpen;
  bool decoderTried = false;
  // "?" in the target set (two bytes in UTF-16), standing in for what does
  // not convert.
  std::string replacement{};

  // The length of the character text starts with, in the source set; 1 when
  // it is not a valid character there.
  std::size_t CharacterLength(std::string_view text) {
    if (walk == Walk::Cp932Pairs)
      return text.size() >= 2 && IsCp932LeadByte(text[0]) && IsCp932TrailByte(text[1]) ? 2 : 1;
    if (!decoderTried) {
      decoderTried = true;
      decoder = iconv_open(OneCharacterCharset, from.c_str());
    }
    if (decoder == NotOpen) return 1;
    iconv(decoder, nullptr, nullptr, nullptr, nullptr);
    char one[4];  // room for one character and no more
    std::size_t filled = 0;
    const std::size_t size = text.size();
    ConvertInto(decoder, text, one, sizeof one, filled);
    return std::max<std::size_t>(size - text.size(), 1);
  }
};

CharsetConverter::CharsetConverter(std::string_view to, std::string_view from, Walk walk)
    : state_(new State{walk, std::string(from),
                       iconv_open(std::string(to).c_str(), std::string(from).c_str())}) {
  const iconv_t fromAscii = iconv_open(std::string(to).c_str(), "ASCII");
  if (fromAscii != NotOpen) {
    std::string_view question(&StandIn, 1);
    ConvertSome(fromAscii, question, state_->replacement);
    CloseShiftState(fromAscii, state_->replacement);
    iconv_close(fromAscii);
  }
  if (state_->replacement.empty()) state_->replacement = StandIn;
}

CharsetConverter::~CharsetConverter() {
  if (state_->cd != NotOpen) iconv_close(state_->cd);
  if (state_->decoder != NotOpen) iconv_close(state_->decoder);
}

bool CharsetConverter::IsOpen() const { return state_->cd != NotOpen; }

bool CharsetConverter::Exact(std::string_view text, std::string& out) {
  if (!IsOpen()) return false;
  const iconv_t cd = state_->cd;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (!text.empty()) {
    const std::size_t result = ConvertSome(cd, text, out);
    if (result == Failed && errno != E2BIG) return false;
    // iconv counts the characters it approximated instead of converting.
    if (result != Failed && result != 0) return false;
  }
  CloseShiftState(cd, out);
  return true;
}

void CharsetConverter::Lenient(std::string_view text, std::string& out) {
  const iconv_t cd = state_->cd;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (!text.empty()) {
    const std::size_t result = ConvertSome(cd, text, out);
    if (result != Failed || errno == E2BIG || text.empty()) continue;
    // Not valid, cut short, or missing from the target: stand in and go on.
    out += state_->replacement;
    text.remove_prefix(std::clamp<std::size_t>(state_->CharacterLength(text), 1, text.size()));
  }
  CloseShiftState(cd, out);
}

}  // namespace velkor::platform
