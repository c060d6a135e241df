// Offline play and updates: registers the service worker (sw.js), which
// keeps every file of this build so the game starts again with no network,
// and offers "A new version is ready" when a newer build's worker has cached
// its files and waits. Its "Reload" lets that worker take over and reloads
// the page once it does, so the new program never runs with old files.
// Without service workers (an insecure address, file://) the page simply
// loads from the network each time.

let reloadWhenTaken = false;

function showUpdate(registration) {
  let bar = document.getElementById('update');
  if (!bar) {
    bar = document.createElement('div');
    bar.id = 'update';
    bar.setAttribute('role', 'status');
    const text = document.createElement('span');
    text.textContent = 'A new version is ready';
    const button = document.createElement('button');
    button.id = 'update-reload';
    button.type = 'button';
    button.textContent = 'Reload';
    bar.append(text, ' ', button);
    document.body.append(bar);
    button.addEventListener('click', () => {
      // Another tab may have let the new worker take over already.
      const waiting = registration.waiting;
      if (!waiting) {
        location.reload();
        return;
      }
      reloadWhenTaken = true;
      waiting.postMessage('skipWaiting');
    });
  }
  bar.hidden = false;
}

// A worker that finishes installing while an older one serves this page is
// the new build, waiting for the player.
function watchInstall(registration, worker) {
  const settle = () => {
    if (worker.state === 'installed' && navigator.serviceWorker.controller) showUpdate(registration);
  };
  worker.addEventListener('statechange', settle);
  settle();
}

async function register() {
  const workers = navigator.serviceWorker;
  let registration;
  try {
    registration = await workers.register('sw.js');
  } catch (error) {
    console.warn('Offline play is not available: ' + error.message);
    return;
  }
  let controlled = !!workers.controller;
  workers.addEventListener('controllerchange', () => {
    if (reloadWhenTaken) location.reload();
    // Another tab let the new build take over: this page still runs the old.
    else if (controlled) showUpdate(registration);
    controlled = true;
  });
  if (registration.waiting && workers.controller) showUpdate(registration);
  if (registration.installing) watchInstall(registration, registration.installing);
  registration.addEventListener('updatefound', () => watchInstall(registration, registration.installing));
}

// Starts once the page has loaded, so that the worker's copying of the build
// does not slow the program's own download.
export function keepOffline() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  if (document.readyState === 'complete') register();
  else window.addEventListener('load', register, { once: true });
}
