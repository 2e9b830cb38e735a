#include "opening/definition.h"

#include <string>

#include "console/console_io.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "console/to_cp932.h"
#include "data/fighter.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"

namespace velkor {

void AskName(Console& console, TPlayer& player) {
  console.Write("まずは定義から始めよう。"_cp);
  WaitEnter(console);
  const std::string limit = std::to_string(NameLimit);
  std::string name;
  do {
    console.WriteLine("きみの名前を教えてね。"_cp);
    console.Write("[最長"_cp + limit + "バイト]＞"_cp);
    name = console.ReadLine();
    // A lead byte typed alone at the end (through a pipe) would pair with
    // the first byte of every message after the name: it is dropped, as the
    // report drops it.
    name.resize(WholeCp932Prefix(name));
    console.WriteLine();
    if (name.size() > static_cast<std::size_t>(NameLimit)) {
      console.WriteLine("長さが"_cp + limit + "バイトを越えています。"_cp);
      name.clear();
    }
  } while (name.empty());
  player.Name.Assign(name);
}

void DefineAbilities(Console& console, TPlayer& player) {
  console.Write(player.Name.Text() + "、そしてきみの意志が肉体をつくる。"_cp);
  WaitEnter(console);
  console.Write("きみの力は、きみが望むように伸びるよ。"_cp);
  WaitEnter(console);
  console.WriteLine();
  std::int32_t PointPool = InitialPointPool;
  BuyStats(console, player, PointPool);
  BuyTalents(console, player, PointPool);
  ShowSheet(console, player, false, "");
}

void DefineCharacter(Console& console, TPlayer& player) {
  AskName(console, player);
  DefineAbilities(console, player);
  RestoreStats(player);
  PlayScenario(console, ScenarioPath(0), player.Name.Text());
}

}  // namespace velkor
