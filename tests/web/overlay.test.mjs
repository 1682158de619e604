// The loading overlay of the player window: it covers the parsed page until the page
// has loaded, or 5 seconds at most when the load event never comes.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { useBrowserAndServer } from './support/fixture.mjs';
import { loadingOverlayScript, outputFile } from './support/page_texts.mjs';

const OVERLAY_ID = 'lumora-full-loader';

const fixture = useBrowserAndServer();

async function overlayPage() {
  const page = await fixture.browser.newPage();
  await page.addScript(loadingOverlayScript());
  return page;
}

function overlayState(id) {
  const overlay = document.getElementById(id);
  if (!overlay) return null;
  const style = getComputedStyle(overlay);
  const box = overlay.getBoundingClientRect();
  return {
    text: overlay.innerText,
    opacity: overlay.style.opacity,
    background: style.backgroundColor,
    zIndex: style.zIndex,
    box: [box.left, box.top, box.width, box.height],
    viewport: [innerWidth, innerHeight],
    parent: overlay.parentElement.tagName,
    count: document.querySelectorAll('#' + id).length,
    sinceStart: performance.now(),
  };
}

// The page's own listeners run after the overlay's (registered when the document was
// created) and note what the learner would see, on the page's own clock.
const WATCHER = `<script>
  var overlay = () => document.getElementById('${OVERLAY_ID}');
  var seen = (window.seen = {});
  document.addEventListener('DOMContentLoaded', () => {
    seen.atParse = !!overlay();
  });
  addEventListener('load', () => {
    seen.loadAt = performance.now();
    seen.opacityAtLoad = overlay() && overlay().style.opacity;
  });
  var watch = setInterval(() => {
    if (!overlay()) {
      seen.goneAt = performance.now();
      clearInterval(watch);
    }
  }, 20);
</script>`;

// Both waits run side by side; each uses a page of its own.
describe('loading overlay', { concurrency: true }, () => {
  test('covers the parsed page and fades out once it has loaded', async () => {
    // A late image holds the load event back for a while after the page is parsed.
    fixture.server.route('/late.png', '', { type: 'image/png', delayMs: 1500 });
    const url = fixture.server.route(
      '/slow-load.html',
      '<!DOCTYPE html><h1>Lesson 3</h1><p>Some text under the overlay.</p><img src="/late.png">' +
        WATCHER
    );
    const page = await overlayPage();
    await page.goto(url, { until: 'interactive' });

    const shown = await page.evaluate(overlayState, OVERLAY_ID);
    assert.equal(shown.text, 'جاري التحميل... Loading...');
    assert.equal(shown.background, 'rgb(32, 32, 32)');
    assert.equal(shown.zIndex, '2147483647');
    assert.deepEqual(shown.box, [0, 0, ...shown.viewport]);
    assert.equal(shown.parent, 'BODY');
    assert.equal(shown.opacity, '');
    await page.screenshot(outputFile('overlay.png'));

    // At the load event the overlay starts fading; half a second later it is gone.
    const seen = await page.waitFor(() => window.seen.goneAt && window.seen);
    assert.equal(seen.atParse, true);
    assert.equal(seen.opacityAtLoad, '0');
    const fade = seen.goneAt - seen.loadAt;
    assert.ok(fade >= 490 && fade < 1500, `gone ${fade} ms after load`);
    await page.close();
  });

  test('goes after 5 seconds when the page never finishes loading', async () => {
    fixture.server.route('/never.png', '', { hang: true });
    const url = fixture.server.route(
      '/never-loads.html',
      '<!DOCTYPE html><p>Waiting for an image that never comes.</p><img src="/never.png">' +
        WATCHER
    );
    const page = await overlayPage();
    await page.goto(url, { until: 'interactive' });

    const seen = await page.waitFor(() => window.seen.goneAt && window.seen, undefined, {
      timeout: 10000,
    });
    assert.equal(seen.atParse, true);
    assert.equal(seen.loadAt, undefined);
    // 5 s after the script started, plus the half-second fade.
    assert.ok(seen.goneAt >= 5490 && seen.goneAt < 7000, `gone at ${seen.goneAt} ms`);
    assert.equal(await page.evaluate(() => document.readyState), 'interactive');
    await page.close();
  });

  test('adds one overlay per document even when registered twice', async () => {
    // The page never loads, so the overlay is still there to be counted.
    fixture.server.route('/never-twice.png', '', { hang: true });
    const url = fixture.server.route('/twice.html', '<!DOCTYPE html><img src="/never-twice.png">');
    const page = await overlayPage();
    await page.addScript(loadingOverlayScript());
    await page.goto(url, { until: 'interactive' });
    const state = await page.evaluate(overlayState, OVERLAY_ID);
    assert.equal(state.count, 1);
    await page.close();
  });
});
