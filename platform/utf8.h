#pragma once
// Reading UTF-8 one character at a time, by iconv's rules: for the
// WebAssembly build's conversions and for the compiler's conversion of the
// game's texts (platform/cp932_literal.h), which wants it lean.
#include <cstddef>

namespace velkor::platform {

struct Utf8Character {
  char32_t character = 0;
  // 0 when the bytes are no character: an overlong form, a surrogate, a
  // sequence cut short or a byte that starts none.
  std::size_t length = 0;
};

// The character that text[0, size) starts with (size at least 1).
constexpr Utf8Character DecodeUtf8(const char* text, std::size_t size) {
  const auto first = static_cast<unsigned char>(text[0]);
  if (first < 0x80) return {first, 1};
  const std::size_t length = first < 0xC2 ? 0 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : first < 0xF5 ? 4 : 0;
  if (length == 0 || size < length) return {};
  char32_t value = first & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {};
    value = value << 6 | (next & 0x3Fu);
  }
  constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < Least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, length};
}

}  // namespace velkor::platform
