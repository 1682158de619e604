// One headless browser and one page server per test file: started before its tests,
// closed after them.

import { after, before } from 'node:test';

import { Browser } from './chromium.mjs';
import { PageServer } from './server.mjs';

export function useBrowserAndServer() {
  const fixture = { browser: undefined, server: undefined };
  before(async () => {
    [fixture.browser, fixture.server] = await Promise.all([Browser.launch(), PageServer.start()]);
  });
  after(async () => {
    await Promise.all([fixture.browser?.close(), fixture.server?.close()]);
  });
  return fixture;
}
