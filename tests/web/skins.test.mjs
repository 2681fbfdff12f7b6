// Skins from elsewhere: one the user adds is kept in the browser and listed by the calculator's
// own skin dialog, now and on later visits; a broken ?skin= gets the loader's message, in the
// page's language, as numbrix-skin quotes it.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { build, canvasFace, differingPixels, launchBrowser, openCalculator, pagePoint, renderedFace, serveSite,
         settled, skinFile } from './support.mjs';

let server, browser, broken;
before(async () => {
  // The default skin without its parts image.
  broken = join(mkdtempSync(join(tmpdir(), 'numbrix-web-')), 'broken.skn');
  writeFileSync(broken, readFileSync(skinFile('default'), 'latin1').replace(/^PARTSIMAGE=.*$/m, ''), 'latin1');
  server = await serveSite({ '/extra/broken.skn': broken });
  browser = await launchBrowser();
});
after(async () => { await browser.close(); await server.close(); });

// The message that the calculator shows for the skin, as numbrix-skin quotes it.
function loaderMessage(skin, lang) {
  try {
    execFileSync(join(build, 'tools/numbrix-skin'), ['check', skin], { env: { ...process.env, LANG: lang, LANGUAGE: '' } });
  } catch (failed) {
    const quoted = /shows "([^"]+)"/.exec(failed.stdout.toString() + failed.stderr.toString());
    if (quoted) return quoted[1];
  }
  throw new Error('numbrix-skin quotes no message for ' + skin);
}

// A language without a catalogue falls back to English; Japanese is the program's own texts.
for (const [locale, lang] of [['en-US', 'en_US.UTF-8'], ['de-DE', 'en_US.UTF-8'], ['ja-JP', 'C']]) {
  test(`a broken ?skin= gets the loader's message (${locale})`, async () => {
    const context = await browser.newContext({ locale });
    const messages = [];
    const page = await openCalculator(context, server.url + '?skin=/extra/broken.skn', messages);
    const expected = loaderMessage(broken, lang);
    assert.ok(messages.some(m => m.startsWith('numbrix: ') && m.endsWith(': ' + expected)),
              `"${expected}" not among ${JSON.stringify(messages)}`);
    await context.close();
  });
}

// The dialog's list starts below its title bar, one row per skin file in name order.
const ListRow = row => [40, 43 + 18 * row];
const OkButton = [108, 276], ToolsMenu = [20, 310], ChooseSkinItem = [40, 224];

async function tap(page, point) {
  const at = await pagePoint(page, point);
  await page.mouse.click(at.x, at.y);
  await settled(page);
}

// Menus and dialogs are the program's resources, translated like its messages.
test('the Tools menu is in the page\'s language', async () => {
  const menus = [];
  for (const locale of ['en-US', 'ja-JP']) {
    const context = await browser.newContext({ locale });
    const page = await openCalculator(context, server.url);
    await tap(page, ToolsMenu);
    menus.push(await page.evaluate(() => Array.from(document.getElementById('screen').getContext('2d')
      .getImageData(0, 200, 120, 100).data)));
    await context.close();
  }
  assert.ok(differingPixels(menus[0], menus[1]) > 0, 'the English and Japanese menus look the same');
});

// Picked with the "Add a skin" button, or dropped on the page: a copy of midnight as night.skn
// with its images and sounds.
async function addNight(page, way) {
  const folder = join(build, 'skin', 'midnight');
  const picked = join(mkdtempSync(join(tmpdir(), 'numbrix-web-')), 'night.skn');
  writeFileSync(picked, readFileSync(skinFile('midnight')));
  const files = [picked, ...readdirSync(folder).map(name => join(folder, name))];
  if (way === 'picked') return page.setInputFiles('#pick-files', files);
  const transfer = await page.evaluateHandle(files => {
    const transfer = new DataTransfer();
    for (const [name, base64] of files)
      transfer.items.add(new File([Uint8Array.from(atob(base64), c => c.charCodeAt(0))], name));
    return transfer;
  }, files.map(file => [file.split('/').pop(), readFileSync(file).toString('base64')]));
  await page.dispatchEvent('#stage', 'drop', { dataTransfer: transfer });
}

for (const way of ['picked', 'dropped']) {
  test(`a ${way} skin is listed by the skin dialog, chosen there, and kept for later visits`, async () => {
    const context = await browser.newContext({ viewport: { width: 500, height: 760 } });
    const page = await openCalculator(context, server.url);
    await addNight(page, way);
    await page.waitForFunction(() => Module.FS.analyzePath('/numbrix/skin/night/parts.bmp').exists);
    for (const point of [ToolsMenu, ChooseSkinItem, ListRow(2), OkButton]) await tap(page, point);
    const midnight = await renderedFace(page, skinFile('midnight'), '');
    assert.equal(differingPixels(await canvasFace(page), midnight), 0);
    await page.goto('about:blank');
    await page.goto(server.url);
    await settled(page);
    assert.equal(differingPixels(await canvasFace(page), midnight), 0);
    await context.close();
  });
}
