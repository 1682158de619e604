// The player's address reader against Chromium's own URL parser: for every address of
// a corpus of tricks, the host the player judges must be the host the browser would
// contact. Where the player refuses an address the browser would still read, the
// refusal is safe (every rule denies it), but it must be one we meant.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { after, before, test } from 'node:test';

import { Browser } from './support/chromium.mjs';

const CORPUS = [
  'https://example.com/x', 'HTTP://EXAMPLE.COM:8443/A', 'http://example.com:0080/',
  'https://example.com:/', 'https://Example.COM/', 'http://example.com:443/', 'https://example.com:80/',
  // user information with ':' and '@'
  'https://youtube.com:x@evil.example/', 'https://a@b@evil.example:8443/', 'https://@evil.example/',
  'https://youtube.com@evil.example', 'https://user:pa:ss@evil.example:1/', 'https://a%40b@evil.example/',
  // backslashes and slashes
  'https://youtube.com\\@evil.example/', 'https://evil.example\\.youtube.com/', 'https:\\\\evil.example/',
  'https:evil.example', 'https:////evil.example/', 'http:/\\/evil.example/x',
  // tabs, line breaks, spaces, controls
  'ht\ttps://ev\nil.exa\rmple/', ' \u0001https://evil.example/ ', 'https://evil.exa mple/',
  'https://evil.example\u0000.youtube.com/',
  // percent-encoding
  'https://%65vil.example/', 'https://evil.example%2F.youtube.com/', 'https://evil.example%00.x/',
  'https://ex%zzample.com/', 'https://EVIL%2Eexample/', 'https://%31%32%37.0.0.1/',
  // IPv4 in its forms
  'http://0x7f.1/', 'http://2130706433/', 'http://0177.0.0.01/', 'http://127.0.0.1./',
  'http://x.127.0.0.1/', 'http://1.2.3.4.5/', 'http://256.1.1.1/', 'http://1.2.3.09/',
  'http://0x100000000/', 'http://127.1/', 'http://1.256/', 'http://0x/', 'http://1.2.3.4../',
  // trailing dots and capitals
  'http://Example.COM./', 'https://files.test../', 'https://.files.test/',
  // IPv6
  'http://[::1]:8080/', 'http://[0:0:0:0:0:0:0:1]/', 'http://[1:0:0:2:0:0:0:3]/',
  'http://[::ffff:127.0.0.1]/', 'http://[ABCD::]/', 'http://[::1/', 'http://[1::2::3]/',
  'http://[1:2:3:4:5:6:7:8:9]/', 'http://[::1]x/', 'http://[0:0::0:0:0:0:1]/', 'http://[::1.2.3.4]/',
  // what follows the authority
  'https://example.com?u=://127.0.0.1', 'https://example.com#@evil.example', 'https://files.test.evil.example/x',
  // platform hosts where a search through the text would find them
  'https://files.test', 'https://127.0.0.1:x@evil.example/', 'https://127.0.0.1@evil.example/x.js',
  'https://localhost.evil.example/', 'https://evil.example/.quorvel.test/x.js',
  'https://evil.example\\@files.example.net/', 'https://LOCALHOST:443/lesson.js', 'http://127.0.0.1:8443',
  // refusals: ports, no host, IDNA, forbidden characters, other schemes
  'https://example.com:65536/', 'https://example.com:44x/', 'https://user@/', 'https:///',
  'https://m\u00fcnchen.example/', 'https://exa|mple.com/', 'https://exa^mple.com/', 'https://ex<a>mple/',
  'file://files.example/share', 'javascript:alert(1)', 'blob:https://example.com/1', 'about:blank',
  'data:text/html,x', 'ftp://example.com/', 'ws://example.com/',
];

// Addresses the browser reads but the player refuses on purpose: international names
// would need IDNA processing, which the player leaves to the browser and denies, and
// Chromium keeps a space in a host as "%20", a name no server can have.
const REFUSED_ON_PURPOSE = new Set(['https://m\u00fcnchen.example/', 'https://evil.exa mple/']);

let browser;
before(async () => {
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
});

function playerReadings() {
  const input = CORPUS.map((address) => JSON.stringify(address)).join('\n') + '\n';
  const output = execFileSync(process.env.QUORVEL_ADDRESS_READER, { input, encoding: 'utf8' });
  return output.trim().split('\n').map((line) => JSON.parse(line));
}

test('the player reads every host as Chromium does, or refuses it', async () => {
  const page = await browser.newPage({ bridge: false });
  const chromium = await page.evaluate((addresses) => addresses.map((address) => {
    try {
      const url = new URL(address);
      if (url.protocol !== 'http:' && url.protocol !== 'https:') return null;
      const port = url.port === '' ? (url.protocol === 'https:' ? 443 : 80) : Number(url.port);
      return { host: url.hostname, port, userInfo: url.username !== '' || url.password !== '' };
    } catch {
      return null;
    }
  }), CORPUS);
  const player = playerReadings();
  assert.equal(player.length, CORPUS.length);

  const refusedButRead = [];
  CORPUS.forEach((address, i) => {
    const label = JSON.stringify(address);
    if (player[i] === null) {
      if (chromium[i] !== null) refusedButRead.push(address);
      return;
    }
    assert.notEqual(chromium[i], null, `${label}: the player reads a host Chromium refuses`);
    assert.equal(player[i].host, chromium[i].host, `${label}: host`);
    assert.equal(player[i].port, chromium[i].port, `${label}: port`);
    // "https://@host" has an '@' but no credentials: the player counts it as user
    // information (and denies it), which is the safe side.
    if (chromium[i].userInfo) assert.equal(player[i].userInfo, true, `${label}: user information`);
  });
  assert.deepEqual(refusedButRead.filter((a) => !REFUSED_ON_PURPOSE.has(a)), [],
                   'addresses the player refuses although Chromium reads them');
  await page.close();
});
