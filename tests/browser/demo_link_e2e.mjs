// The browser test's checks of demos as links: a page opened on a link
// that is not base64 refuses it and plays live; F9's demo then gets "Copy
// link", which shows the link in a field when the clipboard is refused and
// copies it when allowed: the page's address without its old fragment and
// the demo in URL-safe base64. Demos over 64 KB get no link, and the page
// says why (faked through the page's own qvOnDemoSaved). The link opened in
// a fresh browser context plays the demo to the screen the native runner
// ends on; "Play yourself" leaves it for a live game without the fragment,
// and the link pasted into that page's address bar plays it again; a link
// to a demo cut short is refused as a chosen one is.
// web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import fs from 'node:fs';
import path from 'node:path';

import { replayNatively } from './demo_e2e.mjs';
import { gameStatus, isShown, poll, savedDemo, sleep, textOf } from './harness.mjs';

const LINKED = 'The linked demo';
const TOO_BIG = 'This demo is 65 KB; links carry demos up to 64 KB: download the file instead.';
const PLAY_MS = 120000;

function demoState(page) {
  return page.evaluate(() => ({ ...window.quorvanteledix?.demo, location: location.href, reloaded: !window.__e2eOld }));
}

// Fails unless the live game runs on `page`: no playback, frames going on.
async function expectLive(t, page, what) {
  const status = await t.waitForStatus(page, { state: 'running', active: true }, what, t.LOAD_MS);
  const st = await demoState(page);
  if (st.mode !== 'live') t.fail(`${what}: the page is in ${st.mode} mode`);
  const on = await poll(async () => (await gameStatus(page)).frames > status.frames + 5, t.STEP_MS);
  if (!on) t.fail(`${what}: frames stayed at ${status.frames}`);
}

async function expectRefused(t, page, why) {
  await expectLive(t, page, 'after the refused link');
  const text = await poll(async () => (await isShown(page, '#demo-message')) && textOf(page, '#demo-message'), t.STEP_MS);
  if (!text?.startsWith(`${LINKED} cannot be played: `) || !text.includes(why) || !text.endsWith('.')) {
    t.fail(`#demo-message says ${JSON.stringify(text)}`);
  }
}

// A little play, then F9; resolves to the demo the page keeps.
async function playAndSave(t, page) {
  await t.waitForStatus(page, { state: 'running', active: true }, 'before playing', t.LOAD_MS);
  await page.keyboard.down('ArrowUp');
  await page.keyboard.down('ControlLeft');
  await sleep(500);
  await page.keyboard.up('ArrowUp');
  await page.keyboard.up('ControlLeft');
  await sleep(300);
  await page.keyboard.press('F9');
  const demo = await poll(() => savedDemo(page), t.STEP_MS);
  if (!demo) t.fail('window.quorvanteledix.lastDemo stayed null after F9');
  return demo;
}

async function copyLink(page) {
  await page.click('#demo-copy-link');
  await poll(() => isShown(page, '#demo-link-note'), 5000);
  return textOf(page, '#demo-link-note');
}

// The page's own demo saved with F9, and its link made and copied.
async function linkPage(t, browser, base) {
  const { check, fail } = t;
  const origin = new URL(base).origin;
  const page = await browser.newPage();
  t.watchPage(page, 'links');
  await page.goto(base + 'index.html#demo=not*base64', { waitUntil: 'load', timeout: t.LOAD_MS });
  await check('a link whose demo is not base64 is refused with the usual message, and the live game runs', async () => {
    await expectRefused(t, page, 'not URL-safe base64');
  });

  let demo = null;
  await check('F9 offers "Copy link"; a refused clipboard shows the link selected, an allowed one takes it', async () => {
    demo = await playAndSave(t, page);
    if (!(await poll(() => isShown(page, '#demo-copy-link'), t.STEP_MS))) fail('no "Copy link" is shown after F9');
    const context = browser.defaultBrowserContext();
    await context.setPermission(origin, { permission: { name: 'clipboard-write' }, state: 'denied' });
    const refused = await copyLink(page);
    if (refused !== 'The browser did not let the page copy the link: copy it from the field.') fail(`with the clipboard refused the page says ${JSON.stringify(refused)}`);
    const field = await page.evaluate(() => {
      const f = document.querySelector('#demo-link');
      return { value: f.value, readOnly: f.readOnly, focused: document.activeElement === f, from: f.selectionStart, to: f.selectionEnd };
    });
    if (!(await isShown(page, '#demo-link')) || !field.readOnly) fail(`the link's field is not shown read-only: ${JSON.stringify(field)}`);
    if (!field.focused || field.from !== 0 || field.to !== field.value.length) fail(`the link is not selected: ${JSON.stringify({ ...field, value: undefined })}`);
    const want = `${base}index.html#demo=${demo.bytes.toString('base64url')}`;
    if (field.value !== want) fail(`the field holds ${JSON.stringify(field.value.slice(0, 120))}..., not the page's address and the demo in URL-safe base64`);

    await context.setPermission(origin,
      { permission: { name: 'clipboard-write' }, state: 'granted' },
      { permission: { name: 'clipboard-read' }, state: 'granted' });
    const copied = await copyLink(page);
    if (copied !== 'Link copied.') fail(`with the clipboard allowed the page says ${JSON.stringify(copied)}`);
    if (await isShown(page, '#demo-link')) fail('the field is still shown after the link was copied');
    const clip = await page.evaluate(() => navigator.clipboard.readText());
    if (clip !== want) fail(`the clipboard holds ${JSON.stringify(clip.slice(0, 120))}...`);
    demo.link = clip;
  });

  await check('a demo of 64 KB gets a link; one byte more gets none, and the page says why', async () => {
    const offer = async (size) => {
      await page.evaluate((n) => window.Module.qvOnDemoSaved(new Uint8Array(n), 'big.demo', 1, '0'.repeat(16)), size);
      return { button: await isShown(page, '#demo-copy-link'), note: await isShown(page, '#demo-link-note') && await textOf(page, '#demo-link-note') };
    };
    const edge = await offer(64 * 1024);
    if (!edge.button || edge.note) fail(`64 KB: ${JSON.stringify(edge)}`);
    const over = await offer(64 * 1024 + 1);
    if (over.button || over.note !== TOO_BIG) fail(`64 KB and a byte: ${JSON.stringify(over)}`);
  });
  await page.close();
  return demo?.link ? demo : null;
}

// The link opened where nothing of the first page is kept.
async function linkedPages(t, context, base, demo) {
  const { check, fail } = t;
  const viewer = await context.newPage();
  t.watchPage(viewer, 'linked');
  await viewer.goto(demo.link, { waitUntil: 'load', timeout: t.LOAD_MS });
  const played = await check('the link plays its demo to the screen the native runner ends on', async () => {
    const started = await poll(async () => (await demoState(viewer)).mode === 'playback', t.LOAD_MS);
    if (!started) fail(`no playback: ${JSON.stringify(await demoState(viewer))}`);
    if (!(await isShown(viewer, '#play-yourself'))) fail('"Play yourself" is not shown during the playback');
    await t.waitForStatus(viewer, { state: 'ended' }, 'at the end of the demo', PLAY_MS);
    const st = await demoState(viewer);
    if (st.name !== LINKED) fail(`the playback is named ${JSON.stringify(st.name)}`);
    if (!st.ended || st.played !== demo.passes) fail(`the playback ended at ${st.played} of ${demo.passes} passes`);
    if (st.endScreen !== demo.hash) fail(`the playback ended on screen ${st.endScreen}, the runner on ${demo.hash}`);
  });
  const live = played && await check('"Play yourself" starts the live game at the address without the fragment', async () => {
    await Promise.all([
      viewer.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }),
      viewer.click('#play-yourself'),
    ]);
    await expectLive(t, viewer, 'after Play yourself');
    const st = await demoState(viewer);
    if (st.location !== `${base}index.html`) fail(`the page's address is ${st.location.slice(0, 120)}`);
    if (await isShown(viewer, '#demo-message')) fail(`the page says ${JSON.stringify(await textOf(viewer, '#demo-message'))}`);
  });
  if (live) {
    await check('the link pasted into the address bar of the open page plays its demo', async () => {
      // Only the fragment changes: the page itself has to start again.
      await viewer.evaluate((hash) => {
        window.__e2eOld = true;
        location.hash = hash;
      }, new URL(demo.link).hash);
      const started = await poll(async () => {
        const st = await demoState(viewer).catch(() => ({})); // between the two documents
        return st.reloaded && st.mode === 'playback';
      }, t.LOAD_MS);
      if (!started) fail(`no playback: ${JSON.stringify(await demoState(viewer))}`);
    });
  }
  await viewer.close();

  await check('a link to a demo cut short is refused with the usual message, and the live game runs', async () => {
    const cut = Buffer.from(demo.bytes).subarray(0, demo.bytes.length - 3);
    const page = await context.newPage();
    t.watchPage(page, 'cut link');
    try {
      await page.goto(`${base}index.html#demo=${cut.toString('base64url')}`, { waitUntil: 'load', timeout: t.LOAD_MS });
      await expectRefused(t, page, 'cut short');
    } finally {
      await page.close();
    }
  });
}

export async function demoLinkPages(t, browser, base) {
  const demo = await linkPage(t, browser, base);
  if (!demo) return;
  demo.file = path.join(t.demoFolder, 'linked.demo');
  fs.writeFileSync(demo.file, demo.bytes);
  const replayed = await t.check('the native runner replays the linked demo to the screen the page saved it on', async () => {
    await replayNatively(t, demo.file, demo.hash);
  });
  if (!replayed) return;
  const fresh = await browser.createBrowserContext();
  try {
    await linkedPages(t, fresh, base, demo);
  } finally {
    await fresh.close();
  }
}
