// The browser engines the page is tested in: Debian's Chromium over the
// DevTools protocol and Firefox ESR over WebDriver BiDi, both through the
// pinned puppeteer-core. startBrowser() starts either headless with a fresh
// profile whose downloads land in its folder `downloads`, and resolves to
// { browser, downloads, stop }, as startChromium() does.

import { launchOwned, startChromium } from './harness.mjs';

// QV_BROWSER picks one by its id; CHROMIUM and FIREFOX name other binaries.
export const ENGINES = {
  chromium: { id: 'chromium', name: 'Chromium', path: process.env.CHROMIUM || '/usr/bin/chromium' },
  firefox: { id: 'firefox', name: 'Firefox', path: process.env.FIREFOX || '/usr/bin/firefox-esr' },
};

export function engineNamed(id) {
  const engine = ENGINES[id || 'chromium'];
  if (!engine) throw new Error(`no browser engine ${JSON.stringify(id)}; there are ${Object.keys(ENGINES).join(', ')}`);
  return engine;
}

function startFirefox(puppeteer, executablePath) {
  return launchOwned(puppeteer, 'web_e2e-firefox-', (profile, downloads) => ({
    browser: 'firefox',
    executablePath,
    headless: true,
    userDataDir: profile,
    protocolTimeout: 120000,
    // The test stops Firefox itself, on signals too.
    handleSIGINT: false,
    handleSIGTERM: false,
    handleSIGHUP: false,
    defaultViewport: { width: 1024, height: 768 },
    extraPrefsFirefox: {
      // A download goes straight to the profile's folder, unasked.
      'browser.download.folderList': 2,
      'browser.download.dir': downloads,
      'browser.download.useDownloadDir': true,
      'browser.download.always_ask_before_handling_new_types': false,
      'browser.helperApps.neverAsk.saveToDisk': 'application/octet-stream',
      'browser.download.alwaysOpenPanel': false,
    },
  }));
}

export function startBrowser(puppeteer, engine) {
  return engine.id === 'firefox' ? startFirefox(puppeteer, engine.path) : startChromium(puppeteer, engine.path);
}
