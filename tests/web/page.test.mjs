// The page as a whole: private (nothing leaves it, nothing is stored), offline
// and installable, named for screen readers, laid out as the window's design.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { closeMessageBox, exactCode, launch, open, serve, setClipboard, settle, site } from './harness.mjs';

const rowsFile = process.env.RAVELON_WEB_ROWS || new URL('../../build/dev/tests/web_rows.json', import.meta.url).pathname;
let server, browser, data;
before(async () => {
  data = JSON.parse(await readFile(rowsFile, 'utf8'));
  server = await serve();
  browser = await launch();
});
after(async () => { await browser.close(); server.close(); });

async function decryptBig(w) {
  await w.address.fill(data.big.address);
  await setClipboard(w.page, data.big.code);
  await w.paste.click();
  await settle(w.page);
  await w.decrypt.click();
  await settle(w.page);
}

test('no request leaves the page once it has loaded, none goes elsewhere, and nothing is stored', async () => {
  const w = await open(browser, server.url);
  const elsewhere = [];
  w.context.on('request', (r) => { if (!r.url().startsWith(server.url)) elsewhere.push(r.url()); });
  await w.page.evaluate(() => navigator.serviceWorker.ready);
  const loaded = server.requests.length;
  await decryptBig(w);
  assert.equal(await exactCode(w.page, w), data.big.text);
  await w.decrypt.click();
  await closeMessageBox(w.page);  // the text is no code: "Invalid Code!"
  assert.deepEqual(server.requests.slice(loaded), [], 'requests after the page loaded');
  assert.deepEqual(elsewhere, []);
  const stored = await w.page.evaluate(async () => ({
    local: localStorage.length, session: sessionStorage.length, cookies: document.cookie,
    databases: (await indexedDB.databases()).length,
    cached: (await Promise.all((await caches.keys()).map(async (k) => (await (await caches.open(k)).keys()).map((r) => new URL(r.url).pathname)))).flat(),
  }));
  assert.deepEqual({ ...stored, cached: [] }, { local: 0, session: 0, cookies: '', databases: 0, cached: [] });
  for (const path of stored.cached) assert.match(path, /^\/(index\.html|[\w.-]+\.(css|js|wasm|webmanifest|svg|png))?$/, 'only the site is cached');
  assert.deepEqual(w.errors, []);
  await w.context.close();
});

test('a browser with WebAssembly SIMD128 gets the module that decodes with it', async () => {
  const w = await open(browser, server.url);
  assert.equal(await w.page.evaluate(() => document.querySelector('script[src*="ravelon"]').getAttribute('src')),
               'ravelon-simd.js');
  await w.context.close();
});

test('the page forbids what it does not use: inline script, other origins, plug-ins', async () => {
  const w = await open(browser, server.url);
  const policy = await w.page.evaluate(() => document.querySelector('meta[http-equiv="Content-Security-Policy"]').content);
  assert.equal(policy, "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; " +
                       "connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'");
  const inline = await w.page.evaluate(() => new Promise((resolve) => {
    window.ranInline = false;
    const script = document.createElement('script');
    script.textContent = 'window.ranInline = true';
    document.body.append(script);
    setTimeout(() => resolve(window.ranInline), 50);
  }));
  assert.equal(inline, false, 'an inline script ran');
  const fetched = await w.page.evaluate(() => fetch('https://example.com/').then(() => 'fetched', (e) => e.name));
  assert.equal(fetched, 'TypeError', 'a request to another origin went out');
  await w.context.close();
});

test('works offline after the first visit', async () => {
  const w = await open(browser, server.url);
  await w.page.evaluate(() => navigator.serviceWorker.ready);
  await w.context.setOffline(true);
  await w.page.reload();
  await w.page.waitForSelector('.ravelon-window button');
  await decryptBig(w);
  assert.equal(await exactCode(w.page, w), data.big.text);
  await w.context.close();
});

test('installs as an app: a manifest with icons of 192 and 512 pixels from the same drawing', async () => {
  const manifest = JSON.parse(await readFile(site + 'manifest.webmanifest', 'utf8'));
  assert.equal(manifest.name, 'Ravelon');
  assert.equal(manifest.display, 'standalone');
  for (const size of [192, 512]) {
    const icon = manifest.icons.find((i) => i.sizes === `${size}x${size}`);
    const png = await readFile(site + icon.src);
    assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [size, size], icon.src);
  }
});

test('screen readers find every control by its name, and the message box by its title and text', async () => {
  const w = await open(browser, server.url);
  const cdp = await w.context.newCDPSession(w.page);
  const named = async () => (await cdp.send('Accessibility.getFullAXTree')).nodes
    .filter((n) => !n.ignored && ['textbox', 'button', 'alertdialog'].includes(n.role?.value))
    .map((n) => `${n.role.value}: ${n.name?.value}${n.description?.value ? ' / ' + n.description.value : ''}`);
  assert.deepEqual((await named()).sort(), [
    'button: Copy', 'button: Decrypt', 'button: Exit', 'button: Paste',
    'textbox: Please enter the email address here:', 'textbox: Please paste the encrypted code here:',
  ]);
  await w.decrypt.click();
  await w.page.waitForSelector('dialog[open]');
  assert.ok((await named()).includes('alertdialog: Error / Please enter an email address'));
  await w.context.close();
});

// The design's colours, as the page paints them: the window's light blue.
const kWindowBlue = [0xab, 0xd6, 0xfc];

for (const scale of [1, 1.5]) {
  test(`the window is laid out and painted as its design at ${scale * 100}%`, async () => {
    const w = await open(browser, server.url, { scale });
    const placed = await w.page.evaluate(() => {
      const window_ = document.querySelector('.ravelon-window').getBoundingClientRect();
      return {
        window: [window_.left, window_.top, window_.width, window_.height],
        controls: [...document.querySelectorAll('.ravelon-window > *')].map((e) => {
          const r = e.getBoundingClientRect();
          return [r.left - window_.left, r.top - window_.top, r.width, r.height];
        }),
      };
    });
    const { design } = data;
    assert.deepEqual(placed.window.slice(2), [design.width / 15, design.height / 15]);
    design.controls.forEach((c, i) => {
      assert.deepEqual(placed.controls[i].map((v) => Math.round(v * 100) / 100),
                       [c.left, c.top, c.width, c.height].map((v) => Math.round(v / 15 * 100) / 100), c.name);
    });
    // Painted: the labels on the window's blue, inside and out; the boxes and buttons not.
    const shot = await w.page.screenshot({ clip: { x: placed.window[0], y: placed.window[1], width: placed.window[2], height: placed.window[3] } });
    const pixel = await pixelsOf(await w.context.newPage(), shot);
    const at = (x, y) => pixel(Math.round(x * scale), Math.round(y * scale));
    assert.deepEqual(at(3, 3), kWindowBlue, 'the window');
    design.controls.forEach((c) => {
      const [x, y, width, height] = [c.left / 15, c.top / 15, c.width / 15, c.height / 15];
      const inside = at(x + 4, y + height - 4);
      if (c.kind === 0) assert.deepEqual(inside, kWindowBlue, c.name);
      else assert.notDeepEqual(inside, kWindowBlue, c.name + ' paints its own face');
      assert.deepEqual(at(x - 2, y + height / 2), kWindowBlue, c.name + ': the window beside it');
    });
    await w.context.close();
  });
}

// Decodes a PNG in a blank page (the program's own forbids data: URLs) and answers its pixels.
async function pixelsOf(page, png) {
  const rgba = await page.evaluate(async (base64) => {
    const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + base64)).blob());
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return { width: bitmap.width, data: Array.from(context.getImageData(0, 0, bitmap.width, bitmap.height).data) };
  }, png.toString('base64'));
  return (x, y) => rgba.data.slice((y * rgba.width + x) * 4, (y * rgba.width + x) * 4 + 3);
}
