#include "sim/best_tables.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "sim/roster_entry.h"
#include "sim/solve_cache.h"

namespace velkor::sim {

namespace {

// The largest table file read back: every state's value of the largest
// fighters the definition can make, with room to spare.
constexpr std::size_t LargestFile = std::size_t{1} << 30;

std::string PathOf(const std::string& folder, const std::string& name) {
  if (folder.empty()) return {};
  const char last = folder.back();
  return last == '/' || last == platform::FolderSeparator() ? folder + name
                                                            : folder + platform::FolderSeparator() + name;
}

}  // namespace

Build BuildOf(const TFighter& fighter) {
  Build build;
  for (std::size_t s = 0; s < StatCount; ++s) build.StatPoints[s] = fighter.BaseStats[s] / StatMultipliers[s];
  build.Talents = fighter.Talents;
  return build;
}

TableStore& TableStore::Shared() {
  static TableStore store;
  return store;
}

void TableStore::Configure(std::string cacheFolder, PlanSet plans) {
  const std::lock_guard<std::mutex> lock(mutex_);
  folder_ = std::move(cacheFolder);
  plans_ = plans;
}

PlanSet TableStore::Plans() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return plans_;
}

void TableStore::OnSolve(std::function<void(const TableNote& note, double done)> progress) {
  const std::lock_guard<std::mutex> lock(mutex_);
  progress_ = std::move(progress);
}

std::shared_ptr<const MatchupTable> TableStore::Get(const Build& build, std::int32_t enemy) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const std::string name = TableFileName(build, enemy, plans_);
  if (const auto known = tables_.find(name); known != tables_.end()) return known->second;

  TurnModel model(MakeFighter(build), RosterEntry(enemy));
  auto made = std::make_shared<MatchupTable>();
  made->Plans.resize(TokenStates);
  for (int t = 0; t < TokenStates; ++t) PlansOf(model, plans_, t, made->Plans[static_cast<std::size_t>(t)]);

  TableNote note;
  note.Character = build;
  note.Enemy = enemy;
  note.Plans = plans_;
  const double start = platform::ThreadCpuSeconds();
  const std::string key = TableKey(model, build, enemy, plans_);
  const std::string path = PathOf(folder_, name);
  std::string bytes;
  std::optional<SolvedTable> table;
  if (!path.empty() && platform::ReadWholeFile(path, LargestFile, bytes) == platform::ReadStatus::Read)
    table = TableFromBytes(bytes, key);
  note.Loaded = table.has_value();
  if (!table) {
    const auto told = [&](double done) {
      if (progress_) progress_(note, done);
    };
    table = Solve(model, plans_, note.Report, {}, told);
    if (table) {
      // A cache that cannot be written costs the next run the solve, nothing else.
      note.Saved = !path.empty() && platform::MakeFolders(folder_) &&
                   platform::ReplaceFile(path, TableBytes(*table, key));
      if (!path.empty()) platform::RemoveStaleTemporaries(path, LargestFile);
      // The choices are what the play reads; without 心眼 the values only
      // served the solve.
      if (!table->MindEye) std::vector<float>().swap(table->Value);
    }
  }
  note.CpuSeconds = platform::ThreadCpuSeconds() - start;
  if (table) {
    note.StartValue = table->StartValue;
    made->Table = std::move(*table);
  }
  made->Note = note;
  tables_.emplace(name, made);
  return made;
}

}  // namespace velkor::sim
