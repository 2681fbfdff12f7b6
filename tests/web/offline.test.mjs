// After one visit the service worker has the whole site: the calculator starts again with the
// server gone and the network off.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { canvasFace, differingPixels, launchBrowser, openCalculator, renderedFace, serveSite, settled,
         skinFile } from './support.mjs';

test('the calculator starts with the server gone after one visit', async () => {
  const server = await serveSite();
  const browser = await launchBrowser();
  try {
    const context = await browser.newContext();
    const page = await openCalculator(context, server.url);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 5000 });
    await server.close();
    await context.setOffline(true);
    await page.reload({ timeout: 5000 });
    await settled(page);
    assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile('default'), '')), 0);
  } finally {
    await browser.close();
    await server.close();
  }
});
