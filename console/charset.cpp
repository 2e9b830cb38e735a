#include "console/charset.h"

#include <algorithm>

namespace velkor {

namespace {

constexpr char Replacement = '?';

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

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
