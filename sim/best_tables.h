#pragma once
// The solved tables of the best play, shared by every thread of the program:
// each matchup (a build against a roster entry) is solved once, kept in
// memory for the rest of the run, and kept in the cache folder for the next
// one. One solve runs at a time, so that memory stays that of one solve.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/best_solver.h"
#include "sim/build.h"

namespace velkor::sim {

// What getting one table took.
struct TableNote {
  Build Character;
  std::int32_t Enemy = 0;
  PlanSet Plans = PlanSet::Candidates;
  bool Loaded = false;    // read from the cache folder
  bool Saved = false;     // written to it
  double CpuSeconds = 0;  // of the solve (or of reading the file)
  SolveReport Report;     // of the solve
  double StartValue = 0;
};

struct MatchupTable {
  SolvedTable Table;                     // without choices or values when the solve was out of reach
  std::vector<std::vector<Plan>> Plans;  // [tokens]: what the table's choices index
  TableNote Note;                        // how it was got
};

class TableStore {
 public:
  TableStore() = default;
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // The one store of the program: velkor-sim's policies are made by name,
  // one per thread, and all of them share the tables, which take seconds to
  // minutes each to solve.
  static TableStore& Shared();

  // Where tables are kept ("" keeps none), and which plans they choose among.
  void Configure(std::string cacheFolder, PlanSet plans);
  PlanSet Plans() const;
  // Told when a solve begins and how far it has come (0..1), from the
  // solving thread; for a progress line.
  void OnSolve(std::function<void(const TableNote& note, double done)> progress);

  // The table of build against roster entry enemy, loaded or solved first.
  std::shared_ptr<const MatchupTable> Get(const Build& build, std::int32_t enemy);

 private:
  mutable std::mutex mutex_;
  std::string folder_;
  PlanSet plans_ = PlanSet::Candidates;
  std::function<void(const TableNote&, double)> progress_;
  std::map<std::string, std::shared_ptr<const MatchupTable>> tables_;
};

// The build that made fighter (its base stats and talents).
Build BuildOf(const TFighter& fighter);

}  // namespace velkor::sim
