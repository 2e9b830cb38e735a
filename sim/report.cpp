#include "sim/report.h"

#include <algorithm>
#include <cstdio>

#include "console/prompts.h"
#include "sim/interval.h"
#include "sim/roster_entry.h"

namespace velkor::sim {

namespace {

// printf into a string; every format here is short.
template <class... Args>
std::string Format(const char* format, Args... args) {
  char buffer[256];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
}

double Share(std::uint64_t part, std::uint64_t whole) {
  return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

std::string Percent(double share) { return Format("%5.1f%%", 100.0 * share); }

std::string IntervalText(const Interval& interval) {
  return "[" + Percent(interval.Low) + ", " + Percent(interval.High) + "]";
}

// text as one CSV field: its commas would part it.
std::string CsvText(std::string text) {
  std::replace(text.begin(), text.end(), ',', ';');
  return text;
}

// The widest roster name in bytes, which is also its width in columns.
constexpr std::size_t NameWidth = 12;

}  // namespace

std::string ShareWithInterval(std::uint64_t successes, std::uint64_t n) {
  return Percent(Share(successes, n)) + "  " + IntervalText(WilsonInterval(successes, n));
}

std::string BattleTable(const std::array<EnemyTally, RosterSize>& tallies, bool csv) {
  std::string out = csv ? "index,enemy,battles,wins,win_rate,ci_low,ci_high,avg_turns,avg_hp_left\n"
                        : Format("%2s  %-12s %8s %7s  %8s  %-16s %7s %8s\n", "#", "enemy", "battles", "wins",
                                 "win rate", "95% interval", "turns", "HP left");
  for (std::size_t i = 0; i < tallies.size(); ++i) {
    const EnemyTally& t = tallies[i];
    const std::string name = RosterEntry(static_cast<std::int32_t>(i)).Name.Text();
    const double rate = Share(t.Wins, t.Battles);
    const Interval interval = WilsonInterval(t.Wins, t.Battles);
    const double turns = t.Battles == 0 ? 0.0 : static_cast<double>(t.Turns) / static_cast<double>(t.Battles);
    const bool anyWin = t.Wins != 0;
    const double hp = anyWin ? static_cast<double>(t.HPLeftOnWins) / static_cast<double>(t.Wins) : 0.0;
    if (csv) {
      out += Format("%zu,", i + 1) + name +
             Format(",%llu,%llu,%.4f,%.4f,%.4f,%.3f,", static_cast<unsigned long long>(t.Battles),
                    static_cast<unsigned long long>(t.Wins), rate, interval.Low, interval.High, turns) +
             (anyWin ? Format("%.2f", hp) : "") + "\n";
    } else {
      out += Format("%2zu  ", i + 1) + PadRight(name, NameWidth) +
             Format(" %8llu %7llu    ", static_cast<unsigned long long>(t.Battles),
                    static_cast<unsigned long long>(t.Wins)) +
             Percent(rate) + "  " + IntervalText(interval) + Format(" %7.2f", turns) +
             (anyWin ? Format(" %8.1f", hp) : Format(" %8s", "-")) + "\n";
    }
  }
  return out;
}

std::string HuntTable(const HuntTally& tally, bool csv) {
  std::string out = csv ? "kills,hunts,share\n" : "kills     hunts   share\n";
  const std::uint64_t most = *std::max_element(tally.Kills.begin(), tally.Kills.end());
  double kills = 0;
  for (std::size_t k = 0; k < tally.Kills.size(); ++k) {
    const std::uint64_t n = tally.Kills[k];
    kills += static_cast<double>(k) * static_cast<double>(n);
    const double share = Share(n, tally.Hunts);
    if (csv) {
      out += Format("%zu,%llu,%.4f\n", k, static_cast<unsigned long long>(n), share);
    } else {
      const auto bar = static_cast<std::size_t>(40.0 * Share(n, most) + 0.5);
      out += Format("%5zu %9llu  ", k, static_cast<unsigned long long>(n)) + Percent(share) + "  " +
             std::string(bar, '#') + (k + 1 == tally.Kills.size() ? "  (the ending)" : "") + "\n";
    }
  }
  if (!csv) {
    out += "reached the ending: " +
           Format("%llu of %llu, ", static_cast<unsigned long long>(tally.Endings),
                  static_cast<unsigned long long>(tally.Hunts)) +
           Percent(Share(tally.Endings, tally.Hunts)) + " " +
           IntervalText(WilsonInterval(tally.Endings, tally.Hunts)) + "\n" +
           Format("average kills: %.2f\n", tally.Hunts == 0 ? 0.0 : kills / static_cast<double>(tally.Hunts));
  }
  return out;
}

std::string SearchTable(const std::vector<RankedBuild>& ranked, std::size_t top,
                        std::optional<std::int32_t> enemy, bool csv) {
  const char* counted = enemy ? "wins" : "ending";
  // Against one enemy there are no kills to count: no column for them.
  std::string out = csv ? std::string("rank,hp,atk,def,spd,talents,runs,") + (enemy ? "wins" : "endings") +
                              ",share,ci_low,ci_high" + (enemy ? "" : ",avg_kills") + "\n"
                        : Format("rank   HP ATK DEF SPD  talents  %6s  95%% interval", counted) +
                              (enemy ? "" : "      kills") + "\n";
  for (std::size_t r = 0; r < std::min(top, ranked.size()); ++r) {
    const RankedBuild& b = ranked[r];
    const auto& s = b.Character.StatPoints;
    const double share = Share(b.Successes, b.Runs);
    const Interval interval = WilsonInterval(b.Successes, b.Runs);
    const double kills = b.Runs == 0 ? 0.0 : static_cast<double>(b.Kills) / static_cast<double>(b.Runs);
    const std::string talents = TalentLetters(b.Character);
    if (csv) {
      out += Format("%zu,%d,%d,%d,%d,", r + 1, s[0], s[1], s[2], s[3]) + (talents == "-" ? "" : talents) +
             Format(",%llu,%llu,%.4f,%.4f,%.4f", static_cast<unsigned long long>(b.Runs),
                    static_cast<unsigned long long>(b.Successes), share, interval.Low, interval.High) +
             (enemy ? "" : Format(",%.3f", kills)) + "\n";
    } else {
      out += Format("%4zu  %3d %3d %3d %3d  %-7s  ", r + 1, s[0], s[1], s[2], s[3], talents.c_str()) +
             Percent(share) + "  " + IntervalText(interval) + (enemy ? "" : Format("  %5.2f", kills)) + "\n";
    }
  }
  return out;
}

std::string SolveTable(const std::vector<TableNote>& notes, bool csv) {
  std::string out =
      csv ? "index,enemy,plans,chance,states,plans_tried,distinct_plans,moves,sweeps,cpu_seconds,"
            "mib,table,remark\n"
          : Format("%2s  %-12s %8s %10s %8s %9s %7s %8s %5s  %s\n", "#", "enemy", "chance", "states", "plans",
                   "moves", "sweeps", "CPU s", "MiB", "table");
  std::string remarks;
  for (const TableNote& note : notes) {
    const std::string name = RosterEntry(note.Enemy).Name.Text();
    const SolveReport& r = note.Report;
    const bool solved = !note.Loaded && r.OutOfReach.empty();
    // Values are floats summed in float: the last place may pass 1.
    const double chance = std::clamp(note.StartValue, 0.0, 1.0);
    const std::string how = note.Loaded             ? "read"
                            : !r.OutOfReach.empty() ? "out of reach"
                            : note.Saved            ? "solved, saved"
                                                    : "solved";
    const auto u = [](std::uint64_t n) { return static_cast<unsigned long long>(n); };
    if (csv) {
      out += Format("%d,", note.Enemy + 1) + name + "," +
             (note.Plans == PlanSet::Candidates ? "candidates" : "every") +
             (r.OutOfReach.empty() ? Format(",%.6f", chance) : std::string(",")) +
             Format(",%llu,%llu,%llu,%llu,%llu,%.2f,%.1f,", u(r.States), u(r.PlansTried), u(r.DistinctPlans),
                    u(r.Transitions), u(r.Sweeps), note.CpuSeconds,
                    static_cast<double>(r.BytesHeld) / 1048576.0) +
             how + "," + CsvText(r.OutOfReach.empty() ? r.MindEyeUnused : r.OutOfReach) + "\n";
    } else {
      out += Format("%2d  ", note.Enemy + 1) + PadRight(name, NameWidth) +
             (r.OutOfReach.empty() ? Format(" %8.4f", chance) : Format(" %8s", "-"));
      if (solved) {
        out +=
            Format(" %10llu %8llu %9llu %7llu %8.1f %5.0f", u(r.States), u(r.DistinctPlans), u(r.Transitions),
                   u(r.Sweeps), note.CpuSeconds, static_cast<double>(r.BytesHeld) / 1048576.0);
      } else {
        out += Format(" %10s %8s %9s %7s %8.1f %5s", "-", "-", "-", "-", note.CpuSeconds, "-");
      }
      out += "  " + how + "\n";
    }
    if (!r.OutOfReach.empty())
      remarks += Format("enemy %d: out of reach: ", note.Enemy + 1) + r.OutOfReach + "\n";
    if (!r.MindEyeUnused.empty())
      remarks += Format("enemy %d: the plan is chosen ahead, not against the one shown: ", note.Enemy + 1) +
                 r.MindEyeUnused + "\n";
  }
  return csv || remarks.empty() ? out : out + "\n" + remarks;
}

}  // namespace velkor::sim
