// The page's terminal draws the game's text in code page 932 widths: every
// character of the game's own table, and every line of the game's texts and
// stories, drawn in xterm.js (without a screen) with the page's widths,
// takes as many cells as code page 932 (iconv's) takes bytes.
//   node --test web/tests/   (with the packages of web/package.json installed)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { createRequire } from "node:module";
import { join } from "node:path";
import { test } from "node:test";

import { cp932Table } from "../make-cp932-widths.mjs";
import { terminalWidths } from "../terminal-widths.js";
import { gameTexts } from "./game-texts.mjs";

const require = createRequire(process.env.VELKOR_NODE_MODULES ? `${process.env.VELKOR_NODE_MODULES}/` : import.meta.url);
const { Terminal } = require("@xterm/headless");
const { Unicode11Addon } = require("@xterm/addon-unicode11");

const sourceDir = join(import.meta.dirname, "../..");

// A terminal with the page's widths showing each text on a row of its own,
// each followed by a marker; gives the column where each marker stands.
async function drawnWidths(texts) {
  const term = new Terminal({ cols: 250, rows: 5, scrollback: texts.length + 10, allowProposedApi: true });
  terminalWidths(term, Unicode11Addon);
  const marker = "\u{e0}"; // à: one cell, and in no text of the game
  await new Promise((resolve) => term.write(texts.map((text) => `${text}${marker}\r\n`).join(""), resolve));
  const buffer = term.buffer.active;
  return texts.map((text, row) => {
    const line = buffer.getLine(row);
    for (let column = line.length - 1; column >= 0; --column)
      if (line.getCell(column).getChars() === marker) return column;
    return -1;
  });
}

test("every character of code page 932 takes as many cells as it has bytes", async () => {
  const printable = cp932Table().filter(({ code }) => code >= 0x20 && code !== 0x7f);
  assert.ok(printable.length > 9000, "the game's table is read");
  const widths = await drawnWidths(printable.map(({ character }) => String.fromCodePoint(character)));
  const wrong = printable
    .filter(({ code }, index) => widths[index] !== (code > 0xff ? 2 : 1))
    .map(({ code, character }) => `${code.toString(16)} ${String.fromCodePoint(character)}`);
  assert.deepEqual(wrong, []);
});

test("every line of the game's texts and stories ends where code page 932 ends it", async () => {
  const lines = [...new Set(gameTexts(sourceDir))];
  const bytes = execFileSync("iconv", ["-f", "UTF-8", "-t", "CP932"], { input: lines.join("\n") });
  // 0x0A is never the second byte of a character.
  const lengths = [];
  for (let start = 0, end; start <= bytes.length; start = end + 1) {
    end = bytes.indexOf(0x0a, start);
    if (end < 0) end = bytes.length;
    lengths.push(end - start);
  }
  assert.equal(lengths.length, lines.length);
  const widths = await drawnWidths(lines);
  const wrong = lines.filter((line, index) => widths[index] !== lengths[index]);
  assert.deepEqual(wrong, []);
  // The texts hold characters that Unicode calls ambiguous (the first test
  // has "○", "※", "×", Greek and Cyrillic).
  for (const character of ["…", "―"])
    assert.ok(
      lines.some((line) => line.includes(character)),
      `no text holds ${character}`,
    );
});
