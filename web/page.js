// The page around the game: loads the program (with WebAssembly SIMD where
// the browser has it, else the portable build), hands it city2.bmp, scales
// its picture, shows its message boxes, its paused and ended states and the
// four counters, and offers full screen. It offers the demo F9 saves as a
// download, and plays a demo chosen or dropped on the page: the program
// checks it, the page keeps it over a reload and hands it to the new
// program before it starts. What the host asks of the page comes through
// the Module.qv* hooks below.
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
    playDemoFile(e.dataTransfer.files[0]);
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

  const sheet = fetch('city2.bmp')
    .then((r) => (r.ok ? r.arrayBuffer() : null))
    .catch(() => null);

  const Module = (window.Module = {
    canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.log(text),
    // The sheet goes into the program's current folder before it starts;
    // without it the program reports the failure itself.
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
