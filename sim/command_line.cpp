#include "sim/command_line.h"

#include <algorithm>
#include <limits>

#include "enemy/enemy.h"
#include "sim/policy_registry.h"
#include "sim/roster_entry.h"
#include "sim/shard.h"

namespace velkor::sim {

namespace {

// A whole decimal number low..high, nothing else.
bool ReadNumber(std::string_view text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    if (n > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return false;
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (n < low || n > high) return false;
  value = n;
  return true;
}

std::string Range(std::uint64_t low, std::uint64_t high) {
  return std::to_string(low) + ".." + std::to_string(high);
}

// merge's arguments: part files, --csv and --top.
std::optional<CommandLine> ParseMerge(std::span<const std::string_view> args, std::string& error) {
  CommandLine line;
  line.Run = CommandLine::Mode::Merge;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const std::string_view arg = args[at];
    if (arg == "--help" || arg == "-h") {
      line.Run = CommandLine::Mode::Help;
      return line;
    }
    if (arg == "--csv") {
      line.Csv = true;
    } else if (arg == "--top") {
      std::uint64_t n = 0;
      if (at + 1 == args.size() || !ReadNumber(args[at + 1], 1, 1000000, n)) {
        error = "--top wants a whole number " + Range(1, 1000000);
        return std::nullopt;
      }
      line.Top = static_cast<std::size_t>(n);
      ++at;
    } else if (arg.substr(0, 1) == "-") {
      error = "merge takes part files, --csv and --top, not \"" + std::string(arg) + "\"";
      return std::nullopt;
    } else {
      line.Files.emplace_back(arg);
    }
  }
  if (line.Files.empty()) {
    error = "merge wants the part files that search --shard wrote";
    return std::nullopt;
  }
  return line;
}

// What the options have said beyond the command line's own fields.
struct Given {
  std::string_view Stats = "25,25,25,25";
  std::string_view Talents;
  bool Build = false;
  bool Search = false;  // --step, --top, --shard
  bool Enemy = false;
  bool Tables = false;  // --plans, --cache
  bool Policy = false;
  bool Top = false;
};

// An option being taken: its name and value, and where it goes.
struct Taking {
  std::string_view Option;
  std::string_view Value;
  CommandLine& Line;
  Given& Said;
  std::string& Error;

  // The value as a whole number low..high, or false with the message.
  bool Number(std::uint64_t low, std::uint64_t high, std::uint64_t& n) const {
    if (ReadNumber(Value, low, high, n)) return true;
    Error = std::string(Option) + " wants a whole number " + Range(low, high) + ", not \"" +
            std::string(Value) + "\"";
    return false;
  }
};

struct OptionEntry {
  std::string_view Name;
  std::string_view Value;  // as the help writes it; empty for a flag
  std::string_view Help;   // its lines, each printed after the column of names
  bool (*Take)(const Taking& t);
};

// Every option of the modes but merge's, in the order --help lists them.
constexpr OptionEntry Options[] = {
    {"--stats", "HP,ATK,DEF,SPD", "stat points as typed at the definition (default 25,25,25,25)",
     [](const Taking& t) {
       t.Said.Stats = t.Value;
       t.Said.Build = true;
       return true;
     }},
    // The talents' names as the game shows them, written in UTF-8 for the
    // terminal (the sources' literals would come out as code page 932).
    {"--talents", "LETTERS",
     "the definition menu's talent letters (default none):\n"
     "a \xe9\xad\x94\xe7\x9c\xbc"
     ", b \xe5\xbf\x83\xe7\x9c\xbc"
     ", c \xe3\x82\xaf\xe3\x82\xa4\xe3\x83\x83\xe3\x82\xaf"
     ", d \xe8\xb6\x85\xe5\x8f\x8d\xe5\xbf\x9c"
     "\n"
     "stats and talents together cost at most 100 points",
     [](const Taking& t) {
       t.Said.Talents = t.Value;
       t.Said.Build = true;
       return true;
     }},
    {"--policy", "NAME", "who plays the player's side (default lookahead):",
     [](const Taking& t) {
       if (!MakePolicy(t.Value)) {
         t.Error = "unknown policy \"" + std::string(t.Value) + "\"; known:";
         for (const PolicyEntry& entry : Policies()) t.Error += " " + std::string(entry.Name);
         return false;
       }
       t.Line.Policy = t.Value;
       t.Said.Policy = true;
       return true;
     }},
    {"--knowledge", "K",
     "what lookahead knows of how an enemy chooses: veteran\n"
     "(the roster's weights, default) or newcomer (every\n"
     "affordable action and the end equally likely); not\n"
     "with best, solve or --shard",
     [](const Taking& t) {
       if (t.Value != "veteran" && t.Value != "newcomer") {
         t.Error = "--knowledge wants veteran or newcomer, not \"" + std::string(t.Value) + "\"";
         return false;
       }
       t.Line.Knows = t.Value == "newcomer" ? Knowledge::Newcomer : Knowledge::Veteran;
       return true;
     }},
    {"--check", "K",
     "advise: builds of each kind re-checked by best\n"
     "(0..100, default 1; 0: lookahead's ranking alone)",
     [](const Taking& t) {
       if (t.Line.Run != CommandLine::Mode::Advise) {
         t.Error = "--check belongs to advise";
         return false;
       }
       std::uint64_t n = 0;
       if (!t.Number(0, 100, n)) return false;
       t.Line.Check = static_cast<std::size_t>(n);
       return true;
     }},
    {"--plans", "SET",
     "best, solve: the plans a table chooses among:\n"
     "candidates (the lookahead's mixes, default) or every\n"
     "plan (far larger; refused where it would not fit)",
     [](const Taking& t) {
       t.Said.Tables = true;
       if (t.Value != "candidates" && t.Value != "every") {
         t.Error = "--plans wants candidates or every, not \"" + std::string(t.Value) + "\"";
         return false;
       }
       t.Line.Plans = t.Value == "every" ? PlanSet::Every : PlanSet::Candidates;
       return true;
     }},
    {"--cache", "DIR",
     "best, solve, advise: where tables are kept (default\n"
     "$VELKOR_SIM_CACHE, else $XDG_CACHE_HOME/velkor-sim,\n"
     "else ~/.cache/velkor-sim)",
     [](const Taking& t) {
       t.Said.Tables = true;
       t.Line.Cache = std::string(t.Value);
       return true;
     }},
    {"-n", "N",
     "battles per enemy, hunts, or runs per build in search\n"
     "(default 10000; 1000 in search; 100 in advise; at most\n"
     "4294967296, one seed each)",
     [](const Taking& t) {
       // Each run has a seed of its own, and seeds are 32 bits.
       std::uint64_t n = 0;
       if (!t.Number(1, std::uint64_t{1} << 32, n)) return false;
       t.Line.Runs = n;
       return true;
     }},
    {"--seed", "S", "run i starts the game's generator at S+i (default 1)",
     [](const Taking& t) {
       std::uint64_t n = 0;
       if (!t.Number(0, std::numeric_limits<std::uint32_t>::max(), n)) return false;
       t.Line.Seed = static_cast<std::uint32_t>(n);
       return true;
     }},
    {"--policy-seed", "P",
     "a policy that draws (random) takes its own stream for\n"
     "run i from P and i, never from the game's seed\n"
     "(default 1)",
     [](const Taking& t) {
       std::uint64_t n = 0;
       if (!t.Number(0, std::numeric_limits<std::uint32_t>::max(), n)) return false;
       t.Line.PolicySeed = static_cast<std::uint32_t>(n);
       return true;
     }},
    {"--threads", "T",
     "worker threads (default: every core; at most four per\n"
     "core); results do not depend on it",
     [](const Taking& t) {
       std::uint64_t n = 0;
       if (!t.Number(1, 1024, n)) return false;
       t.Line.Threads = static_cast<unsigned>(n);
       return true;
     }},
    {"--csv", "", "comma-separated output with a header line",
     [](const Taking& t) {
       t.Line.Csv = true;
       return true;
     }},
    {"--step", "P",
     "search, advise: points per step of a stat\n"
     "(default 5; 10 in advise)",
     [](const Taking& t) {
       t.Said.Search = true;
       std::uint64_t n = 0;
       if (!t.Number(1, 100, n)) return false;
       t.Line.Step = static_cast<std::int32_t>(n);
       return true;
     }},
    {"--enemy", "K",
     "search: rank by wins against roster entry K (1..12);\n"
     "solve: only that enemy; battles --trace: the enemy",
     [](const Taking& t) {
       t.Said.Enemy = true;
       std::uint64_t n = 0;
       if (!t.Number(1, RosterSize, n)) return false;
       t.Line.Enemy = static_cast<std::int32_t>(n - 1);
       return true;
     }},
    {"--top", "K", "search: builds shown (default 10)",
     [](const Taking& t) {
       t.Said.Search = true;
       t.Said.Top = true;
       std::uint64_t n = 0;
       if (!t.Number(1, 1000000, n)) return false;
       t.Line.Top = static_cast<std::size_t>(n);
       return true;
     }},
    {"--trace", "",
     "battles: one battle against --enemy K from --seed S,\n"
     "turn by turn as the player saw it: both HP and tokens,\n"
     "the plans, the actions in order, the damage dealt",
     [](const Taking& t) {
       t.Line.Trace = true;
       return true;
     }},
    {"--shard", "K/N",
     "search: only part K of N (every N-th build from the\n"
     "K-th), written as CSV for merge; any batch system can\n"
     "run the parts apart, each as it would run alone",
     [](const Taking& t) {
       t.Said.Search = true;
       const auto shard = ParseShard(t.Value, t.Error);
       if (!shard) return false;
       t.Line.Sharded = true;
       t.Line.Part = shard->first;
       t.Line.Parts = shard->second;
       return true;
     }},
};

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : Options)
    if (entry.Name == name) return &entry;
  return nullptr;
}

// What --help says of each policy, after their one-line summaries.
constexpr std::string_view PolicyDetails =
    "lookahead plays every candidate on copies of the battle\n"
    "that agree with what the screen has shown: an experienced\n"
    "player who knows the roster (each enemy's numbers and how\n"
    "it chooses) and counts the damage printed, never this\n"
    "battle's own draws. It uses the enemy's plan with talent\n"
    "b, and chooses phase by phase with d. The same sight gives\n"
    "the same choice, so it keeps its choices and draws nothing\n"
    "from the policy seed\n"
    "best plays each turn the plan that a solved table of the\n"
    "matchup proves best: value iteration over the states a\n"
    "turn starts in (both HP, the four token counts), the\n"
    "enemy's plan from its weights and the initiative being\n"
    "the chance. It knows the enemy's numbers and weights and\n"
    "its exact HP (the printed damage tells it); with b it\n"
    "chooses against the shown plan where that can be solved.\n"
    "A table takes seconds to minutes the first time, then\n"
    "comes from the cache. Not with talent d, nor in search";

// lines, each indented to the column of descriptions.
std::string Indented(std::string_view lines, std::size_t column) {
  std::string text;
  for (std::size_t at = 0; at < lines.size();) {
    const std::size_t end = std::min(lines.find('\n', at), lines.size());
    text += std::string(column, ' ') + std::string(lines.substr(at, end - at)) + "\n";
    at = end + 1;
  }
  return text;
}

}  // namespace

std::uint64_t DefaultRuns(CommandLine::Mode mode) {
  if (mode == CommandLine::Mode::Advise) return 100;
  return mode == CommandLine::Mode::Search ? 1000 : 10000;
}

std::string BestOutOfReach(const Build& build) {
  if (build.Talents[HyperReaction] == 0) return {};
  // The fewest states any roster entry would need: a choice in a phase
  // depends on the turn start's state and on the phase, who has acted in
  // it, and the points both sides have left.
  const TFighter player = MakeFighter(build);
  std::uint64_t fewest = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t turnStarts = 0;
  for (std::int32_t index = 0; index < RosterSize; ++index) {
    const TEnemy enemy = RosterEntry(index);
    const std::uint64_t starts = std::uint64_t{256} *
                                 static_cast<std::uint64_t>(std::max(player.CurStats[StatHP], 1)) *
                                 static_cast<std::uint64_t>(std::max(enemy.CurStats[StatHP], 1));
    const std::uint64_t inTurn = starts * 2 * SlotCount *
                                 static_cast<std::uint64_t>(std::max(player.CurStats[StatSpeed], 0) + 1) *
                                 static_cast<std::uint64_t>(std::max(enemy.CurStats[StatSpeed], 0) + 1);
    if (inTurn < fewest) {
      fewest = inTurn;
      turnStarts = starts;
    }
  }
  return "--policy best cannot play talent d (" + std::to_string(turnStarts) +
         " turn starts against the smallest enemy become at least " + std::to_string(fewest) +
         " states when each action is chosen in its phase): choose a build without it";
}

std::optional<CommandLine> ParseCommandLine(std::span<const std::string_view> args, std::string& error) {
  CommandLine line;
  if (args.empty()) {
    error = "say what to run: battles, hunts, search, merge, solve or advise";
    return std::nullopt;
  }
  std::size_t at = 0;
  const std::string_view mode = args[at++];
  if (mode == "battles") {
    line.Run = CommandLine::Mode::Battles;
  } else if (mode == "hunts") {
    line.Run = CommandLine::Mode::Hunts;
  } else if (mode == "search") {
    line.Run = CommandLine::Mode::Search;
  } else if (mode == "merge") {
    return ParseMerge(args.subspan(at), error);
  } else if (mode == "solve") {
    line.Run = CommandLine::Mode::Solve;
  } else if (mode == "advise") {
    line.Run = CommandLine::Mode::Advise;
    line.Step = 10;
  } else if (mode == "--help" || mode == "-h") {
    return line;
  } else {
    error = "unknown mode \"" + std::string(mode) + "\": battles, hunts, search, merge, solve or advise";
    return std::nullopt;
  }

  Given given;
  while (at < args.size()) {
    const std::string_view option = args[at++];
    if (option == "--help" || option == "-h") {
      line.Run = CommandLine::Mode::Help;
      return line;
    }
    const OptionEntry* entry = FindOption(option);
    if (entry == nullptr) {
      error = "unknown option \"" + std::string(option) + "\"";
      return std::nullopt;
    }
    std::string_view value;
    if (!entry->Value.empty()) {
      if (at == args.size()) {
        error = std::string(option) + " wants a value";
        return std::nullopt;
      }
      value = args[at++];
    }
    if (!entry->Take({option, value, line, given, error})) return std::nullopt;
  }

  const bool search = line.Run == CommandLine::Mode::Search;
  const bool solve = line.Run == CommandLine::Mode::Solve;
  if (line.Run == CommandLine::Mode::Advise) {
    // It searches every build with lookahead and re-checks with best.
    if (given.Build || given.Policy || given.Enemy || line.Sharded || line.Csv || line.Trace || given.Top) {
      error = "advise takes --step, -n, --check, --seed, --policy-seed, --threads, --knowledge and --cache";
      return std::nullopt;
    }
    if (line.Knows == Knowledge::Newcomer && line.Check != 0) {
      error =
          "advise --knowledge newcomer wants --check 0: best's tables are solved with the roster's weights";
      return std::nullopt;
    }
    return line;
  }
  if (search && given.Build) {
    error = "search tries every build: --stats and --talents do not apply";
    return std::nullopt;
  }
  if (line.Trace && (line.Run != CommandLine::Mode::Battles || !given.Enemy || line.Csv)) {
    error = "--trace belongs to battles, with --enemy K, and has no CSV";
    return std::nullopt;
  }
  if (!search && (given.Search || (given.Enemy && !solve && !line.Trace))) {
    error = "--step, --enemy, --top and --shard belong to search (--enemy also to solve and --trace)";
    return std::nullopt;
  }
  const bool best = line.Policy == "best";
  if (given.Tables && !best && !solve) {
    error = "--plans and --cache belong to --policy best and solve";
    return std::nullopt;
  }
  if (line.Knows == Knowledge::Newcomer && (best || solve || line.Sharded)) {
    error =
        "--knowledge newcomer is for battles, hunts and search in one piece: best's tables are solved "
        "with the roster's weights, and a part file does not record it";
    return std::nullopt;
  }
  if (search && best) {
    error =
        "search cannot take --policy best: every build would be solved against every enemy, "
        "seconds to minutes each; solve and play the builds you choose with battles or hunts";
    return std::nullopt;
  }
  const std::optional<Build> build = ParseBuild(given.Stats, given.Talents, error);
  if (!build) return std::nullopt;
  line.Character = *build;
  if (best || solve) {
    error = BestOutOfReach(line.Character);
    if (!error.empty()) return std::nullopt;
  }
  return line;
}

std::string HelpText() {
  std::string text =
      "velkor-sim: battles and whole hunts of VELKOR played by a policy, many times over.\n"
      "\n"
      "usage: velkor-sim battles|hunts|search [options]\n"
      "       velkor-sim merge [--csv] [--top K] FILE...\n"
      "       velkor-sim solve [--stats ..] [--talents ..] [--enemy K] [--plans SET] [--cache DIR]\n"
      "       velkor-sim advise [--step P] [-n N] [--check K] [--seed S] [--cache DIR]\n"
      "\n"
      "  battles   fight each of the twelve roster entries N times; a table of wins,\n"
      "            win rate with its 95% interval, average turns and HP left after a win\n"
      "  hunts     play N whole hunts; how many kills the runs reach, and the share\n"
      "            that reaches the ending\n"
      "  search    try every stat split in steps of --step points with every talent set\n"
      "            the pool can pay for; rank builds by the share of N hunts that reach\n"
      "            the ending (or by wins in N battles against --enemy)\n"
      "  merge     the ranking of a search from the part files of search --shard, the\n"
      "            same as one search would print\n"
      "  solve     solve the best play of the build against each enemy (or --enemy K)\n"
      "            and print its exact chance of winning and what the solve cost\n"
      "  advise    search every build in steps of --step (default 10) points with\n"
      "            lookahead, N hunts each (default 100); re-check the best --check K\n"
      "            (default 1) with talents and without by best (solving their tables\n"
      "            the first time: minutes a build); print the build to play of each\n"
      "            kind: its share of hunts reaching the ending and, per enemy, its\n"
      "            win rate and the first turn's most frequent plan, over 10 N runs\n"
      "\n"
      "options:\n";
  constexpr std::size_t Column = 26;  // where the descriptions start
  for (const OptionEntry& entry : Options) {
    std::string usage =
        "  " + std::string(entry.Name) + (entry.Value.empty() ? "" : " ") + std::string(entry.Value);
    usage += std::string(Column > usage.size() ? Column - usage.size() : 1, ' ');
    const std::string lines = Indented(entry.Help, Column);
    text += usage + lines.substr(Column);
    if (entry.Name == "--policy") {
      for (const PolicyEntry& policy : Policies())
        text += std::string(Column + 2, ' ') + std::string(policy.Name) + ": " + std::string(policy.Summary) +
                "\n";
      text += Indented(PolicyDetails, Column);
    }
  }
  text +=
      "  --help                  this text\n"
      "\n"
      "A bad argument gets a message and exit status 2; part files that merge\n"
      "cannot take, and output that cannot be written, exit status 1; running out\n"
      "of memory, exit status 3; broken invariants of the engine (a fault of the\n"
      "program), the tables and exit status 4.\n";
  return text;
}

}  // namespace velkor::sim
