// The answer buttons read what a prompt asks from the screen: here from the
// screens of the golden transcripts, as the game wrote them, at the prompt
// that follows a given line.
//   node --test web/tests/
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";

import { promptKeys } from "../prompt-keys.js";

const sourceDir = join(import.meta.dirname, "../..");

// The screen's rows at the first prompt (a line ending where the player
// typed, ⟨...⟩) that comes after the row `after`, that row included.
function screenAt(golden, after, occurrence = 1) {
  const text = readFileSync(join(sourceDir, golden), "utf8").replace(/\r/g, "");
  let from = -1;
  for (let seen = 0; seen < occurrence; ++seen) from = text.indexOf(after, from + 1);
  assert.ok(from >= 0, `${after} in ${golden}`);
  const prompt = text.indexOf("⟨", from);
  return text
    .slice(0, prompt)
    .replace(/⟨([^⟩]*)⟩/g, "$1")
    .split("\n");
}

const named = (keys) => keys.map(({ letter, name }) => `${letter} ${name}`.trim());

test("answers read from the game's screens", () => {
  const cases = [
    {
      what: "a plan's actions, with their names and costs",
      rows: screenAt("battle_console/tests/golden/plan_player.golden", "第1の行動をセットしてください。"),
      kind: "letters",
      keys: ["a 攻撃 5", "b 衝撃 10", "c 狙撃 6", "d 弱撃 3", "h 崩し 8", "x 防御 4", "y 回避 7", "Z おわり 0"],
    },
    {
      what: "the actions left for the second slot",
      rows: screenAt("battle_console/tests/golden/plan_player.golden", "第2の行動をセットしてください。"),
      kind: "letters",
      keys: ["a 攻撃 5", "c 狙撃 6", "d 弱撃 3", "x 防御 4", "y 回避 7", "Z おわり 0"],
    },
    {
      what: "a yes or no below a battle screen whose menu is gone",
      rows: screenAt("battle_console/tests/golden/plan_player.golden", "これでよろしいですか？"),
      kind: "letters",
      keys: ["y はい", "n いいえ"],
    },
    {
      what: "the talents asked again after a refused letter",
      rows: screenAt("opening/tests/golden/whole_definition.golden", "きみに才能はあるのかな？ （残り22ポイント）", 2),
      kind: "letters",
      keys: ["a 魔眼 12", "b 心眼 10", "c クイック 6", "Z おわり"],
    },
    {
      what: "the enemies of a round",
      rows: screenAt("game/tests/golden/whole_run.golden", "誰を殺しに行きますか？"),
      kind: "letters",
    },
    {
      what: "a number in a range",
      rows: screenAt("opening/tests/golden/whole_definition.golden", "ＨＰを入力して下さい。"),
      kind: "number",
      keys: [],
    },
    {
      what: "a name",
      rows: screenAt("opening/tests/golden/whole_definition.golden", "きみの名前を教えてね。"),
      kind: "text",
      keys: [],
    },
    {
      what: "a message that waits for Enter",
      rows: screenAt("opening/tests/golden/whole_definition.golden", "まずは定義から始めよう。"),
      kind: "enter",
      keys: [],
    },
  ];
  for (const { what, rows, kind, keys } of cases) {
    const offered = promptKeys(rows);
    assert.equal(offered.kind, kind, what);
    if (keys) assert.deepEqual(named(offered.keys), keys, what);
  }
  // Each enemy of the round is named by the menu above the question.
  const round = screenAt("game/tests/golden/whole_run.golden", "誰を殺しに行きますか？");
  const enemies = round.filter((row) => /^\([a-e]\)/.test(row)).map((row) => row.replace(/^\((.)\)/, "$1 "));
  assert.deepEqual(named(promptKeys(round).keys), enemies);
});
