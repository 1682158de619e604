// The watermark layer over PDF documents: the program's escaped text shows exactly as
// typed, lets every click through, and page code cannot remove it.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { useBrowserAndServer } from './support/fixture.mjs';
import {
  loadingOverlayScript,
  outputFile,
  printButtonScript,
  printRedirectScript,
  watermarkScript,
} from './support/page_texts.mjs';

const WATERMARK_ID = 'lumora-watermark';

// Everything that could end the string or the script it is written into.
const AWKWARD_TEXT =
  'Ali\'s copy \\ C:\\new\\table\nline two </script><b id="bold">bold</b> "quoted" طالب 1042';

// Looks like a document in a PDF viewer: grey desk, white pages, a link under the layer.
const PDF_LIKE_PAGE = `<!DOCTYPE html><html><head><style>
  body { margin: 0; background: #525659; font-family: serif; }
  .bar { height: 40px; background: #323639; color: #eee; font: 14px sans-serif;
         display: flex; align-items: center; padding: 0 16px; }
  .sheet { width: 560px; min-height: 700px; margin: 16px auto; background: #fff;
           padding: 48px 56px; box-sizing: border-box; box-shadow: 0 2px 8px #0008; }
  h1 { font-size: 24px; } p { font-size: 15px; line-height: 1.5; color: #222; }
</style></head><body>
  <div class="bar">unit-3-handout.pdf &nbsp; 1 / 2</div>
  <div class="sheet"><h1>Unit 3: Thermodynamics</h1>
    <p>The first law states that energy is conserved: the change in internal energy of a
    closed system equals the heat added to it minus the work it does.</p>
    <p><a id="link" href="#notes" onclick="window.linkClicks = (window.linkClicks || 0) + 1">
    Notes for this unit</a></p>
    <p>Heat flows from the warmer body to the cooler one until both reach the same
    temperature; the second law gives this direction a measure, entropy.</p></div>
  <div class="sheet"><h1>Exercises</h1><p>1. A gas expands at constant pressure...</p></div>
</body></html>`;

const fixture = useBrowserAndServer();

function layerState(id) {
  const layer = document.getElementById(id);
  if (!layer) return null;
  const style = getComputedStyle(layer);
  return {
    text: layer.textContent,
    markupInside: layer.children.length,
    boldElements: document.querySelectorAll('#bold').length,
    position: style.position,
    pointerEvents: style.pointerEvents,
    zIndex: style.zIndex,
    opacity: style.opacity,
    color: style.color,
    fontWeight: style.fontWeight,
    transform: style.transform,
    parent: layer.parentElement.tagName,
  };
}

describe('watermark', { concurrency: true }, () => {
  test('shows the text as typed over the page and lets clicks through', async () => {
    // Registered as the player does for a PDF document.
    const page = await fixture.browser.newPage({ width: 900, height: 640 });
    await page.addScript(loadingOverlayScript());
    await page.addScript(printRedirectScript());
    await page.addScript(watermarkScript(AWKWARD_TEXT));
    await page.addScript(printButtonScript());
    await page.goto(fixture.server.route('/handout.html', PDF_LIKE_PAGE));

    const state = await page.evaluate(layerState, WATERMARK_ID);
    assert.deepEqual(state, {
      text: AWKWARD_TEXT,
      markupInside: 0,
      boldElements: 0,
      position: 'fixed',
      pointerEvents: 'none',
      zIndex: '2147483646',
      opacity: '0.15',
      color: 'rgb(255, 0, 0)',
      fontWeight: '700',
      // rotate(-30deg)
      transform: 'matrix(0.866025, -0.5, 0.5, 0.866025, 0, 0)',
      parent: 'BODY',
    });

    // Once the loading overlay has gone, a click on the link under the layer reaches it.
    await page.waitFor(() => !document.getElementById('lumora-full-loader'));
    const link = await page.evaluate(() => {
      const box = document.getElementById('link').getBoundingClientRect();
      return { x: box.left + 10, y: box.top + box.height / 2 };
    });
    await page.click(link.x, link.y);
    await page.waitFor(() => window.linkClicks === 1);

    await page.screenshot(outputFile('watermark-pdf.png'));
    await page.close();
  });

  test('comes back at once when page code removes it', async () => {
    const page = await fixture.browser.newPage();
    await page.addScript(watermarkScript('Learner 1042'));
    await page.goto(fixture.server.route('/remove-watermark.html', '<!DOCTYPE html><p>Text</p>'));

    const result = await page.evaluate(async (id) => {
      const tick = () => new Promise((resolve) => setTimeout(resolve, 0));
      const results = [];
      document.getElementById(id).remove();
      results.push(!!document.getElementById(id));
      await tick();
      results.push(!!document.getElementById(id));
      // Hidden inside another element is still present: left alone.
      const box = document.createElement('div');
      document.body.appendChild(box);
      box.appendChild(document.getElementById(id));
      await tick();
      results.push(document.querySelectorAll('#' + id).length);
      // A page that replaces its body.
      document.documentElement.replaceChild(document.createElement('body'), document.body);
      await tick();
      results.push(document.getElementById(id)?.parentElement === document.body);
      results.push(document.getElementById(id)?.textContent);
      return results;
    }, WATERMARK_ID);
    assert.deepEqual(result, [false, true, 1, true, 'Learner 1042']);
    await page.close();
  });

  test('an empty text gives an empty layer; the script acts once per document', async () => {
    const page = await fixture.browser.newPage();
    await page.addScript(watermarkScript(''));
    await page.addScript(watermarkScript('second'));
    await page.goto(fixture.server.route('/empty-watermark.html', '<!DOCTYPE html><p>Text</p>'));
    const layers = await page.evaluate(
      (id) => [...document.querySelectorAll('#' + id)].map((layer) => layer.textContent),
      WATERMARK_ID
    );
    assert.deepEqual(layers, ['']);
    await page.close();
  });
});
