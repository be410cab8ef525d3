// The decoder's differential rows through the page: each address and code
// typed and pasted as a user would, Decrypt pressed, and what the window
// shows held to the reference decoder (web_rows writes the rows).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { closeMessageBox, exactCode, launch, open, serve, setClipboard, settle } from './harness.mjs';

const rowsFile = process.env.RAVELON_WEB_ROWS || new URL('../../build/dev/tests/web_rows.json', import.meta.url).pathname;

let server, browser, rows;
before(async () => {
  ({ rows } = JSON.parse(await readFile(rowsFile, "utf8")));
  server = await serve();
  browser = await launch();
});
after(async () => { await browser.close(); server.close(); });

for (const module of ['simd128', 'scalar']) test(`every row decrypts in the page (${module}) as the reference decoder says`, async () => {
  const w = await open(browser, server.url, { query: '?wasm=' + module });
  assert.equal(await w.page.evaluate(() => document.querySelector('script[src*="ravelon"]').getAttribute('src')),
               module === 'simd128' ? 'ravelon-simd.js' : 'ravelon.js');
  for (const [index, row] of rows.entries()) {
    const what = `row ${index}`;
    await w.address.fill(row.address);
    await setClipboard(w.page, row.code);
    await w.paste.click();
    await settle(w.page);
    await w.decrypt.click();
    const seen = [];
    for (const _ of [...row.warnings, ...(row.failure ? [row.failure] : [])]) seen.push((await closeMessageBox(w.page)).text);
    await settle(w.page);
    assert.deepEqual(seen, [...row.warnings, ...(row.failure ? [row.failure] : [])], what + ': the message boxes');
    const expected = row.text === null ? row.code : row.text;  // a failed request keeps the code
    if (expected === '') {
      assert.equal(await w.code.inputValue(), '', what);
    } else {
      assert.equal(await exactCode(w.page, w), expected, what + ': the text, exactly');
    }
  }
  assert.deepEqual(w.errors, []);
  await w.context.close();
});
