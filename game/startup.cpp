#include "game/startup.h"

#include "console/console_io.h"
#include "console/failure.h"
#include "console/prompts.h"
#include "console/scenario.h"
#include "data/fighter.h"
#include "game/hunt.h"
#include "opening/definition.h"
#include "persist/report.h"
#include "persist/save_file.h"

namespace velkor {

int StartUp() {
  return RunGuarded([] {
    // A scenario file that cannot be played is found before the player has
    // typed a definition that its failure would throw away.
    CheckScenarioFiles();
    RemoveSaveLeftovers();
    ReadReportLocale();
    ClearPlayer(Player);
    WriteLine();
    bool LoadedFromSave = false;
    if (LoadPlayer(Player) && AskYesNo("前回のあなたの定義が保存されています。ロードしますか？")) {
      LoadedFromSave = true;
      WriteLine("あなたの定義がロードされました。");
      WaitEnter();
    }
    if (!LoadedFromSave) {
      // A refused or declined file has left its contents in the record.
      ClearPlayer(Player);
      DefineCharacter();
      SavePlayer();  // a failed write is told, and the run goes on from memory
    }
    Main();
  });
}

}  // namespace velkor
