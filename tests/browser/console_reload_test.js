// Saves taken while the page is open: a gauge edited, a broken save kept
// out, panel.cfg given another window; the page keeps its state throughout.
//   node console_reload_test.js TOOL ROOT OUT_DIR
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, until, runCases} = require('./console_session');

const [tool, exampleRoot, out] = process.argv.slice(2);
const root = path.join(out, 'root');
fs.rmSync(root, {recursive: true, force: true});
fs.cpSync(exampleRoot, root, {recursive: true});
const chimeFile = path.join(root, 'Aircraft/Cabin/panel/Cabin/chime_button.xml');
const panelFile = path.join(root, 'Aircraft/Cabin/panel/panel.cfg');
const chimeXml = fs.readFileSync(chimeFile, 'latin1');

const session = new ConsoleSession([tool, 'console', '--panel', 'Aircraft/Cabin/panel/panel.cfg', '--no-browser'], {}, root);
let page;
const text = async (selector) => (await page.textContent(selector)).trim();
const shows = (selector, wanted) => until(`${selector} showing ${wanted}`, async () => (await text(selector)) === wanted);
const reloadLine = (pattern) => until(`a reload line matching ${pattern}`, async () =>
  (await page.$$eval('#reloads > li', (lines) => lines.map((l) => l.textContent))).find((l) => pattern.test(l)));

const cases = [
  ['an edited gauge runs its new script, its reload listed with the gauge flashed, the page as it was', async () => {
    page = await session.open();
    await page.click('#area-4-1');  // the battery switch: a step
    await page.click('#window-1-open');
    await until('the door window open', () => page.isChecked('#window-1-open'));
    await shows('#steps', '2 steps');
    await page.click('#window-0 .window-title');
    const flashed = page.waitForSelector('.area.flash', {state: 'attached'});
    fs.writeFileSync(chimeFile, chimeXml.replace('<Element>', '<Update>7 (&gt;L:reload_mark, number)</Update>\n  <Element>'), 'latin1');
    const line = await reloadLine(/chime_button\.xml.*Cabin!chime_button \(Window00\) compiled again/);
    assert.doesNotMatch(line, /nothing/);
    await shows('#lvar-reload_mark .value', '7');
    await flashed;
    assert.strictEqual(await page.isChecked('#window-1-open'), true);
    assert.strictEqual(await text('#steps'), '2 steps');
  }],
  ['a save cut short is kept out with its finding at file:line; the next good save applies', async () => {
    fs.writeFileSync(chimeFile, chimeXml.slice(0, 200), 'latin1');
    const line = await reloadLine(/kept as it was/);
    assert.match(line, /chime_button\.xml:\d+: /);
    fs.writeFileSync(chimeFile, chimeXml.replace('<Element>', '<Update>8 (&gt;L:reload_mark, number)</Update>\n  <Element>'), 'latin1');
    await shows('#lvar-reload_mark .value', '8');
  }],
  ['a bitmap saved is decoded again and the page fetches it anew', async () => {
    const folder = path.dirname(chimeFile);
    const fetched = page.waitForRequest(/gauge-image/);
    fs.copyFileSync(path.join(folder, 'chime_button_lit.bmp'), path.join(folder, 'chime_button.bmp'));
    await reloadLine(/chime_button\.bmp.*bitmaps read again/);
    await fetched;
  }],
  ['panel.cfg given a window: the windows are read again and those that stay keep their state', async () => {
    fs.appendFileSync(panelFile, '\n[Window02]\nsize_mm=100\nvisible=1\ngauge00=Cabin!sound_light, 10,10,20,20\n');
    await reloadLine(/panel\.cfg read again: 3 windows/);
    await until('a third window', async () => (await page.$$('.window-title')).length === 3);
    assert.strictEqual(await page.isChecked('#window-1-open'), true);
    assert.match(session.output, /== reloaded at [\d.]+ s: Aircraft\/Cabin\/panel\/panel\.cfg/);
  }],
  ['an INI saved with another WAV for a sound: the page shows its row anew', async () => {
    const ini = path.join(root, 'Gauges/cabin_sounds.ini');
    fs.writeFileSync(ini, fs.readFileSync(ini, 'latin1').replace('Sound00=./Sound/Cabin/chime.wav', 'Sound00=./Sound/Cabin/relay.wav'), 'latin1');
    await reloadLine(/cabin_sounds\.ini.*the module taken down and set up again/);
    await until('the chime row showing relay.wav', async () => /relay\.wav/.test(await text('#sound-00 .file')));
  }],
  ['no page errors', async () => assert.deepStrictEqual(session.pageErrors, [])],
];
runCases(cases, () => session.quit());
