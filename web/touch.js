// The on-screen pad for phones and tablets. It shows on the first touch (at
// once where the main pointer is coarse) and hides again when a key is
// pressed or a game controller is used; keyboard and controller play stay
// as they are. "Steer" holds one of eight directions by where the finger is
// from its centre (touch_geometry.js), sliding from one to the next without
// lifting; "Fire" holds Ctrl while touched; "Pause" presses P, "Save demo"
// F9, and "Quit" asks first, then presses Esc. What the pad holds and the
// keys it presses go to the program's input core (qv_touch_hold and
// qv_touch_press of the web host), which takes them as keys of the keyboard:
// the key table holds them, a demo records them, F9 is the host's. Every
// finger is a pointer of its own, so Steer and Fire are held together.
// While the game has the page (played live with its frames running and no
// box open) touches on the stage never scroll, zoom, select or open a menu;
// the pad's own controls never do. The pad goes beside the picture, under
// it or over its lower corners, placed again whenever the stage or the
// picture change size. window.quorvanteledix.touch tells what it shows and
// holds: { shown, held: ['left', 'fire', ...], mode }.
import { $, game, program } from './state.js';
import { playbackBytes } from './demos.js';
import { messageBox } from './screen.js';
import { FIRE, HELD_NAMES, padLayout, steerDirection } from './touch_geometry.js';

const VK_ESCAPE = 0x1b, VK_P = 0x50, VK_F9 = 0x78;
// Frames further apart than this: the game stands (paused, or in a box).
const STANDING_MS = 250;
// A click this soon after a touch pressed a button is that touch's own.
const CLICK_AFTER_TOUCH_MS = 700;

const stage = $('stage');
const canvas = $('screen');

const touch = (game.touch = { shown: false, held: [], mode: null });

// ---- The controls -------------------------------------------------------------

const svg = (inner) => `<svg viewBox="0 0 24 24" aria-hidden="true" focusable="false">${inner}</svg>`;
const ICONS = {
  pause: svg('<rect x="6" y="5" width="4" height="14"/><rect x="14" y="5" width="4" height="14"/>'),
  save: svg('<path d="M11 3h2v9.2l3.3-3.3 1.4 1.4L12 16 6.3 10.3l1.4-1.4L11 12.2z"/><rect x="5" y="18" width="14" height="2.2"/>'),
  quit: svg('<path d="M6.3 4.9 12 10.6l5.7-5.7 1.4 1.4-5.7 5.7 5.7 5.7-1.4 1.4-5.7-5.7-5.7 5.7-1.4-1.4 5.7-5.7-5.7-5.7z"/>'),
};
const STEER_FACE = '<svg viewBox="0 0 100 100" aria-hidden="true" focusable="false">' +
  '<path data-dir="up" d="M50 7 61 21H39z"/><path data-dir="down" d="M50 93 61 79H39z"/>' +
  '<path data-dir="left" d="M7 50 21 39v22z"/><path data-dir="right" d="M93 50 79 39v22z"/></svg>' +
  '<span class="knob"></span>';

function control(id, label, html) {
  const button = document.createElement('button');
  button.type = 'button';
  button.id = id;
  button.setAttribute('aria-label', label);
  button.title = label;
  button.innerHTML = html;
  return button;
}

const controls = {
  steer: control('touch-steer', 'Steer', STEER_FACE),
  fire: control('touch-fire', 'Fire', '<span aria-hidden="true">FIRE</span>'),
  pause: control('touch-pause', 'Pause', ICONS.pause),
  save: control('touch-save', 'Save demo', ICONS.save),
  quit: control('touch-quit', 'Quit', ICONS.quit),
};
// Under the overlays and boxes, which come after the picture.
const pad = document.createElement('div');
pad.id = 'touch-pad';
pad.hidden = true;
pad.setAttribute('role', 'group');
pad.setAttribute('aria-label', 'Touch controls');
pad.append(...Object.values(controls));
canvas.after(pad);
const arrows = controls.steer.querySelectorAll('path[data-dir]');
const knob = controls.steer.querySelector('.knob');

// ---- What the pad holds, told to the program ----------------------------------

let steerPointer = null; // the finger on Steer
let steerHeld = 0;
const firePointers = new Set(); // the fingers on Fire
let sentHeld = 0; // what the program last heard
let wasActive = false;

const running = () => game.state === 'running';

function press(vk) {
  const Module = program();
  if (running() && Module && Module._qv_touch_press) Module._qv_touch_press(vk);
}

function sendHeld(held) {
  const Module = program();
  if (!running() || !Module || !Module._qv_touch_hold) return;
  sentHeld = held;
  Module._qv_touch_hold(held);
}

function update() {
  const held = steerHeld | (firePointers.size ? FIRE : 0);
  touch.held = HELD_NAMES.filter(([bit]) => held & bit).map(([, name]) => name);
  for (const arrow of arrows) arrow.classList.toggle('held', touch.held.includes(arrow.dataset.dir));
  const x = (touch.held.includes('right') ? 1 : 0) - (touch.held.includes('left') ? 1 : 0);
  const y = (touch.held.includes('down') ? 1 : 0) - (touch.held.includes('up') ? 1 : 0);
  // Towards the direction held, a diagonal as far out as the rest.
  const reach = (x && y ? 0.2 : 0.28) * (parseFloat(controls.steer.style.width) || 0);
  knob.style.transform = `translate(${x * reach}px, ${y * reach}px)`;
  controls.steer.classList.toggle('held', steerHeld !== 0);
  controls.fire.classList.toggle('held', firePointers.size > 0);
  if (held !== sentHeld) sendHeld(held);
}

// Every finger off: the pad hides, or a box takes the page.
function letGo() {
  steerPointer = null;
  steerHeld = 0;
  firePointers.clear();
  for (const button of Object.values(controls)) button.classList.remove('pressed');
  update();
}

function aim(e) {
  const r = controls.steer.getBoundingClientRect();
  steerHeld = steerDirection(e.clientX - (r.left + r.width / 2), e.clientY - (r.top + r.height / 2), r.width / 2);
  update();
}

// A pointer of the pad's own: captured, so that it stays the control's
// while the finger slides, even off it.
function capture(button, e) {
  e.preventDefault();
  try {
    button.setPointerCapture(e.pointerId);
  } catch {
    /* a pointer already gone */
  }
}

function onRelease(button, handler) {
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, handler);
}

controls.steer.addEventListener('pointerdown', (e) => {
  if (steerPointer !== null) return; // a second finger on Steer steers nothing
  steerPointer = e.pointerId;
  capture(controls.steer, e);
  aim(e);
});
controls.steer.addEventListener('pointermove', (e) => {
  if (e.pointerId === steerPointer) aim(e);
});
onRelease(controls.steer, (e) => {
  if (e.pointerId !== steerPointer) return;
  steerPointer = null;
  steerHeld = 0;
  update();
});

controls.fire.addEventListener('pointerdown', (e) => {
  firePointers.add(e.pointerId);
  capture(controls.fire, e);
  update();
});
onRelease(controls.fire, (e) => {
  if (firePointers.delete(e.pointerId)) update();
});

// A button acts as a finger leaves it over it (sliding off first takes the
// press back); a mouse, the keyboard or an assistive technology clicks it.
let lastTouchAct = -Infinity;
function command(button, act) {
  let pointer = null;
  button.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'mouse' || pointer !== null) return;
    pointer = e.pointerId;
    capture(button, e);
    button.classList.add('pressed');
  });
  onRelease(button, (e) => {
    if (e.pointerId !== pointer) return;
    pointer = null;
    button.classList.remove('pressed');
    const r = button.getBoundingClientRect();
    const over = e.clientX >= r.left && e.clientX <= r.right && e.clientY >= r.top && e.clientY <= r.bottom;
    if (e.type !== 'pointerup' || !over) return;
    lastTouchAct = performance.now();
    act();
  });
  button.addEventListener('click', () => {
    button.blur(); // the keys stay the game's
    if (performance.now() - lastTouchAct >= CLICK_AFTER_TOUCH_MS) act();
  });
}

let asking = false;
async function askQuit() {
  if (asking || !running()) return;
  asking = true;
  letGo();
  const answer = await messageBox('Quit', 'Quit the game?', true);
  asking = false;
  if (answer === 1) press(VK_ESCAPE);
}

command(controls.pause, () => press(VK_P));
command(controls.save, () => press(VK_F9));
command(controls.quit, askQuit);

// ---- Where the pad goes ------------------------------------------------------

function place() {
  if (pad.hidden) return;
  const s = stage.getBoundingClientRect(), c = canvas.getBoundingClientRect();
  const layout = padLayout(
    { width: stage.clientWidth, height: stage.clientHeight },
    { left: c.left - s.left - stage.clientLeft, top: c.top - s.top - stage.clientTop, width: c.width, height: c.height });
  touch.mode = layout.mode;
  pad.className = layout.mode;
  for (const [name, button] of Object.entries(controls)) {
    const box = layout[name];
    button.style.left = box.left + 'px';
    button.style.top = box.top + 'px';
    button.style.width = box.size + 'px';
    button.style.height = box.size + 'px';
  }
}
if (window.ResizeObserver) {
  const watch = new ResizeObserver(place);
  watch.observe(stage);
  watch.observe(canvas);
}
window.addEventListener('resize', place);
window.addEventListener('orientationchange', place);
document.addEventListener('fullscreenchange', place);

// ---- When the pad shows ------------------------------------------------------

// A demo played from start-up is watched, not played, unless it was refused.
const startsWithDemo = playbackBytes() !== null;
const livePlay = () => running() && game.demo.mode !== 'playback' && !(startsWithDemo && !game.demoRefused);

let wanted = false; // touched (or a coarse pointer) since the last key or controller
let looping = false;

function refresh() {
  const show = wanted && livePlay();
  if (show === touch.shown) return;
  touch.shown = show;
  pad.hidden = !show;
  if (show) place();
  else letGo();
}

function controllerUsed() {
  let pads = [];
  try {
    pads = navigator.getGamepads ? navigator.getGamepads() : [];
  } catch {
    return false;
  }
  for (const p of pads) {
    if (!p) continue;
    if (Array.from(p.buttons).some((b) => b.pressed)) return true;
    if (Array.from(p.axes).slice(0, 2).some((a) => Math.abs(a) > 0.5)) return true;
  }
  return false;
}

// While wanted, each animation frame looks at the game's state and the
// controllers; a game that took its focus back hears what is still held
// (a key held down repeats, and so goes down again, as well).
function tick() {
  if (touch.shown && controllerUsed()) wanted = false;
  refresh();
  if (game.active && !wasActive && sentHeld) sendHeld(sentHeld);
  wasActive = game.active;
  looping = wanted && game.state !== 'ended';
  if (looping) requestAnimationFrame(tick);
}

function want() {
  wanted = true;
  refresh();
  if (!looping && game.state !== 'ended') {
    looping = true;
    requestAnimationFrame(tick);
  }
}

window.addEventListener('keydown', (e) => {
  if (e.repeat || !wanted) return;
  wanted = false;
  refresh();
}, true);

const coarse = window.matchMedia ? window.matchMedia('(pointer: coarse)') : null;
if (coarse && coarse.matches) want();
if (coarse && coarse.addEventListener) coarse.addEventListener('change', (e) => { if (e.matches) want(); });

// ---- Touches are the game's --------------------------------------------------

function gameHasPage() {
  return running() && game.active && !game.minimized && game.demo.mode === 'live' && $('dialog').hidden &&
    game.lastFrameAt !== null && performance.now() - game.lastFrameAt < STANDING_MS;
}

// Whether the browser's own handling of a touch on `target` is kept from it.
function gameTouch(target) {
  return target instanceof Node && (pad.contains(target) || (stage.contains(target) && gameHasPage()));
}

document.addEventListener('touchstart', (e) => {
  want();
  if (gameTouch(e.target)) e.preventDefault();
}, { capture: true, passive: false });
document.addEventListener('touchmove', (e) => {
  if (e.cancelable && gameTouch(e.target)) e.preventDefault();
}, { capture: true, passive: false });
for (const type of ['contextmenu', 'selectstart', 'gesturestart', 'dblclick']) {
  document.addEventListener(type, (e) => {
    if (gameTouch(e.target)) e.preventDefault();
  }, { capture: true, passive: false });
}
