// The page on a phone, in headless Chromium emulating one held sideways
// (844 x 390 CSS px at 3 device pixels each, with touch), its fingers
// dispatched over the DevTools protocol so that several touch at once. The
// on-screen pad's arithmetic first, in Node (touch_geometry.js of the
// page). Then: the pad shows on a touch and hides at a key or a game
// controller's button; its controls have their names and a finger's size,
// beside the picture; a finger sliding on the page scrolls nothing; Steer
// held left of centre for a second, then Fire, then "Save demo" saves a
// demo in which the native runner sees the ship go left and shots fired,
// and two fingers steering and firing at once do the same; Pause pauses
// and resumes; Quit asks, and only OK ends the game, after which the page
// scrolls again. Saves web-phone.png (the pad in play) in the current
// folder. web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { gameStatus, isShown, poll, runProgram, savedDemo, sleep } from './harness.mjs';
import { installPad } from './pad_e2e.mjs';

// An iPhone 13 held sideways, as Chromium's device list has it.
export const PHONE_SIDEWAYS = {
  width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true,
};
const NAMES = ['Steer', 'Fire', 'Pause', 'Save demo', 'Quit'];
const MIN_TARGET = 44; // CSS px of a control's least side
const RUNNER_MS = 120000;
const SHIP_START_X = 320;

// Fingers on the emulated touch screen, each its own touch point: an event
// names the one finger that went down, moved or lifted, by its id, as
// puppeteer's own touch handles do.
class Fingers {
  constructor(cdp) {
    this.cdp = cdp;
  }

  send(type, id, x, y) {
    const point = { id, x: Math.round(x), y: Math.round(y), radiusX: 6, radiusY: 6, force: 1 };
    return this.cdp.send('Input.dispatchTouchEvent', { type, touchPoints: [point] });
  }

  start(id, x, y) {
    this.at = { ...this.at, [id]: [x, y] };
    return this.send('touchStart', id, x, y);
  }

  move(id, x, y) {
    this.at = { ...this.at, [id]: [x, y] };
    return this.send('touchMove', id, x, y);
  }

  end(id) {
    const [x, y] = this.at[id];
    return this.send('touchEnd', id, x, y);
  }

  async tap(x, y, id = 90) {
    await this.start(id, x, y);
    await sleep(60);
    await this.end(id);
  }
}

// The box of the element `selector` in CSS px of the viewport, or null.
function boxOf(page, selector) {
  return page.evaluate((sel) => {
    const el = document.querySelector(sel);
    if (!el) return null;
    const r = el.getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height, x: r.left + r.width / 2, y: r.top + r.height / 2 };
  }, selector);
}

const touchState = (page) => page.evaluate(() => ({ ...window.quorvanteledix.touch }));

// The native runner's trace of a demo: the ship's x at each frame it is
// on screen, and the shots fired (a slot of the player's shots taken).
async function replayTrace(t, file) {
  if (!t.nativeRunner) t.fail('no native runner: QV_NATIVE_RUNNER names none');
  if (!fs.existsSync(t.nativeRunner)) t.fail(`no native runner at ${t.nativeRunner}`);
  const run = await runProgram(t.nativeRunner, ['--demo', file, '--trace', '-'], { cwd: t.dist, timeoutMs: RUNNER_MS });
  if (run.status !== 0) t.fail(`${t.nativeRunner} exited with ${run.status ?? run.signal}: ${run.stderr.trim()}`);
  const xs = [];
  let shots = 0, shotsGoingLeft = 0;
  let slots = new Set();
  for (const line of run.stdout.toString().trim().split('\n')) {
    const frame = JSON.parse(line);
    const x = frame.Player.length ? frame.Player[0][1] : null;
    const goingLeft = x !== null && xs.length > 0 && x < xs[xs.length - 1];
    if (x !== null) xs.push(x);
    const now = new Set(frame.PlayerShots.map(([slot]) => slot));
    for (const slot of now) {
      if (slots.has(slot)) continue;
      shots++;
      if (goingLeft) shotsGoingLeft++;
    }
    slots = now;
  }
  return { xs, shots, shotsGoingLeft };
}

// Saves the demo with the pad's "Save demo" and checks that the native
// runner's replay has the ship start at its place and go left by at least
// 100, and shots fired (`together`: some while it went left).
async function saveAndReplay(t, page, fingers, what, together = false) {
  const before = await page.evaluate(() => window.quorvanteledix.lastDemo?.name ?? null);
  const save = await boxOf(page, '#touch-save');
  await fingers.tap(save.x, save.y);
  let demo = null;
  const saved = await poll(async () => {
    demo = await savedDemo(page);
    return demo && demo.bytes.length > 0 && (demo.name !== before || !before);
  }, t.STEP_MS);
  if (!saved) t.fail(`${what}: "Save demo" saved no demo`);
  const file = path.join(t.demoFolder, `touch-${what.replace(/\W+/g, '-')}.demo`);
  fs.writeFileSync(file, demo.bytes);
  const trace = await replayTrace(t, file);
  const start = trace.xs[0], least = Math.min(...trace.xs);
  console.log(`${what}: ${demo.passes} passes; the replayed ship went from x=${start} to x=${least}; ${trace.shots} shots fired, ${trace.shotsGoingLeft} of them as it went left`);
  if (start !== SHIP_START_X) t.fail(`${what}: the replayed ship starts at x=${start}`);
  if (least > start - 100) t.fail(`${what}: the replayed ship went only from x=${start} to x=${least}`);
  if (trace.shots < 1) t.fail(`${what}: the replay fires no shot`);
  if (together && trace.shotsGoingLeft < 1) t.fail(`${what}: the replay fires no shot while the ship goes left`);
}

async function waitForPad(t, page, shown, what) {
  const ok = await poll(async () => (await touchState(page)).shown === shown, t.STEP_MS);
  if (!ok) t.fail(`${what}: the pad is ${shown ? 'not shown' : 'still shown'}: ${JSON.stringify(await touchState(page))}`);
}

async function waitForHeld(t, page, held, what) {
  const ok = await poll(async () => JSON.stringify((await touchState(page)).held) === JSON.stringify(held), t.STEP_MS, 50);
  if (!ok) t.fail(`${what}: the pad holds ${JSON.stringify((await touchState(page)).held)}, not ${JSON.stringify(held)}`);
}

// A new game on the phone with the pad shown.
async function playOnPhone(t, page, fingers, what) {
  await t.waitForStatus(page, { state: 'running', active: true }, what, t.LOAD_MS);
  const canvas = await boxOf(page, '#screen');
  await fingers.tap(canvas.x, canvas.y);
  await waitForPad(t, page, true, what);
}

// ---- The pad's arithmetic, in Node.

async function geometryChecks(t, geometry) {
  const { LEFT, UP, RIGHT, DOWN, DEAD_ZONE, steerDirection, padLayout } = geometry;
  await t.check('Steer: eight directions by sector around its centre, none in the dead zone', () => {
    const r = 60;
    const cases = [
      [[-40, 0], LEFT], [[40, 0], RIGHT], [[0, -40], UP], [[0, 40], DOWN],
      [[-30, -30], LEFT | UP], [[30, -30], UP | RIGHT], [[30, 30], RIGHT | DOWN], [[-30, 30], DOWN | LEFT],
      [[-40, 15], LEFT], [[-40, 18], DOWN | LEFT], // 22.5 degrees is where left ends
      [[0, 0], 0], [[DEAD_ZONE * r - 1, 0], 0], [[0, -(DEAD_ZONE * r + 1)], UP],
      [[-500, 10], LEFT], // a finger slid far past the edge still steers
      [[NaN, 3], 0],
    ];
    for (const [[dx, dy], want] of cases) {
      const got = steerDirection(dx, dy, r);
      if (got !== want) t.fail(`(${dx}, ${dy}) of radius ${r} holds ${got}, not ${want}`);
    }
  });
  return t.check('the pad goes beside, under or over the picture, every control at least 44 px and apart', () => {
    const screens = [
      // A phone sideways, the picture its full height; the same with the
      // bar under it; upright with the picture the full width at the top;
      // a desktop's small window where nothing fits beside or under.
      { stage: { width: 844, height: 390 }, picture: { left: 162, top: 0, width: 520, height: 390 }, mode: 'beside' },
      { stage: { width: 844, height: 300 }, picture: { left: 222, top: 0, width: 400, height: 300 }, mode: 'beside' },
      { stage: { width: 390, height: 600 }, picture: { left: 0, top: 0, width: 390, height: 292.5 }, mode: 'below' },
      { stage: { width: 640, height: 520 }, picture: { left: 0, top: 20, width: 640, height: 480 }, mode: 'over' },
    ];
    for (const { stage, picture, mode } of screens) {
      const layout = padLayout(stage, picture);
      const where = `${stage.width} x ${stage.height}`;
      if (layout.mode !== mode) t.fail(`${where}: the pad goes ${layout.mode}, not ${mode}`);
      const boxes = ['steer', 'fire', 'pause', 'save', 'quit'].map((name) => ({ name, ...layout[name] }));
      for (const b of boxes) {
        if (!(b.size >= MIN_TARGET)) t.fail(`${where}: ${b.name} is ${b.size} px`);
        if (b.left < 0 || b.top < 0 || b.left + b.size > stage.width || b.top + b.size > stage.height) {
          t.fail(`${where}: ${b.name} ${JSON.stringify(b)} is outside the stage`);
        }
        const onPicture = b.left < picture.left + picture.width && b.left + b.size > picture.left &&
          b.top < picture.top + picture.height && b.top + b.size > picture.top;
        if (mode !== 'over' && onPicture) t.fail(`${where}: ${b.name} ${JSON.stringify(b)} lies on the picture`);
      }
      for (let i = 0; i < boxes.length; i++) {
        for (let j = i + 1; j < boxes.length; j++) {
          const a = boxes[i], b = boxes[j];
          if (a.left < b.left + b.size && b.left < a.left + a.size && a.top < b.top + b.size && b.top < a.top + a.size) {
            t.fail(`${where}: ${a.name} and ${b.name} overlap`);
          }
        }
      }
    }
  });
}

export async function touchPages(t, browser, base) {
  const { check, fail } = t;
  const geometry = await import(pathToFileURL(path.join(t.dist, 'touch_geometry.js')).href);
  await geometryChecks(t, geometry);

  const page = await browser.newPage();
  t.watchPage(page, 'touch');
  await page.setViewport(PHONE_SIDEWAYS);
  await page.evaluateOnNewDocument(installPad);
  const cdp = await page.target().createCDPSession();
  const fingers = new Fingers(cdp);
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: t.LOAD_MS });
  const loaded = await check('on a phone held sideways the page loads and the game runs', async () => {
    await t.waitForStatus(page, { state: 'running', active: true }, 'after loading', t.LOAD_MS);
  });
  if (!loaded) return page.close();

  await check('the pad shows at a touch and hides at a key or a controller\'s button, again and again', async () => {
    const coarse = await page.evaluate(() => matchMedia('(pointer: coarse)').matches);
    const first = await touchState(page);
    console.log(`(pointer: coarse) ${coarse ? 'holds' : 'does not hold'}; the pad ${first.shown ? 'shows' : 'does not show'} before a touch`);
    if (coarse && !first.shown) fail('the pointer is coarse but the pad does not show');
    await page.keyboard.press('ShiftLeft');
    await waitForPad(t, page, false, 'after a key');
    const canvas = await boxOf(page, '#screen');
    for (let round = 0; round < 2; round++) {
      await fingers.tap(canvas.x, canvas.y);
      await waitForPad(t, page, true, 'after a touch');
      if (!(await isShown(page, '#touch-steer'))) fail('Steer is not shown with the pad');
      await page.keyboard.press('ShiftLeft');
      await waitForPad(t, page, false, 'after a key');
      if (await isShown(page, '#touch-steer')) fail('Steer is still shown without the pad');
    }
    await fingers.tap(canvas.x, canvas.y);
    await waitForPad(t, page, true, 'after a touch');
    await page.evaluate(() => window.__testPad.set(0, true));
    await waitForPad(t, page, false, 'after the controller\'s A');
    await page.evaluate(() => window.__testPad.set(0, false));
    await fingers.tap(canvas.x, canvas.y);
    await waitForPad(t, page, true, 'after a touch');
  });

  await check('the controls have their names, a finger\'s size, and sit beside the picture', async () => {
    const canvas = await boxOf(page, '#screen');
    for (const name of NAMES) {
      const found = await page.$$(`aria/${name}[role="button"]`);
      const inPad = [];
      for (const handle of found) {
        if (await handle.evaluate((el) => !!el.closest('#touch-pad'))) inPad.push(handle);
      }
      if (inPad.length !== 1) fail(`${inPad.length} controls of the pad are named "${name}"`);
      const r = await inPad[0].evaluate((el) => {
        const b = el.getBoundingClientRect();
        return { left: b.left, top: b.top, width: b.width, height: b.height };
      });
      if (r.width < MIN_TARGET || r.height < MIN_TARGET) fail(`"${name}" is ${r.width} x ${r.height} CSS px`);
      if (r.left < 0 || r.top < 0 || r.left + r.width > PHONE_SIDEWAYS.width || r.top + r.height > PHONE_SIDEWAYS.height) {
        fail(`"${name}" at ${JSON.stringify(r)} is off the screen`);
      }
      const onPicture = r.left < canvas.left + canvas.width && r.left + r.width > canvas.left &&
        r.top < canvas.top + canvas.height && r.top + r.height > canvas.top;
      if (onPicture) fail(`"${name}" at ${JSON.stringify(r)} lies on the picture ${JSON.stringify(canvas)}`);
    }
    const { mode } = await touchState(page);
    if (mode !== 'beside') fail(`the pad goes ${mode}`);
  });

  await check('a finger sliding on the picture or the pad scrolls, zooms and selects nothing', async () => {
    await page.evaluate(() => {
      window.__e2eTouches = [];
      for (const type of ['touchstart', 'touchmove']) {
        window.addEventListener(type, (e) => window.__e2eTouches.push([type, e.defaultPrevented]));
      }
    });
    const canvas = await boxOf(page, '#screen');
    const steer = await boxOf(page, '#touch-steer');
    for (const [x, y] of [[canvas.x, canvas.y + 100], [steer.x, steer.y]]) {
      await fingers.start(1, x, y);
      for (let i = 1; i <= 8; i++) await fingers.move(1, x + i * 3, y - i * 25);
      await fingers.end(1);
    }
    await sleep(300);
    const seen = await page.evaluate(() => ({
      touches: window.__e2eTouches, scrollY, scrollX, scale: visualViewport.scale,
      selected: String(getSelection()), held: window.quorvanteledix.touch.held,
    }));
    const moves = seen.touches.filter(([type]) => type === 'touchmove');
    if (moves.length < 8) fail(`only ${moves.length} touchmove events reached the window`);
    const allowed = seen.touches.filter(([, prevented]) => !prevented);
    if (allowed.length) fail(`${allowed.length} of ${seen.touches.length} touch events were left to the browser: ${JSON.stringify(allowed.slice(0, 3))}`);
    if (seen.scrollY !== 0 || seen.scrollX !== 0) fail(`the page scrolled to (${seen.scrollX}, ${seen.scrollY})`);
    if (seen.scale !== 1) fail(`the page zoomed to ${seen.scale}`);
    if (seen.selected) fail(`the text "${seen.selected}" was selected`);
    if (seen.held.length) fail(`the pad still holds ${JSON.stringify(seen.held)} after the finger left`);
  });

  await check('Steer held left for a second, then Fire, then "Save demo": the replay goes left and fires', async () => {
    const steer = await boxOf(page, '#touch-steer');
    await fingers.start(1, steer.x - steer.width * 0.3, steer.y + 2);
    await waitForHeld(t, page, ['left'], 'Steer held left of centre');
    await sleep(1000);
    await fingers.end(1);
    await waitForHeld(t, page, [], 'Steer let go');
    const fire = await boxOf(page, '#touch-fire');
    await fingers.start(2, fire.x, fire.y);
    await waitForHeld(t, page, ['fire'], 'Fire held');
    await sleep(600);
    await fingers.end(2);
    await waitForHeld(t, page, [], 'Fire let go');
    await saveAndReplay(t, page, fingers, 'one finger');
  });

  await check('two fingers steer and fire at once, sliding from one direction to the next', async () => {
    await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
    await playOnPhone(t, page, fingers, 'after the reload');
    const steer = await boxOf(page, '#touch-steer');
    const fire = await boxOf(page, '#touch-fire');
    const r = steer.width / 2;
    await fingers.start(1, steer.x - 0.6 * r, steer.y);
    await fingers.start(2, fire.x, fire.y);
    await waitForHeld(t, page, ['left', 'fire'], 'Steer and Fire held');
    await sleep(500);
    await fingers.move(1, steer.x - 0.5 * r, steer.y - 0.5 * r);
    await waitForHeld(t, page, ['left', 'up', 'fire'], 'the finger slid up and left');
    await sleep(250);
    await fingers.move(1, steer.x - 0.7 * r, steer.y + 0.05 * r);
    await waitForHeld(t, page, ['left', 'fire'], 'the finger slid back left');
    await sleep(500);
    await fingers.end(2);
    await waitForHeld(t, page, ['left'], 'Fire let go, Steer still held');
    await fingers.end(1);
    await waitForHeld(t, page, [], 'both let go');
    await saveAndReplay(t, page, fingers, 'two fingers', true);
  });

  await check('Pause stops the game and Pause again resumes it', async () => {
    const pause = await boxOf(page, '#touch-pause');
    await fingers.tap(pause.x, pause.y);
    await t.expectStill(page, 'after Pause');
    const frames = (await gameStatus(page)).frames;
    await fingers.tap(pause.x, pause.y);
    if (!(await poll(async () => (await gameStatus(page)).frames > frames + 5, t.STEP_MS))) fail('frames did not run again after Pause');
  });

  await check('the page on a phone with the pad in play: web-phone.png', async () => {
    // The ship back towards the middle, then a picture while firing.
    const steer = await boxOf(page, '#touch-steer');
    const fire = await boxOf(page, '#touch-fire');
    await fingers.start(1, steer.x + 0.6 * steer.width / 2, steer.y);
    await sleep(500);
    await fingers.start(2, fire.x, fire.y);
    await sleep(250);
    const shot = path.join(process.cwd(), 'web-phone.png');
    await page.screenshot({ path: shot });
    await fingers.end(2);
    await fingers.end(1);
    await waitForHeld(t, page, [], 'after the picture');
    console.log(`the page on a phone: ${shot}`);
  });

  await check('Quit asks first: Cancel plays on, OK ends the game and the pad goes', async () => {
    const quit = await boxOf(page, '#touch-quit');
    await fingers.tap(quit.x, quit.y);
    if (!(await poll(() => isShown(page, '#dialog'), t.STEP_MS))) fail('no box after Quit');
    if (!(await isShown(page, '#dialog-cancel'))) fail('the box has no Cancel');
    const cancel = await boxOf(page, '#dialog-cancel');
    await fingers.tap(cancel.x, cancel.y);
    if (!(await poll(async () => !(await isShown(page, '#dialog')), t.STEP_MS))) fail('the box stayed after Cancel');
    const status = await t.waitForStatus(page, { state: 'running', active: true }, 'after Cancel');
    if (!(await poll(async () => (await gameStatus(page)).frames > status.frames + 5, t.STEP_MS))) fail('the game stands after Cancel');
    await fingers.tap(quit.x, quit.y);
    if (!(await poll(() => isShown(page, '#dialog'), t.STEP_MS))) fail('no box after Quit again');
    const ok = await boxOf(page, '#dialog-ok');
    await fingers.tap(ok.x, ok.y);
    const ended = await t.waitForStatus(page, { state: 'ended' }, 'after OK');
    if (ended.exitStatus !== 0) fail(`exitStatus is ${JSON.stringify(ended.exitStatus)}`);
    await waitForPad(t, page, false, 'after the end');
  });

  await check('once the game has ended, a finger sliding on the page scrolls it again', async () => {
    const room = await page.evaluate(() => document.scrollingElement.scrollHeight - innerHeight);
    if (room <= 0) {
      console.log('the ended page has nothing to scroll');
      return;
    }
    const stage = await boxOf(page, '#stage');
    await fingers.start(1, stage.x, stage.y + 100);
    for (let i = 1; i <= 10; i++) await fingers.move(1, stage.x, stage.y + 100 - i * 20);
    await fingers.end(1);
    const scrolled = await poll(() => page.evaluate(() => scrollY > 0), t.STEP_MS);
    if (!scrolled) fail(`the page (${room} px to scroll) did not scroll`);
  });
  await page.close();
}
