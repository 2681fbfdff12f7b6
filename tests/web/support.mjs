// What the web tests share: the built site (build-web/site) served on the loopback, Debian's
// Chromium driven by playwright-core, the calculator's screen read from its canvas, and the
// desktop's own tools (numbrix-skin render, the press points of a key sequence) from the native
// build (NUMBRIX_BUILD, build/ unless set).
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const site = resolve(process.env.NUMBRIX_WEB_SITE || join(root, 'build-web/site'));
export const build = resolve(process.env.NUMBRIX_BUILD || join(root, 'build'));
export const TitleBarHeight = 26;   // platform/screen.h: the face starts below the title bar
export const FaceWidth = 240, FaceHeight = 268;

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.json': 'application/json',
                '.webmanifest': 'application/manifest+json', '.png': 'image/png' };

// Serves the site, and the extra files given (URL path -> file), on a port of its own.
export async function serveSite(extra = {}) {
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = extra[path] || join(site, normalize(path.endsWith('/') ? path + 'index.html' : path));
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch (e) {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  return { url: `http://127.0.0.1:${server.address().port}/`,
           close: () => new Promise(done => { server.closeAllConnections(); server.close(done); }) };
}

export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.NUMBRIX_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// A page with the calculator, once its first face is painted and it waits for input.
export async function openCalculator(context, url, messages = []) {
  const page = await context.newPage();
  page.on('console', message => messages.push(message.text()));
  page.on('pageerror', error => messages.push('page error: ' + error.message));
  await page.goto(url);
  await settled(page);
  return page;
}

// Until the program has handled every event and waits for the next.
export async function settled(page) {
  await page.waitForFunction(() => window.Module && Module.numbrix && Module.numbrix.wake !== null &&
                                   Module.numbrix.events.length === 0, null, { timeout: 5000 });
}

// The face as the canvas shows it: 0xRRGGBB numbers, row by row.
export async function canvasFace(page) {
  return page.evaluate(([top, width, height]) => {
    const rgba = document.getElementById('screen').getContext('2d').getImageData(0, top, width, height).data;
    const face = [];
    for (let i = 0; i < rgba.length; i += 4) face.push(rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]);
    return face;
  }, [TitleBarHeight, FaceWidth, FaceHeight]);
}

// The face that numbrix-skin render draws for the skin and keys, decoded by the page's browser.
export async function renderedFace(page, skin, keys) {
  const out = join(mkdtempSync(join(tmpdir(), 'numbrix-web-')), 'face.png');
  execFileSync(join(build, 'tools/numbrix-skin'), ['render', skin, '--keys', keys, '--out', out],
               { stdio: ['ignore', 'ignore', 'ignore'] });
  const png = readFileSync(out).toString('base64');
  return page.evaluate(async data => {
    const image = await createImageBitmap(await (await fetch('data:image/png;base64,' + data)).blob(),
                                          { colorSpaceConversion: 'none' });
    const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
    context.drawImage(image, 0, 0);
    const rgba = context.getImageData(0, 0, image.width, image.height).data;
    const face = [];
    for (let i = 0; i < rgba.length; i += 4) face.push(rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]);
    return face;
  }, png);
}

// The number of face pixels that differ.
export function differingPixels(a, b) {
  if (a.length !== b.length) return Math.max(a.length, b.length);
  let count = 0;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) ++count;
  return count;
}

// Where the stylus presses each key of the sequence on this skin, in device screen pixels; null
// for a key that is not pressed.
export function pressPoints(skin, keys) {
  const out = execFileSync(join(build, 'tests/numbrix_press_points'), [skin, ...keys.split(/\s+/)]).toString();
  return out.trim().split('\n').map(line => line === '-' ? null : line.split(' ').map(Number));
}

// A device screen point in the page's CSS pixels: its centre at the canvas's scale.
export async function pagePoint(page, [x, y]) {
  const box = await page.locator('#screen').boundingBox();
  return { x: box.x + (x + 0.5) * box.width / 240, y: box.y + (y + 0.5) * box.height / 320 };
}

// Taps the keys with the mouse, one after the other, as the stylus would.
export async function tapKeys(page, skin, keys) {
  for (const point of pressPoints(skin, keys)) {
    if (!point) continue;
    const at = await pagePoint(page, point);
    await page.mouse.click(at.x, at.y);
  }
  await settled(page);
}

export const skinFile = name => join(build, 'skin', name + '.skn');
