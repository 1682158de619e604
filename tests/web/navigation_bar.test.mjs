// The init screen's floating navigation bar: where it stands, how a drag is told from a
// click, what each button posts, and the loader shown while a page is left.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { useBrowserAndServer } from './support/fixture.mjs';
import { navigationBarScript, outputFile } from './support/page_texts.mjs';

const BAR_ID = 'lumora-nav-container';
const LOADER_ID = 'lumora-full-loader';

const APP_PAGE = `<!DOCTYPE html><html><head><style>
  body { margin: 0; font-family: sans-serif; background: #f4f6fb; }
  header { height: 64px; background: #1f3b73; }
  main { padding: 100px 40px; } .card { background: #fff; border-radius: 8px; padding: 20px;
  margin-bottom: 16px; box-shadow: 0 1px 3px #0002; }
</style></head><body><header></header><main>
  <div class="card"><h2>My courses</h2><p>Physics 101 - Unit 3 of 8</p></div>
  <div class="card"><h2>Announcements</h2><p>The next live session starts on Monday.</p></div>
</main></body></html>`;

const fixture = useBrowserAndServer();

// One page at a time: the bar's transitions and blur are drawn in software, and the
// measurements wait for them to end.

// A page of the platform's web application with the bar, on an origin of its own so
// that each test has its own local storage.
async function appPage(name, { storage = null } = {}) {
  const page = await fixture.browser.newPage({ width: 1000, height: 600 });
  await page.addScript(navigationBarScript());
  const url = fixture.server.route(`/${name}.html`, APP_PAGE).replace('127.0.0.1', `${name}.localhost`);
  if (storage) {
    await page.goto(url);
    await page.evaluate((values) => {
      for (const [key, value] of Object.entries(values)) localStorage.setItem(key, value);
    }, storage);
  }
  await page.goto(url);
  return page;
}

function barState(ids) {
  const bar = document.getElementById(ids.bar);
  const loader = document.getElementById(ids.loader);
  const read = (key) => {
    try {
      return localStorage.getItem(key);
    } catch {
      return 'no storage';
    }
  };
  return {
    left: bar.style.left,
    top: bar.style.top,
    stored: [read('lm_nx'), read('lm_ny')],
    loader: loader ? loader.style.display : 'none',
  };
}
const IDS = { bar: BAR_ID, loader: LOADER_ID };

// The centre of the bar's button whose label is `label`.
function buttonCentre(label) {
  for (const button of document.querySelectorAll('#lumora-nav-container button')) {
    if (button.querySelector('.nav-text').textContent === label) {
      const box = button.getBoundingClientRect();
      return { x: Math.round(box.left + box.width / 2), y: Math.round(box.top + box.height / 2) };
    }
  }
  return null;
}

// Waits until the bar's transitions (0.3 s for every property) have ended.
const settle = (page) =>
  page.waitFor(() =>
    document.getAnimations().every((animation) => !(animation instanceof CSSTransition))
  );

// Puts the pointer on the drag handle and lets the bar open up, so that the buttons stay
// where they are measured.
async function hoverBar(page) {
  await settle(page);
  const handle = await page.evaluate((id) => {
    const box = document.getElementById(id).firstElementChild.getBoundingClientRect();
    return { x: Math.round(box.left + 10), y: Math.round(box.top + 10) };
  }, BAR_ID);
  await page.mouse('mouseMoved', handle.x, handle.y);
  await settle(page);
  return handle;
}

describe('navigation bar', () => {
  test('stands at the stored position, or at 20, 20', async () => {
    const stored = await appPage('stored', { storage: { lm_nx: '150', lm_ny: '90' } });
    assert.deepEqual(await stored.evaluate(barState, IDS), {
      left: '150px',
      top: '90px',
      stored: ['150', '90'],
      loader: 'none',
    });
    assert.deepEqual(
      await stored.evaluate((id) => {
        const bar = document.getElementById(id);
        const box = bar.getBoundingClientRect();
        return [box.left, box.top, getComputedStyle(bar).zIndex, bar.children.length];
      }, BAR_ID),
      [150, 90, '2147483646', 5]
    );
    await stored.close();

    const fresh = await appPage('fresh');
    assert.deepEqual(await fresh.evaluate(barState, IDS), {
      left: '20px',
      top: '20px',
      stored: [null, null],
      loader: 'none',
    });
    await fresh.close();

    // A document without local storage (an opaque origin) keeps the default.
    const opaque = await fixture.browser.newPage();
    await opaque.addScript(navigationBarScript());
    await opaque.goto('data:text/html,<p>No storage here</p>');
    const state = await opaque.evaluate(barState, IDS);
    assert.deepEqual(
      [state.left, state.top, state.stored],
      ['20px', '20px', ['no storage', 'no storage']]
    );
    await opaque.close();
  });

  test('a 2-pixel drag moves the bar but stays a click', async () => {
    const page = await appPage('small-drag');
    await hoverBar(page);
    const home = await page.evaluate(buttonCentre, 'Home');
    await page.drag(home, { x: home.x + 2, y: home.y + 1 });
    await page.waitForMessage('btn_home');
    assert.deepEqual(await page.evaluate(barState, IDS), {
      left: '22px',
      top: '21px',
      stored: [null, null],
      loader: 'flex',
    });
    assert.deepEqual(page.messages, ['btn_home']);
    await page.close();
  });

  test('a 4-pixel drag stores the position and swallows the click', async () => {
    const page = await appPage('drag', { storage: { lm_nx: '100', lm_ny: '50' } });
    await hoverBar(page);
    const back = await page.evaluate(buttonCentre, 'Back');
    await page.drag(back, { x: back.x + 4, y: back.y });
    await settle(page);
    assert.deepEqual(await page.evaluate(barState, IDS), {
      left: '104px',
      top: '50px',
      stored: ['104', '50'],
      loader: 'none',
    });
    assert.deepEqual(page.messages, []);

    // A long drag in both directions, then the next plain click is a click again.
    const handle = await hoverBar(page);
    await page.drag(handle, { x: handle.x + 300, y: handle.y + 200 });
    await hoverBar(page);
    assert.deepEqual((await page.evaluate(barState, IDS)).stored, ['404', '250']);
    const reload = await page.evaluate(buttonCentre, 'Reload');
    await page.click(reload.x, reload.y);
    await page.waitForMessage('btn_reload');
    assert.deepEqual(page.messages, ['btn_reload']);
    await page.close();
  });

  test('each button posts its message; all but full screen show the loader', async () => {
    const page = await appPage('buttons');
    for (const [label, message, loader] of [
      ['Fullscreen', 'btn_fullscreen', 'none'],
      ['Home', 'btn_home', 'flex'],
      ['Back', 'btn_back', 'flex'],
      ['Reload', 'btn_reload', 'flex'],
    ]) {
      // The loader of the previous press covers the bar; out of the way with it.
      await page.evaluate((id) => {
        const element = document.getElementById(id);
        if (element) element.style.display = 'none';
      }, LOADER_ID);
      await hoverBar(page);
      const centre = await page.evaluate(buttonCentre, label);
      await page.click(centre.x, centre.y);
      await page.waitForMessage(message);
      assert.equal((await page.evaluate(barState, IDS)).loader, loader, label);
    }
    assert.deepEqual(page.messages, ['btn_fullscreen', 'btn_home', 'btn_back', 'btn_reload']);
    await page.close();
  });

  test('opens up under the pointer, and comes back when removed', async () => {
    const page = await appPage('hover');
    const before = await page.evaluate(
      (id) => getComputedStyle(document.getElementById(id)).opacity,
      BAR_ID
    );
    assert.equal(before, '0.4');

    const home = await page.evaluate(buttonCentre, 'Home');
    await page.mouse('mouseMoved', home.x, home.y);
    await settle(page);
    const open = await page.evaluate((id) => {
      const bar = document.getElementById(id);
      return {
        opacity: getComputedStyle(bar).opacity,
        labels: [...bar.querySelectorAll('.nav-text')].map((label) => [
          label.textContent,
          label.getBoundingClientRect().width > 20,
          getComputedStyle(label).opacity,
        ]),
      };
    }, BAR_ID);
    assert.deepEqual(open, {
      opacity: '1',
      labels: [
        ['Home', true, '1'],
        ['Back', true, '1'],
        ['Reload', true, '1'],
        ['Fullscreen', true, '1'],
      ],
    });
    await page.screenshot(outputFile('navigation-bar-hovered.png'));

    await page.mouse('mouseMoved', 900, 500);
    await settle(page);
    await page.screenshot(outputFile('navigation-bar.png'));
    assert.equal(
      await page.evaluate((id) => getComputedStyle(document.getElementById(id)).opacity, BAR_ID),
      '0.4'
    );

    const back = await page.evaluate(async (id) => {
      document.getElementById(id).remove();
      await new Promise((resolve) => setTimeout(resolve, 0));
      return document.querySelectorAll('#' + id).length;
    }, BAR_ID);
    assert.equal(back, 1);
    await page.close();
  });

  test('covers the page with the loader while it is being left', async () => {
    // The page's own beforeunload handler runs after the bar's and reports what it sees.
    const url = fixture.server.route(
      '/leaving.html',
      `<!DOCTYPE html><p>Leaving</p><script>
        addEventListener('beforeunload', function () {
          var loader = document.getElementById('${LOADER_ID}');
          chrome.webview.postMessage('leaving: loader ' + (loader && loader.style.display) +
                                     ', hide timer ' + typeof window._lumoraLoaderTimeout);
        });
      </script>`
    );
    const page = await fixture.browser.newPage();
    await page.addScript(navigationBarScript());
    await page.goto(url);
    await page.goto(fixture.server.route('/next.html', '<!DOCTYPE html><p>Next page</p>'));
    assert.deepEqual(page.messages, ['leaving: loader flex, hide timer number']);
    // The next document starts without it.
    assert.equal(await page.evaluate((id) => document.getElementById(id), LOADER_ID), null);
    await page.close();
  });
});
