// Serves the built site on a port of its own, recording every request, and
// drives it in the system's Chromium with real input events.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { chromium } from 'playwright-core';

export const site = process.env.RAVELON_SITE || new URL('../../build/web/site/', import.meta.url).pathname;

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css',
  '.svg': 'image/svg+xml', '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};

// The site (or another folder) on 127.0.0.1; `requests` lists every path asked for, in order.
export async function serve(root = site) {
  const requests = [];
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    requests.push(path);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    try {
      if (!file.startsWith(normalize(root))) throw new Error('outside the folder served');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, requests, close: () => server.close() };
}

export async function launch() {
  return chromium.launch({
    executablePath: process.env.RAVELON_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--font-render-hinting=none'],
  });
}

// A fresh window of the program in its own browser context; `query` may choose
// its module (?wasm=scalar or ?wasm=simd128), `scale` the display's.
export async function open(browser, url, options = {}) {
  const context = await browser.newContext({ deviceScaleFactor: options.scale || 1, viewport: { width: 800, height: 600 } });
  await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: url });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  await page.goto(url + (options.query || ''));
  await page.waitForSelector('.ravelon-window button');
  return { context, page, errors, ...controls(page) };
}

// The window's controls, found as a user (and a screen reader) finds them: by their names.
export function controls(page) {
  return {
    address: page.getByRole('textbox', { name: 'Please enter the email address here:' }),
    code: page.getByRole('textbox', { name: 'Please paste the encrypted code here:' }),
    decrypt: page.getByRole('button', { name: 'Decrypt', exact: true }),
    copy: page.getByRole('button', { name: 'Copy', exact: true }),
    paste: page.getByRole('button', { name: 'Paste', exact: true }),
    exit: page.getByRole('button', { name: 'Exit', exact: true }),
  };
}

// Once the program has handled every event the page has told it so far.
export async function settle(page) {
  await page.evaluate(() => RavelonDom.idle());
}

export async function clipboard(page) {
  return page.evaluate(() => navigator.clipboard.readText());
}

export async function setClipboard(page, text) {
  await page.evaluate((t) => navigator.clipboard.writeText(t), text);
}

// The message box open now, if any: its title, text and icon's kind.
export async function messageBox(page) {
  return page.evaluate(() => {
    const dialog = document.querySelector('dialog[open]');
    if (!dialog) return null;
    return {
      title: dialog.querySelector('h1').textContent,
      text: dialog.querySelector('p').textContent,
      warning: dialog.querySelector('p').classList.contains('ravelon-warning'),
    };
  });
}

// Waits for the message box, reads it and closes it with its OK button.
export async function closeMessageBox(page) {
  await page.waitForSelector('dialog[open]');
  const seen = await messageBox(page);
  await page.locator('dialog[open] button').click();
  await page.waitForSelector('dialog[open]', { state: 'detached' });
  return seen;
}

// The code box's exact text, as Copy puts it on the clipboard.
export async function exactCode(page, { copy }) {
  const unchanged = '\u0001unchanged';
  await setClipboard(page, unchanged);
  await copy.click();
  await settle(page);
  for (let waited = 0; waited < 1000; waited += 10) {
    const text = await clipboard(page);
    if (text !== unchanged) return text;
    await page.waitForTimeout(10);
  }
  return '';
}
