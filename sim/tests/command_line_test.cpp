#include "sim/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "data/tables.h"
#include "testsupport/console_script.h"
#include "testsupport/process_runner.h"
#include "testsupport/system.h"
#include "testsupport/test_files.h"

namespace velkor::sim {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string_view> args, std::string& error) {
  return ParseCommandLine(args, error);
}

TEST(ParseCommandLine, EveryOption) {
  std::string error;
  const auto line = Parse({"battles", "--stats", "30,30,10,24", "--talents", "c", "--policy", "random", "-n",
                           "500", "--seed", "4294967295", "--policy-seed", "0", "--threads", "3", "--csv"},
                          error);
  ASSERT_TRUE(line) << error;
  EXPECT_EQ(line->Run, CommandLine::Mode::Battles);
  EXPECT_EQ(line->Character, (Build{{30, 30, 10, 24}, {0, 0, 1, 0}}));
  EXPECT_EQ(line->Policy, "random");
  EXPECT_EQ(line->Runs, 500u);
  EXPECT_EQ(line->Seed, 4294967295u);
  EXPECT_EQ(line->PolicySeed, 0u);
  EXPECT_EQ(line->Threads, 3u);
  EXPECT_TRUE(line->Csv);

  const auto search = Parse({"search", "--step", "10", "--enemy", "7", "--top", "3"}, error);
  ASSERT_TRUE(search) << error;
  EXPECT_EQ(search->Step, 10);
  EXPECT_EQ(search->Enemy, 6);  // typed as in the table, from 1
  EXPECT_EQ(search->Top, 3u);
  EXPECT_FALSE(search->Sharded);

  const auto shard = Parse({"search", "--shard", "3/7"}, error);
  ASSERT_TRUE(shard) << error;
  EXPECT_TRUE(shard->Sharded);
  EXPECT_EQ(shard->Part, 2u);  // typed from 1
  EXPECT_EQ(shard->Parts, 7u);

  const auto merge = Parse({"merge", "a.csv", "--top", "4", "b.csv", "--csv"}, error);
  ASSERT_TRUE(merge) << error;
  EXPECT_EQ(merge->Run, CommandLine::Mode::Merge);
  EXPECT_EQ(merge->Files, (std::vector<std::string>{"a.csv", "b.csv"}));
  EXPECT_EQ(merge->Top, 4u);
  EXPECT_TRUE(merge->Csv);

  const auto defaults = Parse({"hunts"}, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->Character, (Build{{25, 25, 25, 25}, {}}));
  EXPECT_EQ(defaults->Policy, "lookahead");
  EXPECT_EQ(defaults->Runs, 0u);
  EXPECT_EQ(DefaultRuns(CommandLine::Mode::Hunts), 10000u);
  EXPECT_EQ(DefaultRuns(CommandLine::Mode::Search), 1000u);
  EXPECT_EQ(defaults->Threads, 0u);
  EXPECT_EQ(defaults->Seed, 1u);
  EXPECT_EQ(defaults->PolicySeed, 1u);

  const auto solve =
      Parse({"solve", "--enemy", "9", "--plans", "every", "--cache", "tables", "--csv"}, error);
  ASSERT_TRUE(solve) << error;
  EXPECT_EQ(solve->Run, CommandLine::Mode::Solve);
  EXPECT_EQ(solve->Enemy, 8);
  EXPECT_EQ(solve->Plans, PlanSet::Every);
  EXPECT_EQ(solve->Cache, "tables");
  const auto best = Parse({"hunts", "--policy", "best"}, error);
  ASSERT_TRUE(best) << error;
  EXPECT_EQ(best->Plans, PlanSet::Candidates);
  EXPECT_FALSE(best->Cache) << "the default folder is the program's to find";

  const auto trace = Parse({"battles", "--trace", "--enemy", "7", "--seed", "3"}, error);
  ASSERT_TRUE(trace) << error;
  EXPECT_TRUE(trace->Trace);
  EXPECT_EQ(trace->Enemy, 6);
  EXPECT_EQ(trace->Knows, Knowledge::Veteran);
  EXPECT_EQ(Parse({"hunts", "--knowledge", "newcomer"}, error)->Knows, Knowledge::Newcomer);

  const auto advise = Parse({"advise", "-n", "20", "--check", "0", "--cache", "t"}, error);
  ASSERT_TRUE(advise) << error;
  EXPECT_EQ(advise->Run, CommandLine::Mode::Advise);
  EXPECT_EQ(advise->Step, 10);  // coarse by default: minutes, not hours
  EXPECT_EQ(advise->Check, 0u);
  EXPECT_EQ(DefaultRuns(CommandLine::Mode::Advise), 100u);

  EXPECT_EQ(Parse({"--help"}, error)->Run, CommandLine::Mode::Help);
  EXPECT_EQ(Parse({"hunts", "-n", "5", "--help"}, error)->Run, CommandLine::Mode::Help);
}

TEST(ParseCommandLine, RefusesWithAMessage) {
  struct Case {
    std::vector<std::string_view> args;
    const char* error;
  };
  const Case cases[] = {
      {{}, "battles, hunts, search, merge, solve or advise"},
      {{"fight"}, "unknown mode"},
      {{"battles", "--verbose"}, "unknown option"},
      {{"battles", "-n"}, "-n wants a value"},
      {{"battles", "-n", "0"}, "-n wants a whole number"},
      {{"battles", "-n", "12x"}, "-n wants a whole number"},
      {{"battles", "-n", "4294967297"}, "-n wants a whole number 1..4294967296"},
      {{"battles", "--seed", "4294967296"}, "--seed wants"},
      {{"battles", "--policy-seed", "-1"}, "--policy-seed wants"},
      {{"battles", "--threads", "0"}, "--threads wants"},
      {{"battles", "--policy", "smart"}, "unknown policy \"smart\"; known: greedy lookahead random"},
      {{"battles", "--stats", "50,50,50,50"}, "costs 200 points"},
      {{"hunts", "--talents", "x"}, "--talents"},
      {{"battles", "--step", "5"}, "belong to search"},
      {{"hunts", "--enemy", "3"}, "belong to search"},
      {{"search", "--stats", "25,25,25,25"}, "do not apply"},
      {{"search", "--enemy", "13"}, "--enemy wants a whole number 1..12"},
      {{"search", "--step", "0"}, "--step wants"},
      {{"hunts", "--shard", "1/2"}, "belong to search"},
      {{"search", "--shard", "3/2"}, "--shard wants K/N"},
      {{"search", "--shard", "0/2"}, "--shard wants K/N"},
      {{"search", "--shard", "2"}, "--shard wants K/N"},
      {{"search", "--shard", "1/x"}, "--shard wants K/N"},
      {{"battles", "--plans", "every"}, "belong to --policy best and solve"},
      {{"hunts", "--cache", "/tmp/x"}, "belong to --policy best and solve"},
      {{"solve", "--plans", "all"}, "--plans wants candidates or every"},
      {{"search", "--policy", "best"}, "search cannot take --policy best"},
      {{"battles", "--policy", "best", "--stats", "20,20,20,20", "--talents", "d"}, "cannot play talent d"},
      {{"solve", "--stats", "20,20,20,20", "--talents", "bd"}, "cannot play talent d"},
      {{"battles", "--trace"}, "--trace belongs to battles, with --enemy K"},
      {{"hunts", "--trace", "--enemy", "3"}, "--trace belongs to battles"},
      {{"battles", "--trace", "--enemy", "3", "--csv"}, "has no CSV"},
      {{"battles", "--enemy", "3"}, "belong to search"},
      {{"hunts", "--knowledge", "expert"}, "--knowledge wants veteran or newcomer"},
      {{"battles", "--knowledge", "newcomer", "--policy", "best"}, "--knowledge newcomer is for"},
      {{"search", "--knowledge", "newcomer", "--shard", "1/2"}, "--knowledge newcomer is for"},
      {{"advise", "--stats", "25,25,25,25"}, "advise takes --step, -n, --check"},
      {{"advise", "--policy", "greedy"}, "advise takes"},
      {{"advise", "--top", "3"}, "advise takes"},
      {{"advise", "--knowledge", "newcomer"}, "wants --check 0"},
      {{"hunts", "--check", "2"}, "--check belongs to advise"},
      {{"merge"}, "merge wants the part files"},
      {{"merge", "a.csv", "--step", "5"}, "merge takes part files, --csv and --top"},
      {{"merge", "a.csv", "--top"}, "--top wants"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseCommandLine(c.args, error));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST(HelpText, ListsEveryOptionAndPolicy) {
  const std::string help = HelpText();
  for (const char* word : {"battles|hunts|search",
                           "--stats HP,ATK,DEF,SPD",
                           "--talents LETTERS",
                           "--policy NAME",
                           "-n N",
                           "--seed S",
                           "--threads T",
                           "--csv",
                           "--step P",
                           "--enemy K",
                           "--top K",
                           "--shard K/N",
                           "--trace",
                           "--knowledge K",
                           "--check K",
                           "advise [--step P]",
                           "merge [--csv] [--top K] FILE...",
                           "solve [--stats",
                           "--plans SET",
                           "--cache DIR",
                           "--help",
                           "greedy:",
                           "lookahead:",
                           "random:",
                           "best:"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

// The menu's letters with the talents' names as the game shows them, in the
// terminal's UTF-8 rather than the game's code page 932.
TEST(HelpText, NamesTheTalentsAsTheGameDoes) {
  const std::string help = HelpText();
  for (std::size_t t = 0; t < velkor::TalentNames.size(); ++t) {
    const std::string entry = std::string(1, static_cast<char>('a' + t)) + " " +
                              velkor::test::Cp932ToUtf8(std::string(velkor::TalentNames[t]));
    EXPECT_NE(help.find(entry), std::string::npos) << t;
  }
  EXPECT_EQ(help.find("EvilEye"), std::string::npos);
}

// The built program, beside the game.
std::string SimProgram() { return velkor::test::ProgramBesideGame("velkor-sim"); }

TEST(VelkorSim, ExitStatusAndOutputForScripts) {
  // Standard error is not part of the output.
  const auto run = [](const std::string& args) {
    std::vector<std::string> argv{SimProgram()};
    std::istringstream words(args);
    for (std::string word; words >> word;) argv.push_back(word);
    return velkor::test::RunProcess(argv, ".", "", 60, {}, false);
  };
  const auto bad = run("battles --stats 1,2,3");
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_EQ(bad.output, "");
  const auto help = run("--help");
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.output, HelpText());

  const auto csv = run("battles --csv -n 40 --threads 2");
  ASSERT_EQ(csv.exitStatus, 0);
  std::size_t lines = 0;
  for (const char c : csv.output) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 13u);
  EXPECT_EQ(csv.output.substr(0, csv.output.find('\n')),
            "index,enemy,battles,wins,win_rate,ci_low,ci_high,avg_turns,avg_hp_left");
  EXPECT_EQ(run("battles --csv -n 40 --threads 1").output, csv.output) << "threads change nothing";
  EXPECT_EQ(run("hunts -n 300 --threads 1 --policy random").output,
            run("hunts -n 300 --threads 2 --policy random").output);
}

// solve prints each enemy's exact chance and what the solve cost, and keeps
// the table: the next run reads it.
TEST(VelkorSim, SolveKeepsItsTableForTheNextRun) {
  velkor::test::ScopedTempDir temp;
  const auto run = [&] {
    return velkor::test::RunProcess({SimProgram(), "solve", "--stats", "4,40,21,35", "--enemy", "12",
                                     "--cache", temp.Path() + "/tables", "--csv"},
                                    ".", "", 120, {}, false);
  };
  const auto first = run();
  ASSERT_EQ(first.exitStatus, 0) << first.output;
  const auto second = run();
  ASSERT_EQ(second.exitStatus, 0) << second.output;
  const auto row = [](const std::string& output) {
    const std::size_t start = output.find('\n') + 1;
    return output.substr(start, output.find('\n', start) - start);
  };
  EXPECT_EQ(first.output.substr(0, first.output.find('\n')),
            "index,enemy,plans,chance,states,plans_tried,distinct_plans,moves,sweeps,cpu_seconds,mib,table,"
            "remark");
  // Moving first decides, 35 to 50.
  EXPECT_EQ(row(first.output).substr(0, 3), "12,");
  EXPECT_NE(row(first.output).find(",candidates,0.411765,384000,"), std::string::npos) << first.output;
  EXPECT_NE(row(first.output).find(",solved, saved,"), std::string::npos);
  EXPECT_NE(row(second.output).find(",candidates,0.411765,"), std::string::npos) << second.output;
  EXPECT_NE(row(second.output).find(",read,"), std::string::npos);
}

// The memory does not grow with -n: the largest one runs in a small address
// space for a moment (interrupted by the time limit) instead of failing to
// allocate at the start.
TEST(VelkorSim, TheLargestRunCountRunsInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  VELKOR_ONLY_ON_POSIX("address space limits");
  for (const char* command : {"battles", "hunts", "search"}) {
    const auto run = velkor::test::RunProcess({SimProgram(), command, "-n", "4294967296", "--threads", "2"},
                                              ".", "", 2, {-1, 256LL << 20}, true);
    EXPECT_TRUE(run.timedOut) << command << ": " << run.exitStatus << "\n" << run.output;
  }
}

// Nor with --threads: the finest search keeps one tally per build, shared by
// its threads, and runs in 256 MiB of address space on 2 threads as on the
// most that may be asked for (it needed about 300 MB and 90 MB more a
// thread).
TEST(VelkorSim, TheFinestSearchRunsInBoundedMemoryWhateverTheThreads) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer maps far more than any memory limit allows";
#endif
  VELKOR_ONLY_ON_POSIX("address space limits");
  for (const char* threads : {"2", "1024"}) {
    const auto run =
        velkor::test::RunProcess({SimProgram(), "search", "--step", "1", "-n", "1000", "--threads", threads},
                                 ".", "", 3, {-1, 256LL << 20}, true);
    EXPECT_TRUE(run.timedOut) << threads << ": " << run.exitStatus << "\n" << run.output;
  }
}

}  // namespace
}  // namespace velkor::sim
