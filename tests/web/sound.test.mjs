// Each press plays the skin's sound through Web Audio once a touch or key has let the page play,
// and the Tools menu's switch silences it, as on the desktop.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { launchBrowser, openCalculator, pagePoint, pressPoints, serveSite, settled, skinFile } from './support.mjs';

let server, browser;
before(async () => { server = await serveSite(); browser = await launchBrowser(); });
after(async () => { await browser.close(); await server.close(); });

const ToolsMenu = [20, 310], SoundEffectsItem = [40, 254];

test('a press plays its sound until the sound effects are switched off', async () => {
  const context = await browser.newContext({ viewport: { width: 500, height: 760 } });
  // Counts the sounds that the page starts.
  await context.addInitScript(() => {
    window.soundsStarted = 0;
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) { ++window.soundsStarted; return start.apply(this, args); };
  });
  const page = await openCalculator(context, server.url);
  const tap = async point => {
    const at = await pagePoint(page, point);
    await page.mouse.click(at.x, at.y);
    await settled(page);
  };
  const [seven] = pressPoints(skinFile('default'), '7');
  await tap(seven);
  await page.waitForFunction(() => window.soundsStarted === 1, null, { timeout: 3000 });
  await tap(seven);
  await page.waitForFunction(() => window.soundsStarted === 2, null, { timeout: 3000 });
  await tap(ToolsMenu);
  await tap(SoundEffectsItem);
  const before = await page.evaluate(() => window.soundsStarted);
  await tap(seven);
  await page.waitForTimeout(300);
  assert.equal(await page.evaluate(() => window.soundsStarted), before);
  await context.close();
});
