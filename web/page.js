// The page that plays VELKOR: the terminal, the line editor between the
// terminal and the game, the player's files in IndexedDB, and the end of a
// run. The game itself is the WebAssembly module (velkor.js); what it and
// the page promise each other is written in host-contract.md.
import { FitAddon } from "./xterm/addon-fit.mjs";
import { Unicode11Addon } from "./xterm/addon-unicode11.mjs";
import { Terminal } from "./xterm/xterm.mjs";
import { LineEditor } from "./line-editor.js";
import { PlayerFiles, ReportName, SaveName } from "./player-files.js";
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

const UploadLimit = 64 * 1024;

// A new instance of the game's module, its hooks set (host-contract.md).
function loadGame() {
  return createVelkor({
    velkorConsole: { inputIsTerminal: true, outputIsTerminal: true, charset: "UTF-8" },
    velkorLocale: navigator.language,
    velkorReadLine: readLine,
    velkorWrite: (bytes) => term.write(bytes.slice()),
    velkorFiles: {
      replaced: (path, bytes, kept) => stored(path, () => files.replace(path, bytes, kept)),
      appended: async (path, bytes) => {
        const done = await stored(path, () => files.append(path, bytes));
        if (done && path === ReportName) lastReportLine = bytes.slice();
        return done;
      },
    },
    onExit: showEnd,
    onAbort: () => showEnd(1),
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  });
}

// The first run's module loads while the terminal is made.
let nextGame = loadGame();

const element = (id) => document.getElementById(id);
const status = (text) => {
  element("status").textContent = text;
};

const term = new Terminal({
  fontFamily: FontStack,
  fontSize: 16,
  cursorBlink: true,
  scrollback: 5000,
  screenReaderMode: true,
  allowProposedApi: true,
  theme: { background: "#111111" },
});
const widthOf = terminalWidths(term, Unicode11Addon);
const fit = new FitAddon();
term.loadAddon(fit);
term.open(element("terminal"));
// The terminal fills what the window leaves it, also when the end of a run
// shows below it.
new ResizeObserver(() => fit.fit()).observe(element("terminal"));

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
  resolve(line === null ? null : encoder.encode(line));
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

term.onData((data) => {
  typed += data;
  takeTyped();
});

// Once the prompt is on the screen, the line starts where it ends.
function readLine() {
  return new Promise((resolve) => {
    term.write("", () => {
      const startColumn = term.buffer.active.cursorX;
      term.write(editor.begin(term.cols, startColumn));
      waiting = resolve;
      linesRead += 1;
      if (linesRead === 1) performance.mark("velkor-first-prompt");
      // For tests and tools: the game waits for a line.
      document.body.dataset.state = "reading";
      document.body.dataset.linesRead = String(linesRead);
      takeTyped();
    });
  });
}

let files = null;
let lastReportLine = null;

// The game goes on only once IndexedDB holds the change; a change the
// browser refused is a failed write to the game, and is told on the page.
async function stored(what, work) {
  if (!files) return false;
  try {
    await work();
    return true;
  } catch (error) {
    status(`${what}をブラウザに保存できませんでした（${error && error.name}）。`);
    return false;
  }
}

function download(name, bytes, type) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function showEnd(exitStatus) {
  document.body.dataset.state = "ended";
  waiting = null;
  const result = element("result");
  if (lastReportLine !== null) {
    result.textContent = `今回の記録：${reportDecoder.decode(lastReportLine).replace(/\r?\n$/, "")}`;
  } else if (exitStatus === 0) {
    result.textContent = "ゲームを終わりました。この回の記録はありません。";
  } else {
    result.textContent = `ゲームが異常終了しました（終了ステータス ${exitStatus}）。`;
  }
  element("end").hidden = false;
  element("again").focus();
}

async function play() {
  element("end").hidden = true;
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
    status(`ブラウザの保存領域が使えません（${error && error.name}）。この回の記録は残りません。`);
  }
  const game = await loading;
  for (const [name, bytes] of contents) game.FS.writeFile(name, bytes);
  game.callMain([]);
}

element("again").addEventListener("click", () => play());

element("download-report").addEventListener("click", async () => {
  const bytes = files && (await files.read(ReportName));
  if (!bytes) return status("レポートはまだありません。狩りを一度終えると一行書かれます。");
  download(ReportName, bytes, "text/plain;charset=Shift_JIS");
});

element("download-save").addEventListener("click", async () => {
  const bytes = files && (await files.read(SaveName));
  if (!bytes) return status("保存されたキャラクターはまだありません。");
  download(SaveName, bytes, "application/octet-stream");
});

element("upload-save").addEventListener("change", async (event) => {
  const [file] = event.target.files;
  event.target.value = "";
  if (!file || !files) return;
  if (file.size > UploadLimit) return status(`${file.name} は大きすぎます。save.dat を選んでください。`);
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (!(await stored(SaveName, () => files.replace(SaveName, bytes)))) return;
  status(`${file.name} を save.dat として受け取りました。次にゲームを始めるとき、ロードするかどうかを聞かれます。`);
});

// The browser may clear its storage when space runs short, unless the page
// has asked to keep it.
async function askToKeep() {
  if (!navigator.storage || !navigator.storage.persist) return;
  const kept = await navigator.storage.persist();
  if (!kept)
    status(
      "このブラウザは、空き容量が少なくなるとキャラクターとレポートを消すことがあります。ときどき save.dat をダウンロードしておいてください。",
    );
}

askToKeep();
play();
