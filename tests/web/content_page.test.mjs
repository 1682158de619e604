// The document the player builds to frame a lesson page, and the wrapper around a
// platform-supplied page script.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { useBrowserAndServer } from './support/fixture.mjs';
import { contentPage, outputFile, pageScriptWrapper } from './support/page_texts.mjs';

const fixture = useBrowserAndServer();

const LESSON = `<!DOCTYPE html><html>
<body style="margin:0;background:#e8f0fe;font-family:sans-serif">
  <h1 style="padding:40px">Lesson 7: Vectors</h1><p style="padding:0 40px">Framed lesson page.</p>
</body></html>`;

// Serves the built document at `path`, as NavigateToString would hand it to the view.
function serveContentPage(path, address, watermark) {
  return fixture.server.route(path, contentPage(address, watermark, 'Quorvel'));
}

function frameState() {
  const frame = document.querySelector('iframe');
  let framed = null;
  try {
    framed = frame.contentWindow.location.href;
  } catch {
    framed = 'cross-origin';
  }
  const layer = document.querySelector('body > div');
  return {
    title: document.title,
    src: frame.getAttribute('src'),
    framed,
    frames: document.querySelectorAll('iframe').length,
    injected: document.querySelectorAll('#injected').length,
    watermark: layer.textContent,
    layerOpacity: getComputedStyle(layer).opacity,
  };
}

describe('content page', { concurrency: true }, () => {
  test('posts pageLoaded once parsed, before the framed lesson has loaded', async () => {
    // The lesson answers late: the message must not wait for it.
    const address = fixture.server.route('/lessons/7?part=2&lang=en', LESSON, { delayMs: 1500 });
    const watermark = 'Ali\'s copy <1042> & "friends"';
    const url = serveContentPage('/content-late.html', address, watermark);
    const page = await fixture.browser.newPage({ width: 900, height: 560 });
    await page.goto(url, { until: 'interactive' });
    await page.waitForMessage('pageLoaded');
    assert.notEqual(await page.evaluate(() => document.readyState), 'complete');

    await page.waitFor(() => document.readyState === 'complete');
    assert.deepEqual(page.messages, ['pageLoaded']);
    assert.deepEqual(await page.evaluate(frameState), {
      title: 'Quorvel',
      src: address,
      framed: address,
      frames: 1,
      injected: 0,
      watermark,
      layerOpacity: '0.15',
    });
    await page.screenshot(outputFile('content-page.png'));
    await page.close();
  });

  test('frames an address with an apostrophe, and an address cannot add markup', async () => {
    const page = await fixture.browser.newPage();
    const address = fixture.server.route("/it's/lesson.html", LESSON);
    await page.goto(serveContentPage('/content-apostrophe.html', address, 'w'));
    await page.waitForMessage('pageLoaded');
    const state = await page.evaluate(frameState);
    assert.deepEqual([state.src, state.framed, state.frames], [address, address, 1]);
    assert.ok(fixture.server.requests.includes("/it's/lesson.html"));

    const hostile = `${fixture.server.origin}/x'><b id='injected'>owned</b><iframe src='about:blank`;
    await page.goto(serveContentPage('/content-hostile.html', hostile, 'w'));
    const hostileState = await page.evaluate(frameState);
    assert.deepEqual([hostileState.src, hostileState.frames, hostileState.injected],
                     [hostile, 1, 0]);
    await page.close();
  });
});

describe('page script wrapper', () => {
  test('runs the platform script once the document is parsed', async () => {
    const page = await fixture.browser.newPage();
    await page.addScript(
      pageScriptWrapper(
        "document.body.dataset.ran = document.readyState + ':' + !!document.getElementById('last');"
      )
    );
    await page.goto(fixture.server.route('/wrapped.html', '<!DOCTYPE html><p>One</p><p id="last">Two</p>'));
    assert.equal(await page.evaluate(() => document.body.dataset.ran), 'interactive:true');
    await page.close();
  });
});
