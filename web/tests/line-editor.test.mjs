// The page's line editor against the terminal itself (xterm.js without a
// screen, with the page's Unicode 11 widths): after every key the screen
// must show the prompt followed by the line, and the cursor must stand on
// the character after the editor's cursor.
//   node --test web/tests/   (with the packages of web/package.json installed)
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { test } from "node:test";

import { LineEditor, MaxCharacters } from "../line-editor.js";
import { terminalWidths } from "../terminal-widths.js";

const require = createRequire(process.env.VELKOR_NODE_MODULES ? `${process.env.VELKOR_NODE_MODULES}/` : import.meta.url);
const { Terminal } = require("@xterm/headless");
const { Unicode11Addon } = require("@xterm/addon-unicode11");

const Left = "\x1b[D";
const Right = "\x1b[C";
const Home = "\x1b[H";
const End = "\x1bOF";
const Delete = "\x1b[3~";
const Backspace = "\x7f";

function write(term, data) {
  return new Promise((resolve) => term.write(data, resolve));
}

// A terminal showing the prompt; the editor begun after it.
async function prompted({ columns, rows = 6, prompt, above = 0 }) {
  const term = new Terminal({ cols: columns, rows, allowProposedApi: true });
  const widthOf = terminalWidths(term, Unicode11Addon);
  await write(term, "\r\n".repeat(above) + prompt);
  const promptRow = term.buffer.active.baseY + term.buffer.active.cursorY;
  const editor = new LineEditor(widthOf);
  await write(term, editor.begin(columns, term.buffer.active.cursorX));
  return { term, editor, promptRow };
}

// The prompt and the line as the screen shows them, rows joined, and the
// character under the cursor.
function screen(term, promptRow) {
  const buffer = term.buffer.active;
  let text = "";
  for (let row = promptRow; row < buffer.length; ++row) text += buffer.getLine(row).translateToString(true);
  const cursorLine = buffer.getLine(buffer.baseY + buffer.cursorY);
  const cell = cursorLine.getCell(buffer.cursorX);
  return { text, underCursor: cell ? cell.getChars() : "" };
}

async function typeAll({ term, editor, promptRow }, keys) {
  let result;
  for (const key of keys) {
    result = editor.feed(key);
    await write(term, result.output);
    if (result.line !== undefined) return result;
    const shown = screen(term, promptRow);
    assert.equal(shown.text.replace(/^.*?＞/, ""), editor.text, `line after ${JSON.stringify(key)}`);
    const expected = editor.characters[editor.cursor] ?? "";
    assert.equal(shown.underCursor, expected, `cursor after ${JSON.stringify(key)}`);
  }
  return result;
}

const cases = [
  {
    name: "Backspace takes a whole wide character",
    keys: ["a", "名", "前", Backspace],
    line: "a名",
  },
  {
    name: "Left, Home and End move over whole characters; typing inserts",
    keys: ["ミナ", "ト", Left, Left, "X", Home, "<", End, ">"],
    line: "<ミXナト>",
  },
  {
    name: "Delete and Ctrl-D take the character under the cursor",
    keys: ["あいう", Home, Delete, Right, "\x04"],
    line: "い",
  },
  {
    name: "Ctrl-U and Ctrl-K cut before and after the cursor",
    keys: ["abcdef", Left, Left, "\x0b", Left, "\x15", "Z"],
    line: "Zd",
  },
  {
    name: "a mark that combines stays with its character",
    keys: ["か\u3099", "き", Left, Backspace],
    line: "き",
  },
  {
    name: "keys that mean nothing here put nothing in",
    keys: ["a", "\x1b[A", "\x1bOP", "\t", "\x1bx", "\x1b[15~", "b"],
    line: "ab",
  },
  {
    name: "a wide character that does not fit at the end of a row wraps whole",
    columns: 11,
    keys: ["ab", "漢字漢字", Home, "x", Home, Delete, Delete, End, Backspace],
    line: "b漢字漢",
  },
  {
    name: "a line that fills its row exactly, then grows and shrinks",
    columns: 10,
    keys: ["1234567", "8", "9", Backspace, Backspace, "全", "角", Home, Delete],
    line: "234567全角",
  },
  {
    name: "edits at the start of a line that scrolled the screen",
    columns: 8,
    rows: 3,
    above: 2,
    keys: ["あいうえお", Home, "x", Delete, End, Backspace],
    line: "xいうえ",
  },
];

for (const { name, keys, line, columns = 20, rows, above } of cases) {
  test(name, async () => {
    const typing = await prompted({ columns, rows, prompt: "名前＞", above });
    const result = await typeAll(typing, [...keys, "\r"]);
    assert.equal(result.line, line);
    assert.equal(result.rest, "");
  });
}

test("a prompt that fills its row puts the line on the next row", async () => {
  const typing = await prompted({ columns: 6, prompt: "名前＞" });
  const result = await typeAll(typing, ["ab", Left, "c", "\r"]);
  assert.equal(result.line, "acb");
  assert.equal(screen(typing.term, typing.promptRow).text, "名前＞acb");
});

test("a paste of several lines gives the first, and keeps the rest for the next", async () => {
  const typing = await prompted({ columns: 20, prompt: "名前＞" });
  const result = typing.editor.feed("abc\r\n2行目\r\n");
  assert.equal(result.line, "abc");
  assert.equal(result.rest, "2行目\r\n");
  assert.ok(result.output.endsWith("\r\n"));
});

test("Ctrl-D ends the input only on an empty line", async () => {
  const typing = await prompted({ columns: 20, prompt: "名前＞" });
  assert.equal(typing.editor.feed("\x04").line, null);
  const other = await prompted({ columns: 20, prompt: "名前＞" });
  assert.equal(other.editor.feed("a\x04").line, undefined);
});

test("the line takes at most its limit of characters", async () => {
  const typing = await prompted({ columns: 80, rows: 60, prompt: "名前＞" });
  typing.editor.feed("あ".repeat(MaxCharacters - 1));
  const result = typing.editor.feed("いう\r");
  assert.equal(result.line, "あ".repeat(MaxCharacters - 1) + "い");
});
