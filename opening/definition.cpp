#include "opening/definition.h"

#include <string>

#include "console/charset.h"
#include "console/console_io.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "data/fighter.h"
#include "sheet/sheet.h"

namespace velkor {

void AskName() {
  Write("まずは定義から始めよう。");
  WaitEnter();
  const std::string limit = std::to_string(NameLimit);
  std::string name;
  do {
    WriteLine("きみの名前を教えてね。");
    Write("[最長" + limit + "バイト]＞");
    name = ReadLine();
    // A lead byte typed alone at the end (through a pipe) would pair with
    // the first byte of every message after the name: it is dropped, as the
    // report drops it.
    name.resize(WholeCp932Prefix(name));
    WriteLine();
    if (name.size() > static_cast<std::size_t>(NameLimit)) {
      WriteLine("長さが" + limit + "バイトを越えています。");
      name.clear();
    }
  } while (name.empty());
  Player.Name.Assign(name);
}

void DefineAbilities() {
  Write(GetPlayerName() + "、そしてきみの意志が肉体をつくる。");
  WaitEnter();
  Write("きみの力は、きみが望むように伸びるよ。");
  WaitEnter();
  WriteLine();
  std::int32_t PointPool = InitialPointPool;
  BuyStats(PointPool);
  BuyTalents(PointPool);
  ShowSheet(Player, false, "");
}

void DefineCharacter() {
  AskName();
  DefineAbilities();
  RestoreStats(Player);
  PlayScenario(ScenarioPath(0), GetPlayerName());
}

}  // namespace velkor
