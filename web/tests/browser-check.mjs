// The page in a real browser: Debian's chromium, headless, driven through
// puppeteer-core (never a browser of its own), one browser for every check.
// It plays as a person would, by keyboard on a desktop and by taps on a
// phone, reads the screen through the terminal's screen-reader text, makes
// IndexedDB refuse, uploads files, goes offline, serves a changed build, and
// ends with Lighthouse and axe-core. Run by scripts/check-web.sh:
//   node browser-check.mjs SITE_FOLDER OUTPUT_FOLDER
// with VELKOR_NODE_MODULES naming the node_modules of web/package.json.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, existsSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { cpus, loadavg, tmpdir } from "node:os";
import { join } from "node:path";

import { gameTexts } from "./game-texts.mjs";
import { serveSite } from "./site-server.mjs";

const [siteFolder, outputFolder] = process.argv.slice(2);
const modules = process.env.VELKOR_NODE_MODULES;
const require = createRequire(`${modules}/`);
const puppeteer = require("puppeteer-core");

const Step = 20000;
const work = mkdtempSync(join(tmpdir(), "velkor-browser-"));
const downloads = join(work, "downloads");
const site = await serveSite(siteFolder);
const origin = site.url.replace(/\/$/, "");

const browser = await puppeteer.launch({
  executablePath: process.env.VELKOR_CHROMIUM || "/usr/bin/chromium",
  headless: true,
  userDataDir: join(work, "profile"),
  args: [
    "--no-sandbox",
    "--disable-gpu",
    "--disable-quic",
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
  await waitOrTell(page, () =>
    page.waitForFunction(
      (count) =>
        document.body.dataset.state === "ended" ||
        (document.body.dataset.state === "reading" && Number(document.body.dataset.linesRead) > count),
      { timeout: Step },
      after,
    ),
  );
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

const sessions = new WeakMap();
async function session(page) {
  if (!sessions.has(page)) sessions.set(page, await page.createCDPSession());
  return sessions.get(page);
}

// Typed as a person does: ASCII key by key, Japanese through the input
// method (composed, then committed), a word at a time.
async function type(page, text) {
  for (const [word] of text.matchAll(/[\x00-\x7f]+|[^\x00-\x7f]+/g)) {
    if (word.codePointAt(0) < 0x80) {
      for (const key of word) await page.keyboard.press(key);
      continue;
    }
    const cdp = await session(page);
    await cdp.send("Input.imeSetComposition", { text: word, selectionStart: word.length, selectionEnd: word.length });
    await cdp.send("Input.insertText", { text: word });
    // The terminal takes the committed text a moment later, as a person's
    // next key would come.
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Text that arrives without any key, as from a soft keyboard or dictation.
async function insertText(page, text) {
  await (await session(page)).send("Input.insertText", { text });
}

// Pasted as from the clipboard into the terminal.
async function paste(page, text) {
  await page.evaluate((pasted) => {
    const data = new DataTransfer();
    data.setData("text/plain", pasted);
    document
      .querySelector(".xterm-helper-textarea")
      .dispatchEvent(new ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true }));
  }, text);
}

async function answer(page, text) {
  const { linesRead } = await state(page);
  await type(page, text);
  await page.keyboard.press("Enter");
  return nextRead(page, linesRead);
}

async function ctrlD(page) {
  await page.keyboard.down("Control");
  await page.keyboard.press("d");
  await page.keyboard.up("Control");
}

const lastLine = (rows) => rows.filter((row) => row !== "").at(-1) ?? "";

// Everything the terminal holds, scrolled away or not.
const allText = (page) =>
  page.evaluate(() => {
    const buffer = velkorTerminal.buffer.active;
    const lines = [];
    for (let row = 0; row < buffer.length; ++row) lines.push(buffer.getLine(row).translateToString(true));
    return lines.join("\n");
  });

// The answer a player who wants a quick end gives at each prompt: a
// character of 5 HP and nothing else, who loses the first battle, and a
// letter before each Enter, which plays the rest of a story at once.
function quickAnswer(rows, { name, load }) {
  const last = lastLine(rows);
  const before = rows.filter((row) => row !== "").at(-2) ?? "";
  if (last.endsWith("[最長16バイト]＞")) return name;
  if (last.startsWith("{0～")) return before.startsWith("ＨＰ") ? "1" : "0";
  if (last === "(yn)") return before.includes("ロードしますか") ? (load ? "y" : "n") : "y";
  if (/^\([a-zA-Z]+\)$/.test(last)) return last.includes("Z") ? "Z" : "a";
  return "x";
}

// Plays from the current prompt to the end of the run by keyboard; returns
// every screen's last lines.
async function playToEnd(page, { name, load, pasteName }) {
  const seen = [];
  for (let step = 0; step < 400; ++step) {
    if ((await state(page)).state === "ended") return seen;
    const rows = await screen(page);
    seen.push(...rows.filter((row) => row !== "").slice(-2));
    if (lastLine(rows).endsWith("[最長16バイト]＞") && pasteName) {
      const { linesRead } = await state(page);
      await paste(page, `${name}\r`);
      await nextRead(page, linesRead);
      continue;
    }
    await answer(page, quickAnswer(rows, { name, load }));
  }
  throw new Error(`no end after 400 answers; last screen:\n${(await screen(page)).join("\n")}`);
}

// Plays from the current prompt to the end of the run by taps alone: the
// answer buttons, the Enter button, and the field filled as a soft keyboard
// fills it (text without key events).
async function tapToEnd(page, { name }) {
  for (let step = 0; step < 400; ++step) {
    const { state: now, linesRead } = await state(page);
    if (now === "ended") return;
    const reply = quickAnswer(await screen(page), { name, load: false });
    const letters = await page.$$eval("#keys button", (buttons) => buttons.map((button) => button.textContent));
    const button = letters.findIndex((text) => text.startsWith(reply));
    if (reply !== "" && button >= 0) {
      await page.tap(`#keys button:nth-child(${button + 1})`);
    } else {
      if (reply !== "") {
        await page.tap("#typed");
        await insertText(page, reply);
      }
      await page.tap("#enter");
    }
    await nextRead(page, linesRead);
  }
  throw new Error("no end after 400 taps");
}

async function openGame(context, viewport) {
  // A window of its own, so that the browser draws it while another plays.
  const page = watch(await context.newPage({ type: "window" }));
  if (viewport) await page.setViewport(viewport);
  // Each tab takes its keys as if it had the focus, as two windows side by side.
  await page.emulateFocusedPage(true);
  await page.goto(site.url);
  await nextRead(page, 0);
  return page;
}

async function downloadFile(page, button, name) {
  const cdp = await session(page);
  // Each browser context downloads on its own terms.
  const browserContextId = page.browserContext().id;
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads, browserContextId });
  rmSync(join(downloads, name), { force: true });
  await page.click(button);
  const deadline = Date.now() + Step;
  while (!existsSync(join(downloads, name)) || readdirSync(downloads).some((file) => file.endsWith(".crdownload"))) {
    if (Date.now() > deadline) throw new Error(`${name} was not downloaded`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return readFileSync(join(downloads, name));
}

// A player's file as IndexedDB holds it (text), or null.
function storedFile(page, name) {
  return page.evaluate(async (file) => {
    const { PlayerFiles } = await import("./player-files.js");
    const bytes = await (await PlayerFiles.open()).read(file);
    return bytes && new TextDecoder("latin1").decode(bytes);
  }, name);
}

function storeFile(page, name, text) {
  return page.evaluate(
    async (file, content) => {
      const { PlayerFiles } = await import("./player-files.js");
      await (await PlayerFiles.open()).replace(file, Uint8Array.from(content, (c) => c.charCodeAt(0)));
    },
    name,
    text,
  );
}

async function statusSays(page, text) {
  await page.waitForFunction((words) => document.getElementById("status").textContent.includes(words), { timeout: Step }, text);
  return page.$eval("#status", (node) => node.textContent);
}

// Uploads a file through the page's own button.
async function upload(page, path) {
  await page.$eval("#files", (details) => (details.open = true));
  await (await page.$("#upload-save")).uploadFile(path);
}

const focusIsOnTerminal = (page) =>
  page.evaluate(() => document.activeElement?.classList.contains("xterm-helper-textarea") ?? false);

const report = (bytes) => new TextDecoder("shift_jis").decode(bytes);
const figures = {};
const context = browser.defaultBrowserContext();
const refusedFile = "not a character";
let first;

// The widest line of the game's texts, in code page 932 bytes.
const widestLine = (() => {
  const lines = [...new Set(gameTexts(join(import.meta.dirname, "../..")))];
  const bytes = execFileSync("iconv", ["-f", "UTF-8", "-t", "CP932"], { input: lines.join("\n") });
  let widest = 0;
  for (let start = 0, end; start <= bytes.length; start = end + 1) {
    end = bytes.indexOf(0x0a, start);
    if (end < 0) end = bytes.length;
    widest = Math.max(widest, end - start);
  }
  return widest;
})();
figures.widestLine = widestLine;

await check("the first prompt shows, then a battle is played by keyboard to its end", async () => {
  const begun = Date.now();
  first = watch(await context.newPage());
  await first.goto(site.url);
  await nextRead(first, 0);
  figures.firstPromptMs = await first.evaluate(() => performance.getEntriesByName("velkor-first-prompt")[0].startTime);
  figures.firstPromptWallMs = Date.now() - begun;
  assert.ok((await spoken(first)).some((row) => row.includes("まずは定義から始めよう。")));
  assert.equal(await first.$eval("#advice", (node) => node.hidden), true, "no storage advice on a first visit");

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

  // Backspace, the arrows, Home and End edit the line before Enter sends it;
  // text that arrives without a key (dictation) goes in too.
  for (let i = 0; i < 8; ++i) await first.keyboard.press("Backspace");
  await type(first, "ミト");
  await first.keyboard.press("ArrowLeft");
  await type(first, "ナ");
  await first.keyboard.press("Home");
  await first.keyboard.press("End");
  await insertText(first, "ズ");
  await first.waitForFunction(() => document.querySelector(".xterm-rows").textContent.includes("＞ミナトズ"), { timeout: Step });
  await first.keyboard.press("Backspace");
  assert.ok(lastLine(await screen(first)).endsWith("＞ミナト"), lastLine(await screen(first)));
  const { linesRead } = await state(first);
  await first.keyboard.press("Enter");
  await nextRead(first, linesRead);
  assert.ok((await screen(first)).some((row) => row.startsWith("ミナト、そしてきみの意志が肉体をつくる。")));

  const seen = await playToEnd(first, { name: "ミナト" });
  assert.ok(seen.some((row) => row.includes("Turn 1")) || seen.some((row) => row.startsWith("第1の行動")), "a battle");
  const result = await first.$eval("#result", (node) => node.textContent);
  assert.match(result, /^今回の記録：【0人斬り】／VELKOR／\[.*\]／ミナト$/);
  // Once the character is stored, the advice beside the download says what
  // the browser promised.
  const kept = await first.evaluate(() => navigator.storage.persisted());
  assert.equal(await first.$eval("#advice", (node) => node.hidden), kept);
});

await check('"……" is drawn whole, two cells each, in the Japanese font', async () => {
  // The defeat's "ゲームーオーバー……" is on the screen: its dots, from
  // column 16, must fall evenly into four cells.
  const box = await first.evaluate(() => {
    const rows = [...document.querySelectorAll(".xterm-rows > div")];
    const row = rows.findIndex((div) => div.textContent.startsWith("ゲームーオーバー……"));
    const frame = document.querySelector(".xterm-screen").getBoundingClientRect();
    const cell = { width: frame.width / velkorTerminal.cols, height: frame.height / velkorTerminal.rows };
    return { row, x: frame.left + 16 * cell.width, y: frame.top + row * cell.height, cell };
  });
  assert.ok(box.row >= 0, "the defeat's line is on the screen");
  const picture = await first.screenshot({
    clip: { x: box.x, y: box.y, width: 4 * box.cell.width, height: box.cell.height },
    encoding: "base64",
  });
  // The runs of lit pixel columns: the dots.
  const dots = await first.evaluate(async (data) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const drawing = canvas.getContext("2d");
    drawing.drawImage(image, 0, 0);
    const { data: pixels, width, height } = drawing.getImageData(0, 0, image.width, image.height);
    const lit = (x) => {
      for (let y = 0; y < height; ++y) {
        const at = (y * width + x) * 4;
        if (pixels[at] + pixels[at + 1] + pixels[at + 2] > 300) return true;
      }
      return false;
    };
    const runs = [];
    for (let x = 0; x < width; ++x) {
      if (!lit(x)) continue;
      const start = x;
      while (x + 1 < width && lit(x + 1)) ++x;
      runs.push((start + x) / 2);
    }
    return { runs, width };
  }, picture);
  // In the page's pixels, as the cells are.
  const centers = dots.runs.map((x) => (x * 4 * box.cell.width) / dots.width);
  assert.equal(centers.length, 6, `six dots in four cells, not ${JSON.stringify(centers)}`);
  const gaps = centers.slice(1).map((x, index) => x - centers[index]);
  assert.ok(Math.max(...gaps) - Math.min(...gaps) <= box.cell.width / 4, `evenly spaced: ${JSON.stringify(gaps)}`);
});

await check("a reload offers the saved character, which plays; past runs show newest first", async () => {
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
  const history = await first.$$eval("#history-lines li", (items) => items.map((item) => item.textContent));
  assert.equal(history.length, 2);
  assert.equal(`今回の記録：${history[0]}`, await first.$eval("#result", (node) => node.textContent), "newest first");
});

await check("after a button, keys go to the terminal; every control is labelled in Japanese", async () => {
  await first.click("#again");
  await nextRead(first, 0);
  await first.click("#download-report");
  assert.ok(await focusIsOnTerminal(first), "focus after a download");
  await first.keyboard.press("Enter");
  await nextRead(first, 1);
  const unlabelled = await first.evaluate(() =>
    [...document.querySelectorAll("button, summary, label, input")]
      .filter((control) => control.offsetParent !== null || control.tagName === "INPUT")
      .filter((control) => !control.closest("#keys"))
      .map((control) => {
        const label = control.tagName === "INPUT" ? (control.labels[0]?.textContent ?? "") : control.textContent;
        return { id: control.id || control.tagName, label };
      })
      .filter(({ label }) => !/[\u3040-\u30ff\u4e00-\u9fff]/.test(label)),
  );
  assert.deepEqual(unlabelled, []);
  // The header's phrases each stay on one line.
  const broken = await first.evaluate(() =>
    [...document.querySelectorAll("header h1, #help span, header a")]
      .filter((node) => node.offsetParent !== null)
      .filter((node) => node.getBoundingClientRect().height > 1.8 * parseFloat(getComputedStyle(node).fontSize))
      .map((node) => node.textContent),
  );
  assert.deepEqual(broken, []);
});

await check("a paste of many lines asks before the game gets them", async () => {
  const { linesRead } = await state(first);
  const many = "\r\n".repeat(400);
  await paste(first, many);
  await first.waitForSelector("#ask[open]", { timeout: Step });
  assert.match(await first.$eval("#ask-text", (node) => node.textContent), /401 行/);
  await first.click("#ask-no");
  await new Promise((resolve) => setTimeout(resolve, 300));
  assert.equal((await state(first)).linesRead, linesRead, "nothing fed");
  await paste(first, many);
  await first.waitForSelector("#ask[open]", { timeout: Step });
  await first.click("#ask-yes");
  await first.waitForFunction((count) => Number(document.body.dataset.linesRead) >= count + 400, { timeout: Step }, linesRead);
  // A short paste goes in at once.
  await paste(first, "あ");
  await first.waitForFunction(
    () => [...document.querySelectorAll(".xterm-rows > div")].some((row) => row.textContent.trimEnd().endsWith(")あ")),
    { timeout: Step },
  );
  await first.close();
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

await check("uploads: refused with the reason, asked for during a run, kept as the game refused them", async () => {
  const saved = await (async () => {
    const page = await openGame(context);
    const bytes = await downloadFile(page, "#download-save", "save.dat");
    await page.close();
    return bytes;
  })();
  writeFileSync(join(work, "save.dat"), saved);
  writeFileSync(join(work, "picture.png"), Buffer.from("89504e470d0a1a0a0000000d49484452", "hex"));
  writeFileSync(join(work, "tampered.dat"), Buffer.concat([saved.subarray(0, 60), Buffer.from("zzzzzzzz")]));
  const other = await browser.createBrowserContext();
  const page = await openGame(other);
  assert.ok((await spoken(page)).some((row) => row.includes("まずは定義から始めよう。")), "a fresh browser has none");

  // What the game would refuse replaces nothing.
  for (const [file, reason] of [
    ["picture.png", "短すぎて"],
    ["tampered.dat", "中身として正しくありません"],
  ]) {
    await upload(page, join(work, file));
    assert.match(await statusSays(page, "受け取れません"), new RegExp(`^${file} は受け取れません：.*${reason}`));
    assert.equal(await storedFile(page, "save.dat"), null, file);
  }

  // A good one during a run asks first; "no" replaces nothing.
  await upload(page, join(work, "save.dat"));
  await page.waitForSelector("#ask[open]", { timeout: Step });
  await page.click("#ask-no");
  await statusSays(page, "使いませんでした");
  assert.equal(await storedFile(page, "save.dat"), null);
  assert.equal((await state(page)).linesRead, 1, "the run goes on");

  // "Yes" stores it and starts again with it.
  await upload(page, join(work, "save.dat"));
  await page.waitForSelector("#ask[open]", { timeout: Step });
  await page.click("#ask-yes");
  await statusSays(page, "受け取りました");
  await page.waitForFunction(
    () =>
      document.body.dataset.state === "reading" &&
      document.querySelector(".xterm-rows").textContent.includes("ロードしますか？"),
    { timeout: Step },
  );
  await answer(page, "y");
  await answer(page, "");
  assert.ok((await spoken(page)).some((row) => /^-- (タブいち|タブに) -+$/.test(row)));
  assert.ok(await focusIsOnTerminal(page), "focus after an upload");

  // A refused save.dat, read by this run; meanwhile another tab stores a
  // good character. The new save keeps as save.dat.bad exactly what this
  // game refused, never the other tab's character.
  await storeFile(page, "save.dat", refusedFile);
  await page.reload();
  await nextRead(page, 0);
  assert.ok((await screen(page)).some((row) => row.includes("（save.datの読み込みに失敗しました。）")));
  await storeFile(page, "save.dat", saved.toString("latin1"));
  await playToEnd(page, { name: "新しい人", pasteName: true });
  assert.match(await page.$eval("#result", (node) => node.textContent), /／新しい人$/, "the pasted name");
  assert.equal(await storedFile(page, "save.dat.bad"), refusedFile);
  assert.notEqual(await storedFile(page, "save.dat"), saved.toString("latin1"));
  assert.equal(await page.$eval("#download-bad", (node) => node.hidden), false);
  assert.equal((await downloadFile(page, "#download-bad", "save.dat.bad")).toString(), refusedFile);

  // Ctrl-D on an empty line ends the game calmly, as at a terminal.
  await page.click("#again");
  await nextRead(page, 0);
  await answer(page, "y");
  await ctrlD(page);
  await page.waitForFunction(() => document.body.dataset.state === "ended", { timeout: Step });
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

// A definition by keyboard up to the hunt's first question; then Ctrl-D.
async function defineAndQuit(page) {
  for (let step = 0; step < 100 && !(await screen(page)).includes("誰を殺しに行きますか？"); ++step)
    await answer(page, quickAnswer(await screen(page), { name: "ユウ" }));
  await ctrlD(page);
  await page.waitForFunction(() => document.body.dataset.state === "ended", { timeout: Step });
  return allText(page);
}

await check("when IndexedDB refuses, the game knows: a failed save, a failed report write", async () => {
  const saveFailed = "（save.datの書き込みに失敗しました。）";
  const unsaved = "ゲームを終わります。キャラクターは保存されていません。";
  for (const [what, refuse] of [
    [
      "a throwing put",
      () => {
        IDBObjectStore.prototype.put = () => {
          throw new DOMException("refused by the test", "UnknownError");
        };
      },
    ],
    [
      "a throwing open",
      () => {
        IDBFactory.prototype.open = () => {
          throw new DOMException("refused by the test", "SecurityError");
        };
      },
    ],
  ]) {
    const refusing = await browser.createBrowserContext();
    const page = watch(await refusing.newPage());
    await page.evaluateOnNewDocument(refuse);
    await page.goto(site.url);
    await nextRead(page, 0);
    const shown = await defineAndQuit(page);
    assert.ok(shown.includes(saveFailed), `${what}: ${shown}`);
    assert.ok(shown.includes(unsaved), what);
    assert.equal(await page.$eval("#storage-problem", (node) => node.hidden), false, what);
    if (what === "a throwing open") {
      await upload(page, join(work, "save.dat"));
      assert.match(await statusSays(page, "保存できません"), /保存領域が使えない/);
      assert.match(await page.$eval("#storage-problem", (node) => node.textContent), /使えません/, "still told");
    }
    await refusing.close();
  }

  // No room at all: the save fails, and the report line at the defeat ends
  // the run as a full disk does.
  const full = await browser.createBrowserContext();
  const page = watch(await full.newPage());
  const cdp = await page.createCDPSession();
  await cdp.send("Storage.overrideQuotaForOrigin", { origin, quotaSize: 1 });
  await page.goto(site.url);
  await nextRead(page, 0);
  await playToEnd(page, { name: "ユウ" });
  const shown = await allText(page);
  assert.ok(shown.includes(saveFailed), shown);
  assert.ok(shown.includes("ファイル レポート.txt に書き込めません"), shown);
  assert.match(await page.$eval("#result", (node) => node.textContent), /異常終了/);
  assert.match(await page.$eval("#storage-problem", (node) => node.textContent), /QuotaExceededError/);
  await full.close();
});

// Every line of the buffer that wrapped, but the closing report line.
const wrappedLines = (page) =>
  page.evaluate(() => {
    const buffer = velkorTerminal.buffer.active;
    const wrapped = [];
    let line = "";
    for (let row = 0; row < buffer.length; ++row) {
      const current = buffer.getLine(row);
      if (!current.isWrapped) line = current.translateToString(true);
      else if (!line.startsWith("今回の記録：")) wrapped.push(line);
    }
    return wrapped;
  });

for (const [width, height] of [
  [390, 844],
  [360, 640],
]) {
  await check(`a phone of ${width}×${height}: a definition and a battle by taps alone, no line wraps`, async () => {
    const phone = await browser.createBrowserContext();
    const page = await openGame(phone, { width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
    const columns = await page.evaluate(() => Number(document.body.dataset.columns));
    assert.ok(columns >= widestLine, `${columns} columns for the widest line of ${widestLine}`);
    figures[`columns${width}`] = columns;
    figures[`font${width}`] = await page.evaluate(() => velkorTerminal.options.fontSize);
    // The header and the files fold away.
    assert.equal(await page.$eval("#help", (node) => node.offsetParent), null);
    assert.equal(await page.$eval("#files", (node) => node.open), false);
    assert.ok(await page.$eval("#typed", (node) => node.offsetParent !== null), "a visible field");
    await tapToEnd(page, { name: "タップ" });
    assert.match(await page.$eval("#result", (node) => node.textContent), /／タップ$/);
    assert.deepEqual(await wrappedLines(page), []);
    await phone.close();
  });
}

await check("the answer buttons name what the game's menu names", async () => {
  const phone = await browser.createBrowserContext();
  const page = await openGame(phone, { width: 390, height: 844, isMobile: true, hasTouch: true });
  await storeFile(page, "save.dat", (await readSaved()).toString("latin1"));
  await page.reload();
  await nextRead(page, 0);
  const labels = () => page.$$eval("#keys button", (buttons) => buttons.map((button) => button.textContent));
  assert.deepEqual(await labels(), ["yはい", "nいいえ"]);
  await page.tap("#keys button");
  for (let i = 0; i < 10 && (await labels()).length === 0; ++i) {
    const { linesRead } = await state(page);
    await page.tap("#enter");
    await nextRead(page, linesRead);
  }
  const enemies = await labels();
  assert.ok(enemies.length >= 3 && enemies.every((label, index) => label.startsWith(String.fromCharCode(97 + index))), enemies.join());
  assert.ok(enemies.every((label) => label.length > 1), "each with its enemy");
  const sizes = await page.$$eval("#keys button", (buttons) => buttons.map((button) => button.getBoundingClientRect().height));
  assert.ok(sizes.every((size) => size >= 44), `large enough for a finger: ${sizes}`);
  await phone.close();
});

async function readSaved() {
  return readFileSync(join(work, "save.dat"));
}

await check("the guide: contents that lead somewhere, a phone's width, the way back", async () => {
  const page = watch(await context.newPage());
  await page.setViewport({ width: 390, height: 844, isMobile: true });
  await page.goto(`${site.url}guide.html`);
  const found = await page.evaluate(() => ({
    viewport: document.querySelector('meta[name="viewport"]')?.content ?? "",
    back: [...document.querySelectorAll("a")].some((link) => new URL(link.href).pathname === "/"),
    missing: [...document.querySelectorAll('a[href^="#"]')]
      .map((link) => decodeURIComponent(link.hash.slice(1)))
      .filter((id) => !document.getElementById(id)),
    links: document.querySelectorAll('a[href^="#"]').length,
    overflow: document.documentElement.scrollWidth - window.innerWidth,
  }));
  assert.match(found.viewport, /width=device-width/);
  assert.ok(found.back, "a link back to the game");
  assert.ok(found.links >= 5);
  assert.deepEqual(found.missing, []);
  assert.ok(found.overflow <= 0, `wider than the phone by ${found.overflow} px`);
  await page.close();
});

await check("offline once visited, installable, and a changed build is taken", async () => {
  // The profile's own window: a private one cannot install.
  const page = watch(await context.newPage());
  await page.goto(site.url);
  await nextRead(page, 0);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: Step });
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors, []);

  // The network gone: the server stopped, the browser offline.
  await site.stop();
  try {
    await page.setOfflineMode(true);
    await page.reload();
    await nextRead(page, 0);
    assert.ok((await screen(page)).some((row) => row.includes("ロードしますか？")), "the game, with its files");
  } finally {
    await page.setOfflineMode(false);
    await site.start();
  }

  // A new build on the server: its own version, a changed page.
  const changed = join(work, "changed-site");
  cpSync(siteFolder, changed, { recursive: true });
  const index = join(changed, "index.html");
  writeFileSync(index, readFileSync(index, "utf8").replace("<head>", '<head>\n<meta name="velkor-check" content="changed">'));
  const worker = join(changed, "sw.js");
  writeFileSync(worker, readFileSync(worker, "utf8").replace(/const Version = "([^"]*)"/, 'const Version = "$1-changed"'));
  site.folder = changed;
  await page.reload();
  await page.waitForFunction(() => document.querySelector('meta[name="velkor-check"]') !== null, { timeout: Step });
  await nextRead(page, 0);
  const caches = await page.evaluate(() => caches.keys());
  assert.equal(caches.length, 1, caches.join());
  assert.match(caches[0], /-changed$/);
  site.folder = siteFolder;
  await page.close();
});

// Lighthouse's categories on the desktop and the mobile preset, and what
// axe-core finds serious on the page and the guide as each shows them.
// Accessibility and best practices are held to their floors on every run.
// Performance is timed on this machine, shared with whatever else runs on
// it: the best of two runs counts, the mobile preset's CPU slowdown is
// calibrated to the machine's benchmark index as Lighthouse's throttling
// guide prescribes (its 4x takes a high-end desktop, about 1750, to a
// mid-tier phone), and on a machine slower than Lighthouse expects (an
// index of 1000 or less, its own threshold) or busy with other work (more
// runnable processes than cores) the score is told but not judged.
const Minimum = { performance: 90, accessibility: 95, "best-practices": 95 };
const SlowHost = 1000;
const HighEndDesktop = 1750;
const quality = {};
await check("Lighthouse and axe-core: desktop and mobile", async () => {
  const { default: lighthouse } = await import(`${modules}/lighthouse/core/index.js`);
  const { default: desktopConfig } = await import(`${modules}/lighthouse/core/config/desktop-config.js`);
  const { throttling } = await import(`${modules}/lighthouse/core/config/constants.js`);
  const port = Number(new URL(browser.wsEndpoint()).port);
  const low = [];
  let slowdown = 4;
  for (const [preset, viewport] of [
    ["desktop", { width: 1350, height: 940 }],
    ["mobile", { width: 412, height: 823, isMobile: true, hasTouch: true }],
  ]) {
    const config =
      preset === "desktop"
        ? desktopConfig
        : { extends: "lighthouse:default", settings: { throttling: { ...throttling.mobileSlow4G, cpuSlowdownMultiplier: slowdown } } };
    const judged = (lhr) => lhr.environment.benchmarkIndex > SlowHost && loadavg()[0] <= cpus().length;
    let best = null;
    for (let run = 0; run < 2; ++run) {
      const { lhr } = await lighthouse(site.url, { port, logLevel: "error", onlyCategories: Object.keys(Minimum) }, config);
      if (!best || lhr.categories.performance.score > best.categories.performance.score) best = lhr;
      if (best.categories.performance.score * 100 >= Minimum.performance || !judged(lhr)) break;
    }
    const benchmark = Math.round(best.environment.benchmarkIndex);
    if (preset === "desktop") slowdown = Math.round(10 * Math.min(4, Math.max(1, (4 * benchmark) / HighEndDesktop))) / 10;
    const scores = Object.fromEntries(Object.keys(Minimum).map((name) => [name, Math.round(best.categories[name].score * 100)]));
    quality[preset] = {
      ...scores,
      "CPU slowdown": `${best.configSettings.throttling.cpuSlowdownMultiplier}x`,
      "benchmark index": benchmark,
      load: loadavg()[0].toFixed(1),
    };
    for (const [name, least] of Object.entries(Minimum)) {
      if (scores[name] >= least) continue;
      if (name === "performance" && !judged(best)) {
        quality[preset].performance += ` (not judged: a benchmark index of at most ${SlowHost}, or more runnable processes than ${cpus().length} cores)`;
        continue;
      }
      const failing = Object.values(best.audits)
        .filter((audit) => audit.score !== null && audit.score < 1 && audit.scoreDisplayMode === "numeric")
        .map((audit) => `${audit.id} ${audit.displayValue ?? ""}`);
      low.push(`${preset} ${name} ${scores[name]} < ${least}: ${failing.join("; ")}`);
    }

    const axeContext = await browser.createBrowserContext();
    const page = watch(await axeContext.newPage());
    await page.setViewport(viewport);
    for (const path of ["", "guide.html"]) {
      await page.goto(`${site.url}${path}`);
      if (path === "") await nextRead(page, 0);
      await page.addScriptTag({ path: `${modules}/axe-core/axe.min.js` });
      const violations = await page.evaluate(async () =>
        (await axe.run(document, { resultTypes: ["violations"] })).violations.map(({ id, impact, nodes }) => ({
          id,
          impact,
          nodes: nodes.length,
        })),
      );
      quality[preset][`axe ${path || "index.html"}`] = violations.map(({ id, impact }) => `${id} (${impact})`).join(", ") || "none";
      for (const violation of violations)
        if (["serious", "critical"].includes(violation.impact)) low.push(`${preset} ${path || "index.html"}: axe ${JSON.stringify(violation)}`);
    }
    await axeContext.close();
  }
  assert.deepEqual(low, []);
});

await browser.close();
await site.stop();
rmSync(work, { recursive: true, force: true });
console.log(
  `browser: first prompt ${figures.firstPromptMs?.toFixed(0)} ms after navigation ` +
    `(${figures.firstPromptWallMs} ms as the test saw it); key to echo median ` +
    `${figures.echoMedianMs?.toFixed(1)} ms, at most ${figures.echoMaxMs?.toFixed(1)} ms`,
);
console.log(
  `browser: the widest line the game writes takes ${figures.widestLine} columns; a phone of 390 px shows ` +
    `${figures.columns390} columns at ${figures.font390} px, of 360 px ${figures.columns360} at ${figures.font360} px`,
);
for (const [preset, scores] of Object.entries(quality))
  console.log(`quality (${preset}): ${Object.entries(scores).map(([name, value]) => `${name} ${value}`).join("; ")}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
