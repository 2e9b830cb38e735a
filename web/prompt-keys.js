// What the prompt the game waits at asks for, read from the screen, for the
// page's answer buttons: the letters of a prompt such as "(abcdhxyZ)" or
// "(yn)", each with the name the menu above it gives the letter (an action,
// an enemy, a talent), a number in a range "{0～100}", a name after "＞", or
// just Enter.

const Letters = /^\(([a-zA-Z]+)\)$/;
const MenuRow = /^\(([a-zA-Z])\)(.+)$/;
const Range = /^\{(-?\d+)～(-?\d+)\}$/;

// How far above the prompt its menu may stand (the question and a refused
// answer between them).
const MenuReach = 40;

// The page's own words for the answers of a yes-or-no question "(yn)",
// where the game shows no names.
const YesNo = new Map([
  ["y", "はい"],
  ["n", "いいえ"],
]);

// rows: the screen's rows, the last one the prompt as far as the cursor.
// Returns { kind: "letters" | "number" | "text" | "enter", keys: [{ letter,
// name }] }.
export function promptKeys(rows) {
  const prompt = (rows.at(-1) ?? "").trim();
  const letters = Letters.exec(prompt);
  if (letters) return { kind: "letters", keys: lettersWithNames([...letters[1]], rows.slice(0, -1)) };
  if (Range.test(prompt)) return { kind: "number", keys: [] };
  if (prompt.endsWith("＞")) return { kind: "text", keys: [] };
  return { kind: "enter", keys: [] };
}

// The nearest menu above the prompt names the letters when it lists every
// one of them; an older menu further up (a battle's actions above a yes or
// no) names none.
function lettersWithNames(letters, above) {
  const names = new Map();
  let row = above.length - 1;
  const lowest = Math.max(0, above.length - MenuReach);
  while (row >= lowest && !MenuRow.test(above[row])) --row;
  for (; row >= lowest; --row) {
    const item = MenuRow.exec(above[row]);
    if (!item) break;
    if (!names.has(item[1])) names.set(item[1], item[2].trim().replace(/\s+/g, " "));
  }
  const named = letters.every((letter) => names.has(letter));
  const yesOrNo = letters.join("") === "yn";
  return letters.map((letter) => ({
    letter,
    name: named ? names.get(letter) : yesOrNo ? YesNo.get(letter) : "",
  }));
}
