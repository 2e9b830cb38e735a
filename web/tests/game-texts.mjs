// Every text the game writes, as lines of UTF-8, read from the sources
// themselves: the string literals of the game's folders (adjacent literals
// joined, escapes read, split at line ends), the two stories (the player's
// name at its longest) and the screens of the golden transcripts, where the
// game's pieces stand composed as the player sees them.
import { readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";

const GameFolders = ["console", "data", "sheet", "enemy", "battle", "battle_console", "hunt", "opening", "persist", "game"];

// The longest name the game takes: 16 bytes, eight full-width characters.
export const LongestName = "ＡＢＣＤＥＦＧＨ";

function filesUnder(folder, keep) {
  const found = [];
  for (const entry of readdirSync(folder, { withFileTypes: true })) {
    const path = join(folder, entry.name);
    if (entry.isDirectory()) found.push(...filesUnder(path, keep));
    else if (keep(path)) found.push(path);
  }
  return found;
}

// A C++ literal's text with its escapes read (the simple ones and \x..).
function unescape(body) {
  return body.replace(/\\(x[0-9A-Fa-f]+|[\s\S])/g, (_, escape) => {
    if (escape[0] === "x") return String.fromCharCode(parseInt(escape.slice(1), 16));
    return { n: "\n", r: "\r", t: "\t", 0: "\0" }[escape] ?? escape;
  });
}

// The texts of a source's literals: runs of literals with only blanks
// between them are one text, as the compiler joins them. Comments go first;
// a literal that holds \x escapes of bytes (not text) is left out.
function literalTexts(source) {
  const code = source.replace(/\/\/[^\n]*|\/\*[\s\S]*?\*\//g, (comment) => comment.replace(/[^\n]/g, " "));
  const texts = [];
  for (const [run] of code.matchAll(/"(?:[^"\\\n]|\\.)*"(?:\s*"(?:[^"\\\n]|\\.)*")*/g)) {
    const text = [...run.matchAll(/"((?:[^"\\\n]|\\.)*)"/g)].map(([, body]) => unescape(body)).join("");
    if (/[\x80-\xff]/.test(text.replace(/[^\x00-\xff]/g, ""))) continue;
    texts.push(text);
  }
  return texts;
}

const lines = (text) => text.split(/\r\n|\r|\n/);

export function gameTexts(sourceDir) {
  const texts = [];
  for (const folder of GameFolders) {
    const sources = filesUnder(join(sourceDir, folder), (path) => /\.(cpp|h)$/.test(path) && !/\/tests\//.test(path));
    for (const path of sources) texts.push(...literalTexts(readFileSync(path, "utf8")).flatMap(lines));
  }
  for (const story of ["story/0.txt", "story/1.txt"])
    texts.push(...lines(readFileSync(join(sourceDir, story), "utf8").replaceAll("$PlayerName", LongestName)));
  const goldens = filesUnder(sourceDir, (path) => path.endsWith(".golden") && !path.endsWith("_rounds.golden") && !/\/build/.test(path));
  for (const path of goldens) {
    // What was typed shows where it was typed.
    const screen = readFileSync(path, "utf8").replace(/⟨([^⟩]*)⟩/g, "$1");
    texts.push(...lines(screen));
  }
  return texts.filter((text) => text !== "" && !/[\x00-\x08\x0b-\x1f\x7f]/.test(text));
}
