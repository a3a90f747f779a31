// The panel on the console page's canvas: a dial of the test's own
// (gauges/dial.xml) in a window beside the example's, its bitmaps made here.
//   node console_canvas_test.js TOOL ROOT OUT_DIR
'use strict';
const assert = require('assert');
const {spawnSync} = require('child_process');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, until, runCases} = require('./console_session');

const [tool, exampleRoot, out] = process.argv.slice(2);
const root = path.join(out, 'root');
fs.rmSync(root, {recursive: true, force: true});
fs.cpSync(exampleRoot, root, {recursive: true});
const gauges = path.join(root, 'Aircraft/Cabin/panel/Cabin');
fs.copyFileSync(path.join(__dirname, 'gauges/dial.xml'), path.join(gauges, 'dial.xml'));

// A 24-bit BMP of `width` x `height` whose pixel (x, y) is color(x, y).
function bitmap(name, width, height, color) {
  const stride = Math.ceil(width * 3 / 4) * 4;
  const bytes = Buffer.alloc(54 + stride * height);
  bytes.write('BM', 0);
  [[2, bytes.length], [10, 54], [14, 40], [18, width], [22, height], [26, 1 + (24 << 16)]].forEach(([at, v]) => bytes.writeUInt32LE(v, at));
  for (let i = 0; i < width * height; ++i) bytes.set(color(i % width, Math.floor(i / width)).reverse(), 54 + (height - 1 - Math.floor(i / width)) * stride + (i % width) * 3);
  fs.writeFileSync(path.join(gauges, name), bytes);
}
bitmap('dial_face.bmp', 80, 80, (x, y) => [40 + x, 60 + y * 2, 120]);
bitmap('dial_needle.bmp', 36, 5, () => [240, 240, 200]);
bitmap('dial_off.bmp', 30, 15, (x) => (x < 10 ? [0, 0, 0] : [200, 40, 40]));
bitmap('dial_on.bmp', 30, 15, () => [40, 200, 60]);
fs.appendFileSync(path.join(root, 'Aircraft/Cabin/panel/panel.cfg'), '\n[Window02]\nsize_mm=120,100\nvisible=1\ngauge00=Cabin!dial, 20,10,80,80\n');

const session = new ConsoleSession([tool, 'console', '--panel', 'Aircraft/Cabin/panel/panel.cfg', '--no-browser'], {}, root);
let page;
let dial;  // the dial's index among the panel's gauges
const fetched = [];
const area = (n) => `#area-${dial}-${n}`;
const lvar = async (name) => Number((await page.textContent(`#lvar-${name} .value`)).trim());
const lvarNear = (name, wanted, within = 0.01) => until(`${name} at ${wanted}`, async () => Math.abs((await lvar(name)) - wanted) <= within);

// The canvas's pixels of the stage's rectangle, as RGBA bytes.
const canvasPixels = (x, y, width, height) => page.$eval('#panel-canvas', (canvas, r) => [...canvas.getContext('2d').getImageData(r.x, r.y, r.width, r.height).data], {x, y, width, height});
// Once the page has drawn what it was asked to before.
const drawn = () => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));

// The point of the gauge's (u, v) on the page, from where the area's box is.
async function pagePoint(n, rect, u, v) {
  const box = await page.locator(area(n)).boundingBox();
  return {x: box.x + (u - rect[0]) / rect[2] * box.width, y: box.y + (v - rect[1]) / rect[3] * box.height};
}
const NEEDLE = [0, 0, 80, 40], SWITCH = [0, 40, 80, 40];
async function drag(x0, y0, x1, y1) {
  await page.mouse.move(x0, y0);
  await page.mouse.down();
  await page.mouse.move(x1, y1, {steps: 6});
  await page.mouse.up();
}

// Draws the window at one pixel per unit and gives its pixels with those of
// `snapshot` at the same moment; the page composes transparency over nothing.
async function bothDrawings(night) {
  await page.setChecked('#night', night);
  await page.click('#zoom-one');
  const [value, on] = [await lvar('dial_value'), await lvar('dial_switch')];
  const script = path.join(out, 'moment.txt');
  fs.writeFileSync(script, `at 0 set dial_value ${value}\nat 0 set dial_switch ${on}\nat 0.2 wait 0\n`);
  const png = path.join(out, `snapshot${night ? '-night' : ''}.png`);
  const run = spawnSync(tool, ['snapshot', '--panel', 'Aircraft/Cabin/panel/panel.cfg', '--script', script,
    '--at', '0.2', '--window', 'Window02', '--out', png, ...(night ? ['--night'] : [])], {cwd: root, encoding: 'utf8'});
  assert.strictEqual(run.status, 0, run.stdout + run.stderr);
  await drawn();
  const painted = await page.evaluate(async (bytes) => {  // decoded by the browser: no PNG library here
    const canvas = new OffscreenCanvas(120, 100);
    canvas.getContext('2d').drawImage(await createImageBitmap(new Blob([new Uint8Array(bytes)])), 0, 0);
    return [...canvas.getContext('2d').getImageData(0, 0, 120, 100).data];
  }, [...fs.readFileSync(png)]);
  return {page: await canvasPixels(0, 0, 120, 100), snapshot: painted};
}

// How far two drawings differ: the share of pixels off by more than 48 in
// a channel (alpha included), and the mean difference.
function difference(a, b) {
  const d = a.map((v, i) => Math.abs(v - b[i]));
  const off = d.filter((_, i) => i % 4 === 0 && Math.max(...d.slice(i, i + 4)) > 48).length;
  return {off: off / (a.length / 4), mean: d.reduce((x, y) => x + y, 0) / a.length};
}

const cases = [
  ['the dial\'s window drawn from its display list: images fetched once each, black left undrawn; areas with their cursors, outlined and with their tooltip only under the mouse', async () => {
    page = await session.open();
    page.on('request', (request) => /gauge-image/.test(request.url()) && fetched.push(new URL(request.url()).searchParams.get('image')));
    await page.setViewportSize({width: 1920, height: 1200});
    await page.click('.window-title:has-text("Window02")');
    dial = await page.$eval('#areas .area', (box) => Number(box.id.split('-')[1]));
    await page.click('#zoom-one');
    // The face at the window's (22, 12): its pixel (2, 2).
    await until('the face drawn', async () => (await canvasPixels(22, 12, 1, 1)).join() === [42, 64, 120, 255].join());
    // The off image's black columns show the face under them; its others are drawn.
    assert.deepStrictEqual(await canvasPixels(20 + 27, 10 + 65, 1, 1), [40 + 27, 60 + 130, 120, 255]);
    assert.deepStrictEqual(await canvasPixels(20 + 45, 10 + 65, 1, 1), [200, 40, 40, 255]);
    assert.deepStrictEqual(fetched.slice().sort(), [...new Set(fetched)].sort());
    assert.deepStrictEqual(await page.$$eval('#areas .area', (boxes) => boxes.map((b) => getComputedStyle(b).cursor)), ['n-resize', 'pointer']);
    // An area is outlined and its tooltip shown only under the mouse.
    const outline = () => page.$eval(area(2), (box) => getComputedStyle(box).borderTopColor);
    await page.mouse.move(5, 5);
    assert.strictEqual(await outline(), 'rgba(0, 0, 0, 0)');
    assert.strictEqual(await page.isVisible(`${area(2)} .tooltip`), false);
    await page.hover(area(2));
    assert.notStrictEqual(await outline(), 'rgba(0, 0, 0, 0)');
    assert.strictEqual((await page.textContent(`${area(2)} .tooltip`)).trim(), 'Switch at 0');  // its gauge string formatted
  }],
  ['zoomed and panned, the switch is drawn where its area takes the click', async () => {
    await page.click('#zoom-fit');
    await page.click('#zoom-out');
    const stage = await page.locator('#stage').boundingBox();
    await drag(stage.x + 5, stage.y + 5, stage.x + 45, stage.y + 25);  // left of the dial: nothing there, the drag pans
    await page.click('#zoom-in');
    await drawn();
    for (const on of [1, 0]) {
      const point = await pagePoint(2, SWITCH, 45, 67);
      const image = (on ? [200, 40, 40, 255] : [40, 200, 60, 255]).join();  // the image fetched at its first showing
      await until(`the switch's image at ${image}`, async () => (await canvasPixels(point.x - stage.x, point.y - stage.y, 1, 1)).join() === image);
      await page.mouse.click(point.x, point.y);
      await lvarNear('dial_switch', on);
    }
  }],
  ['a drag on the needle\'s area sends LeftDrag with (M:X) and (M:Y) where the mouse is', async () => {
    const from = await pagePoint(1, NEEDLE, 10, 10);
    const to = await pagePoint(1, NEEDLE, 30, 25);
    await drag(from.x, from.y, to.x, to.y);
    await lvarNear('dial_x', 30, 0.5);
    await lvarNear('dial_y', 25, 0.5);
    assert.match(session.steps().map((s) => s.text).join('\n'), /^click Cabin!dial at [\d.]+,[\d.]+ as LeftDrag$/m);
  }],
  ['the wheel over the switch sends WheelUp and WheelDown; elsewhere it zooms', async () => {
    const value = await lvar('dial_value');
    await page.hover(area(2));
    for (const [delta, wanted] of [[-100, value + 10], [100, value], [100, value - 10], [-100, value]]) {
      await page.mouse.wheel(0, delta);
      await lvarNear('dial_value', wanted);
    }
    const before = (await page.locator(area(2)).boundingBox()).width;
    const stage = await page.locator('#stage').boundingBox();
    await page.mouse.move(stage.x + 3, stage.y + stage.height - 3);
    await page.mouse.wheel(0, -100);
    await until('zoomed in', async () => (await page.locator(area(2)).boundingBox()).width > before * 1.2);
  }],
  ['the page draws the moment as snapshot does, by day and by night', async () => {
    for (const night of [false, true]) {
      const {page: drawn, snapshot} = await bothDrawings(night);
      const {off, mean} = difference(drawn, snapshot);
      console.log(`      ${night ? 'night' : 'day'}: ${(off * 100).toFixed(2)} % of pixels off by more than 48, mean difference ${mean.toFixed(2)}`);
      // Tolerance: the needle's edges, smoothed by Chromium, cut at pixel centres by the painter.
      assert.ok(off <= 0.01 && mean <= 2, `${off} of the pixels differ, ${mean} on average`);
      // The readout, its box at the window's (24, 14), 34 x 14: the same glyphs, smoothed apart.
      const box = (pixels) => pixels.filter((_, i) => (i >> 2) % 120 >= 24 && (i >> 2) % 120 < 58 && (i >> 2) / 120 >= 14 && (i >> 2) / 120 < 28);
      const text = difference(box(drawn), box(snapshot));
      console.log(`      the readout: mean difference ${text.mean.toFixed(2)}`);
      assert.ok(text.mean <= 8, `the readout differs by ${text.mean} on average`);  // undrawn, it would by 20.7
    }
    // Night dims the face as the painter does.
    const {page: drawn} = await bothDrawings(true);
    assert.deepStrictEqual(drawn.slice((12 * 120 + 22) * 4, (12 * 120 + 22) * 4 + 4), [13, 19, 36, 255]);
  }],
  ['no page errors, nothing the security policy blocked', async () => assert.deepStrictEqual(session.pageErrors, [])],
];

runCases(cases, () => session.quit());
