// Demos carried in the page's address. "Copy link" puts F9's demo in the
// fragment: #demo= and the file in URL-safe base64 without padding. The
// fragment never reaches the server, so the link works wherever the page is
// served. Opening such an address plays its demo as a chosen one plays;
// links carry demos up to 64 KB, and a bigger one is offered as its file only.
import { $, game, onButton, toBase64 } from './state.js';

export const kLinkMaxBytes = 64 * 1024;
// The name a link's demo goes by in the page's messages: it has no file name.
export const kLinkedDemoName = 'The linked demo';
const kFragment = '#demo=';

function toBase64url(bytes) {
  return toBase64(bytes).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The standard base64 of URL-safe base64 text, padded, or null when the
// text is not URL-safe base64 (a character outside its alphabet, or a
// length no whole number of bytes gives).
function fromBase64url(text) {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const padded = text + '='.repeat((4 - (text.length % 4)) % 4);
  return padded.replace(/-/g, '+').replace(/_/g, '/');
}

// This page's address without its fragment.
function pageAddress() {
  return location.href.split('#')[0];
}

export function demoLink(bytes) {
  return pageAddress() + kFragment + toBase64url(bytes);
}

// The demo this page's address carries: null when it carries none, else
// { name, data } with the demo as base64, or { name, why } when the
// fragment holds no base64 at all. Whether the bytes are a demo this page
// can play is the program's to say.
export function linkedDemo() {
  if (!location.hash.startsWith(kFragment)) return null;
  const data = fromBase64url(location.hash.slice(kFragment.length));
  if (data === null) return { name: kLinkedDemoName, why: 'its link is damaged (the demo in it is not URL-safe base64)' };
  return { name: kLinkedDemoName, data };
}

// Leaves the address without its fragment, so that a reload starts the
// live game, or the demo kept for the reload, rather than the link's demo.
export function forgetLink() {
  if (location.hash) history.replaceState(history.state, '', pageAddress());
}

// A link to this same page typed or pasted into the address bar changes
// only the fragment, which loads nothing: the page starts again on it.
window.addEventListener('hashchange', () => {
  if (location.hash.startsWith(kFragment)) location.reload();
});

function tell(text) {
  const note = $('demo-link-note');
  note.textContent = text;
  note.hidden = !text;
}

// F9 saved `demo`: a link to it is offered when it is small enough, else
// the page says why there is none.
export function offerLink(demo) {
  $('demo-link').hidden = true;
  const fits = demo.bytes.length <= kLinkMaxBytes;
  $('demo-copy-link').hidden = !fits;
  const kb = Math.ceil(demo.bytes.length / 1024);
  tell(fits ? '' : `This demo is ${kb} KB; links carry demos up to ${kLinkMaxBytes / 1024} KB: download the file instead.`);
}

// When the browser refuses the clipboard, the link is shown selected in a
// read-only field for the player to copy.
function showLinkField(link, refusal) {
  const field = $('demo-link');
  field.value = link;
  field.hidden = false;
  field.focus();
  field.select();
  tell('The browser did not let the page copy the link: copy it from the field.');
  console.warn(`Copy link refused: ${refusal}`);
}

onButton('demo-copy-link', () => {
  if (!game.lastDemo) return;
  tell(''); // what the last click came to
  const link = demoLink(game.lastDemo.bytes);
  const copying = navigator.clipboard?.writeText
    ? navigator.clipboard.writeText(link)
    : Promise.reject(new Error('this page has no clipboard'));
  copying.then(
    () => {
      $('demo-link').hidden = true;
      tell('Link copied.');
    },
    (e) => showLinkField(link, e.message || String(e)));
});
