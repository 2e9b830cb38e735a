#pragma once
// The same choices through the game's console and through the headless
// engine: a policy whose choices are written down as the letters a person
// would type, a console device that types them back at the game's prompts,
// and a reader that takes each battle's end back out of the game's text.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "battle/battle_state.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "data/tables.h"
#include "platform/cp932_literal.h"
#include "sim/policy.h"
#include "sim/simulation.h"
#include "testsupport/console_script.h"

namespace velkor::sim::test {

// The letters typed at the game's menus, in the order asked.
struct Typed {
  std::deque<char> Slots;       // "第n" menus of the planning
  std::deque<char> Candidates;  // "誰を殺しに行きますか？"
};

// Plays as inner does and writes down what a person would type for it. The
// console asks for a slot only while an action other than the end is
// affordable (3 points, "弱撃"), so only those slots are written down.
class Recorder : public Policy {
 public:
  Recorder(Policy& inner, Typed& typed) : inner_(inner), typed_(typed) {}

  void PlanActions(BattleState& battle) override {
    inner_.PlanActions(battle);
    std::int32_t points = battle.Fighters(PlayerSide).CurStats[StatSpeed];
    for (const std::uint8_t action : battle.ActionPlan[PlayerSide]) {
      if (points < ActionCosts[actWeakStrike]) break;
      typed_.Slots.push_back(ActionLetters[action]);
      if (action == actEnd) break;
      points -= ActionCosts[action];
    }
  }
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override {
    inner_.SelectAction(battle, slot, points);
    if (points >= ActionCosts[actWeakStrike])
      typed_.Slots.push_back(ActionLetters[battle.ActionPlan[PlayerSide][static_cast<std::size_t>(slot)]]);
  }
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override {
    const std::int32_t chosen = inner_.ChooseCandidate(hunt, player);
    typed_.Candidates.push_back(MenuLetter(chosen));
    return chosen;
  }
  void Meet(const EnemyNumbers& enemy) override { inner_.Meet(enemy); }
  void Reseed(std::uint32_t stream) override { inner_.Reseed(stream); }

 private:
  Policy& inner_;
  Typed& typed_;
};

using velkor::test::CrLfLines;

// Types the written-down letters at the planning menus and the candidate
// menu, "y" at every confirmation and Enter at every pause.
class Typist : public ConsoleDevice {
 public:
  explicit Typist(Typed& typed) : typed_(typed) {}

  void Put(std::string_view bytes) override {
    output_.append(bytes);
    sinceRead_.append(bytes);
  }
  bool Get(std::string& line) override {
    if (++reads_ > 1000000) return false;  // a runaway dialogue ends the run
    line = Answer();
    sinceRead_.clear();
    return true;
  }
  const std::string& Output() const { return output_; }

 private:
  std::string Answer() {
    const std::vector<std::string> lines = CrLfLines(sinceRead_);
    const std::string& prompt = lines.back();
    if (lines.size() < 2 || prompt.size() < 2 || prompt.front() != '(' || prompt.back() != ')') return "";
    const std::string& question = lines[lines.size() - 2];
    if (prompt == "(yn)") return "y";
    std::deque<char>* queue = nullptr;
    if (question.starts_with("第"_cp)) queue = &typed_.Slots;
    if (question == "誰を殺しに行きますか？"_cp) queue = &typed_.Candidates;
    if (queue == nullptr || queue->empty()) {
      ADD_FAILURE() << "nothing written down for: " << velkor::test::Cp932ToUtf8(question);
      return "";
    }
    const char letter = queue->front();
    queue->pop_front();
    return std::string(1, letter);
  }

  Typed& typed_;
  std::string output_;
  std::string sinceRead_;
  int reads_ = 0;
};

// One battle as the game's text tells it.
struct ShownBattle {
  std::string Enemy;  // from the hunt's confirmation; empty for a lone battle
  BattleOutcome Outcome = BattleOutcome::Undecided;
  std::uint64_t Turns = 0;
  std::int32_t PlayerHP = 0;  // the player's sheet on the closing screen
};

// Every battle in the game's output, in order.
inline std::vector<ShownBattle> ReadBattles(std::string_view output) {
  std::vector<ShownBattle> battles;
  ShownBattle current;
  const std::string turnLine = "******  Turn ";
  const std::string hpLine = "ＨＰ"_cp;
  const std::string confirm = "を殺しに行きます。よろしいですか？(y/n)"_cp;
  for (const std::string& line : CrLfLines(output)) {
    if (line.ends_with(confirm)) {
      current.Enemy = line.substr(0, line.size() - confirm.size());
    } else if (line.starts_with(turnLine)) {
      current.Turns = std::stoull(line.substr(turnLine.size()));
    } else if (line.starts_with(hpLine)) {
      // The player's sheet comes after the enemy's: the last one counts.
      current.PlayerHP = std::stoi(line.substr(hpLine.size(), line.find('/') - hpLine.size()));
    } else if (line.ends_with("を殺した！！"_cp) || line.ends_with("は殺されてしまった！！"_cp)) {
      current.Outcome = line.ends_with("を殺した！！"_cp) ? BattleOutcome::Victory : BattleOutcome::Defeat;
      battles.push_back(current);
      current = ShownBattle{};
    }
  }
  return battles;
}

}  // namespace velkor::sim::test
