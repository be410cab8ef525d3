// What a user does with the window in a browser and what must follow: the
// same scenarios as the desktop windows', with real input events.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { clipboard, closeMessageBox, exactCode, launch, messageBox, open, serve, setClipboard, settle } from './harness.mjs';

let server, browser;
before(async () => { server = await serve(); browser = await launch(); });
after(async () => { await browser.close(); server.close(); });

// "Licence: 42 seats###NEWLINE###Key: AB-12 £" coded for a shift of 11 (me@mail.org), scheme 2.
const kPlainRestored = 'Licence: 42 seats\r\nKey: AB-12 \u00A3';
const kAddress = 'me@mail.org';

async function program() { return open(browser, server.url); }

async function enterAddressAndCode(w, address, code) {
  await w.address.fill(address);
  await setClipboard(w.page, code);
  await w.paste.click();
  await w.page.waitForFunction(() => document.activeElement && document.activeElement.tagName === 'TEXTAREA');
}


test('starts with empty boxes and the code box, Copy and Paste disabled', async () => {
  const w = await program();
  assert.equal(await w.address.inputValue(), '');
  assert.equal(await w.code.inputValue(), '');
  assert.equal(await w.code.isDisabled(), true);
  assert.equal(await w.copy.isDisabled(), true);
  assert.equal(await w.paste.isDisabled(), true);
  assert.equal(await w.decrypt.isDisabled(), false);
  assert.equal(await w.exit.isDisabled(), false);
  assert.equal(await w.page.title(), 'Ravelon');  // a page's title drops the caption's trailing space
  // The window border's system colour: on the desktop the grey of a window's face.
  assert.equal(await w.page.evaluate(() => getComputedStyle(document.querySelector('textarea')).backgroundColor),
               'rgb(239, 239, 239)', 'the disabled code box takes the grey of a window face');
  assert.deepEqual(w.errors, []);
  await w.context.close();
});

test('the first character enables the code box and the last disables it, keeping the code', async () => {
  const w = await program();
  await w.address.pressSequentially('a');
  await settle(w.page);
  assert.equal(await w.code.isDisabled(), false);
  assert.equal(await w.paste.isDisabled(), false);
  assert.equal(await w.page.evaluate(() => getComputedStyle(document.querySelector('textarea')).backgroundColor),
               'rgb(255, 255, 255)', 'the enabled code box takes the window colour');
  await w.code.pressSequentially('xyz');
  await w.address.press('End');
  await w.address.press('Backspace');
  await settle(w.page);
  assert.equal(await w.code.isDisabled(), true);
  assert.equal(await w.code.inputValue(), 'xyz');
  await w.context.close();
});

test('Decrypt without an address asks for one, without a code for one', async () => {
  const w = await program();
  await w.decrypt.click();
  assert.deepEqual(await closeMessageBox(w.page), { title: 'Error', text: 'Please enter an email address', warning: false });
  await w.address.fill(kAddress);
  await w.decrypt.click();
  assert.deepEqual(await closeMessageBox(w.page), { title: 'Error', text: 'Please enter an encrypted code', warning: false });
  await w.context.close();
});

test('an invalid code warns, and only once the warning is closed is the code box emptied', async () => {
  const w = await program();
  await enterAddressAndCode(w, kAddress, 'not a code');
  await w.decrypt.click();
  await w.page.waitForSelector('dialog[open]');
  assert.deepEqual(await messageBox(w.page), { title: 'Error', text: 'Invalid Code!', warning: true });
  assert.equal(await w.code.inputValue(), 'not a code', 'the window waits while the message box is open');
  await w.page.keyboard.press('Enter');
  await w.page.waitForSelector('dialog[open]', { state: 'detached' });
  await w.page.waitForFunction(() => document.querySelector('textarea').value === '');
  assert.equal(await w.page.evaluate(() => document.activeElement.textContent), 'Decrypt', 'the focus comes back');
  await w.context.close();
});

test('Paste replaces the old text, keeps every unit of the clipboard and focuses the code box', async () => {
  const w = await program();
  await w.address.fill(kAddress);
  await w.code.fill('old');
  const pasted = 'a\r\nb\rc\nd\u00A0\u2028e';
  await setClipboard(w.page, pasted);
  await w.paste.click();
  await w.page.waitForFunction(() => document.querySelector('textarea').value.startsWith('a'));
  assert.equal(await w.page.evaluate(() => document.activeElement.tagName), 'TEXTAREA');
  assert.equal(await exactCode(w.page, w), pasted);
  await w.context.close();
});

test('an address pasted with a line break keeps its first line only', async () => {
  const w = await program();
  await setClipboard(w.page, 'me@mail.org\r\nsecond line');
  await w.address.focus();
  await w.page.keyboard.press('Control+V');
  await w.page.waitForFunction(() => document.querySelector('input').value !== '');
  assert.equal(await w.address.inputValue(), 'me@mail.org');
  await w.context.close();
});

test('typing in the code box keeps every line break it did not touch; a typed one is CR LF', async () => {
  const w = await program();
  await enterAddressAndCode(w, kAddress, 'ab\r\n\ncd\re');
  await w.code.press('Control+End');
  await w.code.press('Enter');
  await w.code.pressSequentially('x');
  await w.code.press('Control+Home');
  for (let i = 0; i < 3; ++i) await w.code.press("ArrowRight");  // after "ab" and the CR LF, before the LF
  await w.code.press('Backspace');
  assert.equal(await exactCode(w.page, w), 'ab\ncd\re\r\nx');
  await w.code.press('Control+Z');
  assert.equal(await exactCode(w.page, w), 'ab\r\n\ncd\re\r\nx', 'undone as it was');
  await w.context.close();
});

test('Copy of an empty code box leaves the clipboard as it was', async () => {
  const w = await program();
  await w.address.fill(kAddress);
  await setClipboard(w.page, 'kept');
  await w.copy.click();
  await w.page.waitForTimeout(50);
  assert.equal(await clipboard(w.page), 'kept');
  await w.context.close();
});

test('Exit ends at once: the tab says so and offers to start again', async () => {
  const w = await program();
  await w.exit.click();
  await w.page.waitForSelector('.ravelon-ended');
  assert.equal(await w.page.locator('.ravelon-ended').textContent(), 'Ravelon has ended.');
  await w.page.getByRole('button', { name: 'Start again' }).click();
  await w.page.waitForSelector('.ravelon-window textarea');
  await w.context.close();
});

test('Tab follows the design order, skipping disabled controls', async () => {
  const w = await program();
  const order = async (count) => {
    const names = [];
    for (let i = 0; i < count; ++i) {
      await w.page.keyboard.press('Tab');
      names.push(await w.page.evaluate(() => {
        const at = document.activeElement;
        return at.tagName === 'BUTTON' ? at.textContent : at.tagName;
      }));
    }
    return names;
  };
  // After the last control Tab leaves the page for the browser's own (BODY here), as a page must let it.
  await w.address.focus();
  assert.deepEqual(await order(4), ['Decrypt', 'Exit', 'BODY', 'INPUT']);
  await w.address.fill('a');
  await settle(w.page);
  assert.deepEqual(await order(7), ['TEXTAREA', 'Decrypt', 'Exit', 'Paste', 'Copy', 'BODY', 'INPUT']);
  await w.context.close();
});

test('Enter and Escape in the window press nothing and close nothing', async () => {
  const w = await program();
  await w.address.fill(kAddress);
  await w.address.press('Enter');
  await w.address.press('Escape');
  await w.page.waitForTimeout(50);
  assert.equal(await messageBox(w.page), null);
  assert.equal(await w.page.locator('.ravelon-window').count(), 1);
  await w.context.close();
});

test('an address too long is reported, the code kept, and the program goes on', async () => {
  const w = await program();
  await enterAddressAndCode(w, 'a'.repeat(32768), 'qotmz');
  await w.decrypt.click();
  assert.deepEqual(await closeMessageBox(w.page), {
    title: 'Error', warning: true,
    text: 'The email address is too long: an address of at most 32767 characters can decrypt a code.',
  });
  await settle(w.page);
  assert.equal(await w.code.inputValue(), 'qotmz');
  await w.address.press('End');
  await w.address.press('Backspace');  // 32,767 is a shift: the tag alone decodes to nothing
  await w.decrypt.click();
  await settle(w.page);
  assert.equal(await messageBox(w.page), null);
  assert.equal(await w.code.inputValue(), '');
  await w.context.close();
});

test('a code out of range for the address is reported and the box kept', async () => {
  const w = await program();
  await enterAddressAndCode(w, 'a'.repeat(95), 'qotmz`-');
  await w.decrypt.click();
  assert.deepEqual(await closeMessageBox(w.page), {
    title: 'Error', warning: true, text: 'This code cannot be decrypted with an email address of this length.',
  });
  await settle(w.page);
  assert.equal(await w.code.inputValue(), 'qotmz`-');
  await w.context.close();
});

test('erasing the address keeps the text in the disabled box, which Paste and Copy leave alone', async () => {
  const w = await program();
  await enterAddressAndCode(w, 'abc', 'typed by hand');
  await w.address.press('End');
  for (let i = 0; i < 3; ++i) await w.address.press('Backspace');
  await settle(w.page);
  assert.equal(await w.code.isDisabled(), true);
  assert.equal(await w.code.inputValue(), 'typed by hand');
  await setClipboard(w.page, 'clip');
  await w.paste.click({ force: true });
  await w.copy.click({ force: true });
  await settle(w.page);
  assert.equal(await w.code.inputValue(), 'typed by hand');
  assert.equal(await clipboard(w.page), 'clip');
  await w.context.close();
});
