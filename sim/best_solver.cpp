#include "sim/best_solver.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <unordered_map>

namespace velkor::sim {

namespace {

// A turn's outcomes under one plan, as the solve uses them. Outcomes in
// which somebody is hurt lead to a smaller sum of hit points; they are kept
// by what they take and leave, merged whatever the order of their hits
// (Kernel). The order matters only where both fighters would fall in the
// turn: the chance that the enemy falls first is kept for those hit points
// (Corner). Outcomes in which nobody is hurt stay at the same hit points
// (Still).
struct KernelMove {
  float Chance = 0;
  std::uint16_t PlayerLoss = 0;
  std::uint16_t EnemyLoss = 0;
  std::uint8_t TokensAfter = 0;
};

struct StillMove {
  float Chance = 0;
  std::uint8_t TokensAfter = 0;
};

struct PlanMoves {
  std::uint32_t Kernel = 0;
  std::uint32_t KernelEnd = 0;
  std::uint32_t Still = 0;
  std::uint32_t StillEnd = 0;
  std::size_t Corner = 0;  // [playerHP-1][enemyHP-1] from here
  std::int32_t CornerPlayer = 0;
  std::int32_t CornerEnemy = 0;
  float Leave = 1;         // the chance that somebody is hurt
  std::int32_t Kept = -1;  // its row at the current sum, when it has still moves
  bool Same = false;       // its moves are those of an earlier plan of the same tokens
};

struct Moves {
  std::vector<std::uint32_t> First;  // [tokens]: its first plan; [TokenStates]: the end
  std::vector<PlanMoves> Plan;
  std::vector<KernelMove> Kernel;
  std::vector<StillMove> Still;
  std::vector<float> Corner;
  std::int32_t Kept = 0;

  std::uint64_t Bytes() const {
    return Plan.size() * sizeof(PlanMoves) + Kernel.size() * sizeof(KernelMove) +
           Still.size() * sizeof(StillMove) + Corner.size() * sizeof(float);
  }
};

// Where both fighters would fall in a turn that went as o, the enemy falls
// first at hit points in a few rectangles, one per run of hits on it: the
// enemy's hit points within the run, the player's above what the player had
// lost before it (and at most its whole loss). Calls f(playerLow,
// playerHigh, enemyLow, enemyHigh) for each.
template <class F>
void ForEachFirstFall(const TurnOutcome& o, F f) {
  const std::int32_t p = o.PlayerLoss();
  std::int32_t lostP = 0;
  std::int32_t lostE = 0;
  for (std::size_t h = 0; h < o.Hits; ++h) {
    const std::int32_t hit = o.Trace[h];
    if (hit < 0) {
      lostP -= hit;
      continue;
    }
    if (lostP < p) f(lostP + 1, p, lostE + 1, lostE + hit);
    lostE += hit;
  }
}

// Adds plan's moves from outcomes to moves; a plan whose moves are those of
// an earlier plan of the same tokens is marked Same and keeps nothing.
class MoveMaker {
 public:
  explicit MoveMaker(Moves& moves) : moves_(moves) {}

  void StartTokens() { known_.clear(); }

  void Add(const std::vector<TurnOutcome>& outcomes) {
    PlanMoves plan;
    plan.Kernel = static_cast<std::uint32_t>(moves_.Kernel.size());
    plan.Still = static_cast<std::uint32_t>(moves_.Still.size());
    std::array<double, TokenStates> still{};
    keyed_.clear();
    std::int32_t cornerPlayer = 0;
    std::int32_t cornerEnemy = 0;
    for (const TurnOutcome& o : outcomes) {
      const std::int32_t p = o.PlayerLoss();
      const std::int32_t e = o.EnemyLoss();
      if (p == 0 && e == 0) {
        still[o.TokensAfter] += o.Chance;
        continue;
      }
      keyed_.emplace_back(std::uint64_t{o.TokensAfter} << 32 |
                              std::uint64_t{static_cast<std::uint16_t>(p)} << 16 |
                              std::uint64_t{static_cast<std::uint16_t>(e)},
                          o.Chance);
      if (p > 0 && e > 0) {
        cornerPlayer = std::max(cornerPlayer, p);
        cornerEnemy = std::max(cornerEnemy, e);
      }
    }
    std::sort(keyed_.begin(), keyed_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed_.size();) {
      double chance = 0;
      const std::uint64_t key = keyed_[i].first;
      for (; i < keyed_.size() && keyed_[i].first == key; ++i) chance += keyed_[i].second;
      KernelMove move;
      move.Chance = static_cast<float>(chance);
      move.TokensAfter = static_cast<std::uint8_t>(key >> 32);
      move.PlayerLoss = static_cast<std::uint16_t>(key >> 16);
      move.EnemyLoss = static_cast<std::uint16_t>(key);
      moves_.Kernel.push_back(move);
    }
    double stay = 0;
    for (std::size_t t = 0; t < TokenStates; ++t) {
      if (still[t] <= 0) continue;
      stay += still[t];
      moves_.Still.push_back({static_cast<float>(still[t]), static_cast<std::uint8_t>(t)});
    }
    plan.KernelEnd = static_cast<std::uint32_t>(moves_.Kernel.size());
    plan.StillEnd = static_cast<std::uint32_t>(moves_.Still.size());
    plan.Leave = static_cast<float>(1.0 - stay);

    // The rectangles of all outcomes, each a difference at four corners,
    // added up at once.
    plan.Corner = moves_.Corner.size();
    plan.CornerPlayer = cornerPlayer;
    plan.CornerEnemy = cornerEnemy;
    if (cornerPlayer > 0) {
      const auto width = static_cast<std::size_t>(cornerEnemy) + 2;
      corner_.assign((static_cast<std::size_t>(cornerPlayer) + 2) * width, 0.0);
      const auto at = [&](std::int32_t hp, std::int32_t he) -> double& {
        return corner_[static_cast<std::size_t>(hp) * width + static_cast<std::size_t>(he)];
      };
      for (const TurnOutcome& o : outcomes) {
        if (o.PlayerLoss() == 0 || o.EnemyLoss() == 0) continue;
        ForEachFirstFall(o, [&](std::int32_t p1, std::int32_t p2, std::int32_t e1, std::int32_t e2) {
          at(p1, e1) += o.Chance;
          at(p1, e2 + 1) -= o.Chance;
          at(p2 + 1, e1) -= o.Chance;
          at(p2 + 1, e2 + 1) += o.Chance;
        });
      }
      for (std::int32_t hp = 1; hp <= cornerPlayer; ++hp) {
        for (std::int32_t he = 1; he <= cornerEnemy; ++he) {
          at(hp, he) += at(hp - 1, he) + at(hp, he - 1) - at(hp - 1, he - 1);
          moves_.Corner.push_back(static_cast<float>(at(hp, he)));
        }
      }
    }

    // The same moves as an earlier plan: its value is that plan's, and the
    // earlier one is preferred on a tie anyway.
    const std::uint64_t h = Hash(plan);
    for (auto [at, end] = known_.equal_range(h); at != end; ++at) {
      if (Equal(moves_.Plan[at->second], plan)) {
        moves_.Kernel.resize(plan.Kernel);
        moves_.Still.resize(plan.Still);
        moves_.Corner.resize(plan.Corner);
        plan = moves_.Plan[at->second];
        plan.Same = true;
        plan.Kept = -1;
        moves_.Plan.push_back(plan);
        return;
      }
    }
    known_.emplace(h, moves_.Plan.size());
    if (plan.StillEnd > plan.Still) plan.Kept = moves_.Kept++;
    moves_.Plan.push_back(plan);
  }

 private:
  template <class T>
  static std::uint64_t HashBytes(std::uint64_t h, const T* data, std::size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < count * sizeof(T); ++i) h = (h ^ bytes[i]) * 0x100000001B3u;
    return h;
  }
  std::uint64_t Hash(const PlanMoves& plan) const {
    std::uint64_t h = 0xCBF29CE484222325u;
    for (std::uint32_t k = plan.Kernel; k < plan.KernelEnd; ++k) {
      const KernelMove& m = moves_.Kernel[k];
      h = HashBytes(h, &m.Chance, 1);
      h = HashBytes(h, &m.PlayerLoss, 1);
      h = HashBytes(h, &m.EnemyLoss, 1);
      h = HashBytes(h, &m.TokensAfter, 1);
    }
    for (std::uint32_t s = plan.Still; s < plan.StillEnd; ++s) {
      h = HashBytes(h, &moves_.Still[s].Chance, 1);
      h = HashBytes(h, &moves_.Still[s].TokensAfter, 1);
    }
    return HashBytes(h, moves_.Corner.data() + plan.Corner, moves_.Corner.size() - plan.Corner);
  }
  bool Equal(const PlanMoves& a, const PlanMoves& b) const {
    const auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    if (a.KernelEnd - a.Kernel != b.KernelEnd - b.Kernel || a.StillEnd - a.Still != b.StillEnd - b.Still ||
        a.CornerPlayer != b.CornerPlayer || a.CornerEnemy != b.CornerEnemy)
      return false;
    for (std::uint32_t i = 0; i < a.KernelEnd - a.Kernel; ++i) {
      const KernelMove& x = moves_.Kernel[a.Kernel + i];
      const KernelMove& y = moves_.Kernel[b.Kernel + i];
      if (!same(x.Chance, y.Chance) || x.PlayerLoss != y.PlayerLoss || x.EnemyLoss != y.EnemyLoss ||
          x.TokensAfter != y.TokensAfter)
        return false;
    }
    for (std::uint32_t i = 0; i < a.StillEnd - a.Still; ++i) {
      const StillMove& x = moves_.Still[a.Still + i];
      const StillMove& y = moves_.Still[b.Still + i];
      if (!same(x.Chance, y.Chance) || x.TokensAfter != y.TokensAfter) return false;
    }
    const std::size_t cells =
        static_cast<std::size_t>(a.CornerPlayer) * static_cast<std::size_t>(a.CornerEnemy);
    return cells == 0 || std::memcmp(moves_.Corner.data() + a.Corner, moves_.Corner.data() + b.Corner,
                                     cells * sizeof(float)) == 0;
  }

  Moves& moves_;
  std::vector<std::pair<std::uint64_t, double>> keyed_;
  std::vector<double> corner_;
  std::unordered_multimap<std::uint64_t, std::size_t> known_;
};

// The values of every state, by sums of hit points: [tokens][sum][playerHP],
// the enemy's hit points being the sum less the player's.
class SumRows {
 public:
  SumRows(std::int32_t playerHP, std::int32_t enemyHP)
      : width_(static_cast<std::size_t>(playerHP) + 1),
        sums_(static_cast<std::size_t>(playerHP + enemyHP) + 1),
        values_(TokenStates * sums_ * width_, 0.0f) {}
  float* Row(int tokens, std::int32_t sum) {
    return values_.data() +
           (static_cast<std::size_t>(tokens) * sums_ + static_cast<std::size_t>(sum)) * width_;
  }
  std::size_t Width() const { return width_; }
  std::uint64_t Bytes() const { return values_.size() * sizeof(float); }

 private:
  std::size_t width_;
  std::size_t sums_;
  std::vector<float> values_;
};

// acc[lo..hi] on sum d gains chance times the value of the turn's end for
// a turn that takes playerLoss and enemyLoss (not both 0) and leaves tokens:
// the value where it leaves both standing, 1 where only the enemy falls, 0
// where only the player does. Where both would fall the caller adds the
// chance that the enemy falls first.
void AddMove(SumRows& rows, float* acc, std::int32_t d, std::int32_t lo, std::int32_t hi, float chance,
             std::int32_t playerLoss, std::int32_t enemyLoss, int tokens) {
  const std::int32_t from = std::max(lo, playerLoss + 1);
  const std::int32_t to = std::min(hi, d - enemyLoss - 1);
  if (from <= to) {
    const float* __restrict src = rows.Row(tokens, d - playerLoss - enemyLoss) - playerLoss;
    float* __restrict dst = acc;
#pragma omp simd
    for (std::int32_t L = from; L <= to; ++L) dst[L] += chance * src[L];
  }
  const std::int32_t won = std::max({lo, playerLoss + 1, d - enemyLoss});
#pragma omp simd
  for (std::int32_t L = won; L <= hi; ++L) acc[L] += chance;
}

void AddStill(SumRows& rows, float* acc, std::int32_t d, std::int32_t lo, std::int32_t hi, float chance,
              int tokens) {
  const float* __restrict src = rows.Row(tokens, d);
  float* __restrict dst = acc;
#pragma omp simd
  for (std::int32_t L = lo; L <= hi; ++L) dst[L] += chance * src[L];
}

// How far the values have come: moves built, then sums solved.
class Progress {
 public:
  Progress(const std::function<void(double)>& told, std::int32_t sums) : told_(told), sums_(sums) {}
  void Built(int tokens) const {
    if (told_) told_(0.1 * (tokens + 1) / TokenStates);
  }
  void Solved(std::int32_t sum) const {
    if (told_) told_(0.1 + 0.9 * static_cast<double>(sum) / static_cast<double>(sums_));
  }

 private:
  const std::function<void(double)>& told_;
  std::int32_t sums_;
};

// Chance of winning at every state when the plan is chosen before the
// enemy's plan is known: the choice is kept in table.
bool SolveAhead(TurnModel& model, PlanSet set, SolvedTable& table, SolveReport& report,
                std::uint64_t memoryLimit, const Progress& progress) {
  const std::int32_t P = table.PlayerHP;
  const std::int32_t E = table.EnemyHP;
  Moves moves;
  {
    MoveMaker maker(moves);
    std::vector<Plan> plans;
    std::vector<TurnOutcome> outcomes;
    for (int t = 0; t < TokenStates; ++t) {
      moves.First.push_back(static_cast<std::uint32_t>(moves.Plan.size()));
      maker.StartTokens();
      PlansOf(model, set, t, plans);
      for (const Plan& plan : plans) {
        model.Outcomes(t, plan, outcomes);
        maker.Add(outcomes);
        report.Outcomes += outcomes.size();
        if (moves.Bytes() > memoryLimit) {
          report.OutOfReach = "the moves of " + std::to_string(plans.size()) + " plans from " +
                              std::to_string(t + 1) + " of " + std::to_string(TokenStates) +
                              " token counts already take " + std::to_string(moves.Bytes() >> 20) + " MiB";
          return false;
        }
      }
      // Twice the bound at the pace so far: no need to build the rest.
      const std::uint64_t pace = moves.Bytes() / static_cast<std::uint64_t>(t + 1) * TokenStates;
      if (pace > 2 * memoryLimit) {
        report.OutOfReach = "the moves of " + std::to_string(plans.size()) + " plans from each of " +
                            std::to_string(TokenStates) + " token counts would take about " +
                            std::to_string(pace >> 20) + " MiB (" + std::to_string(moves.Bytes() >> 20) +
                            " MiB from the first " + std::to_string(t + 1) + ")";
        return false;
      }
      progress.Built(t);
    }
    moves.First.push_back(static_cast<std::uint32_t>(moves.Plan.size()));
  }

  SumRows rows(P, E);
  const std::size_t width = rows.Width();
  std::vector<float> kept(static_cast<std::size_t>(moves.Kept) * width, 0.0f);
  std::vector<float> base(TokenStates * width, 0.0f);
  std::vector<std::int32_t> baseChoice(TokenStates * width, -1);
  std::vector<float> acc(width, 0.0f);
  table.Choice.assign(report.States, 0);
  table.Value.assign(report.States, 0.0f);

  report.PlansTried = moves.Plan.size();
  report.Transitions = moves.Kernel.size() + moves.Still.size();
  for (const PlanMoves& plan : moves.Plan) report.DistinctPlans += plan.Same ? 0 : 1;
  report.BytesHeld = moves.Bytes() + rows.Bytes() + kept.size() * sizeof(float) +
                     table.Choice.size() * sizeof(std::uint16_t) + table.Value.size() * sizeof(float);

  const auto plansOf = [&](int t) {
    return std::pair{moves.First[static_cast<std::size_t>(t)], moves.First[static_cast<std::size_t>(t) + 1]};
  };
  for (std::int32_t d = 2; d <= P + E; ++d) {
    const std::int32_t lo = std::max(1, d - E);
    const std::int32_t hi = std::min(P, d - 1);
    for (int t = 0; t < TokenStates; ++t) {
      float* best = base.data() + static_cast<std::size_t>(t) * width;
      std::int32_t* bestChoice = baseChoice.data() + static_cast<std::size_t>(t) * width;
      std::fill(best + lo, best + hi + 1, -1.0f);
      std::fill(bestChoice + lo, bestChoice + hi + 1, -1);
      const auto [first, end] = plansOf(t);
      for (std::uint32_t g = first; g < end; ++g) {
        const PlanMoves& plan = moves.Plan[g];
        if (plan.Same) continue;
        float* const a = acc.data();
        std::fill(a + lo, a + hi + 1, 0.0f);
        if (plan.CornerPlayer > 0) {
          const float* c = moves.Corner.data() + plan.Corner;
          const std::int32_t from = std::max(lo, d - plan.CornerEnemy);
          const std::int32_t to = std::min(hi, plan.CornerPlayer);
          for (std::int32_t L = from; L <= to; ++L)
            a[L] += c[static_cast<std::size_t>(L - 1) * static_cast<std::size_t>(plan.CornerEnemy) +
                      static_cast<std::size_t>(d - L - 1)];
        }
        for (std::uint32_t k = plan.Kernel; k < plan.KernelEnd; ++k) {
          const KernelMove& m = moves.Kernel[k];
          AddMove(rows, a, d, lo, hi, m.Chance, m.PlayerLoss, m.EnemyLoss, m.TokensAfter);
        }
        if (plan.Kept < 0) {
          for (std::int32_t L = lo; L <= hi; ++L) {
            if (a[L] > best[L]) {
              best[L] = a[L];
              bestChoice[L] = static_cast<std::int32_t>(g);
            }
          }
        } else {
          std::copy(a + lo, a + hi + 1, kept.data() + static_cast<std::size_t>(plan.Kept) * width + lo);
        }
      }
    }

    // Turns in which nobody is hurt move only the tokens: sweep until the
    // values settle, from the plans that always hurt somebody upwards.
    for (int t = 0; t < TokenStates; ++t) {
      float* v = rows.Row(t, d);
      const float* b = base.data() + static_cast<std::size_t>(t) * width;
      for (std::int32_t L = lo; L <= hi; ++L) v[L] = std::max(b[L], 0.0f);
    }
    const auto valueOf = [&](const PlanMoves& plan, float* a) {
      const float* row = kept.data() + static_cast<std::size_t>(plan.Kept) * width;
      std::copy(row + lo, row + hi + 1, a + lo);
      for (std::uint32_t s = plan.Still; s < plan.StillEnd; ++s)
        AddStill(rows, a, d, lo, hi, moves.Still[s].Chance, moves.Still[s].TokensAfter);
    };
    std::uint64_t sweeps = 0;
    while (moves.Kept > 0) {
      ++sweeps;
      float moved = 0;
      for (int t = 0; t < TokenStates; ++t) {
        float* v = rows.Row(t, d);
        const auto [first, end] = plansOf(t);
        for (std::uint32_t g = first; g < end; ++g) {
          const PlanMoves& plan = moves.Plan[g];
          if (plan.Kept < 0) continue;
          valueOf(plan, acc.data());
          for (std::int32_t L = lo; L <= hi; ++L) {
            if (acc[static_cast<std::size_t>(L)] > v[L]) {
              moved = std::max(moved, acc[static_cast<std::size_t>(L)] - v[L]);
              v[L] = acc[static_cast<std::size_t>(L)];
            }
          }
        }
      }
      if (moved <= ConvergedWithin) break;
    }
    report.Sweeps += sweeps;
    report.MostSweeps = std::max(report.MostSweeps, sweeps);

    // The choice: the best plan; among plans within the convergence of the
    // best, one that always hurts somebody, else the one likeliest to: a
    // plan that only moves tokens could otherwise be chosen for ever.
    const float near = 8 * ConvergedWithin;
    std::vector<float> leave(width);
    std::vector<std::int32_t> choice(width);
    for (int t = 0; t < TokenStates; ++t) {
      const float* v = rows.Row(t, d);
      const float* b = base.data() + static_cast<std::size_t>(t) * width;
      const std::int32_t* bc = baseChoice.data() + static_cast<std::size_t>(t) * width;
      const auto [first, end] = plansOf(t);
      for (std::int32_t L = lo; L <= hi; ++L) {
        const auto l = static_cast<std::size_t>(L);
        const bool plain = bc[L] >= 0 && b[L] >= v[L] - near;
        choice[l] = plain ? bc[L] : -1;
        leave[l] = plain ? 2.0f : -1.0f;
      }
      for (std::uint32_t g = first; g < end; ++g) {
        const PlanMoves& plan = moves.Plan[g];
        if (plan.Kept < 0) continue;
        valueOf(plan, acc.data());
        for (std::int32_t L = lo; L <= hi; ++L) {
          const auto l = static_cast<std::size_t>(L);
          if (acc[l] >= v[L] - near && plan.Leave > leave[l]) {
            leave[l] = plan.Leave;
            choice[l] = static_cast<std::int32_t>(g);
          }
        }
      }
      for (std::int32_t L = lo; L <= hi; ++L) {
        const auto l = static_cast<std::size_t>(L);
        const std::int32_t c = choice[l] >= 0 ? choice[l] : std::max(bc[L], static_cast<std::int32_t>(first));
        const std::size_t at = table.Index(L, d - L, t);
        table.Choice[at] = static_cast<std::uint16_t>(static_cast<std::uint32_t>(c) - first);
        table.Value[at] = v[L];
      }
    }
    progress.Solved(d);
  }
  return true;
}

// One turn that went one way, as the 心眼 solve uses it.
struct Single {
  std::int32_t PlayerLoss = 0;
  std::int32_t EnemyLoss = 0;
  std::uint8_t TokensAfter = 0;
  std::uint8_t Falls = 0;
  std::array<std::array<std::int16_t, 4>, SlotCount>
      Fall{};  // rectangles: playerLow, playerHigh, enemyLow, enemyHigh

  bool Still() const { return PlayerLoss == 0 && EnemyLoss == 0; }
};

Single SingleOf(const TurnOutcome& o) {
  Single s;
  s.PlayerLoss = o.PlayerLoss();
  s.EnemyLoss = o.EnemyLoss();
  s.TokensAfter = o.TokensAfter;
  if (s.PlayerLoss > 0 && s.EnemyLoss > 0) {
    ForEachFirstFall(o, [&](std::int32_t p1, std::int32_t p2, std::int32_t e1, std::int32_t e2) {
      s.Fall[s.Falls++] = {static_cast<std::int16_t>(p1), static_cast<std::int16_t>(p2),
                           static_cast<std::int16_t>(e1), static_cast<std::int16_t>(e2)};
    });
  }
  return s;
}

void AddSingle(SumRows& rows, float* acc, std::int32_t d, std::int32_t lo, std::int32_t hi, float chance,
               const Single& s) {
  AddMove(rows, acc, d, lo, hi, chance, s.PlayerLoss, s.EnemyLoss, s.TokensAfter);
  for (std::size_t f = 0; f < s.Falls; ++f) {
    const auto& r = s.Fall[f];
    const std::int32_t from = std::max({lo, std::int32_t{r[0]}, d - r[3]});
    const std::int32_t to = std::min({hi, std::int32_t{r[1]}, d - r[2]});
    for (std::int32_t L = from; L <= to; ++L) acc[L] += chance;
  }
}

// With 心眼: the chance of winning at every state, the plan chosen after the
// enemy's is seen. The enemy's plans that no plan of the player's can tell
// apart are one.
bool SolveShown(TurnModel& model, PlanSet set, SolvedTable& table, SolveReport& report,
                std::uint64_t workLimit, const Progress& progress) {
  const std::int32_t P = table.PlayerHP;
  const std::int32_t E = table.EnemyHP;
  std::vector<std::pair<Plan, double>> enemyPlans;
  model.EnemyPlans(enemyPlans);
  std::vector<std::vector<Plan>> plans(TokenStates);
  std::uint64_t work = 0;
  for (int t = 0; t < TokenStates; ++t) {
    PlansOf(model, set, t, plans[static_cast<std::size_t>(t)]);
    work += enemyPlans.size() * plans[static_cast<std::size_t>(t)].size();
  }
  if (work > workLimit) {
    report.OutOfReach = std::to_string(enemyPlans.size()) +
                        " plans of the enemy, each met by every plan from each of " +
                        std::to_string(TokenStates) + " token counts, make " + std::to_string(work) +
                        " turns to weigh at every pair of hit points";
    return false;
  }
  const double first = model.PlayerFirst();
  const std::array<double, 2> odds{first, 1 - first};

  // [tokens]: the distinct ways a turn went, and for each class of the
  // enemy's plans its chance and, per plan of the player's, the way for
  // each side that may go first.
  struct Shown {
    double Chance = 0;
    std::vector<std::uint32_t> Ways;  // [plan][side]
    bool Still = false;               // some way moves only tokens
  };
  std::vector<std::vector<Single>> singles(TokenStates);
  std::vector<std::vector<Shown>> shown(TokenStates);
  std::uint64_t bytes = 0;
  for (int t = 0; t < TokenStates; ++t) {
    auto& ways = singles[static_cast<std::size_t>(t)];
    std::map<std::vector<std::int16_t>, std::uint32_t> wayIndex;
    std::map<std::vector<std::uint32_t>, std::size_t> classIndex;
    const auto& mine = plans[static_cast<std::size_t>(t)];
    for (const auto& [enemyPlan, chance] : enemyPlans) {
      Shown s;
      s.Chance = chance;
      for (const Plan& plan : mine) {
        for (const int side : {PlayerSide, EnemySide}) {
          if (odds[static_cast<std::size_t>(side)] <= 0) {
            s.Ways.push_back(0);
            continue;
          }
          const TurnOutcome o = model.Play(t, plan, enemyPlan, side);
          std::vector<std::int16_t> key(o.Trace.begin(), o.Trace.begin() + o.Hits);
          key.push_back(o.TokensAfter);
          const auto [at, fresh] = wayIndex.emplace(key, static_cast<std::uint32_t>(ways.size()));
          if (fresh) ways.push_back(SingleOf(o));
          s.Ways.push_back(at->second);
          if (ways[at->second].Still()) s.Still = true;
        }
      }
      const auto [at, fresh] = classIndex.emplace(s.Ways, shown[static_cast<std::size_t>(t)].size());
      if (fresh) {
        shown[static_cast<std::size_t>(t)].push_back(std::move(s));
      } else {
        shown[static_cast<std::size_t>(t)][at->second].Chance += chance;
      }
    }
    for (const Shown& s : shown[static_cast<std::size_t>(t)]) bytes += s.Ways.size() * sizeof(std::uint32_t);
    bytes += ways.size() * sizeof(Single);
    report.PlansTried += mine.size();
    report.Transitions += ways.size();
    report.EnemyClasses += shown[static_cast<std::size_t>(t)].size();
    progress.Built(t);
  }
  report.DistinctPlans = report.PlansTried;

  SumRows rows(P, E);
  const std::size_t width = rows.Width();
  table.Value.assign(report.States, 0.0f);
  report.BytesHeld = bytes + rows.Bytes() + table.Value.size() * sizeof(float);
  std::vector<float> base(TokenStates * width, 0.0f);
  std::vector<float> acc(width, 0.0f);
  std::vector<float> best(width, 0.0f);
  const auto playerOdds = [&](int side) { return static_cast<float>(odds[static_cast<std::size_t>(side)]); };

  for (std::int32_t d = 2; d <= P + E; ++d) {
    const std::int32_t lo = std::max(1, d - E);
    const std::int32_t hi = std::min(P, d - 1);
    // value of the enemy's class s, best over the player's plans, into
    // best; with still, the still ways at their current values too.
    const auto classValue = [&](int t, const Shown& s, bool withStill) {
      std::fill(best.begin() + lo, best.begin() + hi + 1, 0.0f);
      const auto& ways = singles[static_cast<std::size_t>(t)];
      for (std::size_t p = 0; p < s.Ways.size() / 2; ++p) {
        std::fill(acc.begin() + lo, acc.begin() + hi + 1, 0.0f);
        for (const int side : {PlayerSide, EnemySide}) {
          const float o = playerOdds(side);
          if (o <= 0) continue;
          const Single& way = ways[s.Ways[2 * p + static_cast<std::size_t>(side)]];
          if (!way.Still()) {
            AddSingle(rows, acc.data(), d, lo, hi, o, way);
          } else if (withStill) {
            AddStill(rows, acc.data(), d, lo, hi, o, way.TokensAfter);
          }
        }
        for (std::int32_t L = lo; L <= hi; ++L)
          best[static_cast<std::size_t>(L)] =
              std::max(best[static_cast<std::size_t>(L)], acc[static_cast<std::size_t>(L)]);
      }
    };
    for (int t = 0; t < TokenStates; ++t) {
      float* b = base.data() + static_cast<std::size_t>(t) * width;
      std::fill(b + lo, b + hi + 1, 0.0f);
      for (const Shown& s : shown[static_cast<std::size_t>(t)]) {
        if (s.Still) continue;
        classValue(t, s, false);
        const auto c = static_cast<float>(s.Chance);
        for (std::int32_t L = lo; L <= hi; ++L) b[L] += c * best[static_cast<std::size_t>(L)];
      }
      float* v = rows.Row(t, d);
      std::copy(b + lo, b + hi + 1, v + lo);
    }
    std::uint64_t sweeps = 0;
    while (true) {
      ++sweeps;
      float moved = 0;
      bool any = false;
      for (int t = 0; t < TokenStates; ++t) {
        float* v = rows.Row(t, d);
        std::vector<float> sum(
            base.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(t) * width),
            base.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(t + 1) * width));
        for (const Shown& s : shown[static_cast<std::size_t>(t)]) {
          if (!s.Still) continue;
          any = true;
          classValue(t, s, true);
          const auto c = static_cast<float>(s.Chance);
          for (std::int32_t L = lo; L <= hi; ++L)
            sum[static_cast<std::size_t>(L)] += c * best[static_cast<std::size_t>(L)];
        }
        for (std::int32_t L = lo; L <= hi; ++L) {
          moved = std::max(moved, sum[static_cast<std::size_t>(L)] - v[L]);
          v[L] = std::max(v[L], sum[static_cast<std::size_t>(L)]);
        }
      }
      if (!any || moved <= ConvergedWithin) break;
    }
    report.Sweeps += sweeps;
    report.MostSweeps = std::max(report.MostSweeps, sweeps);
    for (int t = 0; t < TokenStates; ++t) {
      const float* v = rows.Row(t, d);
      for (std::int32_t L = lo; L <= hi; ++L) table.Value[table.Index(L, d - L, t)] = v[L];
    }
    progress.Solved(d);
  }
  return true;
}

}  // namespace

double EndValue(const SolvedTable& table, const TurnOutcome& outcome, std::int32_t playerHP,
                std::int32_t enemyHP) {
  const TurnEnd end = Finish(outcome, playerHP, enemyHP);
  if (end.Result == BattleOutcome::Victory) return 1;
  if (end.Result == BattleOutcome::Defeat) return 0;
  return table.Value[table.Index(end.PlayerHP, end.EnemyHP, outcome.TokensAfter)];
}

void PlansOf(TurnModel& model, PlanSet set, int tokens, std::vector<Plan>& plans) {
  if (set == PlanSet::Candidates) {
    model.CandidatePlans(tokens, plans);
  } else {
    model.AllPlans(plans);
  }
}

std::optional<SolvedTable> Solve(TurnModel& model, PlanSet plans, SolveReport& report,
                                 const SolveLimits& limits,
                                 const std::function<void(double done)>& progress) {
  SolvedTable table;
  table.PlayerHP = std::max(model.Player().CurStats[StatHP], 1);
  table.EnemyHP = std::max(model.Enemy().CurStats[StatHP], 1);
  table.Plans = plans;
  report = SolveReport{};
  report.States = static_cast<std::uint64_t>(TokenStates) * static_cast<std::uint64_t>(table.PlayerHP) *
                  static_cast<std::uint64_t>(table.EnemyHP);
  const Progress told(progress, table.PlayerHP + table.EnemyHP);
  if (model.Player().HasTalent(MindEye) && model.EnemyPlansAhead()) {
    table.MindEye = true;
    if (SolveShown(model, plans, table, report, limits.MindEyeWork, told)) {
      table.StartValue = table.Value[table.Index(table.PlayerHP, table.EnemyHP, 0)];
      return table;
    }
    // Out of reach: the plan chosen ahead, as if the enemy's were not shown.
    table.MindEye = false;
    table.Value.clear();
    const std::string why = report.OutOfReach;
    const std::uint64_t states = report.States;
    report = SolveReport{};
    report.States = states;
    report.MindEyeUnused = why;
  }
  if (!SolveAhead(model, plans, table, report, limits.Memory, told)) return std::nullopt;
  table.StartValue = table.Value[table.Index(table.PlayerHP, table.EnemyHP, 0)];
  return table;
}

}  // namespace velkor::sim
