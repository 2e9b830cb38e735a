// The character set conversions in WebAssembly, where there is no iconv that
// knows code page 932: the sets the game meets (code page 932, UTF-8,
// UTF-16LE for console windows, ASCII), through the table made from iconv,
// with iconv's rules for what does not convert.
#include <optional>

#include "platform/charset.h"
#include "platform/cp932_table.h"
#include "platform/utf8.h"

namespace velkor::platform {

namespace {

enum class Set { Unknown, Cp932, Utf8, Utf16Le, Ascii };

Set SetNamed(std::string_view name) {
  const std::string folded = FoldedCharsetName(name);
  if (folded == "CP932" || folded == "WINDOWS31J" || folded == "MS932") return Set::Cp932;
  if (folded == "UTF8") return Set::Utf8;
  if (folded == "UTF16LE") return Set::Utf16Le;
  if (folded == "ASCII" || folded == "USASCII" || folded == "ANSIX3.41968") return Set::Ascii;
  return Set::Unknown;
}

// One character read from the start of text: what it is (nothing when it is
// not valid there) and how many bytes it takes.
struct Decoded {
  std::optional<char32_t> character;
  std::size_t length = 1;
};

Decoded DecodeUtf8Text(std::string_view text) {
  const Utf8Character read = DecodeUtf8(text.data(), text.size());
  if (read.length == 0) return {};
  return {read.character, read.length};
}

Decoded DecodeCp932(std::string_view text, CharsetConverter::Walk walk) {
  const auto first = static_cast<unsigned char>(text[0]);
  if (!IsCp932LeadByte(text[0])) return {Cp932ToUnicode(first), 1};
  const bool paired = text.size() >= 2 && IsCp932TrailByte(text[1]);
  if (!paired) return {};
  const auto code = static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(text[1]));
  const std::optional<char32_t> character = Cp932ToUnicode(code);
  if (character) return {character, 2};
  // iconv steps over one byte of a pair it cannot read.
  return {std::nullopt, walk == CharsetConverter::Walk::Cp932Pairs ? 2u : 1u};
}

Decoded DecodeUtf16Le(std::string_view text) {
  const auto unit = [&](std::size_t at) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[at]) |
                                 static_cast<unsigned char>(text[at + 1]) << 8);
  };
  if (text.size() < 2) return {};
  const char32_t first = unit(0);
  if (first < 0xD800 || first > 0xDFFF) return {first, 2};
  if (first >= 0xDC00 || text.size() < 4) return {std::nullopt, 2};
  const char32_t second = unit(2);
  if (second < 0xDC00 || second > 0xDFFF) return {std::nullopt, 2};
  return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 4};
}

void AppendUtf16Le(char32_t c, std::string& out) {
  const auto put = [&](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  if (c < 0x10000) {
    put(c);
  } else {
    put(0xD800 + ((c - 0x10000) >> 10));
    put(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

void AppendUtf8(char32_t c, std::string& out) {
  const auto put = [&](unsigned value) { out += static_cast<char>(value); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | c >> 6), put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | c >> 12), put(0x80 | (c >> 6 & 0x3F)), put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | c >> 18), put(0x80 | (c >> 12 & 0x3F)), put(0x80 | (c >> 6 & 0x3F)), put(0x80 | (c & 0x3F));
  }
}

}  // namespace

struct CharsetConverter::State {
  Set to;
  Set from;
  Walk walk;

  Decoded Decode(std::string_view text) const {
    switch (from) {
      case Set::Cp932:
        return DecodeCp932(text, walk);
      case Set::Utf8:
        return DecodeUtf8Text(text);
      case Set::Utf16Le:
        return DecodeUtf16Le(text);
      case Set::Ascii:
        if (static_cast<unsigned char>(text[0]) < 0x80) return {static_cast<char32_t>(text[0]), 1};
        return {};
      case Set::Unknown:
        break;
    }
    return {};
  }

  bool Encode(char32_t c, std::string& out) const {
    switch (to) {
      case Set::Cp932: {
        const std::optional<std::uint16_t> code = UnicodeToCp932(c);
        if (!code) return false;
        if (*code >= 0x100) out += static_cast<char>(*code >> 8);
        out += static_cast<char>(*code & 0xFF);
        return true;
      }
      case Set::Utf8:
        AppendUtf8(c, out);
        return true;
      case Set::Utf16Le:
        AppendUtf16Le(c, out);
        return true;
      case Set::Ascii:
        if (c >= 0x80) return false;
        out += static_cast<char>(c);
        return true;
      case Set::Unknown:
        break;
    }
    return false;
  }
};

CharsetConverter::CharsetConverter(std::string_view to, std::string_view from, Walk walk)
    : state_(new State{SetNamed(to), SetNamed(from), walk}) {}

CharsetConverter::~CharsetConverter() = default;

bool CharsetConverter::IsOpen() const { return state_->to != Set::Unknown && state_->from != Set::Unknown; }

bool CharsetConverter::Exact(std::string_view text, std::string& out) {
  if (!IsOpen()) return false;
  while (!text.empty()) {
    const Decoded decoded = state_->Decode(text);
    if (!decoded.character || !state_->Encode(*decoded.character, out)) return false;
    text.remove_prefix(decoded.length);
  }
  return true;
}

void CharsetConverter::Lenient(std::string_view text, std::string& out) {
  while (!text.empty()) {
    const Decoded decoded = state_->Decode(text);
    if (!decoded.character || !state_->Encode(*decoded.character, out)) state_->Encode(U'?', out);
    text.remove_prefix(std::min(decoded.length, text.size()));
  }
}

}  // namespace velkor::platform
