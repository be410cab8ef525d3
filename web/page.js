// Starts the program: its SIMD module where the browser has WebAssembly
// SIMD128, the other otherwise (?wasm=scalar or ?wasm=simd128 chooses, for
// tests); and keeps the page's files for use offline once it has been visited.
'use strict';
(function () {
  // The smallest module that uses SIMD128: valid only where the browser has it.
  var probe = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0,
                              253, 15, 253, 98, 11]);
  var chosen = new URLSearchParams(location.search).get('wasm');
  var simd = chosen ? chosen === 'simd128' : WebAssembly.validate(probe);
  var program = document.createElement('script');
  program.src = simd ? 'ravelon-simd.js' : 'ravelon.js';
  document.head.appendChild(program);
})();
if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(function () {});
}
