// The web edition's figures, measured in one run (headless Chromium on this
// computer): the page's size as a browser downloads it compressed, the time
// from navigation to a window that takes input, and Decrypt of a 1 MiB code
// in the page beside the native decoder's scalar path on the same code.
// Reports; asserts nothing.
//   node bench/web/page_bench.mjs [rows.json] [native decoder_bench]
import { readdir, readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { execFileSync } from 'node:child_process';
import { launch, open, serve, setClipboard, settle, site } from '../../tests/web/harness.mjs';

const rowsFile = process.argv[2] || new URL('../../build/dev/tests/web_rows.json', import.meta.url).pathname;
const nativeBench = process.argv[3] || new URL('../../build/release/bench/decoder_bench', import.meta.url).pathname;
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

let total = 0;
for (const name of (await readdir(site)).sort()) {
  const size = gzipSync(await readFile(site + name), { level: 9 }).length;
  total += size;
  console.log(`size  ${name.padEnd(22)} ${String(size).padStart(7)} bytes gzipped`);
}
// A browser downloads one of the two modules: the SIMD one where it has SIMD128.
let other = 0;
for (const name of ['ravelon.js', 'ravelon.wasm']) other += gzipSync(await readFile(site + name), { level: 9 }).length;
console.log(`size  every file of the site    ${String(total).padStart(7)} bytes gzipped (both modules)`);
console.log(`size  what a browser downloads  ${String(total - other).padStart(7)} bytes gzipped ` +
            `(${((total - other) / 1024).toFixed(1)} KiB, the page and one module; goal 150 KB)`);

const server = await serve();
const browser = await launch();
const starts = [];
for (let i = 0; i < 11; ++i) {
  const w = await open(browser, server.url);
  starts.push(await w.page.evaluate(() => performance.getEntriesByName('ravelon-ready')[0].startTime));
  await w.context.close();
}
console.log(`start navigation to a usable window: median ${median(starts).toFixed(1)} ms of ${starts.length} loads (goal 300 ms)`);

const { big } = JSON.parse(await readFile(rowsFile, 'utf8'));
const w = await open(browser, server.url);
const decrypts = [], shown = [];
for (let i = 0; i < 7; ++i) {
  await w.address.fill(big.address);
  await setClipboard(w.page, big.code);
  await w.paste.click();
  await settle(w.page);
  await w.decrypt.click();
  await settle(w.page);
  const [decrypt, painted] = await w.page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const click = performance.getEntriesByName('ravelon-click').at(-1).startTime;
    const text = performance.getEntriesByName('ravelon-text').at(-1).startTime;
    resolve([text - click, performance.now() - click]);
  })));
  decrypts.push(decrypt);
  shown.push(painted);
}
const codeBytes = big.code.length * 2;  // UTF-16, as the native benchmark counts a code's bytes
console.log(`page  Decrypt of a ${(codeBytes / 1048576).toFixed(2)} MiB code: ${median(decrypts).toFixed(2)} ms to its text (median of 7), ` +
            `${median(shown).toFixed(1)} ms until the text area shows it`);

// The decoder alone in WebAssembly, in the browser, on the same code: without SIMD128 and with it.
const benchServer = await serve(new URL('../../build/web/bench/web/', import.meta.url).pathname);
const wasmMs = {};
for (const [name, html] of [['scalar', ''], ['simd128', 'simd.html']]) {
  const benchPage = await (await browser.newContext()).newPage();
  await benchPage.goto(benchServer.url + html);
  await benchPage.waitForFunction(() => typeof Module !== 'undefined' && Module.calledRun);
  wasmMs[name] = await benchPage.evaluate(({ address, code }) => {
    const copy = (text) => {
      const at = Module._malloc(text.length * 2);
      for (let i = 0; i < text.length; ++i) HEAPU16[(at >> 1) + i] = text.charCodeAt(i);
      return at;
    };
    return Module._ravelon_bench_decrypt(copy(address), address.length, copy(code), code.length, 20, 9);
  }, big);
}
await browser.close();
server.close();
benchServer.close();

// The native scalar path on a code of the same size, in the same run.
const out = execFileSync(nativeBench, ['--benchmark_filter=BM_Decrypt/bytes:1048576/scheme:3/path:0/markers_only:0/',
                                       '--benchmark_format=json', '--benchmark_min_time=0.2'],
                         { env: { ...process.env, RAVELON_KERNEL: 'scalar' } });
const result = JSON.parse(out).benchmarks[0];
const nativeMs = result.real_time * { ns: 1e-6, us: 1e-3, ms: 1 }[result.time_unit] * codeBytes / 1048576;
console.log(`decoder: native scalar path ${nativeMs.toFixed(2)} ms; in the browser (median of 9 batches of 20) ` +
            `${wasmMs.scalar.toFixed(2)} ms without SIMD128 (${(wasmMs.scalar / nativeMs).toFixed(2)} x native, goal 3), ` +
            `${wasmMs.simd128.toFixed(2)} ms with it (${(wasmMs.simd128 / nativeMs).toFixed(2)} x native)`);
console.log(`page: Decrypt's handler to its text / native decoder = ${(median(decrypts) / nativeMs).toFixed(1)}`);
