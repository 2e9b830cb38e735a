// The page in a real browser: Debian's chromium, headless, driven through
// puppeteer-core (never a browser of its own). It plays as a person would,
// by keyboard, and reads the screen through the terminal's screen-reader
// text. Run by scripts/check-web.sh:
//   node browser-check.mjs URL OUTPUT_FOLDER
// with VELKOR_NODE_MODULES naming the node_modules of web/package.json.
import assert from "node:assert/strict";
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync, existsSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [url, outputFolder] = process.argv.slice(2);
const require = createRequire(`${process.env.VELKOR_NODE_MODULES}/`);
const puppeteer = require("puppeteer-core");

const Step = 20000;
const work = mkdtempSync(join(tmpdir(), "velkor-browser-"));
const downloads = join(work, "downloads");

const browser = await puppeteer.launch({
  executablePath: process.env.VELKOR_CHROMIUM || "/usr/bin/chromium",
  headless: true,
  userDataDir: join(work, "profile"),
  args: [
    "--no-sandbox",
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--no-first-run",
    "--lang=ja-JP",
    // Two tabs play at once: the one behind must draw too.
    "--disable-renderer-backgrounding",
    "--disable-background-timer-throttling",
    "--disable-backgrounding-occluded-windows",
  ],
  defaultViewport: { width: 1000, height: 800 },
});

let passed = 0;
let failed = 0;
async function check(name, body) {
  const started = Date.now();
  try {
    await body();
    passed += 1;
    console.log(`ok - ${name} (${Date.now() - started} ms)`);
  } catch (error) {
    failed += 1;
    console.log(`not ok - ${name}\n${error.stack}`);
  }
}

// The screen as drawn, once the terminal has drawn its next frame.
function screen(page) {
  return page.evaluate(async () => {
    await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    return [...document.querySelectorAll(".xterm-rows > div")].map((row) => row.textContent.trimEnd());
  });
}

// The screen as a screen reader has it: the rows of xterm's accessibility
// tree, which the terminal brings up to date at most once a second; waits
// until they say what the screen shows.
async function spoken(page) {
  const drawn = (await screen(page)).join("\n");
  await page.waitForFunction(
    (text) =>
      [...document.querySelectorAll(".xterm-accessibility-tree > div")]
        .map((row) => row.textContent.trimEnd())
        .join("\n") === text,
    { timeout: Step },
    drawn,
  );
  return drawn.split("\n");
}

function state(page) {
  return page.evaluate(() => ({
    state: document.body.dataset.state,
    linesRead: Number(document.body.dataset.linesRead || 0),
  }));
}

// Until the game waits for a line after the count given, or has ended.
async function nextRead(page, after) {
  await waitOrTell(page, () => page.waitForFunction(
    (count) =>
      document.body.dataset.state === "ended" ||
      (document.body.dataset.state === "reading" && Number(document.body.dataset.linesRead) > count),
    { timeout: Step },
    after,
  ));
  return state(page);
}

// What the page said, for a failure's report.
const pageMessages = new WeakMap();
async function waitOrTell(page, wait) {
  try {
    return await wait();
  } catch (error) {
    const rows = await screen(page).catch(() => []);
    error.message += `\nstate ${JSON.stringify(await state(page).catch(() => null))}; the page said:\n${(pageMessages.get(page) ?? []).join("\n")}\nscreen:\n${rows.filter(Boolean).slice(-12).join("\n")}`;
    throw error;
  }
}

function watch(page) {
  const messages = [];
  pageMessages.set(page, messages);
  page.on("console", (message) => messages.push(`console: ${message.text()}`));
  page.on("pageerror", (error) => messages.push(`error: ${error.message}`));
  return page;
}

// Typed as a person does: ASCII key by key, Japanese through the input
// method (composed, then committed), a word at a time.
const inputMethods = new WeakMap();
async function type(page, text) {
  for (const [word] of text.matchAll(/[\x00-\x7f]+|[^\x00-\x7f]+/g)) {
    if (word.codePointAt(0) < 0x80) {
      for (const key of word) await page.keyboard.press(key);
      continue;
    }
    if (!inputMethods.has(page)) inputMethods.set(page, await page.createCDPSession());
    const session = inputMethods.get(page);
    await session.send("Input.imeSetComposition", { text: word, selectionStart: word.length, selectionEnd: word.length });
    await session.send("Input.insertText", { text: word });
    // The terminal takes the committed text a moment later, as a person's
    // next key would come.
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Pasted as from the clipboard into the terminal.
async function paste(page, text) {
  await page.evaluate((pasted) => {
    const data = new DataTransfer();
    data.setData("text/plain", pasted);
    document.querySelector(".xterm-helper-textarea").dispatchEvent(new ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true }));
  }, text);
}

async function answer(page, text) {
  const { linesRead } = await state(page);
  await type(page, text);
  await page.keyboard.press("Enter");
  return nextRead(page, linesRead);
}

const lastLine = (rows) => rows.filter((row) => row !== "").at(-1) ?? "";

// Plays from the current prompt to the end of the run: a character of 5 HP
// and nothing else loses its first battle quickly. Returns every screen's
// last lines, for the checks.
async function playToEnd(page, { name, load, pasteName }) {
  const seen = [];
  for (let step = 0; step < 400; ++step) {
    const { state: now } = await state(page);
    if (now === "ended") return seen;
    const rows = await screen(page);
    const last = lastLine(rows);
    const before = rows.filter((row) => row !== "").at(-2) ?? "";
    seen.push(before, last);
    let reply = "";
    if (last.endsWith("[最長16バイト]＞") && pasteName) await paste(page, name);
    else if (last.endsWith("[最長16バイト]＞")) reply = name;
    else if (last.startsWith("{0～")) reply = before.startsWith("ＨＰ") ? "1" : "0";
    else if (last === "(yn)") reply = before.includes("ロードしますか") ? (load ? "y" : "n") : "y";
    else if (/^\([a-zA-Z]+\)$/.test(last)) reply = last.includes("Z") ? "Z" : "a";
    await answer(page, reply);
  }
  throw new Error(`no end after 400 answers; last screen:\n${(await screen(page)).join("\n")}`);
}

async function openGame(context) {
  // A window of its own, so that the browser draws it while another plays.
  const page = watch(await context.newPage({ type: "window" }));
  // Each tab takes its keys as if it had the focus, as two windows side by side.
  await page.emulateFocusedPage(true);
  await page.goto(url);
  await nextRead(page, 0);
  return page;
}

async function downloadFile(page, button, name) {
  const session = await page.createCDPSession();
  await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  rmSync(join(downloads, name), { force: true });
  await page.click(button);
  const deadline = Date.now() + Step;
  while (!existsSync(join(downloads, name)) || readdirSync(downloads).some((file) => file.endsWith(".crdownload"))) {
    if (Date.now() > deadline) throw new Error(`${name} was not downloaded`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return readFileSync(join(downloads, name));
}

const report = (bytes) => new TextDecoder("shift_jis").decode(bytes);
const figures = {};
const context = browser.defaultBrowserContext();
let first;

await check("the first prompt shows, then a battle is played by keyboard to its end", async () => {
  const begun = Date.now();
  first = watch(await context.newPage());
  await first.goto(url);
  await nextRead(first, 0);
  figures.firstPromptMs = await first.evaluate(() => performance.getEntriesByName("velkor-first-prompt")[0].startTime);
  figures.firstPromptWallMs = Date.now() - begun;
  assert.ok((await spoken(first)).some((row) => row.includes("まずは定義から始めよう。")));

  // The echo of a key: from the key press to the terminal's drawing of it,
  // after the Enter of the first message.
  await answer(first, "");
  await first.evaluate(() => {
    window.echoTimes = [];
    const tree = document.querySelector(".xterm-rows");
    let pressed = 0;
    document.addEventListener("keydown", () => (pressed = performance.now()), true);
    new MutationObserver(() => {
      if (pressed) window.echoTimes.push(performance.now() - pressed);
      pressed = 0;
    }).observe(tree, { subtree: true, childList: true, characterData: true });
  });
  for (const [index, key] of [..."abcdefgh"].entries()) {
    await first.keyboard.press(key);
    await first.waitForFunction((count) => window.echoTimes.length > count, { timeout: Step }, index);
  }
  const times = await first.evaluate(() => window.echoTimes.slice().sort((a, b) => a - b));
  figures.echoMedianMs = times[Math.floor(times.length / 2)];
  figures.echoMaxMs = times.at(-1);
  assert.ok(lastLine(await screen(first)).endsWith("＞abcdefgh"));

  // Backspace, the arrows, Home and End edit the line before Enter sends it.
  for (let i = 0; i < 8; ++i) await first.keyboard.press("Backspace");
  await type(first, "ミト");
  await first.keyboard.press("ArrowLeft");
  await type(first, "ナ");
  await first.keyboard.press("Home");
  await first.keyboard.press("End");
  assert.ok(lastLine(await screen(first)).endsWith("＞ミナト"), lastLine(await screen(first)));
  const { linesRead } = await state(first);
  await first.keyboard.press("Enter");
  await nextRead(first, linesRead);
  assert.ok((await screen(first)).some((row) => row.startsWith("ミナト、そしてきみの意志が肉体をつくる。")));

  const seen = await playToEnd(first, { name: "ミナト" });
  assert.ok(seen.some((row) => row.includes("Turn 1")) || seen.some((row) => row.startsWith("第1の行動")), "a battle");
  const result = await first.$eval("#result", (node) => node.textContent);
  assert.match(result, /^今回の記録：【0人斬り】／VELKOR／\[.*\]／ミナト$/);
});

await check("a reload offers the saved character, which plays", async () => {
  await first.reload();
  await nextRead(first, 0);
  assert.ok((await spoken(first)).some((row) => row.includes("前回のあなたの定義が保存されています。ロードしますか？")));
  await answer(first, "y");
  assert.ok((await screen(first)).some((row) => row.includes("あなたの定義がロードされました。")));
  // Down to the first plan of the battle, for the picture.
  for (let i = 0; i < 40 && !/^\([a-e]+\)$/.test(lastLine(await screen(first))); ++i) await answer(first, "");
  await answer(first, "a");
  await answer(first, "y");
  for (let i = 0; i < 10 && !(await screen(first)).some((row) => row.startsWith("-- ミナト")); ++i)
    await answer(first, "");
  await first.screenshot({ path: join(outputFolder, "check-web.png") });
  await playToEnd(first, { name: "ミナト", load: true });
  assert.match(await first.$eval("#result", (node) => node.textContent), /／ミナト$/);
});

await check("two tabs at once both leave their report lines", async () => {
  const tabs = [await openGame(context), await openGame(context)];
  await Promise.all([
    playToEnd(tabs[0], { name: "タブいち", load: false }),
    playToEnd(tabs[1], { name: "タブに", load: false }),
  ]);
  const text = report(await downloadFile(tabs[0], "#download-report", "レポート.txt"));
  const lines = text.split("\r\n");
  assert.equal(lines.pop(), "", "the report ends with CR LF");
  assert.equal(lines.length, 4, text);
  // The date and time are written as the browser's language writes them.
  for (const line of lines) assert.match(line, /^【\d+人斬り】.*／VELKOR／\[[^\]]*\d\d:\d\d:\d\d[^\]]*\]／\S+$/);
  assert.deepEqual(lines.map((line) => line.split("／").at(-1)).sort(), ["タブいち", "タブに", "ミナト", "ミナト"].sort());
  for (const tab of tabs) await tab.close();
});

await check("save.dat moves to another browser by download and upload", async () => {
  const saved = await downloadFile(first, "#download-save", "save.dat");
  writeFileSync(join(work, "save.dat"), saved);
  writeFileSync(join(work, "broken.dat"), "not a character");
  const other = await browser.createBrowserContext();
  const page = await openGame(other);
  assert.ok((await spoken(page)).some((row) => row.includes("まずは定義から始めよう。")), "a fresh browser has none");

  // A file the game refuses is kept as save.dat.bad once a new one is saved.
  await (await page.$("#upload-save")).uploadFile(join(work, "broken.dat"));
  await page.waitForFunction(() => document.getElementById("status").textContent.includes("受け取りました"));
  await page.reload();
  await nextRead(page, 0);
  await playToEnd(page, { name: "新しい人", pasteName: true });
  assert.match(await page.$eval("#result", (node) => node.textContent), /／新しい人$/, "the pasted name");
  const bad = await page.evaluate(async () => {
    const { PlayerFiles } = await import("./player-files.js");
    const bytes = await (await PlayerFiles.open()).read("save.dat.bad");
    return bytes && new TextDecoder().decode(bytes);
  });
  assert.equal(bad, "not a character");

  await (await page.$("#upload-save")).uploadFile(join(work, "save.dat"));
  await page.waitForFunction(() => document.getElementById("status").textContent.includes("受け取りました"));
  assert.equal((await state(page)).state, "ended");
  await page.click("#again");
  assert.notEqual((await state(page)).state, "ended", "the button starts a new run");
  await nextRead(page, 0);
  await answer(page, "y");
  await answer(page, "");
  const rows = await spoken(page);
  assert.ok(rows.some((row) => /^-- (タブいち|タブに) -+$/.test(row)), rows.join("\n"));

  // Ctrl-D on an empty line ends the game calmly, as at a terminal.
  await page.keyboard.down("Control");
  await page.keyboard.press("d");
  await page.keyboard.up("Control");
  await page.waitForFunction(() => document.body.dataset.state === "ended", { timeout: Step });
  // The page may say the game has ended a frame before the last line is drawn.
  const quit = "ゲームを終わります。キャラクターは保存されています。";
  await page.waitForFunction(
    (line) => [...document.querySelectorAll(".xterm-rows > div")].some((row) => row.textContent.trimEnd() === line),
    { timeout: Step },
    quit,
  );
  assert.ok((await spoken(page)).includes(quit));
  assert.equal(await page.$eval("#result", (node) => node.textContent), "ゲームを終わりました。この回の記録はありません。");
  await other.close();
});

await browser.close();
rmSync(work, { recursive: true, force: true });
console.log(
  `browser: first prompt ${figures.firstPromptMs?.toFixed(0)} ms after navigation ` +
    `(${figures.firstPromptWallMs} ms as the test saw it); key to echo median ` +
    `${figures.echoMedianMs?.toFixed(1)} ms, at most ${figures.echoMaxMs?.toFixed(1)} ms`,
);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
