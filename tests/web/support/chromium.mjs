// Drives Debian's headless Chromium over its DevTools pipe (file descriptors 3 and 4,
// one JSON message per NUL-terminated record): enough of the protocol to open pages,
// register scripts the way the player does, run code in the page, press keys and the
// mouse, and take screenshots.

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const CHROMIUM = '/usr/bin/chromium';
const COMMAND_TIMEOUT_MS = 15000;

// The name of the binding behind the stand-in host bridge.
const BRIDGE_BINDING = '__quorvelHostBridge';

// What the browser runtime gives every page of the player: window.chrome.webview with
// postMessage. Here every message goes to the test instead of the host.
const BRIDGE_STAND_IN = `(function () {
  var send = window.${BRIDGE_BINDING};
  window.chrome = window.chrome || {};
  window.chrome.webview = {
    postMessage: function (message) {
      send(typeof message === 'string' ? message : JSON.stringify(message));
    },
  };
})();`;

class Connection {
  constructor(input, output) {
    this.input = input;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = new Set();
    let buffered = Buffer.alloc(0);
    output.on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    output.on('close', () => {
      for (const { reject } of this.pending.values()) reject(new Error('browser closed'));
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id === undefined) {
      for (const listener of this.listeners) listener(message);
      return;
    }
    const waiter = this.pending.get(message.id);
    if (!waiter) return;
    this.pending.delete(message.id);
    clearTimeout(waiter.timer);
    if (message.error) {
      waiter.reject(new Error(`${waiter.method}: ${message.error.message}`));
    } else {
      waiter.resolve(message.result);
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        reject(new Error(`${method}: no answer in ${COMMAND_TIMEOUT_MS} ms`));
      }, COMMAND_TIMEOUT_MS);
      this.pending.set(id, { resolve, reject, timer, method });
      this.input.write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    });
  }
}

export class Page {
  constructor(connection, targetId, sessionId) {
    this.connection = connection;
    this.targetId = targetId;
    this.sessionId = sessionId;
    // Every message the page posted through the stand-in bridge, in order.
    this.messages = [];
    this.listener = (event) => {
      if (event.sessionId !== sessionId) return;
      if (event.method === 'Runtime.bindingCalled' && event.params.name === BRIDGE_BINDING) {
        this.messages.push(event.params.payload);
      }
    };
    connection.listeners.add(this.listener);
  }

  send(method, params = {}) {
    return this.connection.send(method, params, this.sessionId);
  }

  // Registers a script to run at the start of every later document, before the page's
  // own code, as the player's AddScriptToExecuteOnDocumentCreated does.
  async addScript(source) {
    await this.send('Page.addScriptToEvaluateOnNewDocument', { source });
  }

  // Navigates and waits until the new document is parsed ('interactive') or loaded
  // ('complete').
  async goto(url, { until = 'complete' } = {}) {
    const { errorText } = await this.send('Page.navigate', { url });
    if (errorText) throw new Error(`navigation to ${url} failed: ${errorText}`);
    await this.waitFor(
      (states) => states.includes(document.readyState),
      until === 'complete' ? ['complete'] : ['interactive', 'complete']
    );
  }

  // Runs `fn(...args)` in the page (awaiting a returned promise) and gives back its
  // result, which must be JSON-serialisable.
  async evaluate(fn, ...args) {
    const expression = `(${fn})(...${JSON.stringify(args)})`;
    const { result, exceptionDetails } = await this.send('Runtime.evaluate', {
      expression,
      awaitPromise: true,
      returnByValue: true,
      userGesture: true,
    });
    if (exceptionDetails) {
      const description = exceptionDetails.exception?.description ?? exceptionDetails.text;
      throw new Error(`page code failed: ${description}`);
    }
    return result.value;
  }

  // Polls `fn(...args)` until it returns something truthy; a document that is being
  // replaced meanwhile only delays the answer.
  async waitFor(fn, args = undefined, { timeout = 10000, interval = 25 } = {}) {
    const deadline = Date.now() + timeout;
    let lastError;
    for (;;) {
      try {
        const value = await this.evaluate(fn, ...(args === undefined ? [] : [args]));
        if (value) return value;
      } catch (error) {
        lastError = error;
      }
      if (Date.now() > deadline) {
        throw new Error(`condition not met in ${timeout} ms: ${fn}` +
                        (lastError ? ` (last error: ${lastError.message})` : ''));
      }
      await new Promise((resolve) => setTimeout(resolve, interval));
    }
  }

  async waitForMessage(message, timeout = 5000) {
    const deadline = Date.now() + timeout;
    while (!this.messages.includes(message)) {
      if (Date.now() > deadline) {
        const got = JSON.stringify(this.messages);
        throw new Error(`no message ${JSON.stringify(message)}; got ${got}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  }

  // One mouse event: 'mouseMoved', 'mousePressed' or 'mouseReleased' (left button).
  async mouse(type, x, y) {
    if (type === 'mousePressed') this.buttonDown = true;
    if (type === 'mouseReleased') this.buttonDown = false;
    const pressOrRelease = type !== 'mouseMoved';
    await this.send('Input.dispatchMouseEvent', {
      type,
      x,
      y,
      button: pressOrRelease || this.buttonDown ? 'left' : 'none',
      buttons: this.buttonDown ? 1 : 0,
      clickCount: pressOrRelease ? 1 : 0,
    });
  }

  // Presses at `from`, moves in steps of a pixel (ten steps for long ways) to `to` and
  // releases there, as a hand on a mouse would.
  async drag(from, to) {
    await this.mouse('mouseMoved', from.x, from.y);
    await this.mouse('mousePressed', from.x, from.y);
    const steps = Math.min(Math.max(Math.abs(to.x - from.x), Math.abs(to.y - from.y), 1), 10);
    for (let step = 1; step <= steps; step++) {
      await this.mouse('mouseMoved', from.x + ((to.x - from.x) * step) / steps,
                       from.y + ((to.y - from.y) * step) / steps);
    }
    await this.mouse('mouseReleased', to.x, to.y);
  }

  async click(x, y) {
    await this.drag({ x, y }, { x, y });
  }

  // A key with modifiers, down and up: 2 is Control, 4 is Meta.
  async pressKey({ key, code, keyCode, modifiers = 0 }) {
    const params = { key, code, windowsVirtualKeyCode: keyCode, modifiers };
    await this.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', ...params });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...params });
  }

  async screenshot(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    writeFileSync(file, Buffer.from(data, 'base64'));
  }

  async close() {
    this.connection.listeners.delete(this.listener);
    await this.connection.send('Target.closeTarget', { targetId: this.targetId });
  }
}

export class Browser {
  static async launch() {
    const profile = mkdtempSync(path.join(tmpdir(), 'quorvel-chromium-'));
    const child = spawn(
      CHROMIUM,
      [
        '--headless',
        '--remote-debugging-pipe',
        `--user-data-dir=${profile}`,
        '--no-first-run',
        '--no-default-browser-check',
        '--disable-gpu',
        '--disable-background-timer-throttling',
        '--disable-renderer-backgrounding',
        '--disable-backgrounding-occluded-windows',
        '--hide-scrollbars',
        // Root in a container has no user namespaces for the sandbox.
        ...(process.getuid() === 0 ? ['--no-sandbox'] : []),
        'about:blank',
      ],
      { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] }
    );
    // Chromium talks a lot on stderr (missing D-Bus and the like); keep the tail for
    // when it fails to start.
    let log = '';
    child.stderr.on('data', (chunk) => {
      log = (log + chunk.toString()).slice(-4000);
    });
    const exited = new Promise((resolve) => child.on('exit', resolve));
    const browser = new Browser(child, new Connection(child.stdio[3], child.stdio[4]), profile,
                                exited);
    try {
      await browser.connection.send('Browser.getVersion');
    } catch (error) {
      child.kill('SIGKILL');
      throw new Error(`Chromium did not start: ${error.message}\n${log}`);
    }
    return browser;
  }

  constructor(child, connection, profile, exited) {
    this.child = child;
    this.connection = connection;
    this.profile = profile;
    this.exited = exited;
  }

  // A new tab of `width` x `height` CSS pixels; with `bridge`, the stand-in host bridge
  // is registered before any other script, as the browser runtime provides it first.
  async newPage({ width = 1024, height = 640, bridge = true } = {}) {
    // A window of its own, not a tab: a background tab would be hidden, and its input
    // and animation frames held back while the tests run side by side.
    const { targetId } = await this.connection.send('Target.createTarget', {
      url: 'about:blank',
      newWindow: true,
    });
    const { sessionId } = await this.connection.send('Target.attachToTarget', {
      targetId,
      flatten: true,
    });
    const page = new Page(this.connection, targetId, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setDeviceMetricsOverride', {
      width,
      height,
      deviceScaleFactor: 1,
      mobile: false,
    });
    if (bridge) {
      await page.send('Runtime.addBinding', { name: BRIDGE_BINDING });
      await page.addScript(BRIDGE_STAND_IN);
    }
    return page;
  }

  async close() {
    // The browser may exit before it answers; a browser that hangs is killed.
    this.connection.send('Browser.close').catch(() => {});
    const timer = setTimeout(() => this.child.kill('SIGKILL'), 5000);
    await this.exited;
    clearTimeout(timer);
    rmSync(this.profile, { recursive: true, force: true });
  }
}
