// The sprite sheet as the test sees it: an 8-bit, bottom-up BMP read
// straight from the served folder, so the page's pixels can be checked
// against the sheet's own colours through its palette; and its facts.
import fs from 'node:fs';

// Reads an uncompressed 8-bit BMP. Throws with a plain reason when the file
// is not one, so a broken build shows up as such and not as a pixel mismatch.
export function readBmp8(path) {
  const b = fs.readFileSync(path);
  if (b.length < 54 || b.toString('latin1', 0, 2) !== 'BM') throw new Error(`${path}: not a BMP file`);
  const offBits = b.readUInt32LE(10);
  const infoSize = b.readUInt32LE(14);
  const width = b.readInt32LE(18);
  const rawHeight = b.readInt32LE(22);
  const bitCount = b.readUInt16LE(28);
  const compression = b.readUInt32LE(30);
  if (bitCount !== 8 || compression !== 0) {
    throw new Error(`${path}: ${bitCount}-bit, compression ${compression}; expected 8-bit uncompressed`);
  }
  const colours = b.readUInt32LE(46) || 256;
  const palette = [];
  for (let i = 0; i < colours; i++) {
    const at = 14 + infoSize + 4 * i; // RGBQUAD: blue, green, red, reserved
    palette.push([b[at + 2], b[at + 1], b[at]]);
  }
  const height = Math.abs(rawHeight);
  const bottomUp = rawHeight > 0;
  const stride = (width + 3) & ~3;
  if (offBits + stride * height > b.length) throw new Error(`${path}: pixel rows run past the end of the file`);
  const index = (x, y) => b[offBits + stride * (bottomUp ? height - 1 - y : y) + x];
  const rgb = (x, y) => palette[index(x, y)] ?? [0, 0, 0];
  return { width, height, palette, index, rgb };
}

// The sheet's facts (city2.json, written by the sheet generator with the
// sheet). The ship where play starts it: its corner (x, y), its width, and
// the pixels that tell it from the background there, as offsets with the
// colour the screen shows; it is seen where `share` of them show.
export function readShip(path) {
  const facts = JSON.parse(fs.readFileSync(path, 'utf8'));
  const start = facts.ship_at_start;
  const [left, , right] = facts.sprites[start.sprite];
  const pixels = start.pixels.map(([dx, dy, index]) => ({ dx, dy, rgb: facts.palette[index] }));
  return { x: start.x, y: start.y, width: right - left, share: start.share, pixels };
}

// A 640 x 480 RGBA capture of the canvas.
export const SCREEN_W = 640;
export const SCREEN_H = 480;

export function screenRgb(capture, x, y) {
  const at = 4 * (y * SCREEN_W + x);
  return [capture[at], capture[at + 1], capture[at + 2]];
}

export const sameRgb = (a, b) => a[0] === b[0] && a[1] === b[1] && a[2] === b[2];

// The share of the ship's pixels that show with its corner at (x, y).
export function shipShareAt(capture, ship, x, y) {
  let shown = 0;
  for (const p of ship.pixels) if (sameRgb(screenRgb(capture, x + p.dx, y + p.dy), p.rgb)) shown++;
  return shown / ship.pixels.length;
}
