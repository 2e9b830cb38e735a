#include "sim/decision_cache.h"

#include <algorithm>

namespace velkor::sim {

namespace {

// A whole build search meets at most twelve enemies a build; beyond that
// many matchups, or that many decisions (some 12 MB), everything is
// dropped and found again as needed.
constexpr std::size_t MostMatchups = 64;
constexpr std::size_t MostEntries = std::size_t{1} << 18;
constexpr std::size_t FirstEntries = std::size_t{1} << 12;

}  // namespace

void DecisionCache::Clear() {
  matchups_.clear();
  std::fill(entries_.begin(), entries_.end(), Entry{});
  used_ = 0;
}

std::uint32_t DecisionCache::Enter(const Matchup& matchup) {
  const auto known = std::find(matchups_.begin(), matchups_.end(), matchup);
  if (known != matchups_.end()) return static_cast<std::uint32_t>(known - matchups_.begin());
  if (matchups_.size() == MostMatchups) Clear();
  matchups_.push_back(matchup);
  return static_cast<std::uint32_t>(matchups_.size() - 1);
}

const DecisionCache::Plan* DecisionCache::Find(std::uint32_t matchup, const Sight& sight,
                                               std::uint64_t hash) const {
  if (entries_.empty()) return nullptr;
  const std::size_t mask = entries_.size() - 1;
  for (std::size_t at = (hash ^ matchup) & mask;; at = (at + 1) & mask) {
    const Entry& entry = entries_[at];
    if (!entry.Used) return nullptr;
    if (entry.Matchup == matchup && entry.Key == sight) return &entry.Value;
  }
}

void DecisionCache::Grow(std::size_t size) {
  std::vector<Entry> old(size);
  old.swap(entries_);
  const std::size_t mask = size - 1;
  for (const Entry& entry : old) {
    if (!entry.Used) continue;
    std::size_t at = (HashOf(entry.Key) ^ entry.Matchup) & mask;
    while (entries_[at].Used) at = (at + 1) & mask;
    entries_[at] = entry;
  }
}

void DecisionCache::Keep(std::uint32_t matchup, const Sight& sight, std::uint64_t hash, const Plan& plan) {
  if (entries_.empty()) Grow(FirstEntries);
  // At most three quarters full, so that a search stops soon.
  if (4 * (used_ + 1) > 3 * entries_.size()) {
    if (entries_.size() < MostEntries) {
      Grow(2 * entries_.size());
    } else {
      // The matchup numbers go too: keep this one's.
      const Matchup current = matchups_[matchup];
      Clear();
      matchup = Enter(current);
    }
  }
  const std::size_t mask = entries_.size() - 1;
  std::size_t at = (hash ^ matchup) & mask;
  while (entries_[at].Used) at = (at + 1) & mask;
  entries_[at] = {sight, matchup, plan, true};
  ++used_;
}

}  // namespace velkor::sim
