// The on-screen pad's arithmetic, apart from the page so that it is checked
// on its own (tests/browser/touch_e2e.mjs imports it in Node): which of the
// eight directions a finger on "Steer" holds, and where the pad's controls
// go around the picture. Nothing here touches the page.

// What the pad holds, as the bits the web host's qv_touch_hold takes
// (hostcommon::touch in input_core.h): the arrows, and Ctrl for fire.
export const LEFT = 1, UP = 2, RIGHT = 4, DOWN = 8, FIRE = 16;
export const HELD_NAMES = [[LEFT, 'left'], [UP, 'up'], [RIGHT, 'right'], [DOWN, 'down'], [FIRE, 'fire']];

// The share of Steer's radius around its centre that holds no direction.
export const DEAD_ZONE = 0.25;

// The eight directions by sector of 45 degrees, counted from "right"
// clockwise on the screen (y grows downwards).
const SECTORS = [RIGHT, RIGHT | DOWN, DOWN, DOWN | LEFT, LEFT, LEFT | UP, UP, UP | RIGHT];

// The directions a finger holds at (dx, dy) CSS pixels from the centre of
// a Steer of radius `radius`: none within the dead zone, else the one of
// eight directions whose 45-degree sector the finger is in, however far out
// (a finger that slid past the edge still steers).
export function steerDirection(dx, dy, radius, deadZone = DEAD_ZONE) {
  const distance = Math.hypot(dx, dy);
  if (!(distance > deadZone * radius)) return 0; // NaN holds nothing too
  const sector = Math.round(Math.atan2(dy, dx) / (Math.PI / 4)); // -4 .. 4
  return SECTORS[(sector + 8) % 8];
}

// The sizes of the controls, in CSS pixels. Every button is at least 44.
export const SIZES = {
  steerMin: 112, // a comfortable thumb's circle; smaller only over the picture
  steerMax: 176,
  overSteerMin: 96,
  fireShare: 0.75, // of Steer's diameter
  fireMin: 80,
  button: 48, // Pause, Save demo, Quit
  margin: 12,
  gap: 8,
};

const clamp = (v, lo, hi) => Math.max(lo, Math.min(hi, v));

// Where the controls go, given the stage's size { width, height } and the
// picture's rectangle in it { left, top, width, height }: each control's
// { left, top, size } (its square's corner and side, relative to the stage)
// and the mode:
//   'beside' where the sides of the picture leave room for a comfortable
//            Steer (a phone held sideways): Steer low in the left side,
//            Fire low in the right, Quit above Steer, Pause and Save demo
//            above Fire;
//   'below'  else where the space under the picture does (a phone held
//            upright): Steer and Fire in its lower corners, Quit, Pause
//            and Save demo in a row at its top;
//   'over'   else in the stage's corners, over the picture's lower corners
//            (Steer and Fire) and upper ones (the buttons) as far as the
//            stage leaves no room around it; the page shows these
//            translucent.
export function padLayout(stage, picture, sizes = SIZES) {
  const s = sizes;
  const pic = {
    left: picture.left, top: picture.top,
    right: picture.left + picture.width, bottom: picture.top + picture.height,
  };
  const leftSide = pic.left, rightSide = stage.width - pic.right;
  const side = Math.min(leftSide, rightSide);
  const below = stage.height - pic.bottom;
  const square = (cx, cy, size) => ({ left: cx - size / 2, top: cy - size / 2, size });
  const b = s.button;

  // Beside: each side a column, the buttons at its top, the big control low.
  const besideHeight = stage.height - b - 3 * s.margin;
  if (side - 2 * s.margin >= s.steerMin && besideHeight >= s.steerMin) {
    const steer = clamp(Math.min(side - 2 * s.margin, besideHeight, 0.45 * stage.height), s.steerMin, s.steerMax);
    const fire = Math.max(s.fireMin, Math.round(steer * s.fireShare));
    const leftX = leftSide / 2, rightX = stage.width - rightSide / 2;
    const low = Math.min(stage.height, pic.bottom) - s.margin - steer / 2;
    const top = Math.max(0, pic.top) + s.margin + b / 2;
    const pair = 2 * b + s.gap <= rightSide - 2 * s.margin;
    return {
      mode: 'beside',
      steer: square(leftX, low, steer),
      fire: square(rightX, low, fire),
      quit: square(leftX, top, b),
      pause: pair ? square(rightX - (b + s.gap) / 2, top, b) : square(rightX, top, b),
      save: pair ? square(rightX + (b + s.gap) / 2, top, b) : square(rightX, top + b + s.gap, b),
    };
  }

  // Below: a strip under the picture.
  const belowHeight = below - b - 3 * s.margin;
  if (belowHeight >= s.steerMin) {
    const steer = clamp(Math.min(belowHeight, 0.4 * stage.width), s.steerMin, s.steerMax);
    const fire = Math.max(s.fireMin, Math.round(steer * s.fireShare));
    const low = stage.height - s.margin - steer / 2;
    const top = pic.bottom + s.margin + b / 2;
    const mid = stage.width / 2;
    return {
      mode: 'below',
      steer: square(s.margin + steer / 2, low, steer),
      fire: square(stage.width - s.margin - steer / 2, low, fire),
      quit: square(mid - b - s.gap, top, b),
      pause: square(mid, top, b),
      save: square(mid + b + s.gap, top, b),
    };
  }

  // In the stage's corners, over the picture's as far as the stage leaves
  // no room beside or under it.
  const steer = clamp(0.34 * Math.min(picture.width, picture.height), s.overSteerMin, s.steerMax);
  const fire = Math.max(s.fireMin, Math.round(steer * s.fireShare));
  const low = stage.height - s.margin - steer / 2;
  const top = s.margin + b / 2;
  return {
    mode: 'over',
    steer: square(s.margin + steer / 2, low, steer),
    fire: square(stage.width - s.margin - steer / 2, low, fire),
    quit: square(s.margin + b / 2, top, b),
    pause: square(stage.width - s.margin - b - s.gap - b / 2, top, b),
    save: square(stage.width - s.margin - b / 2, top, b),
  };
}
