// The browser test's offline checks, each on a copy of the page's folder
// with a server and a browser context of its own (so no worker outlives its
// case or answers for another folder): served under /games/qv/, the page's
// worker takes control, Chromium finds the page installable, and with the
// server gone and the page offline a reload still plays the game. A second
// build (a changed page.css, listed again by scripts/lib/precache.py) is
// offered as "A new version is ready" and its "Reload" runs it, while until
// then the old build is served whole; a build whose files do not match its
// list (a host half-way through an upload) is never taken. And the list
// picks up every file of the folder by itself.
// web_e2e.mjs runs them with its bookkeeping, passed in as `t`.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { isShown, poll, runProgram, serveFolder, textOf } from './harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const PRECACHE = path.join(here, '..', '..', 'scripts', 'lib', 'precache.py');
const SUB_PATH = 'games/qv/';

// The folder's copies live here until the test ends, however it ends.
let scratch = null;
function scratchFolder(name) {
  if (!scratch) {
    scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'web_e2e-offline-'));
    process.once('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));
  }
  const folder = path.join(scratch, name);
  fs.mkdirSync(folder, { recursive: true });
  return folder;
}

async function precache(t, folder) {
  const run = await runProgram('python3', [PRECACHE, folder], { timeoutMs: 30000 });
  if (run.status !== 0) t.fail(`precache.py ${folder} exited with ${run.status}: ${run.stderr}`);
}

// The list and version the worker in `folder` holds.
function listIn(folder) {
  const line = fs.readFileSync(path.join(folder, 'sw.js'), 'utf8').match(/^const BUILD = (.*);$/m);
  return JSON.parse(line[1]);
}

// Copies the site in `from` to `to`: the files its worker lists, and the
// worker (a build's folder holds CMake's files too).
function copySite(from, to) {
  for (const name of [...Object.keys(listIn(from).files), 'sw.js']) {
    fs.mkdirSync(path.dirname(path.join(to, name)), { recursive: true });
    fs.copyFileSync(path.join(from, name), path.join(to, name));
  }
}

const controlled = (page) => page.evaluate(() => !!navigator.serviceWorker.controller);
const buildMark = (page) =>
  page.evaluate(() => getComputedStyle(document.documentElement).getPropertyValue('--e2e-build').trim());
const cacheNames = (page) => page.evaluate(() => caches.keys());

// Each case gets a server of its own and a fresh browser context, closed on
// every way out. Chromium installs nothing from such a context, though: a
// case in the browser's own context leaves no worker or cache behind instead.
async function withSite(t, browser, folder, tag, body, { ownContext = true } = {}) {
  const context = ownContext ? await browser.createBrowserContext() : browser.defaultBrowserContext();
  let server = null;
  let page = null;
  try {
    server = await serveFolder(folder, []);
    page = await context.newPage();
    t.watchPage(page, tag);
    await body(page, server);
  } finally {
    if (ownContext) {
      await context.close().catch(() => {});
    } else if (page) {
      await page.evaluate(async () => {
        for (const registration of await navigator.serviceWorker.getRegistrations()) await registration.unregister();
        for (const name of await caches.keys()) await caches.delete(name);
      }).catch(() => {});
      await page.close().catch(() => {});
    }
    if (server) await server.close();
  }
}

async function loadControlled(t, page, url, what) {
  await page.goto(url, { waitUntil: 'load', timeout: t.LOAD_MS });
  await t.waitForStatus(page, { state: 'running', active: true }, what, t.LOAD_MS);
  if (!(await poll(() => controlled(page), t.LOAD_MS, 200))) t.fail(`${what}: no service worker took control of the page`);
}

async function subPathOffline(t, browser) {
  const { check, fail } = t;
  const root = scratchFolder('sub-path');
  copySite(t.dist, path.join(root, SUB_PATH));
  await withSite(t, browser, root, 'offline', async (page, server) => {
    const url = server.url + SUB_PATH;
    const ok = await check('served under /games/qv/, the page\'s worker controls it there', async () => {
      await loadControlled(t, page, url, 'at /games/qv/');
      const scope = await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).scope);
      if (scope !== url) fail(`the worker's scope is ${scope}, not ${url}`);
    });
    if (!ok) return;
    if (t.chromiumOnly('installable', 'installability is asked over CDP')) await check('the page is installable', async () => {
      const cdp = await page.createCDPSession();
      const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
      if (installabilityErrors.length) fail(`Chromium says: ${JSON.stringify(installabilityErrors)}`);
      const { errors } = await cdp.send('Page.getAppManifest');
      if (errors.length) fail(`the manifest has errors: ${JSON.stringify(errors)}`);
    });
    await check('with the server gone and the page offline, a reload plays the game', async () => {
      await server.close();
      await page.setOfflineMode(true);
      await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
      await t.waitForStatus(page, { state: 'running', active: true }, 'offline', t.LOAD_MS);
      await t.expectPlaying(page, 'offline');
    });
  }, { ownContext: false });
}

// Appends a rule that marks the build to the folder's page.css.
function markBuild(folder, n) {
  fs.appendFileSync(path.join(folder, 'page.css'), `\n:root { --e2e-build: ${n}; }\n`);
}

async function newBuild(t, browser) {
  const { check, fail } = t;
  const folder = scratchFolder('update');
  copySite(t.dist, folder);
  await withSite(t, browser, folder, 'update', async (page, server) => {
    const ok = await check('until its list changes, the worker serves its own build, not the server\'s changed files', async () => {
      await loadControlled(t, page, server.url, 'first visit');
      markBuild(folder, 2);
      await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
      await t.waitForStatus(page, { state: 'running' }, 'reloaded', t.LOAD_MS);
      if (await buildMark(page)) fail('the page got the server\'s new page.css while the old build was current');
      if (await isShown(page, '#update')) fail('"A new version is ready" shows with no new build');
    });
    if (!ok) return;

    const offered = await check('a new build is offered as "A new version is ready", and its Reload runs it', async () => {
      await precache(t, folder);
      await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
      if (!(await poll(() => isShown(page, '#update'), t.LOAD_MS, 200))) fail('the page never offered the new build');
      const text = await textOf(page, '#update');
      if (!text?.includes('A new version is ready')) fail(`the offer says ${JSON.stringify(text)}`);
      if (await buildMark(page)) fail('the page offering the new build already runs part of it');
      await Promise.all([
        page.waitForNavigation({ waitUntil: 'load', timeout: t.LOAD_MS }),
        page.click('#update-reload'),
      ]);
      await t.waitForStatus(page, { state: 'running', active: true }, 'after Reload', t.LOAD_MS);
      if ((await buildMark(page)) !== '2') fail('after Reload the page still has the old page.css');
      if (await isShown(page, '#update')) fail('the offer still shows after Reload');
      const names = await cacheNames(page);
      if (names.length !== 1) fail(`the caches after the update are ${JSON.stringify(names)}, one was wanted`);
      await t.expectPlaying(page, 'the new build');
    });
    if (!offered) return;

    await check('a build whose files differ from its list is not taken', async () => {
      markBuild(folder, 3);
      await precache(t, folder);
      markBuild(folder, 4); // page.css is no longer the file the list names
      const state = await page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        await registration.update();
        const worker = registration.installing;
        if (!worker) return registration.waiting ? 'installed' : 'none';
        return new Promise((resolve) => {
          const settle = () => ['installed', 'activated', 'redundant'].includes(worker.state) && resolve(worker.state);
          worker.addEventListener('statechange', settle);
          settle();
        });
      });
      if (state !== 'redundant') fail(`the new worker ended up ${state}`);
      if (await isShown(page, '#update')) fail('"A new version is ready" shows for a build that failed to install');
      await page.reload({ waitUntil: 'load', timeout: t.LOAD_MS });
      await t.waitForStatus(page, { state: 'running' }, 'reloaded', t.LOAD_MS);
      if ((await buildMark(page)) !== '2') fail(`the page runs page.css of build ${await buildMark(page)}`);
    });
  });
}

async function listing(t) {
  await t.check('the list holds every file of the folder but the worker, and listing again changes nothing', async () => {
    const folder = scratchFolder('listing');
    copySite(t.dist, folder);
    await precache(t, folder);
    const before = fs.readFileSync(path.join(folder, 'sw.js'));
    await precache(t, folder);
    if (!fs.readFileSync(path.join(folder, 'sw.js')).equals(before)) t.fail('a second run changed sw.js');
    const files = Object.keys(listIn(folder).files);
    const wanted = fs.readdirSync(folder).filter((name) => name !== 'sw.js').sort();
    if (JSON.stringify(files) !== JSON.stringify(wanted)) t.fail(`listed ${files.join(' ')}; the folder has ${wanted.join(' ')}`);
    const version = listIn(folder).version;
    fs.mkdirSync(path.join(folder, 'more'));
    fs.writeFileSync(path.join(folder, 'more', 'touch.js'), '// a new file\n');
    await precache(t, folder);
    const after = listIn(folder);
    if (!after.files['more/touch.js']) t.fail(`a new file is not listed: ${Object.keys(after.files).join(' ')}`);
    if (after.version === version) t.fail('a new file left the version as it was');
  });
}

export async function offlinePages(t, browser) {
  await listing(t);
  await subPathOffline(t, browser);
  await newBuild(t, browser);
}
