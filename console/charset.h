#pragma once
// Code page 932 and the other character sets: the game's own bytes, and
// conversions through iconv for the terminal, the locale's texts and the
// story sources.

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

// The name iconv knows the game's character set by.
inline constexpr const char* GameCharset = "CP932";

// A first byte of a double-byte code page 932 character (81-9F, E0-FC): the
// next byte belongs to it, even when it looks like ASCII.
constexpr bool IsCp932LeadByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes of the code page 932 character at text[at]: 2 for a lead byte that
// has a byte after it, else 1.
constexpr std::size_t Cp932CharacterLength(std::string_view text, std::size_t at) {
  return IsCp932LeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// One conversion between two character sets, opened once and reused: the
// terminal converts every line through the same one. Each call stands on its
// own (the shift state is reset first and closed at the end).
class CharsetConverter {
 public:
  // How a lenient conversion steps over a character that does not convert.
  enum class Walk {
    // As the source set reads it; a byte that starts no character is one.
    Decoded,
    // A lead byte with a proper second byte is one character even when
    // nothing is assigned to the pair; any other byte is one on its own.
    Cp932Pairs,
  };

  CharsetConverter(std::string_view to, std::string_view from, Walk walk = Walk::Decoded);
  ~CharsetConverter();
  CharsetConverter(const CharsetConverter&) = delete;
  CharsetConverter& operator=(const CharsetConverter&) = delete;

  // False when iconv does not know one of the two sets.
  bool IsOpen() const;

  // Appends text converted to out. False when the converter is not open,
  // when a byte sequence is not valid in the source or is cut short, or when
  // the target lacks a character (or iconv only approximated one); out then
  // holds what converted before the fault.
  bool Exact(std::string_view text, std::string& out);

  // Appends text converted to out, with one "?" for each character that does
  // not convert. The converter must be open.
  void Lenient(std::string_view text, std::string& out);

 private:
  std::size_t CharacterLength(std::string_view text);
  Walk walk_;
  std::string from_;
  iconv_t cd_;
  // Source -> UTF-32LE, to learn where a character ends; opened when first
  // needed.
  iconv_t decoder_;
  bool decoderTried_ = false;
};

// text in charset to code page 932, with one "?" for each character that
// does not convert. With a set iconv does not know, ASCII stays and every
// other byte becomes "?".
std::string ToCp932(std::string_view text, std::string_view charset);

}  // namespace velkor
