#include "console/charset.h"

#include <algorithm>
#include <cerrno>

namespace velkor {

namespace {

const iconv_t NotOpen = reinterpret_cast<iconv_t>(-1);
const std::size_t Failed = static_cast<std::size_t>(-1);
constexpr char Replacement = '?';
// Decodes one character into four bytes, to learn where a character ends.
constexpr const char* OneCharacterCharset = "UTF-32LE";

bool IsCp932TrailByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

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

CharsetConverter::CharsetConverter(std::string_view to, std::string_view from, Walk walk)
    : walk_(walk), from_(from), cd_(iconv_open(std::string(to).c_str(), from_.c_str())), decoder_(NotOpen) {}

CharsetConverter::~CharsetConverter() {
  if (cd_ != NotOpen) iconv_close(cd_);
  if (decoder_ != NotOpen) iconv_close(decoder_);
}

bool CharsetConverter::IsOpen() const { return cd_ != NotOpen; }

bool CharsetConverter::Exact(std::string_view text, std::string& out) {
  if (!IsOpen()) return false;
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  while (!text.empty()) {
    const std::size_t result = ConvertSome(cd_, text, out);
    if (result == Failed && errno != E2BIG) return false;
    // iconv counts the characters it approximated instead of converting.
    if (result != Failed && result != 0) return false;
  }
  CloseShiftState(cd_, out);
  return true;
}

void CharsetConverter::Lenient(std::string_view text, std::string& out) {
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  while (!text.empty()) {
    const std::size_t result = ConvertSome(cd_, text, out);
    if (result != Failed || errno == E2BIG || text.empty()) continue;
    // Not valid, cut short, or missing from the target: stand in and go on.
    out += Replacement;
    text.remove_prefix(std::clamp<std::size_t>(CharacterLength(text), 1, text.size()));
  }
  CloseShiftState(cd_, out);
}

// The length of the character text starts with, in the source set; 1 when it
// is not a valid character there.
std::size_t CharsetConverter::CharacterLength(std::string_view text) {
  if (walk_ == Walk::Cp932Pairs)
    return text.size() >= 2 && IsCp932LeadByte(text[0]) && IsCp932TrailByte(text[1]) ? 2 : 1;
  if (!decoderTried_) {
    decoderTried_ = true;
    decoder_ = iconv_open(OneCharacterCharset, from_.c_str());
  }
  if (decoder_ == NotOpen) return 1;
  iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
  char one[4];  // room for one character and no more
  std::size_t filled = 0;
  const std::size_t size = text.size();
  ConvertInto(decoder_, text, one, sizeof one, filled);
  return std::max<std::size_t>(size - text.size(), 1);
}

std::string ToCp932(std::string_view text, std::string_view charset) {
  if (IsAscii(text)) return std::string(text);
  CharsetConverter converter(GameCharset, charset);
  std::string result;
  if (converter.IsOpen()) {
    converter.Lenient(text, result);
    return result;
  }
  for (const char c : text) result += static_cast<unsigned char>(c) < 0x80 ? c : Replacement;
  return result;
}

}  // namespace velkor
