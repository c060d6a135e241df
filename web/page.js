// The page around the game: loads the program (with WebAssembly SIMD where
// the browser has it, else the portable build), hands it city2.bmp, scales
// its picture, shows its message boxes, its paused and ended states and the
// four counters, and offers full screen. What the host asks of the page
// comes through the Module.qv* hooks below.
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
    showOnly('ended');
  }

  const sheet = fetch('city2.bmp')
    .then((r) => (r.ok ? r.arrayBuffer() : null))
    .catch(() => null);

  const Module = (window.Module = {
    canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.log(text),
    // The sheet goes into the program's current folder before it starts;
    // without it the program reports the failure itself.
    preRun: [
      () => {
        Module.addRunDependency('city2.bmp');
        sheet.then((bytes) => {
          if (bytes) Module.FS.writeFile('/city2.bmp', new Uint8Array(bytes));
          Module.removeRunDependency('city2.bmp');
        });
      },
    ],
    onRuntimeInitialized() {
      game.state = 'running';
      showOnly(null);
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
