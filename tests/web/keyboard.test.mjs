// The desktop's keyboard on the page: keys press the calculator's keys (held keys show pressed),
// the keys it uses never reach the browser's shortcuts (F5 does not reload), and Ctrl+C and
// Ctrl+V copy and paste through the browser's clipboard with the desktop's paste rules.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { canvasFace, differingPixels, launchBrowser, openCalculator, renderedFace, serveSite, settled,
         skinFile } from './support.mjs';

let server, browser, context;
before(async () => {
  server = await serveSite();
  browser = await launchBrowser();
  context = await browser.newContext({ viewport: { width: 500, height: 720 } });
  await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: server.url });
});
after(async () => { await browser.close(); await server.close(); });

async function expectFace(page, keys) {
  await settled(page);
  assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile('default'), keys)), 0, keys);
}

test('typed keys press the calculator keys, and a held key shows pressed', async () => {
  const page = await openCalculator(context, server.url);
  for (const key of ['F5', 'f', 'F', '2', '/', '3', 'Enter', 'Backspace']) await page.keyboard.press(key);
  await expectFace(page, 'hex f f 2 / 3 = bs');
  await page.keyboard.down('7');
  await expectFace(page, 'hex f f 2 / 3 = bs down:7');
  await page.keyboard.up('7');
  await expectFace(page, 'hex f f 2 / 3 = bs 7');
  await page.close();
});

test('Ctrl+C copies the number shown and Ctrl+V pastes a number of the mode', async () => {
  const page = await openCalculator(context, server.url);
  for (const key of ['1', '2', '3', '4', '.', '5', 'F9']) await page.keyboard.press(key);
  await settled(page);
  await page.keyboard.press('Control+C');
  await settled(page);
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), '-1234.5');
  const paste = async text => {
    await page.evaluate(text => navigator.clipboard.writeText(text), text);
    await page.keyboard.press('Control+V');
    await settled(page);
  };
  await page.keyboard.press('Escape');
  await page.keyboard.press('F8');
  await paste('0b1_0110');
  await expectFace(page, 'bin 1 0 1 1 0');
  await paste('12');   // not a binary number: nothing changes
  await expectFace(page, 'bin 1 0 1 1 0');
  await page.close();
});
