// The scenario files in dat/ are made from the readable sources in story/.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "console/console_io.h"
#include "console/scenario.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

std::string ReadBytes(const std::string& path) {
  EXPECT_TRUE(std::ifstream(path).good()) << "cannot read " << path;
  return test::ReadBytes(path);
}

const char* const StoryNames[] = {"0", "1"};

TEST(ScenarioDat, FilesMatchTheirStorySources) {
  for (const char* name : StoryNames) {
    const std::string story = ReadBytes(test::SourceDir() + "/story/" + name + ".txt");
    const std::string dat = ReadBytes(test::SourceDir() + "/dat/" + name + ".dat");
    EXPECT_EQ(dat, ScenarioFromStory(story))
        << "dat/" << name << ".dat is stale: rebuild it with the scenario_files target";
  }
}

// Played without pauses, each file shows its story text up to the end
// marker, with the name put in: the story source is the reference, read here
// on its own terms (UTF-8, LF line ends).
TEST(ScenarioDat, FilesPlayBackTheirStoryWithTheName) {
  const std::string nameUtf8 = "\xE3\x83\x9F\xE3\x83\x8A\xE3\x83\x88";  // ミナト
  for (const char* name : StoryNames) {
    const std::string story = ReadBytes(test::SourceDir() + "/story/" + name + ".txt");
    std::string shown;
    int tokens = 0;
    bool marker = false;
    for (const std::string& line : test::Lines(story)) {
      if (line == "#End") {
        marker = true;
        break;
      }
      std::string text = line;
      for (std::size_t at = text.find("$PlayerName"); at != std::string::npos;
           at = text.find("$PlayerName", at + nameUtf8.size())) {
        text.replace(at, 11, nameUtf8);
        ++tokens;
      }
      shown += text + "\r\n";
    }
    EXPECT_TRUE(marker) << name << ": the story ends with its marker";
    EXPECT_GT(tokens, 0) << name << ": the story names the player";

    test::ConsoleScript script({"x"}, 0);
    PlayScenario(script.Console(), test::SourceDir() + "/dat/" + name + ".dat", test::Utf8ToCp932(nameUtf8));
    EXPECT_EQ(script.Output(), test::Utf8ToCp932(shown) + "\r\n") << name;
  }
}

}  // namespace
}  // namespace velkor
