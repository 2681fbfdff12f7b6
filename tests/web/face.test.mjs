// The face in the page is the desktop's face, pixel for pixel, for each shipped skin after each
// key sequence, whether the keys are tapped with the mouse or touched.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { canvasFace, differingPixels, launchBrowser, openCalculator, pagePoint, pressPoints, renderedFace,
         serveSite, settled, skinFile, tapKeys } from './support.mjs';

let server, browser;
before(async () => { server = await serveSite(); browser = await launchBrowser(); });
after(async () => { await browser.close(); await server.close(); });

const sequences = [
  ['default', ''],
  ['default', '7 + 8 = x 3 ='],
  ['default', '1 2 3 4 5 6 7 8 9 . 5 sign'],
  ['default', 'hex f f a c x 2 ='],
  ['default', 'bin 1 0 1 1 - 1 1 1 1 ='],
  ['default', '1 div 0 ='],
  ['midnight', '9 9 9 9 9 9 9 9 x 9 9 ='],
  ['midnight', 'hex d e a d ce b bs'],
];

for (const [skin, keys] of sequences) {
  test(`the ${skin} face after "${keys}" equals numbrix-skin render`, async () => {
    const context = await browser.newContext({ viewport: { width: 500, height: 720 } });
    const page = await openCalculator(context, server.url + (skin === 'default' ? '' : `?skin=skin/${skin}.skn`));
    await tapKeys(page, skinFile(skin), keys);
    assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile(skin), keys)), 0);
    await context.close();
  });
}

// Touches through the browser's own touch input: the key shows pressed until the finger lifts,
// and a second finger while the first is down changes nothing.
test('a touch holds the key down until it lifts, and a second finger does nothing', async () => {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true,
                                             deviceScaleFactor: 3 });
  const page = await openCalculator(context, server.url);
  const cdp = await context.newCDPSession(page);
  const [seven, eight] = (await Promise.all(pressPoints(skinFile('default'), '7 8').map(p => pagePoint(page, p))));
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  await touch('touchStart', [{ x: seven.x, y: seven.y, id: 1 }]);
  await settled(page);
  assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile('default'), 'down:7')), 0);
  await touch('touchStart', [{ x: seven.x, y: seven.y, id: 1 }, { x: eight.x, y: eight.y, id: 2 }]);
  await touch('touchEnd', [{ x: seven.x, y: seven.y, id: 1 }]);
  await touch('touchEnd', []);
  await settled(page);
  assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile('default'), '7')), 0);
  const scroll = await page.evaluate(() => [window.scrollX, window.scrollY, visualViewport.scale]);
  assert.deepEqual(scroll, [0, 0, 1]);
  await context.close();
});

// Taps that come faster than frames are painted are each handled, in order.
test('a burst of taps loses none', async () => {
  const context = await browser.newContext({ viewport: { width: 500, height: 720 } });
  const page = await openCalculator(context, server.url);
  const keys = '1 2 3 + 4 5 6 =';
  const points = await Promise.all(pressPoints(skinFile('default'), keys).map(p => pagePoint(page, p)));
  await page.evaluate(points => {
    const canvas = document.getElementById('screen');
    for (const [i, p] of points.entries()) {
      const init = { clientX: p.x, clientY: p.y, pointerId: 100 + i, pointerType: 'mouse', isPrimary: true, button: 0,
                     bubbles: true };
      canvas.dispatchEvent(new PointerEvent('pointerdown', init));
      canvas.dispatchEvent(new PointerEvent('pointerup', init));
    }
  }, points);
  await settled(page);
  assert.equal(differingPixels(await canvasFace(page), await renderedFace(page, skinFile('default'), keys)), 0);
  await context.close();
});
