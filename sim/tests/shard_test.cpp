// A search run in parts and merged prints what the whole search prints.
#include "sim/shard.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/app.h"
#include "testsupport/test_files.h"

namespace velkor::sim {
namespace {

using velkor::test::ReadBytes;
using velkor::test::WriteBytes;

CommandLine Search(std::int32_t step, std::uint64_t runs, unsigned threads) {
  CommandLine line;
  line.Run = CommandLine::Mode::Search;
  line.Policy = "greedy";
  line.Step = step;
  line.Runs = runs;
  line.Seed = 5;
  line.Threads = threads;
  line.Top = 1000000;  // every build: the whole ranking must agree
  return line;
}

CommandLine Shard(CommandLine line, std::uint32_t k, std::uint32_t n) {
  line.Sharded = true;
  line.Part = k - 1;
  line.Parts = n;
  return line;
}

CommandLine Merge(const std::vector<std::string>& files, bool csv) {
  CommandLine line;
  line.Run = CommandLine::Mode::Merge;
  line.Files = files;
  line.Csv = csv;
  line.Top = 1000000;
  return line;
}

class Shards : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.Path() + "/" + name;
    WriteBytes(path, bytes);
    return path;
  }
  velkor::test::ScopedTempDir dir_;
};

TEST_F(Shards, ThreeShardsMergedPrintTheWholeSearch) {
  // Hunts and battles; and a policy that draws, whose parts carry its seed.
  for (const auto& [enemy, policy] : {std::pair{false, "greedy"}, {true, "greedy"}, {false, "random"}}) {
    CommandLine whole = Search(20, 40, 2);
    if (enemy) whole.Enemy = 6;
    whole.Policy = policy;
    whole.PolicySeed = 9;
    std::vector<std::string> parts;
    for (std::uint32_t k = 1; k <= 3; ++k) {
      // Each part on its own number of threads: parts do not depend on them.
      CommandLine part = Shard(whole, k, 3);
      part.Threads = k;
      parts.push_back(Write("part" + std::to_string(k) + ".csv", RunCommand(part, nullptr)));
    }
    // In any order of the files.
    const std::vector<std::string> shuffled{parts[2], parts[0], parts[1]};
    EXPECT_EQ(RunCommand(Merge(shuffled, false), nullptr), RunCommand(whole, nullptr)) << enemy << policy;
    whole.Csv = true;
    EXPECT_EQ(RunCommand(Merge(parts, true), nullptr), RunCommand(whole, nullptr)) << enemy << policy;
  }
}

TEST_F(Shards, APartIsTheSameWhateverTheThreadsAndHoldsOnlyItsBuilds) {
  const std::string one = RunCommand(Shard(Search(25, 300, 1), 2, 4), nullptr);
  EXPECT_EQ(RunCommand(Shard(Search(25, 300, 3), 2, 4), nullptr), one);
  // Every fourth build from the second: 295 builds at this step.
  std::size_t lines = 0;
  for (const char c : one) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 1u + (295 - 1 + 3) / 4);
  EXPECT_NE(one.find("\n2,4,greedy,25,,300,5,1,1,"), std::string::npos);
  EXPECT_NE(one.find("\n2,4,greedy,25,,300,5,1,5,"), std::string::npos);
}

// A line of a part with one column changed.
std::string WithColumn(const std::string& line, std::size_t column, const std::string& value) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (std::size_t comma; (comma = line.find(',', at)) != std::string::npos; at = comma + 1)
    fields.push_back(line.substr(at, comma - at));
  fields.push_back(line.substr(at));
  fields.at(column) = value;
  std::string joined;
  for (const std::string& field : fields) joined += (joined.empty() ? "" : ",") + field;
  return joined;
}

// Values that no search produces are refused, whichever line holds them: a
// part so edited or damaged would rank builds by numbers nobody played, and
// its text would reach the terminal.
TEST_F(Shards, MergeRefusesValuesNoSearchMakes) {
  CommandLine hunts = Search(25, 10, 1);
  CommandLine battles = hunts;
  battles.Enemy = 6;
  struct Case {
    const char* what;
    const CommandLine& search;
    std::size_t column;  // of the part's last line, changed to value
    std::string value;
    const char* error;
  };
  const char* impossible = "runs, successes or kills that no search makes";
  const Case cases[] = {
      {"no runs", hunts, 5, "0", impossible},
      {"more runs than seeds", hunts, 5, "4294967297", impossible},
      {"more successes than runs", hunts, 14, "11", impossible},
      {"more kills than twelve a hunt", hunts, 15, "121", impossible},
      {"kills in a search against one enemy", battles, 15, "1", impossible},
      {"a policy the program does not have", hunts, 2, "greedier", "a policy that velkor-sim does not have"},
      {"an escape sequence in the policy", hunts, 2, "\x1b[2J\x1b]0;x\x07greedy", "holds a control byte"},
      {"a line longer than any part's", hunts, 12, std::string(300, 'a'), "longer than any line of a part"},
  };
  for (const Case& c : cases) {
    std::string part = RunCommand(Shard(c.search, 1, 1), nullptr);
    part.pop_back();
    const std::size_t last = part.rfind('\n') + 1;
    part = part.substr(0, last) + WithColumn(part.substr(last), c.column, c.value) + "\n";
    try {
      RunCommand(Merge({Write("part.csv", part)}, false), nullptr);
      ADD_FAILURE() << c.what << ": merged";
    } catch (const MergeError& refused) {
      EXPECT_NE(std::string(refused.what()).find(c.error), std::string::npos)
          << c.what << ": " << refused.what();
    }
  }
  // 12 kills a hunt is what a search can make.
  std::string part = RunCommand(Shard(hunts, 1, 1), nullptr);
  part.pop_back();
  const std::size_t last = part.rfind('\n') + 1;
  part = part.substr(0, last) + WithColumn(part.substr(last), 15, "120") + "\n";
  EXPECT_NO_THROW(RunCommand(Merge({Write("part.csv", part)}, false), nullptr));
}

TEST_F(Shards, MergeRefusesPartsThatDoNotMakeOneSearch) {
  const CommandLine whole = Search(25, 10, 1);
  const std::string p1 = Write("p1.csv", RunCommand(Shard(whole, 1, 2), nullptr));
  const std::string p2 = Write("p2.csv", RunCommand(Shard(whole, 2, 2), nullptr));
  CommandLine otherSeed = whole;
  otherSeed.Seed = 6;
  const std::string q2 = Write("q2.csv", RunCommand(Shard(otherSeed, 2, 2), nullptr));
  CommandLine otherPolicySeed = whole;
  otherPolicySeed.PolicySeed = 2;
  const std::string r2 = Write("r2.csv", RunCommand(Shard(otherPolicySeed, 2, 2), nullptr));
  std::string lines = ReadBytes(p2);
  const std::string edited = Write("edited.csv", lines.replace(lines.find(",5,1,1,"), 7, ",5,1,0,"));
  const std::string table = Write("table.csv", RunCommand(Search(25, 10, 1), nullptr));

  struct Case {
    const char* what;
    std::vector<std::string> files;
    const char* error;
  };
  const Case cases[] = {
      {"a part left out", {p1}, "builds are missing: not given part 2 of 2"},
      {"a part given twice", {p1, p2, p2}, "comes twice: is part 2 given twice?"},
      {"another seed", {p1, q2}, "belongs to another search"},
      {"another policy seed", {p1, r2}, "belongs to another search"},
      {"a build in the wrong part", {p1, edited}, "is not the build this search has in that place"},
      {"the table, not a part", {table}, "is not a part written by search --shard"},
      {"no such file", {dir_.Path() + "/none.csv"}, "cannot read"},
  };
  for (const Case& c : cases) {
    try {
      RunCommand(Merge(c.files, false), nullptr);
      ADD_FAILURE() << c.what << ": merged";
    } catch (const MergeError& refused) {
      EXPECT_NE(std::string(refused.what()).find(c.error), std::string::npos)
          << c.what << ": " << refused.what();
    }
  }
}

}  // namespace
}  // namespace velkor::sim
