// The browser test's demo checks: a game played for some seconds as a
// person plays it (steering, firing, a pause with P, F12 and back with a
// click) is saved with F9; the native runner replays the saved bytes to the
// screen the page named, the same twice; demos of another sheet or cut
// short are refused without disturbing the game; the page plays the demo
// with its progress and pause, deaf to the viewer's keys, and ends on the
// very frame it was saved with; "Watch again" plays it once more, and a
// refused demo chosen after the end leaves the live game to start.
// web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import fs from 'node:fs';
import path from 'node:path';

import {
  captureCanvas, dropFile, gameStatus, headerSheetHash, isShown, poll, runProgram, savedDemo, sleep, textOf,
} from './harness.mjs';

const DEMO_NAME = /^quorvanteledix-\d{4}-\d{2}-\d{2}-\d{6}\.demo$/;
const RUNNER_MS = 120000;

// The page's playback as it shows it.
function playbackStatus(page) {
  return page.evaluate(() => {
    const q = window.quorvanteledix;
    const bar = document.querySelector('#demo-progress');
    return { ...q.demo, state: q.state, frames: q.frames, value: bar ? bar.value : null, max: bar ? bar.max : null };
  });
}

// Chooses `file` in the page's demo input, as the file chooser would.
async function chooseDemo(page, file) {
  const input = await page.$('#demo-file');
  if (!input) throw new Error('the page has no #demo-file input');
  await input.uploadFile(file);
}

// Some seconds of play, then F9; resolves to the demo the page keeps.
async function playAndSave(t, page) {
  const { check, fail } = t;
  await t.waitForStatus(page, { state: 'running', active: true }, 'after loading', t.LOAD_MS);
  await t.recordKeyDefaults(page);
  const kb = page.keyboard;
  await kb.down('ArrowUp');
  await sleep(250);
  await kb.down('ControlLeft');
  await sleep(500);
  await kb.up('ArrowUp');
  await kb.down('ArrowRight');
  await sleep(400);
  await kb.up('ArrowRight');
  await kb.up('ControlLeft');
  await kb.press('KeyP');
  await sleep(800);
  await kb.press('KeyP');
  await sleep(300);
  await kb.press('F12');
  await t.waitForStatus(page, { active: false }, 'after F12');
  await sleep(500);
  await page.mouse.click(512, 384);
  await t.waitForStatus(page, { active: true }, 'after the click');
  await kb.down('ArrowDown');
  await kb.down('ControlLeft');
  await sleep(400);
  await kb.up('ArrowDown');
  await kb.up('ControlLeft');
  await sleep(1000);
  await kb.press('F9');

  let demo = null;
  await check('F9 saves the demo: the console line, the page\'s copy and its download', async () => {
    demo = await poll(() => savedDemo(page), t.STEP_MS);
    if (!demo) fail('window.quorvanteledix.lastDemo stayed null after F9');
    if (!DEMO_NAME.test(demo.name)) fail(`the demo is named ${JSON.stringify(demo.name)}`);
    if (!/^[0-9a-f]{16}$/.test(demo.hash)) fail(`the screen hash is ${JSON.stringify(demo.hash)}`);
    if (demo.passes < 100) fail(`the demo holds ${demo.passes} passes of some seconds' play`);
    const line = `Demo saved to ${demo.name} (${demo.passes} passes), screen ${demo.hash}`;
    if (!t.consoleLines.some((l) => l.endsWith(line))) fail(`the console never said "${line}"`);
    const keys = new Map(await page.evaluate(() => window.__e2eKeys));
    if (keys.get('F9') !== true) fail('F9\'s keydown was not taken from the browser');
    if (!(await isShown(page, '#demo-download'))) fail('no "Download demo" link is shown');
    const link = await page.evaluate(() => document.querySelector('#demo-download').download);
    if (link !== demo.name) fail(`the link downloads ${JSON.stringify(link)}`);
    const downloaded = path.join(t.downloads, demo.name);
    const done = await poll(() => fs.existsSync(downloaded) && fs.statSync(downloaded).size === demo.bytes.length, t.STEP_MS);
    if (!done) fail(`no download ${demo.name} of ${demo.bytes.length} bytes; the folder has ${JSON.stringify(fs.readdirSync(t.downloads))}`);
    if (!fs.readFileSync(downloaded).equals(demo.bytes)) fail('the downloaded file differs from the page\'s copy');
  });
  return demo;
}

// The native runner's trace of a demo, run in `folder` (beside the
// city2.bmp it plays with), checked to end on `hash`.
export async function replayNatively(t, file, hash, folder = t.dist) {
  const runner = t.nativeRunner;
  if (!runner) t.fail('no native runner: QV_NATIVE_RUNNER names none');
  if (!fs.existsSync(runner)) t.fail(`no native runner at ${runner}`);
  const run = await runProgram(runner, ['--demo', file, '--trace', '-', '--screen-hash'], { cwd: folder, timeoutMs: RUNNER_MS });
  if (run.status !== 0) t.fail(`${runner} exited with ${run.status ?? run.signal}: ${run.stderr.trim()}`);
  const lines = run.stdout.toString().trimEnd().split('\n');
  const last = JSON.parse(lines[lines.length - 1]);
  if (last.screen !== hash) t.fail(`the replay's last trace line (frame ${last.frame}) has screen ${last.screen}, the page saved ${hash}`);
  return run.stdout;
}

// The demo saved, replayed natively, and bad demos refused on the live page.
async function recordPage(t, browser, base) {
  const { check, fail } = t;
  const page = await browser.newPage();
  t.watchPage(page, 'demo');
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
  const demo = await playAndSave(t, page);
  if (!demo) return null;
  demo.file = path.join(t.demoFolder, demo.name);
  fs.writeFileSync(demo.file, demo.bytes);
  demo.otherSheet = path.join(t.demoFolder, 'other-sheet.demo');
  const other = Buffer.from(demo.bytes);
  other[12] ^= 0x01;
  fs.writeFileSync(demo.otherSheet, other);

  await check('the native runner replays the page\'s demo to the screen it was saved with, the same twice', async () => {
    const first = await replayNatively(t, demo.file, demo.hash);
    const second = await replayNatively(t, demo.file, demo.hash);
    if (!second.equals(first)) fail('two replays of the same demo wrote different traces');
    console.log(`native replay: ${first.toString().trimEnd().split('\n').length} trace lines, screen ${demo.hash}`);
  });

  await check('a demo of another city2.bmp is refused naming both hashes, and the game goes on', async () => {
    await page.evaluate(() => { window.__e2eSamePage = true; });
    await chooseDemo(page, demo.otherSheet);
    if (!(await poll(() => isShown(page, '#demo-message'), t.STEP_MS))) fail('no #demo-message is shown');
    const text = await textOf(page, '#demo-message');
    for (const hash of [headerSheetHash(other), headerSheetHash(demo.bytes)]) {
      if (!text.includes(hash)) fail(`the message does not name ${hash}: ${JSON.stringify(text)}`);
    }
    if (!text.includes('other-sheet.demo cannot be played')) fail(`the message says ${JSON.stringify(text)}`);
    if (!(await page.evaluate(() => window.__e2eSamePage === true))) fail('the page was reloaded');
    const status = await t.waitForStatus(page, { state: 'running', active: true }, 'after the refusal');
    if ((await page.evaluate(() => window.quorvanteledix.demo.mode)) !== 'live') fail('the page left the live game');
    const before = await captureCanvas(page);
    const on = await poll(async () => (await gameStatus(page)).frames > status.frames + 5, t.STEP_MS);
    if (!on) fail(`frames stayed at ${status.frames} after the refusal`);
    if ((await captureCanvas(page)).equals(before)) fail('the canvas stands still after the refusal');
  });

  await check('a demo cut short, dropped on the page, is refused saying so', async () => {
    await dropFile(page, demo.bytes.subarray(0, demo.bytes.length - 3), 'cut.demo');
    const said = await poll(async () => (await textOf(page, '#demo-message'))?.includes('cut.demo cannot be played'), t.STEP_MS);
    const text = await textOf(page, '#demo-message');
    if (!said || !text.includes('cut short')) fail(`the message says ${JSON.stringify(text)}`);
    if (!(await page.evaluate(() => window.__e2eSamePage === true))) fail('the page was reloaded');
  });
  await page.close();
  return demo;
}

// Waits for a playback that has handed over passes and shown frames.
async function waitForPlayback(t, page, what) {
  const started = await poll(async () => {
    const st = await playbackStatus(page);
    return st.mode === 'playback' && st.frames > 0 && st.played > 0;
  }, t.LOAD_MS);
  if (!started) t.fail(`${what}: no playback, ${JSON.stringify(await playbackStatus(page))}`);
}

// The viewer's own input, none of which may reach the game being played.
async function viewerInput(page) {
  await page.keyboard.down('ArrowLeft');
  await page.keyboard.down('ControlLeft');
  await sleep(300);
  await page.keyboard.up('ControlLeft');
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.press('KeyP');
  await page.mouse.click(512, 384);
  await page.evaluate(() => {
    window.dispatchEvent(new Event('blur'));
    window.dispatchEvent(new Event('focus'));
  });
}

async function playbackPage(t, browser, base, demo) {
  const { check, fail } = t;
  const viewer = await browser.newPage();
  t.watchPage(viewer, 'playback');
  await viewer.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
  const playing = await check('a chosen demo plays in the page from start-up, its progress advancing', async () => {
    await t.waitForStatus(viewer, { state: 'running' }, 'before choosing', t.LOAD_MS);
    await Promise.all([viewer.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), chooseDemo(viewer, demo.file)]);
    await waitForPlayback(t, viewer, 'after choosing');
    const a = await playbackStatus(viewer);
    if (a.passes !== demo.passes || a.max !== demo.passes) fail(`the playback has ${a.passes} passes (bar max ${a.max}), the demo ${demo.passes}`);
    if (!(await isShown(viewer, '#demo-progress')) || !(await isShown(viewer, '#demo-pause'))) fail('the progress bar or the pause control is not shown');
    await viewerInput(viewer);
    await sleep(500);
    const b = await playbackStatus(viewer);
    if (!(b.value > a.value) || b.played !== b.value) fail(`the progress went from ${a.value} to ${b.value} (played ${b.played})`);
    const shot = path.join(process.cwd(), 'web-demo.png');
    await viewer.screenshot({ path: shot });
    console.log(`page during a playback: ${shot}`);
  });
  if (!playing) return viewer;

  await check('pausing the playback stops its frames and progress, resuming goes on', async () => {
    await viewer.click('#demo-pause');
    if ((await textOf(viewer, '#demo-pause'))?.trim() !== 'Resume') fail('the pause control does not offer Resume');
    await t.expectStill(viewer, 'paused');
    const a = await playbackStatus(viewer);
    await sleep(500);
    const b = await playbackStatus(viewer);
    if (b.value !== a.value || b.ended) fail(`the progress went on while paused, ${a.value} -> ${b.value}`);
    await viewer.click('#demo-pause');
    const on = await poll(async () => (await playbackStatus(viewer)).frames > b.frames + 5, t.STEP_MS);
    if (!on) fail('frames did not run again after resuming');
  });

  const ended = async (what) => {
    const status = await t.waitForStatus(viewer, { state: 'ended' }, what, RUNNER_MS);
    const st = await playbackStatus(viewer);
    if (!st.ended || st.value !== st.max) fail(`${what}: the playback ended at ${st.value} of ${st.max}`);
    if (st.endScreen !== demo.hash) fail(`${what}: the playback ended on screen ${st.endScreen}, the demo was saved on ${demo.hash}`);
    if (status.exitStatus !== 0) fail(`${what}: exitStatus is ${JSON.stringify(status.exitStatus)}`);
    if (!(await poll(() => isShown(viewer, '#ended'), t.STEP_MS))) fail(`${what}: #ended is not shown`);
  };
  const over = await check('the playback ends on the frame the demo was saved with, and the page says it ended', async () => {
    await ended('at the end of the demo');
    const text = await textOf(viewer, '#ended');
    if (!text?.includes('The demo has ended.')) fail(`#ended says ${JSON.stringify(text)}`);
    if (!(await isShown(viewer, '#watch-again'))) fail('#watch-again is not shown');
  });
  if (!over) return viewer;

  await check('"Watch again" plays the demo once more to the same end', async () => {
    await Promise.all([viewer.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), viewer.click('#watch-again')]);
    await waitForPlayback(t, viewer, 'after Watch again');
    await ended('watched again');
  });

  await check('a demo of another sheet chosen after the end is refused as the game starts, which then runs', async () => {
    await Promise.all([viewer.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }), chooseDemo(viewer, demo.otherSheet)]);
    await t.waitForStatus(viewer, { state: 'running', active: true }, 'after the reload', t.LOAD_MS);
    if (!(await poll(() => isShown(viewer, '#demo-message'), t.STEP_MS))) fail('no #demo-message is shown');
    const text = await textOf(viewer, '#demo-message');
    if (!text.includes(headerSheetHash(demo.bytes)) || !text.includes('other-sheet.demo cannot be played')) {
      fail(`the message says ${JSON.stringify(text)}`);
    }
    const st = await playbackStatus(viewer);
    if (st.mode !== 'live') fail(`the page is in ${st.mode} mode`);
    const on = await poll(async () => (await gameStatus(viewer)).frames > st.frames + 5, t.STEP_MS);
    if (!on) fail('the live game shows no frames');
  });
  return viewer;
}

export async function demoPages(t, browser, base) {
  const demo = await recordPage(t, browser, base);
  if (!demo) return;
  const viewer = await playbackPage(t, browser, base, demo);
  await viewer.close();
}
