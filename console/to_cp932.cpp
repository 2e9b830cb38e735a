#include "console/to_cp932.h"

#include <algorithm>

namespace velkor {

std::string ToCp932(std::string_view text, std::string_view charset) {
  if (platform::IsAscii(text)) return std::string(text);
  CharsetConverter converter(GameCharset, charset);
  std::string result;
  if (converter.IsOpen()) {
    converter.Lenient(text, result);
    return result;
  }
  for (const char c : text) result += static_cast<unsigned char>(c) < 0x80 ? c : platform::StandIn;
  return result;
}

}  // namespace velkor
