// Demos in the page: F9's demo offered as a download, and a demo chosen or
// dropped on the page played back. The program checks a demo; the page keeps
// it over a reload and hands it to the new program before it starts.
import { $, fromBase64, game, onButton, program, toBase64 } from './state.js';
import { forgetLink, linkedDemo, offerLink } from './demo_links.js';

// The demo to play after a reload, kept for this tab and this page's path.
const kDemoKey = 'quorvanteledix.demo:' + location.pathname;
let playback = null; // { name, data (base64) } handed to this program
try {
  const kept = sessionStorage.getItem(kDemoKey);
  if (kept) {
    sessionStorage.removeItem(kDemoKey); // a reload plays the live game again
    playback = JSON.parse(kept);
  }
} catch (e) {
  playback = null;
}
// Else the demo the page's address carries, if any (demo_links.js).
const linked = playback ? null : linkedDemo();
if (linked?.why) refuse(linked.name, linked.why);
else if (linked) playback = linked;

// The demo this program is to play, as bytes, or null for the live game.
export function playbackBytes() {
  return playback ? fromBase64(playback.data) : null;
}

function say(text) {
  const message = $('demo-message');
  message.textContent = text;
  message.hidden = !text;
}

export function refuse(name, why) {
  game.demoRefused = why;
  say(`${name} cannot be played: ${why}.`);
  console.warn(`Demo refused: ${why}`);
}

// Keeps the demo over a reload, which starts the program again on it.
function reloadInto(name, data) {
  if (linked && data === linked.data) {
    location.reload(); // the address carries it
    return;
  }
  try {
    sessionStorage.setItem(kDemoKey, JSON.stringify({ name, data }));
  } catch (e) {
    refuse(name, 'the page cannot keep it over a reload (' + e.message + ')');
    return;
  }
  forgetLink();
  location.reload();
}

// Starts the live game: a reload with no demo to play.
export function playLive() {
  forgetLink();
  location.reload();
}

// A running program checks the demo first, so a refused one leaves the
// game as it is; otherwise the new program checks it as it starts.
export function playDemo(bytes, name) {
  say('');
  game.demoRefused = null;
  if (game.state === 'running') {
    const Module = program();
    Module.FS.writeFile('/candidate.demo', bytes);
    const why = Module.UTF8ToString(Module._qv_demo_check());
    if (why) {
      refuse(name, why);
      return;
    }
  }
  reloadInto(name, toBase64(bytes));
}

export function playDemoFile(file) {
  if (!file) return;
  file.arrayBuffer().then(
    (buffer) => playDemo(new Uint8Array(buffer), file.name),
    (e) => refuse(file.name, 'it could not be read (' + e.message + ')'));
}

onButton('play-demo', () => $('demo-file').click());
$('demo-file').addEventListener('change', (e) => {
  const file = e.currentTarget.files[0];
  e.currentTarget.value = ''; // the same file may be chosen again
  playDemoFile(file);
});

// F9's demo: kept for the page, downloaded at once, and linked.
let demoUrl = null;
export function demoSaved(bytes, name, passes, hash) {
  game.lastDemo = { bytes, name, passes, hash };
  if (demoUrl) URL.revokeObjectURL(demoUrl);
  demoUrl = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = $('demo-download');
  link.href = demoUrl;
  link.download = name;
  link.textContent = `Download demo (${passes} passes)`;
  link.hidden = false;
  link.click();
  offerLink(game.lastDemo);
}

function setDemoPaused(paused) {
  const Module = program();
  game.demo.paused = paused;
  Module.qvDemoPaused = paused;
  $('demo-pause').textContent = paused ? 'Resume' : 'Pause';
  if (!paused && Module.qvWake) Module.qvWake();
}
onButton('play-yourself', playLive);
onButton('demo-pause', () => {
  if (!game.demo.ended) setDemoPaused(!game.demo.paused);
});
// During a playback the keys are the page's: the space bar pauses it.
window.addEventListener('keydown', (e) => {
  if (game.demo.mode !== 'playback' || e.code !== 'Space') return;
  e.preventDefault();
  if (!e.repeat && !game.demo.ended) setDemoPaused(!game.demo.paused);
});
$('watch-again').addEventListener('click', () => {
  if (playback) reloadInto(playback.name, playback.data);
});

export function demoProgress(played, passes, over, screenHash) {
  const demo = game.demo;
  if (demo.mode !== 'playback') {
    demo.mode = 'playback';
    demo.name = playback ? playback.name : null;
    $('demo-bar').hidden = false;
    $('play-yourself').hidden = false;
    $('demos').hidden = true;
  }
  demo.played = played;
  demo.passes = passes;
  const bar = $('demo-progress');
  bar.max = Math.max(passes, 1);
  bar.value = played;
  $('demo-passes').textContent = `${played} / ${passes} passes`;
  if (over && !demo.ended) {
    demo.ended = true;
    demo.endScreen = screenHash;
    $('demo-pause').disabled = true;
  }
}

// The program refused the demo it was to play: the live game runs.
export function demoRefusedAtStart(why) {
  refuse(playback ? playback.name : 'The demo', why);
  playback = null;
}
