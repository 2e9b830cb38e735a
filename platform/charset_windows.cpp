// The character set conversions on Windows, through the system's code pages:
// every text goes through UTF-16, the system's own form, one character at a
// time where a character does not convert.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "platform/charset.h"

namespace velkor::platform {

namespace {

constexpr UINT NoCodePage = 0;
// Not a code page of the conversion functions: UTF-16LE is the system's own
// form and is copied as it stands.
constexpr UINT Utf16Page = 1200;

// The code page a set name stands for, or NoCodePage.
UINT CodePageOf(std::string_view name) {
  struct Known {
    const char* name;
    UINT page;
  };
  static constexpr Known known[] = {
      {"UTF8", CP_UTF8}, {"UTF16LE", 1200}, {"EUCJP", 20932}, {"ISO88591", 28591}, {"LATIN1", 28591},
  };
  if (IsCharsetNamed(name, Cp932Names)) return 932;
  if (IsCharsetNamed(name, AsciiNames)) return 20127;
  const std::string folded = FoldedCharsetName(name);
  for (const Known& k : known)
    if (folded == k.name) return k.page;
  // "CP1252", "WINDOWS1252": the number is the page.
  for (const char* prefix : {"CP", "WINDOWS"}) {
    const std::string_view p(prefix);
    if (folded.size() <= p.size() || folded.compare(0, p.size(), p) != 0) continue;
    UINT page = 0;
    for (std::size_t i = p.size(); i < folded.size(); ++i) {
      if (folded[i] < '0' || folded[i] > '9' || page > 99999) return NoCodePage;
      page = page * 10 + static_cast<UINT>(folded[i] - '0');
    }
    return page;
  }
  return NoCodePage;
}

constexpr UINT AsciiPage = 20127;

// Bytes that Windows' code page 932 passes as stand-ins (80 as U+0080, A0
// and FD-FF as private-use characters) but that are no characters of code
// page 932: like iconv, the game's conversions take them for invalid bytes.
bool IsCp932NonCharacter(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// False when a character of text starts with such a byte.
bool AreCp932Characters(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += Cp932CharacterLength(text, i))
    if (IsCp932NonCharacter(text[i])) return false;
  return true;
}

// Characters for which Japanese text has two codes (the JIS forms and
// Microsoft's), written with the one code page 932 has, as iconv does.
wchar_t AsCp932Variant(wchar_t c) {
  switch (c) {
    case 0x00A5:
      return L'\\';  // YEN SIGN
    case 0x203E:
      return L'~';  // OVERLINE
    case 0x2014:
      return 0x2015;  // EM DASH
    case 0x2016:
      return 0x2225;  // DOUBLE VERTICAL LINE
    case 0x2212:
      return 0xFF0D;  // MINUS SIGN
    case 0x301C:
      return 0xFF5E;  // WAVE DASH
    case 0x00A2:
      return 0xFFE0;  // CENT SIGN
    case 0x00A3:
      return 0xFFE1;  // POUND SIGN
    case 0x00AC:
      return 0xFFE2;  // NOT SIGN
    default:
      return c;
  }
}

bool IsKnown(UINT page) { return page == Utf16Page || (page != NoCodePage && IsValidCodePage(page)); }

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The length of the character text starts with in page, as its bytes tell:
// 1 for a byte that starts no whole character.
std::size_t CharacterLength(UINT page, std::string_view text) {
  if (text.empty()) return 0;
  const auto first = static_cast<unsigned char>(text[0]);
  if (page == CP_UTF8) {
    const std::size_t length = first < 0x80    ? 1
                               : first >= 0xF0 ? 4
                               : first >= 0xE0 ? 3
                               : first >= 0xC0 ? 2
                                               : 1;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
      if (!IsContinuation(text[i])) return 1;
    return length;
  }
  if (page == Utf16Page) {
    if (text.size() < 2) return 1;
    const auto unit = static_cast<unsigned>(first | static_cast<unsigned char>(text[1]) << 8);
    if (unit >= 0xD800 && unit <= 0xDBFF && text.size() >= 4) {
      const auto low = static_cast<unsigned>(static_cast<unsigned char>(text[2]) |
                                             static_cast<unsigned char>(text[3]) << 8);
      if (low >= 0xDC00 && low <= 0xDFFF) return 4;
    }
    return 2;
  }
  if (page == 932) return text.size() >= 2 && IsCp932LeadByte(text[0]) && IsCp932TrailByte(text[1]) ? 2 : 1;
  return text.size() >= 2 && IsDBCSLeadByteEx(page, first) ? 2 : 1;
}

// bytes in page as UTF-16, appended to wide. Strictly, a byte sequence that
// is not valid (or has nothing assigned) fails instead of standing in.
bool Decode(UINT page, std::string_view bytes, std::wstring& wide) {
  if (bytes.empty()) return true;
  if (page == Utf16Page) {
    if (bytes.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < bytes.size(); i += 2)
      wide += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
    return true;
  }
  if (page == 932 && !AreCp932Characters(bytes)) return false;
  if (page == AsciiPage && !IsAscii(bytes)) return false;  // not masked to seven bits
  const int size = static_cast<int>(bytes.size());
  const int count = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (count <= 0) return false;
  const std::size_t at = wide.size();
  wide.resize(at + static_cast<std::size_t>(count));
  return MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data() + at, count) ==
         count;
}

// UTF-16 text in page, appended to out; fails when page lacks a character
// (no best fit: an approximation is a failure too).
bool Encode(UINT page, std::wstring_view wide, std::string& out) {
  if (wide.empty()) return true;
  if (page == Utf16Page) {
    for (const wchar_t unit : wide) {
      out += static_cast<char>(static_cast<std::uint16_t>(unit) & 0xFF);
      out += static_cast<char>(static_cast<std::uint16_t>(unit) >> 8);
    }
    return true;
  }
  std::wstring variants;
  if (page == 932) {
    variants.assign(wide);
    for (wchar_t& c : variants) c = AsCp932Variant(c);
    wide = variants;
  }
  const int size = static_cast<int>(wide.size());
  const bool utf8 = page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const defaultFlag = utf8 ? nullptr : &usedDefault;
  const int count = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, defaultFlag);
  if (count <= 0 || usedDefault) return false;
  std::string bytes(static_cast<std::size_t>(count), '\0');
  if (WideCharToMultiByte(page, flags, wide.data(), size, bytes.data(), count, nullptr, defaultFlag) !=
          count ||
      usedDefault)
    return false;
  if (page == 932 && !AreCp932Characters(bytes)) return false;
  out += bytes;
  return true;
}

}  // namespace

struct CharsetConverter::State {
  UINT to;
  UINT from;
  Walk walk;

  bool ConvertWhole(std::string_view text, std::string& out) const {
    std::wstring wide;
    std::string bytes;
    if (!Decode(from, text, wide) || !Encode(to, wide, bytes)) return false;
    out += bytes;
    return true;
  }

  // Converts text character by character up to the first that does not
  // convert; returns the bytes not converted.
  std::string_view ConvertUpToFault(std::string_view text, std::string& out) const {
    while (!text.empty()) {
      const std::size_t length = CharacterLength(from, text);
      if (!ConvertWhole(text.substr(0, length), out)) break;
      text.remove_prefix(length);
    }
    return text;
  }
};

CharsetConverter::CharsetConverter(std::string_view to, std::string_view from, Walk walk)
    : state_(new State{CodePageOf(to), CodePageOf(from), walk}) {}

CharsetConverter::~CharsetConverter() = default;

bool CharsetConverter::IsOpen() const { return IsKnown(state_->to) && IsKnown(state_->from); }

bool CharsetConverter::Exact(std::string_view text, std::string& out) {
  if (!IsOpen()) return false;
  if (state_->ConvertWhole(text, out)) return true;
  return state_->ConvertUpToFault(text, out).empty();
}

void CharsetConverter::Lenient(std::string_view text, std::string& out) {
  if (state_->ConvertWhole(text, out)) return;
  while (!text.empty()) {
    text = state_->ConvertUpToFault(text, out);
    if (text.empty()) break;
    // Not valid, cut short, or missing from the target: stand in and go on.
    // Read by the decoder, a code page 932 pair with nothing assigned to it
    // is a bad lead byte and whatever follows.
    if (!Encode(state_->to, L"?", out)) out += StandIn;
    std::size_t length = CharacterLength(state_->from, text);
    if (state_->walk == Walk::Decoded && length > 1) {
      std::wstring wide;
      if (!Decode(state_->from, text.substr(0, length), wide)) length = 1;
    }
    text.remove_prefix(length);
  }
}

}  // namespace velkor::platform
