#include "console/scenario.h"

#include <cstdio>
#include <memory>

#include "console/console_io.h"
#include "console/failure.h"

namespace velkor {

namespace {

// The whole file, or the failure report when it cannot be opened or read
// (a folder of that name opens but does not read).
std::string ReadWholeFile(const std::string& fileName) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) RaiseFailure(KindInOut, CannotOpenMessage(fileName));
  std::string content;
  char chunk[4096];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    content.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get())) RaiseFailure(KindInOut, CannotOpenMessage(fileName));
  return content;
}

}  // namespace

std::string ScenarioPath(int number) { return "dat/" + std::to_string(number) + ".dat"; }

void PlayScenario(const std::string& fileName, std::string_view playerName) {
  const std::vector<std::string> lines = SplitScenarioLines(ReadWholeFile(fileName));

  // The opening wait. Anything typed here or at a pause turns the pauses off.
  std::string playbackAnswer = ReadLine();
  for (const std::string& stored : lines) {
    if (IsEndMarker(stored)) break;
    Write(ScrambleAroundTokens(stored, true, playerName));
    if (stored.empty())
      WriteLine();
    else if (playbackAnswer.empty())
      playbackAnswer = ReadLine();  // the player's Enter ends the shown line
    else
      WriteLine();
  }
  WriteLine();
}

}  // namespace velkor
