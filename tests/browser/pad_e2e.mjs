// The page's game controller and its idle cost, in headless Chromium: a pad
// the Gamepad API reports (a stand-in installed before the page loads)
// steers with its d-pad, pauses with Start and quits with Back; and a
// paused game in a background tab uses next to no CPU time.
import { poll, sleep } from './harness.mjs';

// The standard layout's buttons the game uses.
const START = 9, BACK = 8, DPAD_RIGHT = 15;
// Main-thread busy time allowed over IDLE_MS while paused in a background tab.
const IDLE_MS = 3000;
const IDLE_BUSY_SHARE = 0.05;

// A pad in the standard layout whose buttons the test presses, idle until
// it does; installed before the page loads (touch_e2e.mjs uses it too).
export function installPad() {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
  const pad = { id: 'test pad', index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons, timestamp: 0 };
  window.__testPad = {
    set(button, down) {
      buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
      pad.timestamp++;
    },
  };
  navigator.getGamepads = () => [pad, null, null, null];
}

async function press(page, button, ms) {
  await page.evaluate((b) => window.__testPad.set(b, true), button);
  await sleep(ms);
  await page.evaluate((b) => window.__testPad.set(b, false), button);
}

// Milliseconds the page's main thread was busy so far.
async function busyMs(cdp) {
  const { metrics } = await cdp.send('Performance.getMetrics');
  return 1000 * metrics.find((m) => m.name === 'TaskDuration').value;
}

export async function padPages(t, browser, base) {
  const { check, fail, waitForStatus, waitForShip, expectStill, expectPlaying, watchPage, LOAD_MS, STEP_MS } = t;
  const page = await browser.newPage();
  watchPage(page, 'pad');
  await page.evaluateOnNewDocument(installPad);
  await page.goto(base + 'index.html', { waitUntil: 'load', timeout: LOAD_MS });
  const loaded = await check('with a game controller the page loads and the game runs', async () => {
    await waitForStatus(page, { state: 'running', active: true }, 'after loading', LOAD_MS);
  });
  if (!loaded) return;

  await check('the d-pad steers, Start pauses and resumes', async () => {
    const x0 = await waitForShip(page, 'before the d-pad');
    await press(page, DPAD_RIGHT, 500);
    const x1 = await waitForShip(page, 'after the d-pad');
    if (x1 < x0 + 40) fail(`d-pad right held 0.5 s moved the ship from x=${x0} to x=${x1}`);
    await press(page, START, 150);
    await expectStill(page, 'after Start');
    await press(page, START, 150);
    await expectPlaying(page, 'after Start again');
  });

  await check('a paused game in a background tab uses next to no CPU time', async () => {
    const cdp = await page.target().createCDPSession();
    await cdp.send('Performance.enable');
    let before = await busyMs(cdp);
    await sleep(1000);
    const playing = (await busyMs(cdp)) - before;
    await page.keyboard.press('KeyP');
    await expectStill(page, 'after P');
    const other = await browser.newPage();
    try {
      await other.bringToFront();
      if (!(await poll(() => page.evaluate(() => document.visibilityState === 'hidden'), STEP_MS)))
        fail('the page did not become hidden behind another tab');
      await sleep(300);
      before = await busyMs(cdp);
      await sleep(IDLE_MS);
      const idle = (await busyMs(cdp)) - before;
      console.log(`main thread busy: ${playing.toFixed(0)} ms in 1 s of play, ${idle.toFixed(0)} ms in ${IDLE_MS / 1000} s paused in the background`);
      if (idle > IDLE_BUSY_SHARE * IDLE_MS) fail(`${idle.toFixed(0)} ms busy in ${IDLE_MS} ms paused in the background`);
    } finally {
      await other.close();
    }
    await page.bringToFront();
    await waitForStatus(page, { active: true }, 'back in front');
    await page.keyboard.press('KeyP');
    await expectPlaying(page, 'after P in front again');
  });

  await check('Back on the pad ends the game', async () => {
    await press(page, BACK, 150);
    await waitForStatus(page, { state: 'ended' }, 'after Back');
  });
  await page.close();
}
