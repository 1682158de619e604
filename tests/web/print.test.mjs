// Printing from a page always ends at the host: window.print, Ctrl+P and the round
// print button over PDF documents all post "requestPrint".

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { useBrowserAndServer } from './support/fixture.mjs';
import { outputFile, printButtonScript, printRedirectScript } from './support/page_texts.mjs';

const BUTTON_ID = 'lumora-print-btn';
const CONTROL = 2;
const META = 4;

const fixture = useBrowserAndServer();

// A page with key handlers of its own, which must not see Ctrl+P.
const KEY_PAGE = `<!DOCTYPE html><p>Lesson notes</p><script>
  window.pageSawKeys = [];
  document.addEventListener('keydown', function (e) { pageSawKeys.push('document:' + e.key); });
  document.body.addEventListener('keydown', function (e) { pageSawKeys.push('body:' + e.key); });
</script>`;

describe('print redirect', { concurrency: true }, () => {
  test('window.print posts requestPrint and cannot be put back', async () => {
    const page = await fixture.browser.newPage();
    await page.addScript(printRedirectScript());
    await page.goto(fixture.server.route('/print-call.html', KEY_PAGE));

    await page.evaluate(() => window.print());
    assert.deepEqual(page.messages, ['requestPrint']);

    // Page code trying to restore printing: assignment is ignored (it would throw in
    // strict code), redefining and deleting fail.
    const attempts = await page.evaluate(() => {
      const redirect = window.print;
      window.print = function () {};
      let redefined = true;
      try {
        Object.defineProperty(window, 'print', { value: function () {} });
      } catch {
        redefined = false;
      }
      const deleted = delete window.print;
      return { kept: window.print === redirect, redefined, deleted };
    });
    assert.deepEqual(attempts, { kept: true, redefined: false, deleted: false });

    await page.evaluate(() => window.print());
    assert.deepEqual(page.messages, ['requestPrint', 'requestPrint']);
    await page.close();
  });

  test('Ctrl+P and Meta+P are taken from the page and posted', async () => {
    const page = await fixture.browser.newPage();
    await page.addScript(printRedirectScript());
    await page.goto(fixture.server.route('/print-keys.html', KEY_PAGE));

    await page.pressKey({ key: 'p', code: 'KeyP', keyCode: 80, modifiers: CONTROL });
    await page.waitForMessage('requestPrint');
    await page.pressKey({ key: 'p', code: 'KeyP', keyCode: 80, modifiers: META });
    await page.pressKey({ key: 'q', code: 'KeyQ', keyCode: 81, modifiers: CONTROL });
    await page.pressKey({ key: 'x', code: 'KeyX', keyCode: 88 });
    await page.waitFor(() => window.pageSawKeys.includes('document:x'));

    assert.deepEqual(page.messages, ['requestPrint', 'requestPrint']);
    // The page's own handlers saw the other keys, never P.
    assert.deepEqual(await page.evaluate(() => window.pageSawKeys), [
      'body:q',
      'document:q',
      'body:x',
      'document:x',
    ]);
    await page.close();
  });

  test('without the host bridge printing does nothing and raises nothing', async () => {
    const page = await fixture.browser.newPage({ bridge: false });
    await page.addScript(printRedirectScript());
    await page.goto(fixture.server.route('/print-no-bridge.html', KEY_PAGE));
    assert.equal(await page.evaluate(() => (window.print(), 'printed')), 'printed');
    await page.pressKey({ key: 'p', code: 'KeyP', keyCode: 80, modifiers: CONTROL });
    await page.pressKey({ key: 'x', code: 'KeyX', keyCode: 88 });
    await page.waitFor(() => window.pageSawKeys.includes('document:x'));
    assert.deepEqual(await page.evaluate(() => window.pageSawKeys), ['body:x', 'document:x']);
    await page.close();
  });
});

describe('print button', { concurrency: true }, () => {
  function buttonState(id) {
    const button = document.getElementById(id);
    if (!button) return null;
    const style = getComputedStyle(button);
    const box = button.getBoundingClientRect();
    return {
      text: button.textContent,
      title: button.title,
      box: [box.right, box.bottom, box.width, box.height],
      viewport: [innerWidth, innerHeight],
      zIndex: style.zIndex,
      radius: style.borderRadius,
      background: style.backgroundColor,
    };
  }

  test('sits round in the bottom right corner and posts on click', async () => {
    const page = await fixture.browser.newPage({ width: 800, height: 500 });
    await page.addScript(printButtonScript());
    await page.goto(fixture.server.route('/button.html', '<!DOCTYPE html><p>A document</p>'));

    const state = await page.evaluate(buttonState, BUTTON_ID);
    assert.equal(state.text, '\u{1F5A8}');
    assert.equal(state.title, 'Print');
    assert.deepEqual(state.box, [800 - 24, 500 - 24, 48, 48]);
    assert.equal(state.zIndex, '2147483647');
    assert.equal(state.radius, '50%');
    assert.equal(state.background, 'rgba(33, 150, 243, 0.9)');

    await page.click(800 - 48, 500 - 48);
    await page.waitForMessage('requestPrint');
    // Hovering makes it larger and opaque.
    await page.waitFor(
      (id) => getComputedStyle(document.getElementById(id)).backgroundColor === 'rgb(33, 150, 243)',
      BUTTON_ID
    );
    assert.deepEqual(page.messages, ['requestPrint']);
    await page.screenshot(outputFile('print-button-hovered.png'));
    await page.close();
  });

  test('comes back at once when page code removes it, and still works', async () => {
    const page = await fixture.browser.newPage({ width: 800, height: 500 });
    await page.addScript(printButtonScript());
    await page.goto(fixture.server.route('/button-removed.html', '<!DOCTYPE html><p>A document</p>'));

    const after = await page.evaluate(async (id) => {
      const original = document.getElementById(id);
      original.remove();
      const goneSynchronously = !document.getElementById(id);
      await new Promise((resolve) => setTimeout(resolve, 0));
      const first = document.getElementById(id);
      // Replacing the whole body takes it along too.
      document.body.innerHTML = '<p>Rewritten</p>';
      await new Promise((resolve) => setTimeout(resolve, 0));
      const second = document.getElementById(id);
      return {
        goneSynchronously,
        back: !!first && first !== original,
        backAgain: !!second && second.parentElement === document.body,
        count: document.querySelectorAll('#' + id).length,
      };
    }, BUTTON_ID);
    assert.deepEqual(after, { goneSynchronously: true, back: true, backAgain: true, count: 1 });

    await page.click(800 - 48, 500 - 48);
    await page.waitForMessage('requestPrint');
    await page.close();
  });
});
