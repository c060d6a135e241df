// What the browser test stands on: a static server for the page's folder on
// 127.0.0.1, headless Chromium through puppeteer-core, other programs run
// to completion, and the small page helpers every check uses. Every process
// is stopped by stopAll(), which the test calls on every way out, failures
// and signals included.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const MIME = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.bmp': 'image/bmp',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.json': 'application/json',
};

// The prefix under which the folder is served once more without its sheet:
// /without-sheet/city2.bmp answers 404, everything else is the same file.
export const WITHOUT_SHEET = '/without-sheet/';

// Serves `root` on 127.0.0.1 at a port the system picks. Resolves to
// { url, close }; `requests` collects "STATUS path" of every answer.
export function serveFolder(root, requests) {
  const server = http.createServer((req, res) => {
    let urlPath = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    let withoutSheet = false;
    if (urlPath.startsWith(WITHOUT_SHEET)) {
      withoutSheet = true;
      urlPath = '/' + urlPath.slice(WITHOUT_SHEET.length);
    }
    if (urlPath.endsWith('/')) urlPath += 'index.html';
    const file = path.join(root, path.normalize(urlPath));
    const missing = !file.startsWith(root) || (withoutSheet && path.basename(file) === 'city2.bmp');
    fs.readFile(missing ? '' : file, (err, body) => {
      const status = err ? 404 : 200;
      requests.push(`${status} ${req.url}`);
      if (err) {
        res.writeHead(404, { 'Content-Type': 'text/plain' });
        res.end('not found');
        return;
      }
      res.writeHead(200, {
        'Content-Type': MIME[path.extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      res.end(body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      resolve({
        url: `http://127.0.0.1:${port}/`,
        close: () => new Promise((done) => {
          server.closeAllConnections?.();
          server.close(() => done());
        }),
      });
    });
  });
}

// Launches a browser with `options(profile, downloads)` on a fresh profile
// (prefix `prefix`), whose downloads land in its folder `downloads`.
// Resolves to { browser, downloads, stop }; stop() closes it and, should
// that hang, kills its process by id, then removes the profile.
export async function launchOwned(puppeteer, prefix, options) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  const downloads = path.join(profile, 'downloads');
  fs.mkdirSync(downloads);
  let browser;
  try {
    browser = await puppeteer.launch(options(profile, downloads));
  } catch (err) {
    fs.rmSync(profile, { recursive: true, force: true });
    throw err;
  }
  const child = browser.process();
  const exited = new Promise((resolve) => {
    if (!child || child.exitCode !== null || child.signalCode !== null) resolve();
    else child.once('exit', resolve);
  });
  const stop = async () => {
    await Promise.race([browser.close().catch(() => {}), sleep(10000)]);
    if (child?.pid) {
      try { process.kill(child.pid, 'SIGKILL'); } catch { /* already gone */ }
    }
    await Promise.race([exited, sleep(5000)]);
    try {
      fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 200 });
    } catch (err) {
      console.log(`could not remove ${profile}: ${err.message}`);
    }
  };
  return { browser, downloads, stop };
}

// Starts headless Chromium with a fresh profile (see launchOwned).
export function startChromium(puppeteer, executablePath) {
  return launchOwned(puppeteer, 'web_e2e-profile-', (profile, downloads) => ({
    executablePath,
    headless: true,
    userDataDir: profile,
    downloadBehavior: { policy: 'allow', downloadPath: downloads },
    protocolTimeout: 120000,
    // The test stops Chromium itself, on signals too.
    handleSIGINT: false,
    handleSIGTERM: false,
    handleSIGHUP: false,
    defaultViewport: { width: 1024, height: 768 },
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
    ],
  }));
}

// Runs a program to its end. Resolves to { status, signal, stdout, stderr }
// (stdout as a Buffer). A program still running after `timeoutMs`, or when
// stopRunning() is called, is killed by its process id.
const running = new Set();
export function runProgram(file, args, { cwd, timeoutMs }) {
  return new Promise((resolve, reject) => {
    const child = spawn(file, args, { cwd, stdio: ['ignore', 'pipe', 'pipe'] });
    running.add(child);
    const out = [];
    const err = [];
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => err.push(chunk));
    const timer = setTimeout(() => {
      try { process.kill(child.pid, 'SIGKILL'); } catch { /* already gone */ }
    }, timeoutMs);
    child.once('error', (e) => {
      clearTimeout(timer);
      running.delete(child);
      reject(e);
    });
    child.once('close', (status, signal) => {
      clearTimeout(timer);
      running.delete(child);
      resolve({ status, signal, stdout: Buffer.concat(out), stderr: Buffer.concat(err).toString() });
    });
  });
}

export function stopRunning() {
  for (const child of running) {
    try { process.kill(child.pid, 'SIGKILL'); } catch { /* already gone */ }
  }
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls `probe` (an async function) every `every` ms until it returns a
// truthy value or `ms` pass; resolves to the last value it returned.
export async function poll(probe, ms, every = 100) {
  const end = Date.now() + ms;
  let value;
  for (;;) {
    value = await probe();
    if (value || Date.now() >= end) return value;
    await sleep(every);
  }
}

// The canvas as 640 x 480 RGBA bytes, copied through a canvas of the test's
// own so the page's drawing context is left as the page made it.
export async function captureCanvas(page) {
  const b64 = await page.evaluate(() => {
    const screen = document.querySelector('#screen');
    if (!screen) return null;
    const copy = document.createElement('canvas');
    copy.width = 640;
    copy.height = 480;
    const g = copy.getContext('2d');
    g.imageSmoothingEnabled = false;
    g.drawImage(screen, 0, 0);
    const data = g.getImageData(0, 0, 640, 480).data;
    let s = '';
    for (let i = 0; i < data.length; i += 0x8000) s += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(s);
  });
  if (b64 === null) throw new Error('the page has no #screen element');
  return Buffer.from(b64, 'base64');
}

// The page's window.quorvanteledix fields the checks read.
export function gameStatus(page) {
  return page.evaluate(() => {
    const q = window.quorvanteledix;
    if (!q) return null;
    return { state: q.state, active: q.active, frames: q.frames, exitStatus: q.exitStatus };
  });
}

// Whether the element is on the page and shown: not `hidden`, displayed,
// visible, with a box of its own.
export function isShown(page, selector) {
  return page.evaluate((sel) => {
    const el = document.querySelector(sel);
    if (!el) return false;
    for (let e = el; e; e = e.parentElement) {
      if (e.hidden) return false;
      const style = getComputedStyle(e);
      if (style.display === 'none' || style.visibility === 'hidden') return false;
    }
    return el.getClientRects().length > 0;
  }, selector);
}

// Drops `bytes` on the page's canvas as a file named `name`, as a person
// drags one from their files.
export function dropFile(page, bytes, name) {
  return page.evaluate((b64, fileName) => {
    const s = atob(b64);
    const data = new Uint8Array(s.length);
    for (let i = 0; i < s.length; i++) data[i] = s.charCodeAt(i);
    const transfer = new DataTransfer();
    transfer.items.add(new File([data], fileName));
    const target = document.querySelector('#screen');
    for (const type of ['dragenter', 'dragover', 'drop']) {
      target.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }
  }, Buffer.from(bytes).toString('base64'), name);
}

// The demo F9 saved last (window.quorvanteledix.lastDemo) with its bytes
// as a Buffer, or null.
export async function savedDemo(page) {
  const d = await page.evaluate(() => {
    const demo = window.quorvanteledix.lastDemo;
    if (!demo) return null;
    let s = '';
    for (let i = 0; i < demo.bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, demo.bytes.subarray(i, i + 0x8000));
    return { b64: btoa(s), name: demo.name, passes: demo.passes, hash: demo.hash };
  });
  return d && { bytes: Buffer.from(d.b64, 'base64'), name: d.name, passes: d.passes, hash: d.hash };
}

// The sheet hash a demo's header names (bytes 12..19, little-endian), as
// the page and the runner write it.
export const headerSheetHash = (bytes) => Buffer.from(bytes).readBigUInt64LE(12).toString(16).padStart(16, '0');

export function textOf(page, selector) {
  return page.evaluate((sel) => document.querySelector(sel)?.textContent ?? null, selector);
}
