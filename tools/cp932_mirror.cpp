#include "tools/cp932_mirror.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/charset.h"

namespace velkor::tools {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNonAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }
// UTF-8 identifiers are copied whole, whatever their characters.
bool IsIdentifierStart(char c) { return IsAsciiLetter(c) || c == '_' || IsNonAscii(c); }
bool IsIdentifierPart(char c) { return IsIdentifierStart(c) || IsDigit(c); }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of the UTF-8 character that starts text, or 0 when text does
// not start with one.
std::size_t Utf8Length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80 || byte > 0xBF) return 0;
  }
  return length;
}

std::uint32_t CodePoint(std::string_view utf8) {
  static constexpr std::array<unsigned, 5> LeadBits{0, 0x7F, 0x1F, 0x0F, 0x07};
  std::uint32_t code = static_cast<unsigned char>(utf8[0]) & LeadBits[utf8.size()];
  for (std::size_t i = 1; i < utf8.size(); ++i)
    code = code << 6 | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
  return code;
}

std::string Utf8(std::uint32_t code) {
  std::string out;
  const auto byte = [](std::uint32_t value) { return static_cast<char>(value); };
  if (code < 0x80) {
    out += byte(code);
  } else if (code < 0x800) {
    out += byte(0xC0 | code >> 6);
    out += byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += byte(0xE0 | code >> 12);
    out += byte(0x80 | (code >> 6 & 0x3F));
    out += byte(0x80 | (code & 0x3F));
  } else {
    out += byte(0xF0 | code >> 18);
    out += byte(0x80 | (code >> 12 & 0x3F));
    out += byte(0x80 | (code >> 6 & 0x3F));
    out += byte(0x80 | (code & 0x3F));
  }
  return out;
}

// Three octal digits always: an escape of fewer could take a digit that
// follows it, and a hex escape would take any hex digit.
void AppendOctal(std::string& out, char byte) {
  char escape[5];
  std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(byte)));
  out += escape;
}

class Mirror {
 public:
  explicit Mirror(std::string_view source) : source_(source), cp932_(platform::GameCharset, "UTF-8") {}

  MirroredSource Run() {
    if (!cp932_.IsOpen()) return Fail(0, "the system cannot convert UTF-8 to code page 932");
    while (at_ < source_.size() && result_.error.empty()) Step();
    if (result_.error.empty()) result_.text = std::move(out_);
    return std::move(result_);
  }

 private:
  char At(std::size_t i) const { return i < source_.size() ? source_[i] : '\0'; }

  MirroredSource Fail(std::size_t where, std::string message) {
    result_.error = std::move(message);
    result_.errorLine =
        1 + static_cast<std::size_t>(std::count(source_.begin(), source_.begin() + where, '\n'));
    return std::move(result_);
  }

  void CopyTo(std::size_t end) {
    out_.append(source_.substr(at_, end - at_));
    at_ = end;
  }

  void Step() {
    const char c = source_[at_];
    const char next = At(at_ + 1);
    if (c == '/' && next == '/') {
      CopyLineComment();
    } else if (c == '/' && next == '*') {
      const std::size_t end = source_.find("*/", at_ + 2);
      CopyTo(end == std::string_view::npos ? source_.size() : end + 2);
    } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
      CopyNumber();
    } else if (IsIdentifierStart(c)) {
      Identifier();
    } else if (c == '"' || c == '\'') {
      OrdinaryLiteral();
    } else {
      CopyTo(at_ + 1);
    }
  }

  // To the end of the line, and past it where a backslash splices the next
  // line on.
  void CopyLineComment() {
    std::size_t end = at_;
    while (true) {
      end = source_.find('\n', end);
      if (end == std::string_view::npos) return CopyTo(source_.size());
      std::size_t last = end;
      if (last > at_ && source_[last - 1] == '\r') --last;
      if (last == at_ || source_[last - 1] != '\\') return CopyTo(end);
      ++end;
    }
  }

  // A preprocessing number, whose digit separators (1'000) start no
  // character literal.
  void CopyNumber() {
    std::size_t i = at_ + 1;
    while (i < source_.size()) {
      const char c = source_[i];
      const char next = At(i + 1);
      if ((c == 'e' || c == 'E' || c == 'p' || c == 'P') && (next == '+' || next == '-')) {
        i += 2;
      } else if (IsIdentifierPart(c) || c == '.') {
        ++i;
      } else if (c == '\'' && IsIdentifierPart(next)) {
        i += 2;
      } else {
        break;
      }
    }
    CopyTo(i);
  }

  // An identifier, or the encoding prefix of the literal that follows it.
  void Identifier() {
    std::size_t end = at_;
    while (end < source_.size() && IsIdentifierPart(source_[end])) ++end;
    const std::string_view word = source_.substr(at_, end - at_);
    const char quote = At(end);
    CopyTo(end);
    if (quote == '"' && word == "R") {
      RawLiteral(true);
    } else if (quote == '"' && (word == "u8R" || word == "uR" || word == "UR" || word == "LR")) {
      RawLiteral(false);
    } else if ((quote == '"' || quote == '\'') &&
               (word == "u8" || word == "u" || word == "U" || word == "L")) {
      CopyPrefixedLiteral();
    }
  }

  // Appends the escapes of the code page 932 bytes of one UTF-8 character
  // at source_[where]; false after a failure.
  bool AppendCp932(std::string& out, std::string_view utf8, std::size_t where) {
    std::string bytes;
    if (!cp932_.Exact(utf8, bytes)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(CodePoint(utf8)));
      Fail(where, std::string(code) + " has no code page 932 form");
      return false;
    }
    for (const char byte : bytes) AppendOctal(out, byte);
    return true;
  }

  // The non-ASCII character at source_[where], as escapes; its length, or
  // 0 after a failure.
  std::size_t AppendCharacter(std::string& out, std::size_t where) {
    const std::size_t length = Utf8Length(source_.substr(where));
    if (length == 0) {
      Fail(where, "a literal holds bytes that are not UTF-8");
      return 0;
    }
    return AppendCp932(out, source_.substr(where, length), where) ? length : 0;
  }

  // "..." or '...': built aside, since a literal cut short by the end of
  // its line (an apostrophe in a #error text) is no literal and is copied
  // as it is.
  void OrdinaryLiteral() {
    const char quote = source_[at_];
    std::string literal(1, quote);
    std::size_t i = at_ + 1;
    while (true) {
      if (i >= source_.size() || source_[i] == '\n') return CopyTo(i);
      const char c = source_[i];
      if (c == quote) break;
      if (c == '\\') {
        const std::size_t used = Escape(literal, i);
        if (used == 0) return;
        i += used;
      } else if (IsNonAscii(c)) {
        const std::size_t used = AppendCharacter(literal, i);
        if (used == 0) return;
        i += used;
      } else {
        literal += c;
        ++i;
      }
    }
    literal += quote;
    out_ += literal;
    at_ = i + 1;
  }

  // The escape at source_[i] appended to literal: a universal character
  // name converted, any other escape (or a line splice) as it is. Returns
  // the bytes it took, 0 after a failure.
  std::size_t Escape(std::string& literal, std::size_t i) {
    const char kind = At(i + 1);
    const std::size_t digits = kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
    if (digits != 0) {
      std::uint32_t code = 0;
      std::size_t n = 0;
      for (; n < digits && HexValue(At(i + 2 + n)) >= 0; ++n)
        code = code << 4 | static_cast<std::uint32_t>(HexValue(At(i + 2 + n)));
      if (n == digits && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF))
        return AppendCp932(literal, Utf8(code), i) ? 2 + digits : 0;
    }
    std::size_t length = 2;
    if (kind == '\r' && At(i + 2) == '\n') length = 3;
    // A backslash before a non-ASCII character is the compiler's to refuse;
    // the character stays whole.
    if (IsNonAscii(kind)) length = 1 + std::max<std::size_t>(Utf8Length(source_.substr(i + 1)), 1);
    length = std::min(length, source_.size() - i);
    literal.append(source_.substr(i, length));
    return length;
  }

  // A literal after an encoding prefix, to its closing quote.
  void CopyPrefixedLiteral() {
    const char quote = source_[at_];
    std::size_t i = at_ + 1;
    while (i < source_.size() && source_[i] != quote && source_[i] != '\n') i += source_[i] == '\\' ? 2u : 1u;
    CopyTo(std::min(i + 1, source_.size()));
  }

  // R"delimiter(...)delimiter", from its opening quote. With mirror, and
  // when it holds non-ASCII text, it becomes one ordinary literal for each
  // source line it spans.
  void RawLiteral(bool mirror) {
    const std::size_t open = source_.find('(', at_ + 1);
    if (open == std::string_view::npos || open - at_ - 1 > 16) return CopyTo(at_ + 1);
    const std::string_view delimiter = source_.substr(at_ + 1, open - at_ - 1);
    if (delimiter.find_first_of(" ()\\\t\v\f\r\n") != std::string_view::npos) return CopyTo(at_ + 1);
    const std::string closing = ")" + std::string(delimiter) + "\"";
    const std::size_t close = source_.find(closing, open + 1);
    if (close == std::string_view::npos) return CopyTo(source_.size());
    const std::string_view text = source_.substr(open + 1, close - open - 1);
    const bool ascii = std::none_of(text.begin(), text.end(), IsNonAscii);
    if (!mirror || ascii) return CopyTo(close + closing.size());

    // The R of the prefix is already written: it is taken back.
    out_.pop_back();
    std::string literals = "\"";
    for (std::size_t i = 0; i < text.size();) {
      const char c = text[i];
      const std::size_t where = open + 1 + i;
      if (c == '\n') {
        literals += "\\n\"\n\"";
      } else if (c == '\r' && At(where + 1) == '\n') {
        // The compiler reads a CR LF line end as one new-line.
      } else if (c == '\\' || c == '"') {
        literals += '\\';
        literals += c;
      } else if (IsNonAscii(c)) {
        const std::size_t used = AppendCharacter(literals, where);
        if (used == 0) return;
        i += used;
        continue;
      } else {
        literals += c;
      }
      ++i;
    }
    out_ += literals + "\"";
    at_ = close + closing.size();
  }

  std::string_view source_;
  std::size_t at_ = 0;
  std::string out_;
  MirroredSource result_;
  platform::CharsetConverter cp932_;
};

}  // namespace

MirroredSource MirrorLiterals(std::string_view source) { return Mirror(source).Run(); }

}  // namespace velkor::tools
