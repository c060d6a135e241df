// The page around the game: loads the program (with WebAssembly SIMD where
// the browser has it, else the portable build), hands it its sheet and the
// demo to play, scales its picture, shows its message boxes, its paused and
// ended states and the four counters, and offers full screen. Files dropped
// on the page are sheets or demos (sheets.js, demos.js). What the host asks
// of the page comes through the Module.qv* hooks below.
import { $, game, showOnly } from './state.js';
import { demoProgress, demoRefusedAtStart, demoSaved, playDemo, playLive, playbackBytes, refuse } from './demos.js';
import { fit, messageBox, toggleFullscreen } from './screen.js';
import { refuseSheet, reviewPlayerSheet, sheetBytes, useSheet } from './sheets.js';
import './touch.js'; // the on-screen pad for phones and tablets
import { keepOffline } from './offline.js';

const canvas = $('screen');
const counters = [$('shield'), $('lives'), $('boss-energy'), $('score')];

$('fullscreen').addEventListener('click', (e) => {
  toggleFullscreen();
  e.currentTarget.blur(); // the keys stay the game's
});
$('play-again').addEventListener('click', playLive); // a link's demo is not played again

// The program's end unwinds out of the runtime as an ExitStatus; it is
// the end, not an error.
function isExit(error) {
  return error && error.name === 'ExitStatus';
}
window.addEventListener('error', (e) => {
  if (isExit(e.error)) e.preventDefault();
});
window.addEventListener('unhandledrejection', (e) => {
  if (isExit(e.reason)) e.preventDefault();
});

// A counter is written only when it changed: every write lays the page out
// again before the next picture, a cost a slow phone feels every frame.
const shownCounters = [];
function updateCounters() {
  for (let i = 0; i < counters.length; i++) {
    const value = Module._qv_counter(i);
    if (value !== shownCounters[i]) counters[i].textContent = String((shownCounters[i] = value));
  }
}

function ended(status) {
  game.state = 'ended';
  game.active = false;
  game.exitStatus = status;
  if (game.demo.mode === 'playback') {
    $('ended-title').textContent = 'The demo has ended.';
    $('watch-again').hidden = false;
  }
  showOnly('ended');
}

// ---- Dropped files ------------------------------------------------------------

// A dropped file is a sheet or a demo by its first bytes, else by its name.
function looksLikeSheet(bytes, name) {
  if (bytes[0] === 0x42 && bytes[1] === 0x4d) return true; // "BM"
  if (String.fromCharCode(...bytes.subarray(0, 6)) === 'QVDEMO') return false;
  return /\.bmp$/i.test(name);
}

function takeDroppedFile(file) {
  file.arrayBuffer().then(
    (buffer) => {
      const bytes = new Uint8Array(buffer);
      if (looksLikeSheet(bytes, file.name)) useSheet(bytes, file.name);
      else playDemo(bytes, file.name);
    },
    (e) => {
      if (/\.bmp$/i.test(file.name)) refuseSheet(file.name, [`It could not be read (${e.message}).`]);
      else refuse(file.name, 'it could not be read (' + e.message + ')');
    });
}

document.addEventListener('dragover', (e) => {
  if (!e.dataTransfer || !Array.from(e.dataTransfer.types).includes('Files')) return;
  e.preventDefault();
  e.dataTransfer.dropEffect = 'copy';
  document.body.classList.add('dragging');
});
document.addEventListener('dragleave', (e) => {
  if (!e.relatedTarget) document.body.classList.remove('dragging');
});
document.addEventListener('drop', (e) => {
  document.body.classList.remove('dragging');
  if (!e.dataTransfer || !e.dataTransfer.files.length) return;
  e.preventDefault();
  takeDroppedFile(e.dataTransfer.files[0]);
});

// ---- The program --------------------------------------------------------------

const sheet = sheetBytes();
const demo = playbackBytes();

const Module = (window.Module = {
  canvas,
  print: (text) => console.log(text),
  // What the program says on stderr, its refusals among it, reads as a warning.
  printErr: (text) => console.warn(text),
  // The sheet, the page's or the player's, goes into the program's current
  // folder before it starts; without it the program reports the failure itself.
  // A demo to play goes beside it, where the program's entry looks.
  preRun: [
    () => {
      Module.addRunDependency('city2.bmp');
      sheet.then((bytes) => {
        if (bytes) Module.FS.writeFile('/city2.bmp', bytes);
        if (demo) Module.FS.writeFile('/playback.demo', demo);
        Module.removeRunDependency('city2.bmp');
      });
    },
  ],
  onRuntimeInitialized() {
    game.state = 'running';
    showOnly(null);
    setTimeout(reviewPlayerSheet); // after the program's first wait
  },
  onExit: ended,
  onAbort(what) {
    console.error('The program stopped: ' + what);
    ended(null);
  },
  qvOnState(active, minimized) {
    game.active = active;
    game.minimized = minimized;
    if (game.state === 'running') showOnly(minimized ? 'paused' : null);
  },
  qvOnDisplay(open) {
    if (open) fit();
  },
  qvOnFrame(workMs) {
    game.noteFrame(workMs);
    updateCounters();
  },
  qvMessageBox: messageBox,
  qvToggleFullscreen: toggleFullscreen,
  qvOnDemoSaved: demoSaved,
  qvOnDemoProgress: demoProgress,
  qvOnDemoRefused: demoRefusedAtStart,
  qvDemoPaused: false,
});

// The smallest module that uses a SIMD instruction (i8x16.popcnt): valid
// only where the browser has WebAssembly SIMD.
const simdProbe = new Uint8Array([
  0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253,
  98, 11,
]);
game.build = WebAssembly.validate(simdProbe) ? 'simd' : 'portable';
const script = document.createElement('script');
script.src = game.build === 'simd' ? 'quorvanteledix.js' : 'quorvanteledix-portable.js';
script.onerror = () => {
  console.error('Cannot load ' + script.src);
  ended(null);
};
document.body.appendChild(script);
fit();
keepOffline();
