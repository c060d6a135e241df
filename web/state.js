// What every part of the page shares: the elements, what the page knows of
// the game (window.quorvanteledix, which tests and the curious read), the
// overlays, and the running program (window.Module, set by page.js).
export const $ = (id) => document.getElementById(id);

const kFrameTimesKept = 600;

export const game = {
  state: 'loading', // 'loading' | 'running' | 'ended'
  active: false,
  minimized: false,
  frames: 0,
  frameTimes: [], // ms of one frame of the program plus its present
  lastFrameAt: null, // performance.now() of the last frame presented
  exitStatus: null,
  build: null, // 'simd' | 'portable'
  // The demo F9 saved last: { bytes (Uint8Array), name, passes, hash }.
  lastDemo: null,
  // The page's demo playback, when it plays one; else mode 'live'.
  demo: { mode: 'live', name: null, played: 0, passes: 0, paused: false, ended: false, endScreen: null },
  // Why the demo chosen last was refused, or null.
  demoRefused: null,
  // The sheet the program plays with: the page's own city2.bmp, or the
  // player's with what the program's check said of it.
  sheet: { own: true, name: 'city2.bmp', verdict: null, problems: [] },
  // The sheet chosen last and why it was refused ({ name, problems }), or null.
  sheetRefused: null,
  medianFrameMs() {
    if (!this.frameTimes.length) return NaN;
    const sorted = [...this.frameTimes].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
  },
  noteFrame(workMs) {
    this.frames++;
    this.lastFrameAt = performance.now();
    this.frameTimes.push(workMs);
    if (this.frameTimes.length > kFrameTimesKept) this.frameTimes.shift();
  },
};
window.quorvanteledix = game;

// The program's runtime (emscripten's Module object).
export const program = () => window.Module;

export function showOnly(id) {
  for (const overlay of ['loading', 'paused', 'ended']) $(overlay).hidden = overlay !== id;
}

export function toBase64(bytes) {
  let s = '';
  for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  return btoa(s);
}

export function fromBase64(text) {
  const s = atob(text);
  const bytes = new Uint8Array(s.length);
  for (let i = 0; i < s.length; i++) bytes[i] = s.charCodeAt(i);
  return bytes;
}

// A button's click keeps the keys the game's: the button lets go of the focus.
export function onButton(id, handler) {
  $(id).addEventListener('click', (e) => {
    e.currentTarget.blur();
    handler(e);
  });
}
