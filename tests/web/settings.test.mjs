// The settings file lives in the page's local storage: written when the page is left, read at
// start, never changed by a skin given for one visit, and a damaged text gets the defaults.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { canvasFace, differingPixels, launchBrowser, openCalculator, renderedFace, serveSite, settled,
         skinFile } from './support.mjs';

let server, browser;
before(async () => { server = await serveSite(); browser = await launchBrowser(); });
after(async () => { await browser.close(); await server.close(); });

async function leaveAndComeBack(page, url) {
  await page.goto('about:blank');
  await page.goto(url);
  await settled(page);
}

// Stores the text while no calculator runs on the site (a running one saves its own when left).
async function storeAndComeBack(page, text) {
  await page.goto(server.url + 'manifest.webmanifest');
  await page.evaluate(text => localStorage.setItem('numbrix.settings', text), text);
  await page.goto(server.url);
  await settled(page);
}

async function expectFace(page, skin) {
  assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile(skin), '')), 0, skin);
}

// What the calculator itself stores when it is left, with midnight as the skin instead of default.
async function midnightSettings(page) {
  await page.goto(server.url);
  await settled(page);
  await page.goto('about:blank');
  await page.goto(server.url + 'manifest.webmanifest');
  const saved = await page.evaluate(() => localStorage.getItem('numbrix.settings'));
  assert.match(saved, /^REGEDIT4/);
  assert.match(saved, /default\.skn/);
  return saved.replace('default.skn', 'midnight.skn');
}

test('the chosen skin survives a reload', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await storeAndComeBack(page, await midnightSettings(page));
  await expectFace(page, 'midnight');
  await leaveAndComeBack(page, server.url);
  await expectFace(page, 'midnight');
  await context.close();
});

test('a skin given for one visit does not replace the stored one', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await storeAndComeBack(page, await midnightSettings(page));
  await leaveAndComeBack(page, server.url + '?skin=skin/default.skn');
  await expectFace(page, 'default');
  await leaveAndComeBack(page, server.url);
  await expectFace(page, 'midnight');
  await context.close();
});

test('a damaged stored text starts the calculator with its defaults', async () => {
  const context = await browser.newContext();
  const messages = [];
  const page = await openCalculator(context, server.url, messages);
  for (const damaged of ['\u0000\u00ff[[[', 'REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\n"SkinFile"=hex:zz']) {
    await storeAndComeBack(page, damaged);
    await expectFace(page, 'default');
  }
  assert.deepEqual(messages.filter(m => m.startsWith('page error')), []);
  await context.close();
});
