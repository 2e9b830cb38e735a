#include "console/scenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "console/failure.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/system.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

TEST(ScrambleText, FlipsTheLowNibbleOfPrintableBytesOnly) {
  EXPECT_EQ(ScrambleText(std::string("\x00\x09\x0A\x0D\x1F\x20\x23\x24\x41\x7F\x80\x81\xFF", 13)),
            std::string("\x00\x09\x0A\x0D\x1F\x2F\x2C\x2B\x4E\x70\x8F\x8E\xF0", 13));
  EXPECT_EQ(ScrambleText("\r\n\t\r\r\n"), "\r\n\t\r\r\n");
  EXPECT_EQ(ScrambleText(""), "");
}

TEST(ScrambleText, IsItsOwnInverseAndKeepsTheHighNibble) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string once = ScrambleText(all);
  ASSERT_EQ(once.size(), all.size());
  EXPECT_EQ(ScrambleText(once), all);
  for (int b = 0; b < 256; ++b) {
    const auto scrambled = static_cast<unsigned char>(once[b]);
    EXPECT_EQ(scrambled & 0xF0, b & 0xF0) << b;
    EXPECT_EQ(scrambled >= 0x20, b >= 0x20) << b;
  }
  const std::string text = "あなたは$PlayerNameだ。ソポ\r\n"_cp;
  EXPECT_EQ(ScrambleText(ScrambleText(text)), text);
}

// With the system's own separator, as the failure report names them.
TEST(ScenarioPath, NamesTheFilesInTheDatFolder) {
  EXPECT_EQ(ScenarioPath(0), test::OnWindows() ? "dat\\0.dat" : "dat/0.dat");
  EXPECT_EQ(ScenarioPath(1), test::OnWindows() ? "dat\\1.dat" : "dat/1.dat");
}

// Keeps what was written and marks each read as <typed line>, so that a
// pause shows where it happened among the written bytes.
class PlaybackDevice : public ConsoleDevice {
 public:
  explicit PlaybackDevice(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  void Put(std::string_view bytes) override { log.append(bytes); }
  bool Get(std::string& line) override {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    log += "<" + line + ">";
    return true;
  }
  std::size_t LinesLeft() const { return lines_.size() - next_; }
  std::string log;

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

class ScenarioFile : public ::testing::Test {
 protected:
  std::string Fixture(const std::string& bytes) {
    const std::string path = dir_ + "/" + std::to_string(++count_) + ".dat";
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
  }

  // Plays the file with the name ミナト; gives the log and checks that every
  // typed line was read.
  std::string Play(const std::string& bytes, std::vector<std::string> typed) {
    const std::string path = Fixture(bytes);
    PlaybackDevice device(std::move(typed));
    Console console;
    console.Bind(device);
    PlayScenario(console, path, "ミナト"_cp);
    console.FlushOutput();
    EXPECT_EQ(device.LinesLeft(), 0u) << "typed lines left unread";
    return device.log;
  }

  test::ScopedTempDir temp_;
  const std::string dir_ = temp_.Path();
  int count_ = 0;
};

// S() stores a line scrambled, as the tool does.
std::string S(std::string_view text) { return ScrambleText(text); }

TEST_F(ScenarioFile, PlaysLinesWithPausesAndMarkers) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::string> typed;
    std::string log;
  };
  const std::vector<Case> cases = {
      {"empty file: the opening wait and one empty line", "", {""}, "<>\r\n"},
      {"a pause after each line; the Enter ends it",
       S("一行目"_cp) + "\r\n" + S("二行目"_cp) + "\r\n",
       {"", "", ""},
       "<>一行目<>二行目<>\r\n"_cp},
      {"CR LF, lone CR and lone LF end lines; the last needs no end",
       S("a") + "\r\n" + S("b") + "\r" + S("c") + "\n" + S("d"),
       {"", "", "", "", ""},
       "<>a<>b<>c<>d<>\r\n"},
      {"CR CR and LF CR hold an empty line between them",
       S("a") + "\r\r" + S("b") + "\n\r" + S("c") + "\r\n",
       {"", "", "", ""},
       "<>a<>\r\nb<>\r\nc<>\r\n"},
      {"an empty line is shown without a pause",
       S("前"_cp) + "\r\n\r\n" + S("後"_cp) + "\r\n",
       {"", "", ""},
       "<>前<>\r\n後<>\r\n"_cp},
      {"the end marker stops playback; nothing after it is shown",
       S("見える"_cp) + "\r\n#End\r\n" + S("見えない"_cp) + "\r\n",
       {"", ""},
       "<>見える<>\r\n"_cp},
      {"the end marker in lower case", S("a") + "\r\n#end\r\n" + S("b"), {"", ""}, "<>a<>\r\n"},
      {"the end marker in upper case", S("a") + "\r\n#END\r\n" + S("b"), {"", ""}, "<>a<>\r\n"},
      {"the end marker in mixed case", S("a") + "\r\n#eNd\r\n" + S("b"), {"", ""}, "<>a<>\r\n"},
      {"the end marker as the first line", "#End\r\n" + S("a"), {""}, "<>\r\n"},
      {"a space before the marker: shown as the transform makes it", " #End\r\n", {"", ""}, "<>/,Jak<>\r\n"},
      {"a space after the marker: shown too", "#End \r\n", {"", ""}, "<>,Jak/<>\r\n"},
      {"a scrambled marker is shown as #End and playback goes on",
       S("#End") + "\r\n" + S("続き"_cp),
       {"", "", ""},
       "<>#End<>続き<>\r\n"_cp},
      {"two tokens in different cases both become the name",
       S("「"_cp) + "$playername" + S("と"_cp) + "$PLAYERNAME" + S("」"_cp) + "\r\n",
       {"", ""},
       "<>「ミナトとミナト」<>\r\n"_cp},
      {"a token alone on a line and at the line's ends",
       "$PlayerName\r\n$PlayerName" + S("、"_cp) + "\r\n" + S("・"_cp) + "$pLaYeRnAmE\r\n",
       {"", "", "", ""},
       "<>ミナト<>ミナト、<>・ミナト<>\r\n"_cp},
      {"half a token is scrambled text like any other",
       "$Player" + S("x"),
       {"", ""},
       std::string("<>") + ScrambleText("$Player") + "x<>\r\n"},
      {"a second byte that reads as $ never starts a token",
       // 8C unscrambles to the lead byte 83; its second byte 24 belongs to it.
       "\x8C$PlayerName",
       {"", ""},
       "<>" + ScrambleText("\x8C$PlayerName") + "<>\r\n"},
      {"typed text at the opening wait turns every pause off",
       S("a") + "\r\n" + S("b") + "\r\n\r\n" + S("c"),
       {"x"},
       "<x>a\r\nb\r\n\r\nc\r\n\r\n"},
      {"typed text at a pause turns the later pauses off",
       S("a") + "\r\n" + S("b") + "\r\n" + S("c") + "\r\n" + S("d"),
       {"", "", "go"},
       "<>a<>b<go>c\r\nd\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Play(c.file, c.typed), c.log) << c.what;
}

TEST_F(ScenarioFile, NextPlaybackStartsWithItsOwnOpeningWait) {
  const std::string path = Fixture(S("a") + "\r\n" + S("b"));
  PlaybackDevice device({"x", "", "", ""});
  Console console;
  console.Bind(device);
  PlayScenario(console, path, "ミナト"_cp);
  PlayScenario(console, path, "ミナト"_cp);
  console.FlushOutput();
  EXPECT_EQ(device.log, "<x>a\r\nb\r\n\r\n<>a<>b<>\r\n");
}

// The run ends through the failure report, before the opening wait.
void ExpectFailsBeforeTheWait(const std::string& path) {
  test::ConsoleScript script({"typed"});
  Console& console = script.Console();
  console.Write("before");
  const int status = RunGuarded(console, [&] { PlayScenario(console, path, "ミナト"_cp); });
  EXPECT_EQ(status, 1) << path;
  EXPECT_EQ(script.LinesLeft(), 1u) << "no opening wait";
  const std::string out = script.Output();
  ASSERT_EQ(out.substr(0, 8), "before\r\n");
  EXPECT_TRUE(test::IsFailureReport(out.substr(8), "ファイル "_cp + path + " は開けません"_cp)) << path;
}

// A file above the limit is never read.
TEST_F(ScenarioFile, FileThatCannotBeReadEndsTheRunBeforeTheWait) {
  const std::string missing = dir_ + "/none.dat";
  const std::string folder = dir_ + "/folder.dat";
  ASSERT_TRUE(test::MakeFolder(folder));
  const std::string tooLarge = Fixture(std::string(ScenarioFileLimit + 1, '\n'));
  for (const std::string& path : {missing, folder, tooLarge}) ExpectFailsBeforeTheWait(path);
}

TEST_F(ScenarioFile, AFifoIsNeverWaitedOn) {
  VELKOR_ONLY_ON_POSIX("FIFOs");
  const std::string fifo = dir_ + "/fifo.dat";
  ASSERT_TRUE(test::MakeFifo(fifo));
  ExpectFailsBeforeTheWait(fifo);
}

TEST_F(ScenarioFile, FileOfExactlyTheLimitPlays) {
  const std::string head = S("a") + "\r\n#End\r\n";
  const std::string file = head + std::string(ScenarioFileLimit - head.size(), 'x');
  ASSERT_EQ(file.size(), ScenarioFileLimit);
  EXPECT_EQ(Play(file, {"x"}), "<x>a\r\n\r\n");
}

TEST(ScenarioFromStory, ScramblesAllButMarkersAndTokensAndEndsLinesWithCrLf) {
  // The source is UTF-8, written here as escapes: "あ$PlayerName" CR LF,
  // "#END" LF, an empty line, "ソ" CR, " #end" with no line end.
  const std::string source = "\xE3\x81\x82$PlayerName\r\n#END\n\n\xE3\x82\xBD\r #end";
  EXPECT_EQ(ScenarioFromStory(source),
            S("あ"_cp) + "$PlayerName\r\n#END\r\n\r\n" + S("ソ"_cp) + "\r\n" + S(" #end") + "\r\n");
  EXPECT_EQ(ScenarioFromStory(""), "");
  EXPECT_EQ(ScenarioFromStory("$playerNAME$PlayerName"), "$playerNAME$PlayerName\r\n");
}

TEST(ScenarioFromStory, NamesTheLineThatCodePage932CannotHold) {
  const std::vector<std::string> bad = {
      "ok\n\xFF\xFE\n",          // not UTF-8
      "ok\ncaf\xC3\xA9\n",       // U+00E9 has no code page 932 form
      "ok\n\xF0\x9F\x98\x80\n",  // nor has an emoji
  };
  for (const std::string& source : bad) {
    try {
      ScenarioFromStory(source);
      ADD_FAILURE() << "accepted " << source;
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, 7), "line 2 ") << e.what();
    }
  }
}

TEST_F(ScenarioFile, AFileMadeFromAStoryPlaysBackItsText) {
  // "雨だ。" LF "$PlayerName、ソポ" LF #end LF "秘密"
  const std::string source =
      "\xE9\x9B\xA8\xE3\x81\xA0\xE3\x80\x82\n$PlayerName\xE3\x80\x81\xE3\x82\xBD\xE3\x83\x9D\n"
      "#end\n\xE7\xA7\x98\xE5\xAF\x86\n";
  EXPECT_EQ(Play(ScenarioFromStory(source), {"", "", ""}), "<>雨だ。<>ミナト、ソポ<>\r\n"_cp);
}

}  // namespace
}  // namespace velkor
