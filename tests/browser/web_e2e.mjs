// End-to-end test of the browser build as a person plays it, in headless
// Chromium or Firefox: the page shows the background and the ship, an arrow key held
// moves the ship, P freezes and resumes the picture, the counters start where
// the game starts them, losing focus or visibility stops play and coming back
// repaints it, full screen keeps the keys, F12 minimizes to the "Click to
// resume" overlay, Esc ends the program. Then, with the sheet missing, the
// "Error" box appears and Enter dismisses it. Then demos (demo_e2e.mjs): a
// game saved with F9, replayed by the native runner and played in the page;
// and the player's own sheets (player_sheet_e2e.mjs): checked, refused or
// played, remembered, and forgotten again. Then the layout on phones,
// tablets and a desktop, and a frame's cost with the CPU slowed 4x
// (layout_e2e.mjs). Then a phone's touch pad (touch_e2e.mjs): shown at a
// touch and hidden at a key, its controls named and finger-sized, no
// scrolling, steering and firing with one finger and two, its demo replayed
// by the native runner, Pause, and Quit that asks first. Then demos as
// links (demo_link_e2e.mjs): copied, opened
// in a fresh context to the native runner's screen, refused when broken.
// Then offline play (offline_e2e.mjs): the page's worker, installability,
// a reload with no network, and a new build offered and taken.
// Prints the median frame time and saves web-page.png (play), web-error.png
// (the box), web-demo.png (a playback), web-sheet.png (a player's sheet
// the start-up refused) and web-phone.png (a phone with the touch pad) in
// the current folder.
//
// Usage: node web_e2e.mjs [DIST_FOLDER]   (default: ../../dist/web)
// QV_NATIVE_RUNNER names the native quorvanteledix-headless that replays
// the page's demo (run in DIST_FOLDER, beside its city2.bmp); QV_SHEET_JSON
// the sheet's facts (default: build-web/bin/city2.json, as scripts/web
// leaves it). QV_WEB_E2E_ONLY, a comma-separated list of play, no-sheet,
// pad, demo, sheet, layout, touch, link and offline, runs only those parts. QV_BROWSER=firefox
// runs them in Firefox ESR (engines.mjs); parts Firefox cannot run, or that
// the Chromium run covers, are named with why ("skipped in Firefox: ...").
// Exit status: 0 passed, 1 failed, 77 skipped (the browser or puppeteer-core missing).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { demoPages } from './demo_e2e.mjs';
import { demoLinkPages } from './demo_link_e2e.mjs';
import { engineNamed, startBrowser } from './engines.mjs';
import { layoutPages } from './layout_e2e.mjs';
import { offlinePages } from './offline_e2e.mjs';
import { padPages } from './pad_e2e.mjs';
import { playerSheetPages } from './player_sheet_e2e.mjs';
import { touchPages } from './touch_e2e.mjs';
import {
  WITHOUT_SHEET, captureCanvas, gameStatus, isShown, poll, serveFolder, sleep, stopRunning, textOf,
} from './harness.mjs';
import {
  SCREEN_H, SCREEN_W, readBmp8, readShip, sameRgb, screenRgb, shipShareAt,
} from './sheet.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const dist = path.resolve(process.argv[2] ?? path.join(here, '..', '..', 'dist', 'web'));
const engine = engineNamed(process.env.QV_BROWSER);
const LOAD_MS = 90000; // compiling the WebAssembly on a busy 2-core machine
const STEP_MS = 10000;
const STILL_MS = 1000; // the least time a check keeps the game paused or inactive
const WATCHDOG_MS = 420000;
const nativeRunner = process.env.QV_NATIVE_RUNNER ? path.resolve(process.env.QV_NATIVE_RUNNER) : null;
const factsPath = path.resolve(process.env.QV_SHEET_JSON || path.join(here, '..', '..', 'build-web', 'bin', 'city2.json'));
const SHIP_MAX_X = 598;

// ---- Outcome bookkeeping: every check prints one line.
let passed = 0;
let failed = 0;
class CheckFailed extends Error {}
const fail = (what) => { throw new CheckFailed(what); };

async function check(name, body) {
  if (stopping) return false; // a signal came: the browser is going away
  try {
    await body();
    passed++;
    console.log(`ok - ${name}`);
    return true;
  } catch (err) {
    if (stopping) return false;
    failed++;
    const what = err instanceof CheckFailed ? err.message : (err.stack ?? String(err));
    console.log(`FAIL - ${name}: ${what}`);
    return false;
  }
}

// The parts Firefox leaves out, and why: what needs Chromium's DevTools
// protocol or emulation, and what the Chromium run covers already (the
// Firefox run is kept to the core of the page and takes a minute or two).
const NOT_IN_FIREFOX = {
  pad: 'the idle cost is read from Chromium\'s performance metrics over CDP; the Chromium run covers game controllers',
  layout: 'device and CPU-throttling emulation are Chromium\'s (CDP)',
  touch: 'touch emulation is Chromium\'s',
  link: 'Firefox has no clipboard permissions a test can grant or refuse; the Chromium run covers demo links',
};
function engineRuns(part) {
  const why = engine.id === 'firefox' && NOT_IN_FIREFOX[part];
  if (why) console.log(`skipped in Firefox: ${part}: ${why}`);
  return !why;
}
// For a check inside a part: true in Chromium, else says why it is skipped.
function chromiumOnly(name, why) {
  if (engine.id === 'chromium') return true;
  console.log(`skipped in ${engine.name}: ${name}: ${why}`);
  return false;
}

// ---- Skips: only for a missing browser or driver.
if (!fs.existsSync(engine.path)) {
  console.log(`SKIP: no ${engine.name} at ${engine.path}`);
  process.exit(77);
}
let puppeteer;
try {
  puppeteer = (await import('puppeteer-core')).default;
} catch {
  console.log(`SKIP: puppeteer-core is not installed (run npm ci in ${here})`);
  process.exit(77);
}

for (const file of [path.join(dist, 'index.html'), path.join(dist, 'city2.bmp'), factsPath]) {
  if (!fs.existsSync(file)) {
    console.log(`FAIL - the page is built: ${file} does not exist (build it with scripts/web)`);
    console.log('0 passed, 1 failed');
    process.exit(1);
  }
}

// ---- What the first frame holds, from the sheet itself.
const sheet = readBmp8(path.join(dist, 'city2.bmp'));
const ship = readShip(factsPath);
// Background places no sprite reaches while the ship keeps its row: above
// every foe's row (y >= 100 less an explosion's 10) and below the lowest
// (350 plus a sprite's height). Column 639 and row 479 lie outside the
// background's rectangle.
const backgroundPlaces = [];
for (const band of [[2, 84], [392, 476]]) {
  for (let y = band[0]; y <= band[1]; y += 9) {
    for (let x = 3 + (y % 5); x < SCREEN_W - 1; x += 41) backgroundPlaces.push([x, y]);
  }
}

const fmt = (rgb) => `rgb(${rgb.join(',')})`;

function backgroundMismatches(capture) {
  const bad = [];
  for (const [x, y] of backgroundPlaces) {
    const seen = screenRgb(capture, x, y);
    const want = sheet.rgb(x, y);
    if (!sameRgb(seen, want)) bad.push(`(${x},${y}) ${fmt(seen)} instead of ${fmt(want)}`);
  }
  return bad;
}

// The x where the ship shows best on its start row, and how well.
function findShip(capture, y = ship.y) {
  let best = { x: -1, share: 0 };
  for (let x = 0; x <= SCREEN_W - ship.width; x++) {
    const share = shipShareAt(capture, ship, x, y);
    if (share > best.share) best = { x, share };
  }
  return best;
}

const shipSeen = (best) => `best match at x=${best.x} with ${(100 * best.share).toFixed(0)}% of its ${ship.pixels.length} pixels`;

// Polls captures until the ship shows on its row; resolves to its x or fails.
async function waitForShip(page, why) {
  let best;
  const found = await poll(async () => {
    best = findShip(await captureCanvas(page));
    return best.share >= ship.share;
  }, STEP_MS, 200);
  if (!found) fail(`${why}: the ship is not on row ${ship.y}; ${shipSeen(best)}`);
  return best.x;
}

async function waitForStatus(page, wanted, what, ms = STEP_MS) {
  let last;
  const ok = await poll(async () => {
    last = await gameStatus(page);
    return last && Object.entries(wanted).every(([k, v]) => last[k] === v);
  }, ms);
  if (!ok) fail(`${what}: window.quorvanteledix is ${JSON.stringify(last)}, wanted ${JSON.stringify(wanted)}`);
  return last;
}

// Fails unless frames stop and the canvas keeps its picture for a while.
async function expectStill(page, what) {
  await sleep(300); // a frame already under way may still land
  const before = await gameStatus(page);
  const a = await captureCanvas(page);
  await sleep(700);
  const after = await gameStatus(page);
  const b = await captureCanvas(page);
  if (after.frames !== before.frames) fail(`${what}: frames went on, ${before.frames} -> ${after.frames}`);
  if (!a.equals(b)) fail(`${what}: the canvas changed in 700 ms`);
}

// Fails unless frames run again and the ship and background are painted.
async function expectPlaying(page, what) {
  const start = (await gameStatus(page)).frames;
  const grew = await poll(async () => (await gameStatus(page)).frames > start + 5, STEP_MS);
  if (!grew) fail(`${what}: frames stayed at ${(await gameStatus(page)).frames}`);
  await waitForShip(page, what);
  const bad = backgroundMismatches(await captureCanvas(page));
  if (bad.length) fail(`${what}: background not repainted at ${bad.length} places, e.g. ${bad.slice(0, 3).join('; ')}`);
}

// ---- The run.
const requests = [];
const consoleLines = [];
let server;
let chromium;
let stopping = null; // the cleanup under way, which every way out awaits
let demoFolder; // the demo files the test writes
function stopAll() {
  stopping ??= (async () => {
    stopRunning();
    if (chromium) await chromium.stop();
    if (server) await server.close();
    if (demoFolder) fs.rmSync(demoFolder, { recursive: true, force: true });
  })();
  return stopping;
}
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
  process.on(signal, async () => {
    failed++;
    console.log(`FAIL - stopped by ${signal}`);
    await stopAll();
    console.log(`${passed} passed, ${failed} failed`);
    process.exit(1);
  });
}
const watchdog = setTimeout(async () => {
  failed++;
  console.log(`FAIL - the test did not finish within ${WATCHDOG_MS / 1000} s`);
  await stopAll();
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(1);
}, WATCHDOG_MS);

function watchPage(page, tag) {
  page.on('console', (msg) => consoleLines.push(`[${tag}] ${msg.type()}: ${msg.text()}`));
  page.on('pageerror', (err) => consoleLines.push(`[${tag}] pageerror: ${err.message}`));
}

// Records, on the window after the page's own handlers, whether the page
// prevented the browser's action for each key the test presses.
function recordKeyDefaults(page) {
  return page.evaluate(() => {
    window.__e2eKeys = [];
    window.addEventListener('keydown', (e) => window.__e2eKeys.push([e.code, e.defaultPrevented]));
  });
}

async function playPage(browser, base) {
  const page = await browser.newPage();
  watchPage(page, 'play');
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: LOAD_MS });

  const loaded = await check('the page loads and the game runs', async () => {
    await waitForStatus(page, { state: 'running', active: true }, 'after loading', LOAD_MS);
    const frames = await poll(async () => (await gameStatus(page)).frames > 0, STEP_MS);
    if (!frames) fail('state is running but no frame was presented');
    for (const sel of ['#paused', '#ended', '#dialog']) if (await isShown(page, sel)) fail(`${sel} is shown during play`);
  });
  if (!loaded) return page;

  await check('the counters panel starts at 3000, 2, 7000, 0', async () => {
    const want = { '#shield': '3000', '#lives': '2', '#boss-energy': '7000', '#score': '0' };
    if (!(await isShown(page, '#counters'))) fail('#counters is not shown');
    const seen = {};
    for (const sel of Object.keys(want)) seen[sel] = (await textOf(page, sel))?.trim() ?? null;
    const wrong = Object.keys(want).filter((sel) => seen[sel] !== want[sel]);
    if (wrong.length) fail(`saw ${JSON.stringify(seen)}`);
  });

  await check('the canvas is 640 x 480, scaled by a whole factor', async () => {
    const box = await page.evaluate(() => {
      const c = document.querySelector('#screen');
      const r = c.getBoundingClientRect();
      return { tag: c.tagName, w: c.width, h: c.height, cssW: r.width, cssH: r.height };
    });
    if (box.tag !== 'CANVAS' || box.w !== SCREEN_W || box.h !== SCREEN_H) fail(`#screen is ${JSON.stringify(box)}`);
    const sx = box.cssW / SCREEN_W;
    const sy = box.cssH / SCREEN_H;
    if (sx !== sy || sx < 1 || !Number.isInteger(sx)) fail(`shown at ${box.cssW} x ${box.cssH} CSS pixels`);
  });

  await check('the canvas shows the background and the ship at its start', async () => {
    const a = await captureCanvas(page);
    const bad = backgroundMismatches(a);
    if (bad.length) fail(`${bad.length} of ${backgroundPlaces.length} background places differ, e.g. ${bad.slice(0, 3).join('; ')}`);
    const share = shipShareAt(a, ship, ship.x, ship.y);
    if (share < ship.share) fail(`at (${ship.x}, ${ship.y}) ${(100 * share).toFixed(0)}% of the ship's pixels show; ${shipSeen(findShip(a))}`);
  });

  await recordKeyDefaults(page);
  await check('ArrowRight held moves the ship right, and it stops when released', async () => {
    const from = await waitForShip(page, 'before the key');
    // Held briefly, so that a key stuck down would still be seen moving on
    // before the ship reaches the edge.
    await page.keyboard.down('ArrowRight');
    await sleep(150);
    await page.keyboard.up('ArrowRight');
    await sleep(200);
    const x1 = await waitForShip(page, 'after ArrowRight');
    if (x1 <= from) fail(`the ship is at x=${x1}, it was at x=${from}`);
    if (x1 > SHIP_MAX_X) fail(`the ship is at x=${x1}, past the game's limit ${SHIP_MAX_X}`);
    await sleep(400);
    const x2 = await waitForShip(page, 'after the key was released');
    if (x2 !== x1) fail(`the ship went on from x=${x1} to x=${x2} after the key was released`);
  });

  await check('P freezes the canvas and P again resumes it', async () => {
    await page.keyboard.press('KeyP');
    await sleep(400);
    const a = await captureCanvas(page);
    await sleep(200);
    const b = await captureCanvas(page);
    await sleep(600);
    const c = await captureCanvas(page);
    if (!a.equals(b) || !b.equals(c)) fail('the canvas still changes after P');
    await page.keyboard.press('KeyP');
    const moved = await poll(async () => {
      await sleep(200);
      return !(await captureCanvas(page)).equals(c);
    }, STEP_MS);
    if (!moved) fail('the canvas stayed frozen after the second P');
  });

  await check('the page keeps the game keys from the browser', async () => {
    const keys = await page.evaluate(() => window.__e2eKeys);
    const seen = new Map(keys);
    for (const code of ['ArrowRight', 'KeyP']) {
      if (!seen.has(code)) fail(`no keydown with code ${code} reached the window`);
      if (!seen.get(code)) fail(`keydown ${code} was not default-prevented`);
    }
  });

  await check('#fullscreen goes full screen with the keys still the game\'s, Alt+Enter comes back', async () => {
    const view = () => page.evaluate(() => {
      const r = document.querySelector('#screen').getBoundingClientRect();
      return { full: !!document.fullscreenElement, w: r.width, h: r.height };
    });
    await page.click('#fullscreen');
    const full = await poll(async () => (await view()).full, STEP_MS);
    if (!full) fail('document.fullscreenElement stayed null after a click on #fullscreen');
    const box = await view();
    if (box.w / SCREEN_W !== box.h / SCREEN_H || !Number.isInteger(box.w / SCREEN_W)) {
      fail(`full screen shows the canvas at ${box.w} x ${box.h} CSS pixels`);
    }
    await waitForStatus(page, { active: true }, 'in full screen');
    const from = await waitForShip(page, 'in full screen');
    await page.keyboard.down('ArrowLeft');
    await sleep(150);
    await page.keyboard.up('ArrowLeft');
    const moved = await poll(async () => findShip(await captureCanvas(page)).x < from, STEP_MS);
    if (!moved) fail(`ArrowLeft after the click left the ship at x=${from}`);
    await page.keyboard.down('AltLeft');
    await page.keyboard.press('Enter');
    await page.keyboard.up('AltLeft');
    const left = await poll(async () => !(await view()).full, STEP_MS);
    if (!left) fail('Alt+Enter did not leave full screen');
    await waitForStatus(page, { active: true, state: 'running' }, 'after Alt+Enter');
  });

  await check('blur stops frames and focus brings play back', async () => {
    await page.evaluate(() => window.dispatchEvent(new Event('blur')));
    await waitForStatus(page, { active: false }, 'after blur');
    await expectStill(page, 'after blur');
    await page.evaluate(() => window.dispatchEvent(new Event('focus')));
    await waitForStatus(page, { active: true, state: 'running' }, 'after focus');
    await expectPlaying(page, 'after focus');
  });

  await check('a hidden page stops frames and showing it again brings play back', async () => {
    const other = await browser.newPage();
    try {
      await other.bringToFront();
      const hidden = await poll(() => page.evaluate(() => document.visibilityState === 'hidden'), STEP_MS);
      if (!hidden) fail('the page did not become hidden behind another tab');
      await waitForStatus(page, { active: false }, 'while hidden');
      await expectStill(page, 'while hidden');
      await page.bringToFront();
    } finally {
      await other.close();
    }
    await waitForStatus(page, { active: true, state: 'running' }, 'shown again');
    await expectPlaying(page, 'shown again');
  });

  await check('F12 shows "Click to resume", and a click brings play back', async () => {
    await page.keyboard.press('F12');
    await waitForStatus(page, { active: false }, 'after F12');
    if (!(await poll(() => isShown(page, '#paused'), STEP_MS))) fail('#paused is not shown after F12');
    const text = await textOf(page, '#paused');
    if (!text?.includes('Click to resume')) fail(`#paused says ${JSON.stringify(text)}`);
    await expectStill(page, 'minimized');
    await page.mouse.click(512, 384);
    await waitForStatus(page, { active: true, state: 'running' }, 'after the click');
    if (await isShown(page, '#paused')) fail('#paused is still shown after the click');
    await expectPlaying(page, 'after the click');
  });

  await check('after F12 a key brings play back', async () => {
    await page.keyboard.press('F12');
    await waitForStatus(page, { active: false }, 'after F12');
    await page.keyboard.press('ShiftLeft');
    await waitForStatus(page, { active: true, state: 'running' }, 'after a key');
    if (await isShown(page, '#paused')) fail('#paused is still shown after the key');
    await expectPlaying(page, 'after a key');
  });

  await check('frame times are reported, each of one frame', async () => {
    await sleep(2000);
    const times = await page.evaluate(() => window.quorvanteledix.frameTimes);
    if (!Array.isArray(times) || times.length === 0) fail(`frameTimes is ${JSON.stringify(times)}`);
    if (!times.every((t) => typeof t === 'number' && Number.isFinite(t) && t >= 0)) {
      fail(`frameTimes holds ${JSON.stringify(times.slice(0, 10))}`);
    }
    const sorted = [...times].sort((p, q) => p - q);
    const mid = sorted.length >> 1;
    const median = sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    console.log(`median GameFrame+present: ${median.toFixed(3)} ms (${times.length} frames, ` +
      `min ${sorted[0].toFixed(3)}, max ${sorted[sorted.length - 1].toFixed(3)})`);
    // The checks above hold the game paused or inactive for a second or
    // more at a time: a sample that long measured the wait, not a frame.
    const spanning = times.filter((t) => t >= STILL_MS);
    if (spanning.length) {
      fail(`${spanning.length} of ${times.length} samples span a wait: ${spanning.map((t) => t.toFixed(1)).join(', ')} ms`);
    }
  });

  const shot = path.join(process.cwd(), 'web-page.png');
  await page.screenshot({ path: shot });
  console.log(`page during play: ${shot}`);

  await check('Esc ends the game and the ended panel appears', async () => {
    await page.keyboard.press('Escape');
    const status = await waitForStatus(page, { state: 'ended' }, 'after Esc');
    if (status.exitStatus !== 0) fail(`exitStatus is ${JSON.stringify(status.exitStatus)}, the program returns 0`);
    if (!(await poll(() => isShown(page, '#ended'), STEP_MS))) fail('#ended is not shown');
    const text = await textOf(page, '#ended');
    if (!text?.includes('ended')) fail(`#ended says ${JSON.stringify(text)}`);
    const button = await textOf(page, '#play-again');
    if (!button?.includes('Play again')) fail(`#play-again is ${JSON.stringify(button)}`);
    await expectStill(page, 'ended');
  });

  await check('Play again reloads the page into a new game', async () => {
    await Promise.all([
      page.waitForNavigation({ waitUntil: 'load', timeout: LOAD_MS }),
      page.click('#play-again'),
    ]);
    await waitForStatus(page, { state: 'running', active: true }, 'after Play again', LOAD_MS);
    if (await isShown(page, '#ended')) fail('#ended is still shown');
    await expectPlaying(page, 'after Play again');
    const x = await waitForShip(page, 'after Play again');
    if (x !== ship.x) fail(`the new game's ship is at x=${x}`);
  });
  return page;
}

async function missingSheetPage(browser, base) {
  const page = await browser.newPage();
  watchPage(page, 'no sheet');
  const boxes = [];
  page.on('console', (msg) => boxes.push(msg.text()));
  await page.goto(base + WITHOUT_SHEET.slice(1) + 'index.html', { waitUntil: 'load', timeout: LOAD_MS });

  await check('without city2.bmp the "Error" box says CDib* Read BMP Failed, and Enter dismisses it', async () => {
    if (!(await poll(() => isShown(page, '#dialog'), LOAD_MS, 200))) {
      fail(`no #dialog shown; window.quorvanteledix is ${JSON.stringify(await gameStatus(page))}`);
    }
    const caption = (await textOf(page, '#dialog-caption'))?.trim();
    const text = await textOf(page, '#dialog-text');
    if (caption !== 'Error') fail(`the box's caption is ${JSON.stringify(caption)}`);
    if (!text?.includes('CDib* Read BMP Failed')) fail(`the box says ${JSON.stringify(text)}`);
    if (!(await isShown(page, '#dialog-ok'))) fail('the box has no OK button shown');
    if (!boxes.some((line) => line.includes('Error: CDib* Read BMP Failed'))) {
      fail(`the console never said "Error: CDib* Read BMP Failed"; it said ${JSON.stringify(boxes.slice(-5))}`);
    }
    const shot = path.join(process.cwd(), 'web-error.png');
    await page.screenshot({ path: shot });
    console.log(`the box: ${shot}`);
    await page.keyboard.press('Enter');
    const status = await waitForStatus(page, { state: 'ended' }, 'after Enter');
    if (await isShown(page, '#dialog')) fail('#dialog is still shown after Enter');
    if (!(await poll(() => isShown(page, '#ended'), STEP_MS))) fail('#ended is not shown after the box');
    if (status.exitStatus !== 0) fail(`exitStatus is ${JSON.stringify(status.exitStatus)}, the program returns 0`);
  });
  return page;
}

let exitCode = 1;
try {
  server = await serveFolder(dist, requests);
  chromium = await startBrowser(puppeteer, engine); // Chromium or Firefox, whichever QV_BROWSER names
  demoFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'web_e2e-demos-'));
  console.log(`serving ${dist} at ${server.url}; ${await chromium.browser.version()}`);
  const only = process.env.QV_WEB_E2E_ONLY ? process.env.QV_WEB_E2E_ONLY.split(',') : null;
  const runs = (part) => (!only || only.includes(part)) && engineRuns(part);
  if (runs('play')) await playPage(chromium.browser, server.url);
  if (runs('no-sheet')) await missingSheetPage(chromium.browser, server.url);
  if (runs('pad')) await padPages({ check, fail, waitForStatus, waitForShip, expectStill, expectPlaying, watchPage, LOAD_MS, STEP_MS },
    chromium.browser, server.url);
  if (runs('demo')) await demoPages({
    check, fail, waitForStatus, expectStill, recordKeyDefaults, watchPage, consoleLines,
    dist, demoFolder, downloads: chromium.downloads, nativeRunner, LOAD_MS, STEP_MS,
  }, chromium.browser, server.url);
  if (runs('sheet')) await playerSheetPages({
    check, fail, waitForStatus, waitForShip, watchPage, ship, dist, demoFolder, nativeRunner, LOAD_MS, STEP_MS,
  }, chromium.browser, server.url);
  if (runs('layout')) {
    await layoutPages({ check, fail, waitForStatus, watchPage, consoleLines, LOAD_MS, STEP_MS }, chromium.browser, server.url);
  }
  if (runs('touch')) {
    await touchPages({ check, fail, waitForStatus, expectStill, watchPage, dist, demoFolder, nativeRunner, LOAD_MS, STEP_MS },
      chromium.browser, server.url);
  }
  if (runs('link')) {
    await demoLinkPages({ check, fail, waitForStatus, watchPage, dist, demoFolder, nativeRunner, LOAD_MS, STEP_MS },
      chromium.browser, server.url);
  }
  if (runs('offline')) {
    await offlinePages({ check, fail, chromiumOnly, waitForStatus, expectPlaying, watchPage, dist, LOAD_MS, STEP_MS }, chromium.browser);
  }
  exitCode = failed ? 1 : 0;
} catch (err) {
  if (!stopping) {
    failed++;
    console.log(`FAIL - the test could not go on: ${err.stack ?? err}`);
  }
} finally {
  clearTimeout(watchdog);
  if (failed) {
    console.log('--- page console (last 30 lines)');
    for (const line of consoleLines.slice(-30)) console.log(line);
    console.log('--- requests');
    for (const line of requests) console.log(line);
  }
  await stopAll();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(exitCode);
