// The page that plays VELKOR: the terminal, the line editor between the
// terminal and the game, the answer buttons and the text field of a phone,
// the player's files in IndexedDB, and the end of a run. The game itself is
// the WebAssembly module (velkor.js); what it and the page promise each
// other is written in host-contract.md.
import { FitAddon } from "./xterm/addon-fit.mjs";
import { Unicode11Addon } from "./xterm/addon-unicode11.mjs";
import { Terminal } from "./xterm/xterm.mjs";
import { LineEditor } from "./line-editor.js";
import { BadSaveName, PlayerFiles, ReportName, SaveName } from "./player-files.js";
import { promptKeys } from "./prompt-keys.js";
import { terminalWidths } from "./terminal-widths.js";

// System fonts only: a Japanese monospace font of each system, before the
// generic one. A full-width character takes two cells in each of them.
const FontStack = [
  '"IPAGothic"',
  '"IPAゴシック"',
  '"Noto Sans Mono CJK JP"',
  '"VL Gothic"',
  '"Takao Gothic"',
  '"MS Gothic"',
  '"ＭＳ ゴシック"',
  '"Osaka-Mono"',
  "monospace",
].join(", ");

// The widest line the game writes in play, in columns: the hunt's heading
// with every title but the last (web/tests/widths.test.mjs measures the
// game's texts against it). The terminal's font shrinks until that many
// columns fit, down to the smallest size that stays readable; only the
// closing "今回の記録：" line, the report's line again (which the end of the
// run shows below the terminal too), can be wider.
const WidestLine = 68;
const LargestFontSize = 16;
const SmallestFontSize = 10;

const UploadLimit = 64 * 1024;
// A paste of more lines than this asks before the game gets them.
const PasteLinesToAsk = 300;

// Why the game refuses an uploaded file, by its verdict (save_file.h's
// SaveVerdict); 0 is a file the game loads.
const Refusals = new Map([
  [2, "短すぎて save.dat として読めません"],
  [3, "save.dat の中身として正しくありません（壊れているか、書き換えられたか、ほかのファイルです）"],
]);

const element = (id) => document.getElementById(id);
const status = (text) => {
  element("status").textContent = text;
};

// The player's files, or null while the browser gives no storage.
let files = null;
let storageNamed = false;

function storageProblem(text) {
  const notice = element("storage-problem");
  notice.textContent = text;
  notice.hidden = false;
}

// A new instance of the game's module, its hooks set (host-contract.md).
function loadGame() {
  return createVelkor({
    velkorConsole: { inputIsTerminal: true, outputIsTerminal: true, charset: "UTF-8" },
    velkorLocale: navigator.language,
    velkorReadLine: readLine,
    velkorWrite: (bytes) => term.write(bytes.slice()),
    velkorFiles: {
      replaced: async (path, bytes, kept) => {
        const done = await stored(path, () => files.replace(path, bytes, kept));
        if (done && path === SaveName) await characterStored();
        if (done) await showFiles();
        return done;
      },
      appended: async (path, bytes) => {
        const done = await stored(path, () => files.append(path, bytes));
        if (done && path === ReportName) lastReportLine = bytes.slice();
        if (done) await showFiles();
        return done;
      },
    },
    onExit: (exitStatus) => runEnded(exitStatus),
    onAbort: () => runEnded(1),
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  });
}

// The game goes on only once IndexedDB holds the change; a change the
// browser refused is a failed write to the game, and stays told on the page.
async function stored(what, work) {
  if (!files) return false;
  try {
    await work();
    return true;
  } catch (error) {
    storageProblem(`${what}をブラウザに保存できませんでした（${error && error.name}）。`);
    return false;
  }
}

// A module that plays no run, to ask what the game makes of a save.dat.
async function judgeSave(bytes) {
  const judge = await createVelkor({ print: () => {}, printErr: (text) => console.warn(text) });
  judge.FS.writeFile(SaveName, bytes);
  return judge._velkor_judge_save();
}

// The first run's module loads while the terminal is made.
let nextGame = loadGame();

// The room the terminal's scroll bar takes on the right.
const ScrollBarWidth = 8;

// The largest font, in steps of half a pixel, whose cells put the widest
// line in the terminal's width. A cell is as wide as the font's "W" (what
// the terminal measures), so the size is worked out before the terminal is
// made, and each change of the window's width is one change of the font.
function fittingFontSize() {
  const drawing = document.createElement("canvas").getContext("2d");
  drawing.font = `${LargestFontSize}px ${FontStack}`;
  const cellAtLargest = drawing.measureText("W").width;
  const room = element("terminal").clientWidth - ScrollBarWidth;
  for (let size = LargestFontSize; size > SmallestFontSize; size -= 0.5)
    if (Math.floor(room / ((cellAtLargest * size) / LargestFontSize)) >= WidestLine) return size;
  return SmallestFontSize;
}

const term = new Terminal({
  fontFamily: FontStack,
  fontSize: fittingFontSize(),
  cursorBlink: true,
  scrollback: 5000,
  screenReaderMode: true,
  allowProposedApi: true,
  overviewRuler: { width: ScrollBarWidth },
  theme: { background: "#111111" },
});
const widthOf = terminalWidths(term, Unicode11Addon);
const fit = new FitAddon();
term.loadAddon(fit);
term.open(element("terminal"));
// For tests and tools: the terminal, whose buffer says what wrapped.
window.velkorTerminal = term;

// As many columns and rows as the room takes, in the font that fits.
let fittedWidth = element("terminal").clientWidth;
function fitTerminal() {
  const width = element("terminal").clientWidth;
  if (width !== fittedWidth) {
    fittedWidth = width;
    const size = fittingFontSize();
    if (size !== term.options.fontSize) term.options.fontSize = size;
  }
  fit.fit();
  document.body.dataset.columns = String(term.cols);
  document.body.dataset.widestLine = String(WidestLine);
}
// At once, so that the terminal is first drawn at its size.
fitTerminal();
new ResizeObserver(() => fitTerminal()).observe(element("terminal"));

const encoder = new TextEncoder();
const reportDecoder = new TextDecoder("shift_jis");

// What was typed and not yet taken by a line, and the game's wait for one.
let typed = "";
let waiting = null;
let linesRead = 0;
const editor = new LineEditor(widthOf);

function takeTyped() {
  if (waiting === null) return;
  const { output, line, rest } = editor.feed(typed);
  typed = rest;
  if (output) term.write(output);
  if (line === undefined) return;
  const resolve = waiting;
  waiting = null;
  document.body.dataset.state = "running";
  element("keys").replaceChildren();
  resolve(line === null ? null : encoder.encode(line));
}

function give(data) {
  typed += data;
  takeTyped();
}

// In screen-reader mode the terminal lets the cursor keys move the caret of
// its hidden text field too, and the input method then composes at that
// caret, where the terminal does not look for the text: the caret stays put,
// and the line editor moves the cursor instead.
const CursorKeys = new Set(["ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "Home", "End"]);
term.attachCustomKeyEventHandler((event) => {
  if (event.type === "keydown" && !event.isComposing && CursorKeys.has(event.key)) event.preventDefault();
  return true;
});
term.onData(give);

// Text that arrives in the terminal's field without a key (a soft keyboard,
// dictation) is dropped by the terminal in screen-reader mode: it is taken
// here. A key the terminal sees, or text an input method composed, it takes
// itself.
const terminalField = element("terminal").querySelector(".xterm-helper-textarea");
let keyTaken = false;
let composing = false;
terminalField.addEventListener("keydown", (event) => {
  keyTaken = !event.isComposing && event.key !== "Unidentified" && event.key !== "Process" && event.keyCode !== 229;
});
terminalField.addEventListener("keyup", () => (keyTaken = false));
terminalField.addEventListener("compositionstart", () => (composing = true));
terminalField.addEventListener("compositionend", () => {
  composing = false;
  keyTaken = true;
});
terminalField.addEventListener("input", (event) => {
  const taken = keyTaken || composing || event.isComposing;
  keyTaken = false;
  if (taken || !event.data || !["insertText", "insertReplacementText"].includes(event.inputType)) return;
  give(event.data);
});

// A paste of many lines asks first: the game would take every line as an
// answer, for as long as they last.
element("terminal").addEventListener(
  "paste",
  async (event) => {
    const text = event.clipboardData?.getData("text/plain") ?? "";
    const count = text.split(/\r\n|\r|\n/).length;
    if (count <= PasteLinesToAsk) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    const feed = await ask(`${count.toLocaleString()} 行を貼り付けようとしています。一行ずつゲームへの答えになります。貼り付けますか？`, "貼り付ける", "やめる");
    if (feed) give(text.replace(/\r?\n/g, "\r"));
    term.focus();
  },
  true,
);

// A question of the page's own, with two answers; true for the first.
function ask(question, yes, no) {
  const dialog = element("ask");
  element("ask-text").textContent = question;
  element("ask-yes").textContent = yes;
  element("ask-no").textContent = no;
  dialog.returnValue = "";
  dialog.showModal();
  element("ask-no").focus();
  return new Promise((resolve) => {
    dialog.addEventListener("close", () => resolve(dialog.returnValue === "yes"), { once: true });
  });
}

// Once the prompt is on the screen, the line starts where it ends.
function readLine() {
  return new Promise((resolve) => {
    term.write("", () => {
      const startColumn = term.buffer.active.cursorX;
      term.write(editor.begin(term.cols, startColumn));
      waiting = resolve;
      linesRead += 1;
      if (linesRead === 1) {
        performance.mark("velkor-first-prompt");
        element("loading")?.remove();
      }
      offerAnswers();
      // For tests and tools: the game waits for a line.
      document.body.dataset.state = "reading";
      document.body.dataset.linesRead = String(linesRead);
      takeTyped();
    });
  });
}

// The screen's rows down to the prompt, the last one as far as the cursor.
function rowsToPrompt() {
  const buffer = term.buffer.active;
  const cursorRow = buffer.baseY + buffer.cursorY;
  const rows = [];
  for (let row = Math.max(0, cursorRow - 60); row < cursorRow; ++row)
    rows.push(buffer.getLine(row)?.translateToString(true) ?? "");
  rows.push(buffer.getLine(cursorRow)?.translateToString(true, 0, buffer.cursorX) ?? "");
  return rows;
}

// A button for each answer the prompt offers; the field takes numbers or
// words as the prompt asks.
function offerAnswers() {
  const { kind, keys } = promptKeys(rowsToPrompt());
  element("keys").replaceChildren(
    ...keys.map(({ letter, name }) => {
      const button = document.createElement("button");
      button.type = "button";
      const mark = document.createElement("span");
      mark.className = "letter";
      mark.textContent = letter;
      button.append(mark, name);
      button.addEventListener("click", (event) => {
        // The letter alone is the answer, whatever was typed before it.
        give(`\x01\x0b${letter}\r`);
        element("typed").value = "";
        backToTyping(event);
      });
      return button;
    }),
  );
  const field = element("typed");
  field.inputMode = kind === "number" ? "numeric" : "text";
  field.placeholder = { number: "数を入力", text: "名前を入力", letters: "文字を選ぶか入力", enter: "" }[kind];
}

// The visible field is the line: what it holds (typed, pasted, dictated, or
// put there by an input method) replaces the line being edited.
element("typed").addEventListener("input", (event) => give(`\x01\x0b${event.target.value}`));
// Enter in the field keeps the field; the button gives the keys back.
let enterPointer = "";
element("enter").addEventListener("pointerdown", (event) => (enterPointer = event.pointerType));
element("entry").addEventListener("submit", (event) => {
  event.preventDefault();
  const field = element("typed");
  field.value = "";
  give("\r");
  if (document.activeElement !== field) backToTyping({ pointerType: enterPointer });
  enterPointer = "";
});

// After a button, keys go to the terminal again. A tap on a touch screen
// leaves the focus off it, so that the soft keyboard does not cover the game
// at every answer.
function backToTyping(event) {
  if (event && event.pointerType === "touch") {
    document.activeElement?.blur();
    return;
  }
  term.focus();
}

let lastReportLine = null;
// A run that ends gives way to a new one rather than showing its end.
let restartWhenEnded = false;

function download(name, bytes, type) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function runEnded(exitStatus) {
  waiting = null;
  element("keys").replaceChildren();
  if (restartWhenEnded) {
    restartWhenEnded = false;
    play();
    return;
  }
  document.body.dataset.state = "ended";
  const result = element("result");
  if (lastReportLine !== null) {
    result.textContent = `今回の記録：${reportDecoder.decode(lastReportLine).replace(/\r?\n$/, "")}`;
  } else if (exitStatus === 0) {
    result.textContent = "ゲームを終わりました。この回の記録はありません。";
  } else {
    result.textContent = `ゲームが異常終了しました（終了ステータス ${exitStatus}）。`;
  }
  element("answers").hidden = true;
  element("end").hidden = false;
  element("again").focus();
}

async function play() {
  if (updateWaiting) return location.reload();
  element("end").hidden = true;
  element("answers").hidden = false;
  lastReportLine = null;
  typed = "";
  linesRead = 0;
  delete document.body.dataset.linesRead;
  term.reset();
  term.focus();
  document.body.dataset.state = "starting";
  // The module loads while the player's files are read.
  const loading = nextGame ?? loadGame();
  nextGame = null;
  let contents = new Map();
  try {
    files ??= await PlayerFiles.open();
    contents = await files.readAll();
  } catch (error) {
    files = null;
    if (!storageNamed) storageProblem(`ブラウザの保存領域が使えません（${error && error.name}）。キャラクターとレポートは保存されません。`);
    storageNamed = true;
  }
  const game = await loading;
  for (const [name, bytes] of contents) game.FS.writeFile(name, bytes);
  await showFiles(contents);
  game.callMain([]);
}

// What the files hold, on the page: the report's lines, newest first, and
// the refused save's button when there is one.
async function showFiles(contents = null) {
  if (!files) return;
  const report = contents ? contents.get(ReportName) : await files.read(ReportName);
  const bad = contents ? contents.has(BadSaveName) : (await files.read(BadSaveName)) !== null;
  element("download-bad").hidden = !bad;
  const lines = report ? reportDecoder.decode(report).split(/\r\n/).filter(Boolean).reverse() : [];
  element("history-lines").replaceChildren(
    ...lines.map((line) => {
      const item = document.createElement("li");
      item.textContent = line;
      return item;
    }),
  );
  element("history").querySelector("summary").textContent = `これまでの記録（${lines.length} 回）`;
}

// The browser may clear its storage when space runs short, unless the page
// has asked to keep it: asked once a character is stored, and advice given
// beside the download when the browser would not promise it.
let keepAsked = false;
async function characterStored() {
  if (keepAsked) return;
  keepAsked = true;
  const storage = navigator.storage;
  const kept = storage && storage.persist ? await storage.persist().catch(() => false) : false;
  element("advice").hidden = kept;
}

element("again").addEventListener("click", () => play());

for (const [button, name, type] of [
  ["download-report", ReportName, "text/plain;charset=Shift_JIS"],
  ["download-save", SaveName, "application/octet-stream"],
  ["download-bad", BadSaveName, "application/octet-stream"],
]) {
  element(button).addEventListener("click", async (event) => {
    backToTyping(event);
    const bytes = files && (await files.read(name));
    if (!files) status("ブラウザの保存領域が使えないので、ダウンロードできるファイルはありません。");
    else if (!bytes && name === ReportName) status("レポートはまだありません。狩りを一度終えると一行書かれます。");
    else if (!bytes) status(`${name} はまだありません。`);
    else download(name, bytes, type);
  });
}

// An upload replaces nothing until the game has said it would load it, and,
// during a run, until the player has agreed to start again with it. A stored
// save.dat that the game refuses is kept as save.dat.bad, as the game keeps
// it.
element("upload-save").addEventListener("change", async (event) => {
  const [file] = event.target.files;
  event.target.value = "";
  if (!file) return;
  try {
    await upload(file);
  } finally {
    backToTyping(null);
  }
});

async function upload(file) {
  if (!files) return status("ブラウザの保存領域が使えないので、アップロードしたファイルを保存できません。");
  if (file.size > UploadLimit) return status(`${file.name} は受け取れません：save.dat にしては大きすぎます。`);
  const bytes = new Uint8Array(await file.arrayBuffer());
  const verdict = await judgeSave(bytes);
  if (verdict !== 0) return status(`${file.name} は受け取れません：${Refusals.get(verdict) ?? "読めません"}。`);
  const inRun = document.body.dataset.state !== "ended";
  if (inRun && !(await ask(`${file.name} のキャラクターで、最初から始めますか？ いまの回は記録を残さずに終わります。`, "始める", "やめる")))
    return status(`${file.name} は使いませんでした。保存されたファイルはそのままです。`);
  const stored = await files.read(SaveName);
  const keep = stored && (await judgeSave(stored)) !== 0 ? { path: BadSaveName, bytes: stored } : null;
  try {
    await files.replace(SaveName, bytes, keep);
  } catch (error) {
    return storageProblem(`${file.name} をブラウザに保存できませんでした（${error && error.name}）。`);
  }
  await characterStored();
  await showFiles();
  status(`${file.name} を save.dat として受け取りました。始めるとき、ロードするかどうかを聞かれます。`);
  if (!inRun) return;
  // The run ends as at an empty line's Ctrl-D, which writes nothing, and the
  // next one starts.
  if (document.body.dataset.state === "ended") return play();
  restartWhenEnded = true;
  give("\x01\x0b\x04");
}

// Offline and installable: the service worker keeps the site. A new version
// is taken at the next start of a run, or at once while nothing was typed.
let updateWaiting = false;
if ("serviceWorker" in navigator) {
  window.addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(() => {}));
  const hadController = !!navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener("controllerchange", () => {
    if (!hadController) return;
    if (linesRead <= 1) return location.reload();
    updateWaiting = true;
    status("新しい版のゲームを受け取りました。次に始めるときから使われます。");
  });
}

// A wide window shows the files at once; a phone folds them away.
element("files").open = window.matchMedia("(min-width: 701px)").matches;
play();
