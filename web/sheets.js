// The player's own sheet: kept for this page's path across visits, until
// they choose the game's own again; the program reads it as its city2.bmp.
// While the program runs it checks a chosen sheet first and a sheet it
// cannot use is refused; when it does not run, the new program's start-up
// is the check, and the way back stays offered.
import { $, fromBase64, game, onButton, program, toBase64 } from './state.js';

const kSheetKey = 'quorvanteledix.sheet:' + location.pathname;
const kCandidateSheet = '/candidate.bmp'; // where the program's check looks
const SHEET_GOOD = 0, SHEET_DOUBTFUL = 1;
const playerSheet = keptSheet(); // { name, bytes }, or null for the page's own

function keptSheet() {
  let kept;
  try {
    kept = localStorage.getItem(kSheetKey);
  } catch (e) {
    return null; // storage is off here, so nothing was kept
  }
  if (!kept) return null;
  try {
    const { name, data } = JSON.parse(kept);
    return { name: String(name), bytes: fromBase64(data) };
  } catch (e) {
    forgetSheet();
    sayAboutSheet(`The sheet kept for this page could not be read back (${e.message}); the game plays with its own.`);
    return null;
  }
}

function forgetSheet() {
  try {
    localStorage.removeItem(kSheetKey);
  } catch (e) {
    // storage is off here, so nothing was kept
  }
}

function sayAboutSheet(text, problems = []) {
  $('sheet-verdict').textContent = text;
  $('sheet-problems').replaceChildren(...problems.map((problem) => {
    const item = document.createElement('li');
    item.textContent = problem;
    return item;
  }));
  $('sheet-message').hidden = !text;
}

export function refuseSheet(name, problems) {
  game.sheetRefused = { name, problems };
  sayAboutSheet(`${name} cannot be used; the game goes on as it was:`, problems);
  console.warn(`Sheet refused: ${name}: ${problems.join(' ')}`);
}

// The program's check of the sheet, by the name the player knows it by.
// Only while the program runs.
function checkSheet(bytes, name) {
  const Module = program();
  Module.FS.writeFile(kCandidateSheet, bytes);
  const answer = Module.UTF8ToString(Module._qv_sheet_check());
  const [verdict, ...problems] = answer.split('\n');
  return { verdict: Number(verdict), problems: problems.map((problem) => problem.split(kCandidateSheet).join(name)) };
}
const usable = (verdict) => verdict === SHEET_GOOD || verdict === SHEET_DOUBTFUL;

export function useSheet(bytes, name) {
  game.sheetRefused = null;
  sayAboutSheet('');
  if (game.state === 'running') {
    let report;
    try {
      report = checkSheet(bytes, name);
    } catch (e) {
      refuseSheet(name, [`It could not be checked (${e.message}).`]);
      return;
    }
    if (!usable(report.verdict)) {
      refuseSheet(name, report.problems);
      return;
    }
  }
  try {
    localStorage.setItem(kSheetKey, JSON.stringify({ name, data: toBase64(bytes) }));
  } catch (e) {
    refuseSheet(name, [`This browser would not keep it for the page (${e.name}: ${e.message}), ` +
      'and the game restarts only with a sheet the page keeps. Free some of its storage for this site, or use a smaller file.']);
    return;
  }
  location.reload();
}

// Once the program runs it has read its sheet; the player's is checked
// again then, and what the check found is shown.
export function reviewPlayerSheet() {
  if (!playerSheet || game.state !== 'running') return;
  let report;
  try {
    report = checkSheet(playerSheet.bytes, playerSheet.name);
  } catch (e) {
    console.warn(`The sheet in use could not be checked: ${e.message}`);
    return;
  }
  game.sheet.verdict = report.verdict;
  game.sheet.problems = report.problems;
  if (!usable(report.verdict)) {
    sayAboutSheet(`${playerSheet.name} cannot be used, and the game cannot start with it; ` +
      '"Use the game\'s own sheet" brings the game back:', report.problems);
  } else if (report.problems.length) {
    sayAboutSheet(`${playerSheet.name} is in use, but the check found:`, report.problems);
  }
}

if (playerSheet) {
  game.sheet.own = false;
  game.sheet.name = playerSheet.name;
  $('sheet-in-use').textContent = `Your sheet: ${playerSheet.name}`;
  $('sheet-in-use').hidden = false;
  $('own-sheet').hidden = false;
}
$('own-sheet').addEventListener('click', () => {
  forgetSheet();
  location.reload();
});
onButton('use-sheet', () => $('sheet-file').click());
$('sheet-file').addEventListener('change', (e) => {
  const file = e.currentTarget.files[0];
  e.currentTarget.value = ''; // the same file may be chosen again
  if (!file) return;
  file.arrayBuffer().then(
    (buffer) => useSheet(new Uint8Array(buffer), file.name),
    (e2) => refuseSheet(file.name, [`It could not be read (${e2.message}).`]));
});

// The sheet the program is to read: the player's, or the page's own
// city2.bmp (null when it cannot be had: the program then says so).
export function sheetBytes() {
  if (playerSheet) return Promise.resolve(playerSheet.bytes);
  return fetch('city2.bmp')
    .then((r) => (r.ok ? r.arrayBuffer() : null))
    .then((buffer) => (buffer ? new Uint8Array(buffer) : null))
    .catch(() => null);
}
