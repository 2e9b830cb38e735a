#include "console/scenario.h"

#include "console/console_io.h"
#include "console/failure.h"
#include "platform/files.h"

namespace velkor {

namespace {

// The whole file, or the failure report when it cannot be used.
std::string ReadScenarioFile(const std::string& fileName) {
  std::string content;
  if (platform::ReadWholeFile(fileName, ScenarioFileLimit, content) != platform::ReadStatus::Read)
    RaiseFailure(KindInOut, CannotOpenMessage(fileName));
  return content;
}

}  // namespace

std::string ScenarioPath(int number) {
  return "dat" + std::string(1, platform::FolderSeparator()) + std::to_string(number) + ".dat";
}

void PlayScenario(Console& console, const std::string& fileName, std::string_view playerName) {
  const std::vector<std::string> lines = SplitScenarioLines(ReadScenarioFile(fileName));

  // The opening wait. Anything typed here or at a pause turns the pauses off.
  std::string playbackAnswer = console.ReadLine();
  for (const std::string& stored : lines) {
    if (IsEndMarker(stored)) break;
    console.Write(ScrambleAroundTokens(stored, true, playerName));
    if (stored.empty())
      console.WriteLine();
    else if (playbackAnswer.empty())
      playbackAnswer = console.ReadLine();  // the player's Enter ends the shown line
    else
      console.WriteLine();
  }
  console.WriteLine();
}

void CheckScenarioFiles() {
  for (const int number : {0, 1}) static_cast<void>(ReadScenarioFile(ScenarioPath(number)));
}

}  // namespace velkor
