// Writes web/cp932-widths.js: the characters that code page 932 writes in
// two bytes but the terminal's Unicode 11 table gives one cell (the ellipsis,
// the dash, the circle, Greek, Cyrillic, the box lines, the user-defined
// area ...), as ranges of code points. The game lays its text out in code
// page 932 widths, so the page's terminal gives these two cells.
//   node web/make-cp932-widths.mjs NODE_MODULES > web/cp932-widths.js
// NODE_MODULES: the node_modules of web/package.json (build-web/npm/node_modules).
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";

const sourceDir = join(import.meta.dirname, "..");

// The game's own table: code page 932 codes and their characters.
export function cp932Table(source = readFileSync(join(sourceDir, "platform/cp932_table_data.h"), "utf8")) {
  // Each table is a char16_t string of escapes: u"\0\x1..." u"..." ...;
  // (tools/make_cp932_table.cpp), one unit an escape.
  const numbers = (name) =>
    [...new RegExp(`${name}\\[\\] =([^;]*);`).exec(source)[1].matchAll(/\\(?:x([0-9A-Fa-f]+)|0)/g)].map(
      (escape) => (escape[1] === undefined ? 0 : parseInt(escape[1], 16)),
    );
  const codes = numbers("DecodedCodes");
  const characters = numbers("DecodedCharacters");
  return codes.map((code, index) => ({ code, character: characters[index] }));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const { Unicode11Addon } = createRequire(`${process.argv[2]}/`)("@xterm/addon-unicode11");
  let unicode11;
  new Unicode11Addon().activate({ unicode: { register: (provider) => (unicode11 = provider) } });
  const narrow = cp932Table()
    .filter(({ code, character }) => code > 0xff && unicode11.wcwidth(character) !== 2)
    .map(({ character }) => character)
    .sort((a, b) => a - b);
  const ranges = [];
  for (const character of narrow) {
    if (ranges.length > 0 && ranges.at(-1)[1] === character - 1) ranges.at(-1)[1] = character;
    else ranges.push([character, character]);
  }
  const rows = [];
  for (let at = 0; at < ranges.length; at += 6)
    rows.push(`  ${ranges.slice(at, at + 6).map(([from, to]) => `[0x${from.toString(16)}, 0x${to.toString(16)}]`).join(", ")},`);
  process.stdout.write(
    "// Made by web/make-cp932-widths.mjs from the game's code page 932 table and\n" +
      "// the Unicode 11 addon's widths; do not edit. The characters code page 932\n" +
      "// writes in two bytes that Unicode 11 gives one cell, as ranges of code points.\n" +
      `export const DoubleByteNarrow = [\n${rows.join("\n")}\n];\n`,
  );
}
