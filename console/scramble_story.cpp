// Making a scenario file from its readable story source.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string>

#include "console/scenario.h"

namespace velkor {

namespace {

// UTF-8 to code page 932, exactly; false when a byte sequence is not UTF-8 or
// a character has no code page 932 form.
bool ToCp932(std::string_view utf8, std::string& out) {
  const iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
  out.clear();
  std::string buffer(utf8);
  char* src = buffer.data();
  std::size_t srcLeft = buffer.size();
  bool ok = true;
  while (srcLeft > 0) {
    char chunk[256];
    char* dst = chunk;
    std::size_t dstLeft = sizeof chunk;
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(chunk, static_cast<std::size_t>(dst - chunk));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
    // iconv counts characters it replaced instead of converting: not exact.
    if (rc != static_cast<std::size_t>(-1) && rc != 0) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

std::string ScenarioFromStory(std::string_view utf8Source) {
  std::string scenario;
  std::size_t number = 0;
  for (const std::string& line : SplitScenarioLines(utf8Source)) {
    ++number;
    std::string bytes;
    if (!ToCp932(line, bytes))
      throw std::invalid_argument("line " + std::to_string(number) +
                                  " is not UTF-8 text that code page 932 can hold");
    // The end marker and the name tokens are stored plain; all else scrambled.
    scenario += IsEndMarker(bytes) ? bytes : ScrambleKeepingTokens(bytes, false);
    scenario += "\r\n";
  }
  return scenario;
}

}  // namespace velkor
