// The browser test's player sheets. A sheet dropped on the page or chosen
// with "Use my sheet…" is checked by the program while it runs: a 24-bit
// sheet is refused in the checker's words and the game goes on, and so is a
// sheet the browser's storage will not keep. A copy of the page's own
// city2.bmp with a 124-byte header plays the same screen, is remembered on
// the next visit, and the demos played with it name it: the native runner
// replays one with that file to the same screen, a demo of the page's own
// sheet is refused meanwhile and the sheet's own demo plays. "Use the
// game's own sheet" goes back for good. A sheet chosen after the game ended
// reaches the start-up, which refuses it with the "Error" box and its
// reason on the console while the way back stays offered.
// web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import fs from 'node:fs';
import path from 'node:path';

import { replayNatively } from './demo_e2e.mjs';
import {
  captureCanvas, dropFile, gameStatus, headerSheetHash, isShown, poll, savedDemo, textOf,
} from './harness.mjs';
import { SCREEN_W, readBmp8, sameRgb, screenRgb } from './sheet.mjs';

const SHEET_KEY = 'quorvanteledix.sheet:/index.html';
const SHEET_GOOD = 0;
const DEEP_NAME = 'deep.bmp';
const V5_NAME = 'v5-city2.bmp';
// Rows no sprite reaches while the ship keeps its row (web_e2e.mjs), whole.
const BANDS = [[2, 84], [392, 476]];

// The 40-byte-header BMP `bmp` again with a BITMAPV5HEADER: the same
// fields, biSize 124, sRGB, the colour table right after the header and
// the pixels after the table.
function withV5Header(bmp) {
  if (bmp.readUInt32LE(14) !== 40) throw new Error('city2.bmp does not have a 40-byte header');
  const offBits = bmp.readUInt32LE(10);
  const colours = bmp.readUInt32LE(46) || 1 << bmp.readUInt16LE(28);
  const table = bmp.subarray(54, 54 + 4 * colours);
  const pixels = bmp.subarray(offBits);
  const header = Buffer.alloc(124);
  bmp.copy(header, 0, 14, 54);
  header.writeUInt32LE(124, 0);
  header.writeUInt32LE(0x73524742, 56); // bV5CSType LCS_sRGB
  header.writeUInt32LE(4, 108); // bV5Intent LCS_GM_IMAGES
  const file = Buffer.alloc(14);
  const bits = 14 + header.length + table.length;
  file.write('BM', 0, 'latin1');
  file.writeUInt32LE(bits + pixels.length, 2);
  file.writeUInt32LE(bits, 10);
  return Buffer.concat([file, header, table, pixels]);
}

// A bottom-up 24-bit BMP of the game's size, a gradient of colours.
function deepSheet(width = 640, height = 700) {
  const stride = (width * 3 + 3) & ~3;
  const b = Buffer.alloc(54 + stride * height);
  b.write('BM', 0, 'latin1');
  b.writeUInt32LE(b.length, 2);
  b.writeUInt32LE(54, 10);
  b.writeUInt32LE(40, 14);
  b.writeInt32LE(width, 18);
  b.writeInt32LE(height, 22);
  b.writeUInt16LE(1, 26);
  b.writeUInt16LE(24, 28);
  b.writeUInt32LE(stride * height, 34);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const at = 54 + y * stride + 3 * x;
      b[at] = x & 0xff;
      b[at + 1] = y & 0xff;
      b[at + 2] = (x + y) & 0xff;
    }
  }
  return b;
}

// What the page says of sheets, and what it keeps.
function sheetStatus(page) {
  return page.evaluate((key) => {
    const q = window.quorvanteledix;
    const shown = (id) => !document.getElementById(id).hidden;
    return {
      state: q.state,
      frames: q.frames,
      sheet: q.sheet,
      refused: q.sheetRefused,
      kept: localStorage.getItem(key) !== null,
      inUse: shown('sheet-in-use') ? document.getElementById('sheet-in-use').textContent : null,
      ownButton: shown('own-sheet'),
      message: shown('sheet-message') ? document.getElementById('sheet-message').textContent.replace(/\s+/g, ' ') : null,
    };
  }, SHEET_KEY);
}

async function choose(page, selector, file) {
  const input = await page.$(selector);
  if (!input) throw new Error(`the page has no ${selector} input`);
  await input.uploadFile(file);
}

// Fills the page's storage to the last few hundred characters; resolves
// to the keys it took.
function fillStorage(page) {
  return page.evaluate(() => {
    const keys = [];
    for (let size = 1 << 20; size >= 256; size >>= 2) {
      const filler = 'x'.repeat(size);
      for (;;) {
        const key = 'e2e-filler-' + keys.length;
        try {
          localStorage.setItem(key, filler);
        } catch {
          break;
        }
        keys.push(key);
      }
    }
    return keys;
  });
}

// Places in the rows no sprite reaches where the screen is not the sheet.
function bandMismatches(capture, sheet) {
  const bad = [];
  for (const [top, bottom] of BANDS) {
    for (let y = top; y <= bottom; y++) {
      for (let x = 0; x < SCREEN_W - 1; x++) {
        if (!sameRgb(screenRgb(capture, x, y), sheet.rgb(x, y))) bad.push(`(${x},${y})`);
      }
    }
  }
  return bad;
}

async function expectGoesOn(t, page, what) {
  const status = await t.waitForStatus(page, { state: 'running', active: true }, what);
  const on = await poll(async () => (await gameStatus(page)).frames > status.frames + 5, t.STEP_MS);
  if (!on) t.fail(`${what}: frames stayed at ${status.frames}`);
  if (!(await page.evaluate(() => window.__e2eSamePage === true))) t.fail(`${what}: the page was reloaded`);
}

// The sheet refused while the game runs, said in `words` on the page.
async function expectRefused(t, page, name, words) {
  // The message of an earlier refusal may still show: wait for this one's.
  const said = await poll(async () => (await sheetStatus(page)).message?.includes(`${name} cannot be used`), t.STEP_MS);
  if (!said) t.fail(`no #sheet-message about ${name} is shown: ${JSON.stringify((await sheetStatus(page)).message)}`);
  const st = await sheetStatus(page);
  for (const w of [`${name} cannot be used`, ...words]) {
    if (!st.message.includes(w)) t.fail(`#sheet-message does not say "${w}": ${JSON.stringify(st.message)}`);
  }
  if (st.message.includes('candidate')) t.fail(`#sheet-message names the page's scratch file: ${JSON.stringify(st.message)}`);
  if (st.refused?.name !== name) t.fail(`sheetRefused is ${JSON.stringify(st.refused)}`);
  if (st.kept || !st.sheet.own || st.inUse !== null || st.ownButton) t.fail(`after the refusal the page has ${JSON.stringify(st)}`);
  await expectGoesOn(t, page, `after ${name} was refused`);
}

// The page's own sheet in use, and no player's sheet kept.
async function expectOwnSheet(t, page, what) {
  await t.waitForStatus(page, { state: 'running', active: true }, what, t.LOAD_MS);
  const st = await sheetStatus(page);
  if (st.kept || !st.sheet.own || st.inUse !== null || st.ownButton) t.fail(`${what}: the page has ${JSON.stringify(st)}`);
  await t.waitForShip(page, what);
}

async function playerSheetPage(t, browser, base, files) {
  const { check, fail } = t;
  const page = await browser.newPage();
  t.watchPage(page, 'sheets');
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
  let ownDemo = null;
  const started = await check('the page starts with its own sheet and F9 saves a demo of it', async () => {
    await expectOwnSheet(t, page, 'after loading');
    await page.keyboard.press('F9');
    ownDemo = await poll(() => savedDemo(page), t.STEP_MS);
    if (!ownDemo) fail('window.quorvanteledix.lastDemo stayed null after F9');
  });
  if (!started) return page;

  await check('a 24-bit sheet dropped on the page is refused in the checker\'s words, and the game goes on', async () => {
    await page.evaluate(() => { window.__e2eSamePage = true; });
    await dropFile(page, files.deep, DEEP_NAME);
    await expectRefused(t, page, DEEP_NAME, [`${DEEP_NAME} has 24 bits per pixel`, 'the game needs 8']);
  });

  await check('a sheet the browser\'s storage will not keep is refused saying so, and the game goes on', async () => {
    const fillers = await fillStorage(page);
    try {
      await choose(page, '#sheet-file', files.v5Path);
      await expectRefused(t, page, V5_NAME, ['would not keep it', 'QuotaExceededError']);
    } finally {
      await page.evaluate((keys) => keys.forEach((k) => localStorage.removeItem(k)), fillers);
    }
  });

  const playing = await check('a copy of city2.bmp with a 124-byte header, dropped on the page, plays the same screen', async () => {
    await Promise.all([page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), dropFile(page, files.v5, V5_NAME)]);
    await t.waitForStatus(page, { state: 'running', active: true }, 'with the player\'s sheet', t.LOAD_MS);
    const x = await t.waitForShip(page, 'with the player\'s sheet');
    if (x !== t.ship.x) fail(`the ship starts at x=${x}, with the page's sheet at x=${t.ship.x}`);
    const bad = bandMismatches(await captureCanvas(page), files.sheet);
    if (bad.length) fail(`${bad.length} background pixels differ from the page's own sheet, e.g. ${bad.slice(0, 3).join(' ')}`);
    const st = await poll(async () => {
      const s = await sheetStatus(page);
      return s.sheet.verdict !== null && s;
    }, t.STEP_MS);
    if (!st) fail('the page never checked the sheet in use');
    if (st.sheet.own || st.sheet.name !== V5_NAME || st.sheet.verdict !== SHEET_GOOD) fail(`window.quorvanteledix.sheet is ${JSON.stringify(st.sheet)}`);
    if (!st.kept || !st.inUse?.includes(V5_NAME) || !st.ownButton) fail(`the page shows ${JSON.stringify(st)}`);
    if (st.message !== null) fail(`the page says ${JSON.stringify(st.message)} of a sound sheet`);
  });
  if (!playing) return page;

  await check('the player\'s sheet is still in use on the next visit', async () => {
    const visit = await browser.newPage();
    t.watchPage(visit, 'next visit');
    try {
      await visit.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
      await t.waitForStatus(visit, { state: 'running' }, 'on the next visit', t.LOAD_MS);
      const st = await sheetStatus(visit);
      if (st.sheet.own || !st.inUse?.includes(V5_NAME) || !st.ownButton) fail(`the page shows ${JSON.stringify(st)}`);
    } finally {
      await visit.close();
    }
    await page.bringToFront();
  });

  let v5Demo = null;
  await check('a demo played with the player\'s sheet names it: the native runner replays it with that file to the same screen', async () => {
    await t.waitForStatus(page, { state: 'running', active: true }, 'before F9');
    await page.evaluate(() => { window.quorvanteledix.lastDemo = null; });
    await page.keyboard.press('F9');
    v5Demo = await poll(() => savedDemo(page), t.STEP_MS);
    if (!v5Demo) fail('window.quorvanteledix.lastDemo stayed null after F9');
    const size = v5Demo.bytes.readUInt32LE(20);
    if (size !== files.v5.length) fail(`the demo names a sheet of ${size} bytes; the player's has ${files.v5.length}`);
    if (headerSheetHash(v5Demo.bytes) === headerSheetHash(ownDemo.bytes)) fail('the demo names the page\'s own sheet');
    const folder = path.join(t.demoFolder, 'player-sheet');
    fs.mkdirSync(folder, { recursive: true });
    fs.writeFileSync(path.join(folder, 'city2.bmp'), files.v5);
    v5Demo.file = path.join(folder, 'player-sheet.demo');
    fs.writeFileSync(v5Demo.file, v5Demo.bytes);
    await replayNatively(t, v5Demo.file, v5Demo.hash, folder);
  });

  await check('while the player\'s sheet is in use a demo of the page\'s own is refused naming both', async () => {
    await page.evaluate(() => { window.__e2eSamePage = true; });
    await dropFile(page, ownDemo.bytes, 'own-sheet.demo');
    const said = await poll(async () => (await textOf(page, '#demo-message'))?.includes('own-sheet.demo cannot be played'), t.STEP_MS);
    const text = await textOf(page, '#demo-message');
    if (!said) fail(`#demo-message says ${JSON.stringify(text)}`);
    for (const hash of [headerSheetHash(ownDemo.bytes), headerSheetHash(v5Demo.bytes)]) {
      if (!text.includes(hash)) fail(`the message does not name ${hash}: ${JSON.stringify(text)}`);
    }
    await expectGoesOn(t, page, 'after the refusal');
  });

  await check('a demo of the player\'s sheet plays while it is in use', async () => {
    if (!v5Demo) fail('no demo of the player\'s sheet was saved');
    await Promise.all([page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), dropFile(page, v5Demo.bytes, 'player-sheet.demo')]);
    const playback = await poll(() => page.evaluate(() => {
      const q = window.quorvanteledix;
      return q.demo.mode === 'playback' && q.demo.played > 0 && q.demo;
    }), t.LOAD_MS);
    if (!playback) fail(`no playback: ${JSON.stringify(await page.evaluate(() => window.quorvanteledix.demo))}`);
    if (playback.passes !== v5Demo.passes) fail(`the playback has ${playback.passes} passes, the demo ${v5Demo.passes}`);
    if (!(await sheetStatus(page)).inUse?.includes(V5_NAME)) fail('the page no longer names the player\'s sheet');
  });

  await check('"Use the game\'s own sheet" goes back, and the player\'s is forgotten after a reload too', async () => {
    await Promise.all([page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), page.click('#own-sheet')]);
    await expectOwnSheet(t, page, 'after "Use the game\'s own sheet"');
    const bad = bandMismatches(await captureCanvas(page), files.sheet);
    if (bad.length) fail(`${bad.length} background pixels differ from the page's own sheet`);
    if (v5Demo?.file) {
      await choose(page, '#demo-file', v5Demo.file);
      const said = await poll(async () => (await textOf(page, '#demo-message'))?.includes('player-sheet.demo cannot be played'), t.STEP_MS);
      if (!said) fail(`the player's sheet's demo was not refused: ${JSON.stringify(await textOf(page, '#demo-message'))}`);
    }
    await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
    await expectOwnSheet(t, page, 'after a reload');
  });

  await check('a kept sheet that cannot be read back is forgotten, said so, and the page\'s own is used', async () => {
    await page.evaluate((key) => localStorage.setItem(key, '{"name": "broken.bmp", "data": "*not base64*"}'), SHEET_KEY);
    await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
    await expectOwnSheet(t, page, 'after the reload');
    const st = await sheetStatus(page);
    if (!st.message?.includes('could not be read back')) fail(`#sheet-message says ${JSON.stringify(st.message)}`);
  });
  return page;
}

// A sheet chosen after the game ended is not checked before the reload;
// the start-up refuses it.
async function refusedAtStartPage(t, browser, base, files) {
  const { check, fail } = t;
  const page = await browser.newPage();
  t.watchPage(page, 'sheet at start-up');
  const warnings = [];
  page.on('console', (msg) => { if (['warn', 'warning'].includes(msg.type())) warnings.push(msg.text()); });
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
  await check('a 24-bit sheet chosen after the game ended is refused by the start-up, and the way back stays offered', async () => {
    await t.waitForStatus(page, { state: 'running', active: true }, 'after loading', t.LOAD_MS);
    await page.keyboard.press('Escape');
    await t.waitForStatus(page, { state: 'ended' }, 'after Esc');
    await Promise.all([page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), choose(page, '#sheet-file', files.deepPath)]);
    if (!(await poll(() => isShown(page, '#dialog'), t.LOAD_MS, 200))) fail(`no #dialog shown: ${JSON.stringify(await sheetStatus(page))}`);
    const text = await textOf(page, '#dialog-text');
    if (!text?.includes('CDib* Read BMP Failed')) fail(`the box says ${JSON.stringify(text)}`);
    const reason = 'city2.bmp has 24 bits per pixel';
    if (!warnings.some((w) => w.includes(reason))) fail(`no console warning says "${reason}": ${JSON.stringify(warnings)}`);
    if (!warnings.some((w) => w.includes('Error: CDib* Read BMP Failed'))) fail(`the box's line is no console warning: ${JSON.stringify(warnings)}`);
    const st = await poll(async () => {
      const s = await sheetStatus(page);
      return s.message && s;
    }, t.STEP_MS);
    if (!st) fail('the page says nothing of the sheet');
    if (!st.message.includes(`${DEEP_NAME} cannot be used`) || !st.message.includes('24 bits per pixel')) fail(`#sheet-message says ${JSON.stringify(st.message)}`);
    if (!st.inUse?.includes(DEEP_NAME) || !(await isShown(page, '#own-sheet'))) fail(`the page shows ${JSON.stringify(st)}`);
    const shot = path.join(process.cwd(), 'web-sheet.png');
    await page.screenshot({ path: shot });
    console.log(`a sheet the start-up refused: ${shot}`);
    await Promise.all([page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), page.click('#own-sheet')]);
    await expectOwnSheet(t, page, 'back with the page\'s own sheet');
    if (await isShown(page, '#dialog')) fail('#dialog is shown with the page\'s own sheet');
  });
  return page;
}

export async function playerSheetPages(t, browser, base) {
  const own = fs.readFileSync(path.join(t.dist, 'city2.bmp'));
  const files = {
    sheet: readBmp8(path.join(t.dist, 'city2.bmp')),
    v5: withV5Header(own),
    v5Path: path.join(t.demoFolder, V5_NAME),
    deep: deepSheet(),
    deepPath: path.join(t.demoFolder, DEEP_NAME),
  };
  fs.writeFileSync(files.v5Path, files.v5);
  fs.writeFileSync(files.deepPath, files.deep);
  const page = await playerSheetPage(t, browser, base, files);
  await page.close();
  const start = await refusedAtStartPage(t, browser, base, files);
  await start.close();
}
