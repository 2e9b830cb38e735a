#pragma once
// Code page 932 and the other character sets: the game's own bytes, and the
// system's conversions between sets (iconv on POSIX, the code page functions
// on Windows) for the terminal, the locale's texts and the story sources.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velkor::platform {

// The name the game's character set goes by.
inline constexpr const char* GameCharset = "CP932";

// A first byte of a double-byte code page 932 character (81-9F, E0-FC): the
// next byte belongs to it, even when it looks like ASCII.
constexpr bool IsCp932LeadByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that can follow a lead byte (40-7E, 80-FC).
constexpr bool IsCp932TrailByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Bytes of the code page 932 character at text[at]: 2 for a lead byte that
// has a byte after it, else 1.
constexpr std::size_t Cp932CharacterLength(std::string_view text, std::size_t at) {
  return IsCp932LeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// The length of the start of text that holds whole characters only: a lead
// byte at the very end, still waiting for its pair, is left out.
constexpr std::size_t WholeCp932Prefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsCp932LeadByte(text[i]) && i + 1 == text.size()) return i;
    i += IsCp932LeadByte(text[i]) ? 2u : 1u;
  }
  return text.size();
}

// What stands in for a character that the other set cannot hold, or for a
// lead byte whose pair never came.
inline constexpr char StandIn = '?';

// No byte above 7F: text that reads the same in every set the game meets.
constexpr bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A character set's name with case, "-", "_" and spaces ignored, for
// comparing names: "Shift_JIS" and "shift-jis" are both "SHIFTJIS".
inline std::string FoldedCharsetName(std::string_view name) {
  std::string folded;
  for (const char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    folded += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return folded;
}

// The names, folded, that systems give code page 932 and plain ASCII.
inline constexpr std::string_view Cp932Names[] = {
    "CP932", "SHIFTJIS", "SJIS", "MS932", "WINDOWS31J", "MSKANJI", "CSSHIFTJIS", "CSWINDOWS31J", "IBM943"};
inline constexpr std::string_view AsciiNames[] = {"ASCII", "USASCII", "ANSIX3.41968", "646"};

// Whether charset is one of names, compared folded.
template <std::size_t N>
bool IsCharsetNamed(std::string_view charset, const std::string_view (&names)[N]) {
  const std::string folded = FoldedCharsetName(charset);
  for (const std::string_view name : names)
    if (folded == name) return true;
  return false;
}

// One conversion between two character sets, opened once and reused: the
// terminal converts every line through the same one. Each call stands on its
// own. Sets are named as iconv names them ("CP932", "UTF-8", "UTF-16LE",
// "EUC-JP"); Windows knows those it has a code page for.
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

  // False when the system does not know one of the two sets.
  bool IsOpen() const;

  // Appends text converted to out. False when the converter is not open,
  // when a byte sequence is not valid in the source or is cut short, or when
  // the target lacks a character (or the system only approximated one); out
  // then holds what converted before the fault.
  bool Exact(std::string_view text, std::string& out);

  // Appends text converted to out, with one "?" for each character that does
  // not convert. The converter must be open.
  void Lenient(std::string_view text, std::string& out);

 private:
  struct State;  // the system's handles
  std::unique_ptr<State> state_;
};

}  // namespace velkor::platform
