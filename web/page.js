// Keeps the page's files for use offline once it has been visited.
'use strict';
if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(function () {});
}
