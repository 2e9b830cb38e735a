// Making a scenario file from its readable story source.
#include <stdexcept>
#include <string>

#include "console/scenario.h"
#include "console/to_cp932.h"

namespace velkor {

std::string ScenarioFromStory(std::string_view utf8Source) {
  CharsetConverter toGame(GameCharset, "UTF-8");
  if (!toGame.IsOpen()) throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
  std::string scenario;
  std::size_t number = 0;
  for (const std::string& line : SplitScenarioLines(utf8Source)) {
    ++number;
    // Exactly: false when a byte sequence is not UTF-8 or a character has no
    // code page 932 form.
    std::string bytes;
    if (!toGame.Exact(line, bytes))
      throw std::invalid_argument("line " + std::to_string(number) +
                                  " is not UTF-8 text that code page 932 can hold");
    // The end marker and the name tokens are stored plain; all else scrambled.
    scenario += IsEndMarker(bytes) ? bytes : ScrambleKeepingTokens(bytes, false);
    scenario += "\r\n";
  }
  return scenario;
}

}  // namespace velkor
