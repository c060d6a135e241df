// The picture's size on the page, full screen, and the program's message
// boxes.
import { $ } from './state.js';

const canvas = $('screen');
const stage = $('stage');

// The largest whole factor of 640 x 480 that fits, counted in device
// pixels so that every game pixel is a square of whole device pixels;
// a stage smaller than the picture shrinks it with its aspect kept.
export function fit() {
  const ratio = window.devicePixelRatio || 1;
  const w = stage.clientWidth * ratio, h = stage.clientHeight * ratio;
  let scale = Math.floor(Math.min(w / canvas.width, h / canvas.height));
  if (scale < 1) scale = Math.min(w / canvas.width, h / canvas.height);
  canvas.style.width = (canvas.width * scale) / ratio + 'px';
  canvas.style.height = (canvas.height * scale) / ratio + 'px';
}
window.addEventListener('resize', fit);
document.addEventListener('fullscreenchange', fit);

export function toggleFullscreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  } else if (stage.requestFullscreen) {
    stage.requestFullscreen().catch((e) => console.warn('Full screen refused: ' + e.message));
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
