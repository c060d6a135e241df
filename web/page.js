// The page around the game: loads the program (with WebAssembly SIMD where
// the browser has it, else the portable build), hands it city2.bmp, scales
// its picture, shows its message boxes, its paused and ended states and the
// four counters, and offers full screen. It offers the demo F9 saves as a
// download, and plays a demo chosen or dropped on the page: the program
// checks it, the page keeps it over a reload and hands it to the new
// program before it starts. A sprite sheet of the player's, chosen or
// dropped, goes the same way, kept across visits instead. What the host
// asks of the page comes through the Module.qv* hooks below.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const stage = $('stage');
  const counters = [$('shield'), $('lives'), $('boss-energy'), $('score')];
  const kFrameTimesKept = 600;

  // What the page knows of the game; tests and the curious read it here.
  const game = {
    state: 'loading', // 'loading' | 'running' | 'ended'
    active: false,
    minimized: false,
    frames: 0,
    frameTimes: [], // ms of one frame of the program plus its present
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
  };
  window.quorvanteledix = game;

  // ---- Scaling ----------------------------------------------------------------

  // The largest whole factor of 640 x 480 that fits, counted in device
  // pixels so that every game pixel is a square of whole device pixels;
  // a stage smaller than the picture shrinks it with its aspect kept.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const w = stage.clientWidth * ratio, h = stage.clientHeight * ratio;
    let scale = Math.floor(Math.min(w / canvas.width, h / canvas.height));
    if (scale < 1) scale = Math.min(w / canvas.width, h / canvas.height);
    canvas.style.width = (canvas.width * scale) / ratio + 'px';
    canvas.style.height = (canvas.height * scale) / ratio + 'px';
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);

  // ---- Full screen ------------------------------------------------------------

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch((e) => console.warn('Full screen refused: ' + e.message));
    }
  }
  $('fullscreen').addEventListener('click', (e) => {
    toggleFullscreen();
    e.currentTarget.blur(); // the keys stay the game's
  });

  // ---- States -----------------------------------------------------------------

  function showOnly(id) {
    for (const overlay of ['loading', 'paused', 'ended']) $(overlay).hidden = overlay !== id;
  }

  $('play-again').addEventListener('click', () => location.reload());

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

  // ---- Message boxes ----------------------------------------------------------

  // Shows a box and resolves with the button pressed once it is dismissed:
  // OK (1) by its button or Enter; with `okCancel`, Cancel (2) by its button
  // or Esc, else Esc answers OK.
  function messageBox(caption, text, okCancel) {
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

  // ---- The program ------------------------------------------------------------

  function updateCounters() {
    for (let i = 0; i < counters.length; i++) counters[i].textContent = String(Module._qv_counter(i));
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

  // ---- Demos ------------------------------------------------------------------

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

  function toBase64(bytes) {
    let s = '';
    for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(s);
  }
  function fromBase64(text) {
    const s = atob(text);
    const bytes = new Uint8Array(s.length);
    for (let i = 0; i < s.length; i++) bytes[i] = s.charCodeAt(i);
    return bytes;
  }

  function say(text) {
    const message = $('demo-message');
    message.textContent = text;
    message.hidden = !text;
  }

  function refuse(name, why) {
    game.demoRefused = why;
    say(`${name} cannot be played: ${why}.`);
    console.warn(`Demo refused: ${why}`);
  }

  // Keeps the demo over a reload, which starts the program again on it.
  function reloadInto(name, data) {
    try {
      sessionStorage.setItem(kDemoKey, JSON.stringify({ name, data }));
    } catch (e) {
      refuse(name, 'the page cannot keep it over a reload (' + e.message + ')');
      return;
    }
    location.reload();
  }

  // A running program checks the demo first, so a refused one leaves the
  // game as it is; otherwise the new program checks it as it starts.
  function playDemo(bytes, name) {
    say('');
    game.demoRefused = null;
    if (game.state === 'running') {
      Module.FS.writeFile('/candidate.demo', bytes);
      const why = Module.UTF8ToString(Module._qv_demo_check());
      if (why) {
        refuse(name, why);
        return;
      }
    }
    reloadInto(name, toBase64(bytes));
  }

  function playDemoFile(file) {
    if (!file) return;
    file.arrayBuffer().then(
      (buffer) => playDemo(new Uint8Array(buffer), file.name),
      (e) => refuse(file.name, 'it could not be read (' + e.message + ')'));
  }

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

  $('play-demo').addEventListener('click', (e) => {
    e.currentTarget.blur(); // the keys stay the game's
    $('demo-file').click();
  });
  $('demo-file').addEventListener('change', (e) => {
    const file = e.currentTarget.files[0];
    e.currentTarget.value = ''; // the same file may be chosen again
    playDemoFile(file);
  });
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

  // F9's demo: kept for the page, downloaded at once, and linked.
  let demoUrl = null;
  function demoSaved(bytes, name, passes, hash) {
    game.lastDemo = { bytes, name, passes, hash };
    if (demoUrl) URL.revokeObjectURL(demoUrl);
    demoUrl = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = $('demo-download');
    link.href = demoUrl;
    link.download = name;
    link.textContent = `Download demo (${passes} passes)`;
    link.hidden = false;
    link.click();
  }

  function setDemoPaused(paused) {
    game.demo.paused = paused;
    Module.qvDemoPaused = paused;
    $('demo-pause').textContent = paused ? 'Resume' : 'Pause';
    if (!paused && Module.qvWake) Module.qvWake();
  }
  $('demo-pause').addEventListener('click', (e) => {
    e.currentTarget.blur();
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

  function demoProgress(played, passes, over, screenHash) {
    const demo = game.demo;
    if (demo.mode !== 'playback') {
      demo.mode = 'playback';
      demo.name = playback ? playback.name : null;
      $('demo-bar').hidden = false;
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

  // ---- Sheets -----------------------------------------------------------------

  // The player's sheet is kept for this page's path across visits, until
  // they choose the game's own again; the program reads it as its
  // city2.bmp. While the program runs it checks a chosen sheet first and
  // a sheet it cannot use is refused; when it does not run, the new
  // program's start-up is the check, and the way back stays offered.
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

  function refuseSheet(name, problems) {
    game.sheetRefused = { name, problems };
    sayAboutSheet(`${name} cannot be used; the game goes on as it was:`, problems);
    console.warn(`Sheet refused: ${name}: ${problems.join(' ')}`);
  }

  // The program's check of the sheet, by the name the player knows it by.
  // Only while the program runs.
  function checkSheet(bytes, name) {
    Module.FS.writeFile(kCandidateSheet, bytes);
    const answer = Module.UTF8ToString(Module._qv_sheet_check());
    const [verdict, ...problems] = answer.split('\n');
    return { verdict: Number(verdict), problems: problems.map((problem) => problem.split(kCandidateSheet).join(name)) };
  }
  const usable = (verdict) => verdict === SHEET_GOOD || verdict === SHEET_DOUBTFUL;

  function useSheet(bytes, name) {
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
  function reviewPlayerSheet() {
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
  $('use-sheet').addEventListener('click', (e) => {
    e.currentTarget.blur(); // the keys stay the game's
    $('sheet-file').click();
  });
  $('sheet-file').addEventListener('change', (e) => {
    const file = e.currentTarget.files[0];
    e.currentTarget.value = ''; // the same file may be chosen again
    if (!file) return;
    file.arrayBuffer().then(
      (buffer) => useSheet(new Uint8Array(buffer), file.name),
      (e2) => refuseSheet(file.name, [`It could not be read (${e2.message}).`]));
  });

  const sheet = playerSheet
    ? Promise.resolve(playerSheet.bytes)
    : fetch('city2.bmp')
      .then((r) => (r.ok ? r.arrayBuffer() : null))
      .catch(() => null);

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
          if (bytes) Module.FS.writeFile('/city2.bmp', new Uint8Array(bytes));
          if (playback) Module.FS.writeFile('/playback.demo', fromBase64(playback.data));
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
      game.frames++;
      game.frameTimes.push(workMs);
      if (game.frameTimes.length > kFrameTimesKept) game.frameTimes.shift();
      updateCounters();
    },
    qvMessageBox: messageBox,
    qvToggleFullscreen: toggleFullscreen,
    qvOnDemoSaved: demoSaved,
    qvOnDemoProgress: demoProgress,
    qvOnDemoRefused(why) {
      refuse(playback ? playback.name : 'The demo', why);
      playback = null; // the live game runs
    },
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
})();
