// The web page's figures in headless Chromium, against a served site (sh tools/web --serve):
//   node bench/web/page_figures.mjs [URL]      (URL: http://127.0.0.1:8000/ unless given)
// - first face: navigation to the first painted face, median of 5 loads with an empty cache, and
//   of 5 loads from the service worker's cache;
// - tap to paint: a press on the 7 key to the canvas painted, median of 20, beside a frame's time;
// - idle: timers and animation frames asked for during 2 s without input (0 is the goal);
// - size: script and .wasm gzip-compressed, and everything a first visit fetches, compressed.
// It needs the web tests' packages (cd tests/web && npm ci) and a native build for the key's place.
import { gzipSync } from 'node:zlib';
import { launchBrowser, pagePoint, pressPoints, settled, skinFile } from '../../tests/web/support.mjs';

const url = process.argv[2] || 'http://127.0.0.1:8000/';
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const firstFace = page => page.waitForFunction(() => window.Module && Module.numbrix.firstPaint !== null)
  .then(() => page.evaluate(() => Module.numbrix.firstPaint));

const browser = await launchBrowser();

const cold = [];
for (let i = 0; i < 5; ++i) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(url);
  cold.push(await firstFace(page));
  await context.close();
}

const context = await browser.newContext();
const page = await context.newPage();
const fetched = new Map();
page.on('response', async response => {
  try { fetched.set(response.url(), (await response.body()).length ? gzipSync(await response.body()).length : 0); } catch (e) { /* none */ }
});
await page.goto(url);
await firstFace(page);
await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
await settled(page);
const firstVisitBytes = [...fetched.values()].reduce((a, b) => a + b, 0);
const warm = [];
for (let i = 0; i < 5; ++i) {
  await page.reload();
  warm.push(await firstFace(page));
}
await settled(page);

const seven = await pagePoint(page, pressPoints(skinFile('default'), '7')[0]);
const taps = await page.evaluate(async ({ x, y }) => {
  const canvas = document.getElementById('screen');
  const host = Module.numbrix;
  const paint = host.paint;
  const times = [];
  for (let i = 0; i < 20; ++i) {
    const start = performance.now();
    const painted = new Promise(done => { host.paint = (...args) => { paint(...args); done(performance.now()); }; });
    const init = { clientX: x, clientY: y, pointerId: 1, pointerType: 'mouse', isPrimary: true, button: 0, bubbles: true };
    canvas.dispatchEvent(new PointerEvent('pointerdown', init));
    times.push(await painted - start);
    host.paint = paint;
    canvas.dispatchEvent(new PointerEvent('pointerup', init));
    await new Promise(done => setTimeout(done, 50));
  }
  const frame = await new Promise(done => requestAnimationFrame(a => requestAnimationFrame(b => done(b - a))));
  return { times, frame };
}, seven);

await settled(page);
const idle = await page.evaluate(async () => {
  let asked = 0;
  const wait = window.setTimeout.bind(window);
  for (const name of ['setTimeout', 'setInterval', 'requestAnimationFrame']) {
    const original = window[name].bind(window);
    window[name] = (...args) => { ++asked; return original(...args); };
  }
  await new Promise(done => wait(done, 2000));
  return asked;
});

const size = async name => gzipSync(Buffer.from(await (await fetch(new URL(name, url))).arrayBuffer())).length;
const code = await size('numbrix.js') + await size('numbrix.wasm');
await browser.close();

const ms = value => value.toFixed(1) + ' ms';
console.log(`first face, empty cache:      ${ms(median(cold))} (median of 5: ${cold.map(ms).join(', ')})`);
console.log(`first face, service worker:   ${ms(median(warm))} (median of 5: ${warm.map(ms).join(', ')})`);
console.log(`tap to painted canvas:        ${ms(median(taps.times))} (median of 20; a frame is ${ms(taps.frame)})`);
console.log(`idle for 2 s:                 ${idle} timers or animation frames asked for`);
console.log(`script and .wasm, gzip:       ${(code / 1024).toFixed(1)} KiB`);
console.log(`first visit, compressed:      ${(firstVisitBytes / 1024).toFixed(1)} KiB`);
