// The page's layout on every screen, in headless Chromium emulating each
// device (touch, a phone's or tablet's device pixel ratio): a phone held
// upright shows the picture the full width, held sideways the full height
// with the bar below it and the sides free, a small phone the full width;
// tablets and a desktop keep a whole multiple of 640 x 480 in device pixels.
// Nowhere does the page scroll sideways or cut a counter off. Full screen
// asks for landscape and shrugs off a refusal. Then, on the phone held
// sideways, the pace and cost of play (speed_e2e.mjs).
// web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import { poll, sleep } from './harness.mjs';
import { speedChecks } from './speed_e2e.mjs';

const SCREEN_W = 640, SCREEN_H = 480;
// The share of the screen's limiting side a phone's picture must fill.
const PHONE_FILL = 0.9;
const PHONES = [
  { name: 'a phone upright', width: 390, height: 844, deviceScaleFactor: 3, limit: 'width' },
  { name: 'a phone sideways', width: 844, height: 390, deviceScaleFactor: 3, limit: 'height', sideways: true },
  { name: 'a small phone', width: 320, height: 568, deviceScaleFactor: 2, limit: 'width' },
];
const TABLETS = [
  { name: 'a tablet upright', width: 820, height: 1180, deviceScaleFactor: 2 },
  { name: 'a tablet sideways', width: 1180, height: 820, deviceScaleFactor: 2 },
];
const DESKTOP = { name: 'a desktop', width: 1280, height: 1024, deviceScaleFactor: 1 };

const viewport = (d, mobile) => ({
  width: d.width, height: d.height, deviceScaleFactor: d.deviceScaleFactor,
  isMobile: mobile, hasTouch: mobile, isLandscape: d.width > d.height,
});

// The boxes the checks read, in page coordinates (scrolled to the top).
function measure() {
  const box = (el) => {
    const r = el.getBoundingClientRect();
    return { left: r.left + scrollX, right: r.right + scrollX, top: r.top + scrollY, bottom: r.bottom + scrollY, width: r.width, height: r.height };
  };
  const $ = (sel) => document.querySelector(sel);
  const scroller = document.scrollingElement;
  return {
    innerWidth, innerHeight, ratio: devicePixelRatio,
    scrollWidth: scroller.scrollWidth, scrollHeight: scroller.scrollHeight,
    picture: box($('#screen')), stage: box($('#stage')), bar: box($('#bar')),
    counters: Array.from(document.querySelectorAll('#counters > div'), (div) => {
      const dd = div.querySelector('dd');
      return { text: div.textContent.replace(/\s+/g, ' ').trim(), ...box(div), cut: dd.scrollWidth > dd.clientWidth };
    }),
  };
}

// Measures once the layout has stopped changing after a resize.
async function settled(page) {
  let last = null;
  for (let i = 0; i < 20; i++) {
    await sleep(150);
    const now = await page.evaluate(measure);
    if (last && JSON.stringify(now) === JSON.stringify(last)) return now;
    last = now;
  }
  return last;
}

const px = (n) => (Math.round(n * 10) / 10).toString();
const size = (m) => `${m.innerWidth} x ${m.innerHeight} @${m.ratio}`;

// What every screen owes: no sideways scroll, the four counters whole and
// inside the width, reachable by scrolling down at most. A mobile browser
// widens its viewport to take in a page too wide for the screen, so the
// screen's own width is the measure.
function checkBar(d, m, fail) {
  const where = size(m);
  if (m.innerWidth !== d.width) fail(`${where}: the browser widened the page beyond the screen's ${d.width} CSS px`);
  if (m.scrollWidth > m.innerWidth) fail(`${where}: the page scrolls sideways (${m.scrollWidth} CSS px wide)`);
  if (m.counters.length !== 4) fail(`${where}: ${m.counters.length} counters`);
  for (const c of m.counters) {
    if (c.width <= 0 || c.height <= 0) fail(`${where}: "${c.text}" has no box`);
    if (c.left < 0 || c.right > m.innerWidth) fail(`${where}: "${c.text}" spans x ${px(c.left)}..${px(c.right)}`);
    if (c.bottom > m.scrollHeight) fail(`${where}: "${c.text}" lies below the page's end`);
    if (c.cut) fail(`${where}: "${c.text}" is cut off inside its box`);
  }
}

// A phone's picture: as large as fits, aspect kept, on the first screen,
// with the bar below it rather than beside it.
function checkPhone(d, m, fail) {
  const where = `${d.name} (${size(m)})`;
  const p = m.picture;
  const share = d.limit === 'width' ? p.width / d.width : p.height / d.height;
  console.log(`${where}: picture ${px(p.width)} x ${px(p.height)} CSS px, ${(100 * share).toFixed(1)}% of the ${d.limit}; ` +
    `page ${m.scrollWidth} x ${m.scrollHeight}`);
  if (share < PHONE_FILL) fail(`${where}: the picture fills ${(100 * share).toFixed(1)}% of the ${d.limit}`);
  if (Math.abs(p.width / p.height - SCREEN_W / SCREEN_H) > 0.01) fail(`${where}: the picture is ${px(p.width)} x ${px(p.height)}`);
  if (p.left < 0 || p.right > d.width || p.top < 0 || p.bottom > d.height) {
    fail(`${where}: the picture spans x ${px(p.left)}..${px(p.right)}, y ${px(p.top)}..${px(p.bottom)}`);
  }
  if (m.bar.top < p.bottom - 0.5) fail(`${where}: the bar starts at y ${px(m.bar.top)}, beside the picture (ends at ${px(p.bottom)})`);
  if (d.sideways && Math.abs(p.left - (d.width - p.right)) > 1) {
    fail(`${where}: the picture is not centred (x ${px(p.left)}..${px(p.right)})`);
  }
}

// A whole multiple of 640 x 480 in device pixels, the largest the stage holds.
function checkPixelExact(d, m, fail) {
  const where = `${d.name} (${size(m)})`;
  const p = m.picture;
  const k = (p.width * m.ratio) / SCREEN_W;
  const fill = Math.max(p.width / d.width, p.height / d.height);
  console.log(`${where}: picture ${px(p.width)} x ${px(p.height)} CSS px, ${k} device px per game pixel, ` +
    `${(100 * fill).toFixed(1)}% of the limiting side`);
  if (!Number.isInteger(k) || k < 1 || (p.height * m.ratio) / SCREEN_H !== k) {
    fail(`${where}: the picture is ${px(p.width)} x ${px(p.height)} CSS px at ${m.ratio} device px each`);
  }
  const next = ((k + 1) * SCREEN_W) / m.ratio <= m.stage.width && ((k + 1) * SCREEN_H) / m.ratio <= m.stage.height;
  if (next) fail(`${where}: ${k + 1}x would fit the ${px(m.stage.width)} x ${px(m.stage.height)} stage`);
}

// Stands in for the browser's orientation lock: records the orientation
// asked for and refuses it, as a desktop browser does.
function refuseOrientationLocks() {
  window.__orientationLocks = [];
  if (!screen.orientation) return;
  screen.orientation.lock = (kind) => {
    window.__orientationLocks.push(kind);
    return Promise.reject(new DOMException('the test refuses', 'NotSupportedError'));
  };
}

// Shows every part of the bar at once (a demo's progress, its link, a
// player's sheet with a long name, the messages), as no single moment
// does: the most the bar ever has to wrap. Returns what undoes it.
function crowdTheBar() {
  const shown = Array.from(document.querySelectorAll('#bar [hidden]')).filter((el) => el.type !== 'file');
  const named = document.querySelector('#sheet-in-use');
  const name = named.textContent;
  for (const el of shown) el.hidden = false;
  named.textContent = 'Playing with my-own-sheet-drawn-over-three-long-winter-evenings-v12-final.bmp';
  document.querySelector('#demo-message').textContent = 'The demo quorvanteledix-2026-12-09-165604.demo was refused: it is for another sheet.';
  window.__uncrowd = () => {
    for (const el of shown) el.hidden = true;
    named.textContent = name;
  };
}

async function layoutChecks(t, page) {
  const { check, fail } = t;
  for (const d of PHONES) {
    await check(`on ${d.name} (${d.width} x ${d.height}) the picture fills the ${d.limit}, nothing scrolls sideways`, async () => {
      await page.setViewport(viewport(d, true));
      const m = await settled(page);
      checkPhone(d, m, fail);
      checkBar(d, m, fail);
    });
  }
  const small = PHONES[PHONES.length - 1];
  await check(`on ${small.name} with every part of the bar shown at once, it wraps and nothing scrolls sideways`, async () => {
    await page.setViewport(viewport(small, true));
    await page.evaluate(crowdTheBar);
    try {
      const m = await settled(page);
      checkBar(small, m, fail);
      if (m.picture.width < PHONE_FILL * small.width) fail(`the picture shrank to ${px(m.picture.width)} CSS px wide`);
    } finally {
      await page.evaluate(() => window.__uncrowd());
    }
  });
  for (const d of TABLETS) {
    await check(`on ${d.name} (${d.width} x ${d.height}) the picture is a whole multiple, nothing scrolls sideways`, async () => {
      await page.setViewport(viewport(d, true));
      const m = await settled(page);
      checkPixelExact(d, m, fail);
      checkBar(d, m, fail);
    });
  }
}

async function fullscreenCheck(t, page, consoleLines) {
  const { check, fail, STEP_MS } = t;
  const phone = PHONES.find((d) => d.sideways);
  await check('full screen on a phone asks for landscape, fills the height, and a refusal is no error', async () => {
    await page.setViewport(viewport(phone, true));
    await settled(page);
    const from = consoleLines.length;
    await page.click('#fullscreen');
    if (!(await poll(() => page.evaluate(() => !!document.fullscreenElement), STEP_MS))) fail('full screen did not start');
    const locks = await poll(() => page.evaluate(() => window.__orientationLocks.length && window.__orientationLocks), STEP_MS);
    if (JSON.stringify(locks) !== '["landscape"]') fail(`the page asked for ${JSON.stringify(locks)}`);
    const m = await settled(page);
    if (m.picture.height < PHONE_FILL * m.innerHeight) fail(`full screen shows the picture ${px(m.picture.height)} CSS px high`);
    await page.keyboard.down('AltLeft');
    await page.keyboard.press('Enter');
    await page.keyboard.up('AltLeft');
    if (!(await poll(() => page.evaluate(() => !document.fullscreenElement), STEP_MS))) fail('Alt+Enter did not leave full screen');
    const loud = consoleLines.slice(from).filter((line) => /\] (error|warn(ing)?|pageerror):/.test(line));
    if (loud.length) fail(`the refusal was reported as ${JSON.stringify(loud)}`);
  });
}

export async function layoutPages(t, browser, base) {
  const { check, waitForStatus, watchPage, consoleLines, LOAD_MS } = t;
  const page = await browser.newPage();
  try {
    watchPage(page, 'layout');
    await page.evaluateOnNewDocument(refuseOrientationLocks);
    await page.setViewport(viewport(PHONES[0], true));
    await page.goto(base + 'index.html', { waitUntil: 'load', timeout: LOAD_MS });
    const loaded = await check('on a phone the page loads and the game runs', async () => {
      await waitForStatus(page, { state: 'running', active: true }, 'after loading', LOAD_MS);
    });
    if (!loaded) return;
    await layoutChecks(t, page);
    await fullscreenCheck(t, page, consoleLines);
    const phone = PHONES.find((d) => d.sideways);
    await page.setViewport(viewport(phone, true));
    await settled(page);
    await speedChecks(t, page, `${phone.name}, ${phone.width} x ${phone.height} @${phone.deviceScaleFactor}`);
  } finally {
    await page.close();
  }

  const desk = await browser.newPage();
  try {
    watchPage(desk, 'desktop');
    await desk.setViewport(viewport(DESKTOP, false));
    await desk.goto(base + 'index.html', { waitUntil: 'load', timeout: LOAD_MS });
    await check(`on ${DESKTOP.name} (${DESKTOP.width} x ${DESKTOP.height}) the picture stays a whole multiple`, async () => {
      await waitForStatus(desk, { state: 'running', active: true }, 'after loading', LOAD_MS);
      const m = await settled(desk);
      checkPixelExact(DESKTOP, m, t.fail);
      checkBar(DESKTOP, m, t.fail);
    });
  } finally {
    await desk.close();
  }
}
