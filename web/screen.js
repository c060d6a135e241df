// The picture's size on the page, full screen, and the program's message
// boxes.
import { $ } from './state.js';

const canvas = $('screen');
const stage = $('stage');

// The picture's size in the stage. Where 640 x 480 CSS pixels fit, the
// largest whole factor of 640 x 480 counted in device pixels, so that every
// game pixel is a square of whole device pixels. Where they do not (a phone),
// the largest size that fits with the aspect kept, rounded down to whole
// device pixels: the full width in portrait, the full height in landscape.
export function fit() {
  const ratio = window.devicePixelRatio || 1;
  const cssW = stage.clientWidth, cssH = stage.clientHeight;
  const w = cssW * ratio, h = cssH * ratio;
  const fits = cssW >= canvas.width && cssH >= canvas.height;
  let scale = Math.min(w / canvas.width, h / canvas.height);
  if (fits) scale = Math.max(1, Math.floor(scale));
  canvas.style.width = Math.floor(canvas.width * scale) / ratio + 'px';
  canvas.style.height = Math.floor(canvas.height * scale) / ratio + 'px';
}
window.addEventListener('resize', fit);
document.addEventListener('fullscreenchange', fit);
// The bar below can grow (a demo's progress, a refused sheet's reasons) and
// take height from the stage without the window changing.
if (window.ResizeObserver) new ResizeObserver(() => fit()).observe(stage);

// Full screen on a phone is best held sideways: where the browser lets the
// page lock the orientation it does; a refusal (most desktops, Safari)
// leaves the orientation to the player.
function askLandscape() {
  const orientation = screen.orientation;
  if (!orientation || typeof orientation.lock !== 'function') return;
  orientation.lock('landscape').catch((e) => console.info('Landscape not locked: ' + e.message));
}

export function toggleFullscreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  } else if (stage.requestFullscreen) {
    stage.requestFullscreen().then(askLandscape, (e) => console.warn('Full screen refused: ' + e.message));
  }
}

// Shows a box and resolves with the button pressed once it is dismissed:
// OK (1) by its button or Enter; with `okCancel`, Cancel (2) by its button
// or Esc, else Esc answers OK.
export function messageBox(caption, text, okCancel) {
  const dialog = $('dialog'), ok = $('dialog-ok'), cancel = $('dialog-cancel');
  $('dialog-caption').textContent = caption;
  $('dialog-text').textContent = text;
  cancel.hidden = !okCancel;
  dialog.hidden = false;
  ok.focus();
  return new Promise((resolve) => {
    function done(button) {
      dialog.hidden = true;
      ok.removeEventListener('click', onOk);
      cancel.removeEventListener('click', onCancel);
      window.removeEventListener('keydown', onKey, true);
      resolve(button);
    }
    const onOk = () => done(1);
    const onCancel = () => done(2);
    function onKey(e) {
      const enter = e.code === 'Enter' || e.code === 'NumpadEnter';
      if (!enter && e.code !== 'Escape') return;
      e.preventDefault();
      e.stopPropagation();
      if (e.repeat) return;
      done(enter || !okCancel ? 1 : 2);
    }
    ok.addEventListener('click', onOk);
    cancel.addEventListener('click', onCancel);
    window.addEventListener('keydown', onKey, true);
  });
}
