// The console's panel view in Debian's Chromium against the native tool:
// the example aircraft's gauges drawn where panel.cfg puts them, clicked
// with the mouse, heard in the rendering, and the session replayed by
// `run --panel` with the same log.
//   node console_panel_test.js TOOL ROOT OUT_DIR [SCREENSHOT.png]
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, until, stereoFloats, sideLevels, runCases, replayRecorded} = require('./console_session');

const [tool, exampleRoot, out, screenshot] = process.argv.slice(2);
// A copy of the example, with an image for the chime button: a 40x40 BMP,
// black down its left edge.
const root = path.join(out, 'root');
fs.rmSync(root, {recursive: true, force: true});
fs.cpSync(exampleRoot, root, {recursive: true});
const bmp = Buffer.alloc(54 + 40 * 40 * 3, 0xc0);
bmp.fill(0, 0, 54);
bmp.write('BM', 0);
[[2, bmp.length], [10, 54], [14, 40], [18, 40], [22, 40], [26, 1 + (24 << 16)]].forEach(([at, v]) => bmp.writeUInt32LE(v, at));
for (let row = 0; row < 40; ++row) bmp.fill(0, 54 + row * 120, 54 + row * 120 + 18);
fs.writeFileSync(path.join(root, 'Aircraft/Cabin/panel/Cabin/chime_button.bmp'), bmp);
// and on the door panel a button that counts while it is held (Repeat="Yes").
fs.writeFileSync(path.join(root, 'Aircraft/Cabin/panel/Cabin/counter.xml'), `<Gauge Name="counter" Version="1.0">
  <Mouse><Area Left="0" Top="0" Width="20" Height="20"><Tooltip>Count</Tooltip>
    <Click Repeat="Yes">(L:held_count, number) 1 + (&gt;L:held_count, number)</Click></Area></Mouse>
</Gauge>`);
fs.appendFileSync(path.join(root, 'Aircraft/Cabin/panel/panel.cfg'), '\ngauge02=Cabin!counter, 110,10,20,20\n');
const render = path.join(out, 'console_panel.wav');
const record = path.join(out, 'console_panel_session.txt');
const session = new ConsoleSession([tool, 'console', '--panel', 'Aircraft/Cabin/panel/panel.cfg',
  '--no-browser', '--render', render, '--record', record], {}, root);
let page;

const text = async (selector) => (await page.textContent(selector)).trim();
const shows = (selector, wanted) => until(`${selector} showing ${wanted}`, async () => (await text(selector)) === wanted);
// The example's gauges and areas by their indexes in panel.cfg's order.
const battery = '#area-4-1', chime = '#area-0-1';
const soundState = (variable) => `#sounds tr[data-variable=${variable}] .state`;
let relayFrame = null;

async function setAircraft(name, value) {
  const row = page.locator('#aircraft tr', {hasText: name});
  await row.locator('input').evaluate((input, v) => {
    input.value = v;
    input.dispatchEvent(new Event('change'));
  }, value);
  await until(`${name} at ${value}`, async () => Number(await row.locator('.value').textContent()) === value);
}

const cases = [
  ['the window shown fills most of a 1920 page, the windows are tabs with their switches, areas where drawn', async () => {
    page = await session.open();
    await page.setViewportSize({width: 1920, height: 1200});
    await page.waitForSelector(battery);
    assert.deepStrictEqual([await page.isChecked('#window-0-open'), await page.isChecked('#window-1-open')], [true, false]);
    assert.match(await text('#window-1 .window-title'), /Door Attendant Panel \(Window01, ident 10101\)/);
    // Window00 is 480 wide, drawn across the view: gauge04 at 190,10, its area 30x40.
    const stage = await page.locator('#stage').boundingBox();
    assert.ok(stage.width >= 0.6 * 1920, `the view is ${stage.width} pixels wide`);
    const scale = stage.width / 480;
    await until('the battery area where it is drawn', async () => {
      const box = await page.locator(battery).boundingBox();
      return [[box.x - stage.x, 190], [box.y - stage.y, 10], [box.width, 30], [box.height, 40]]
        .every(([got, wanted]) => Math.abs(got - wanted * scale) < 1);
    });
    assert.strictEqual(await page.$eval(battery, (area) => getComputedStyle(area).cursor), 'pointer');  // Cursor Hand
    assert.strictEqual(await page.isVisible(`${battery} .tooltip`), false);
    await page.hover(battery);
    assert.strictEqual(await text(`${battery} .tooltip`), 'Master battery');
  }],
  ['a click on the battery switch sends its event, the relay plays and the page lists both', async () => {
    await page.click(battery);
    await until('the battery on', async () => (await text('#aircraft tr:first-child .value')) === '1');
    await until('the event listed', async () => /TOGGLE_MASTER_BATTERY 0 {2}by Cabin!battery_switch, .*battery_switch\.xml:29$/
        .test(await text('#events-sent li:first-child')));
    const relay = await until('the relay written', () =>
      [...session.output.matchAll(/^\s*(\d+)\s+\S+\s+cabin_relay\s+0 -> 1 /gm)].pop());
    relayFrame = Number(relay[1]);
    assert.match(await text('#lvar-battery_was_on .writer'), /^Cabin!battery_switch, .*battery_switch\.xml:23$/);
  }],
  ['the press-and-hold chime sends LeftSingle on the press and Leave on letting go', async () => {
    await page.hover(chime);
    await page.mouse.down();
    await shows('#lvar-chime_button_held .value', '1');
    await shows(soundState('cabin_chime'), 'playing once');
    await page.mouse.up();
    await shows('#lvar-chime_button_held .value', '0');
    const steps = await until('the Leave logged', () => {
      const last = session.steps().slice(-2).map((s) => s.text);
      return /as Leave$/.test(last[1]) && last;
    });
    assert.deepStrictEqual(steps, ['click Cabin!chime_button #1', 'click Cabin!chime_button #1 as Leave']);
  }],
  ['closing a window stops its gauges; moving EXIT OPEN then plays the door sounds once it is open', async () => {
    await page.uncheck('#window-0-open');
    await until('Window00 closed', () => page.$('#window-0.closed'));
    const frame = (await session.state()).frame;
    await setAircraft('EXIT OPEN', 100);
    await until('a few frames', async () => (await session.state()).frame > frame + 6);
    assert.strictEqual(await text('#lvar-cabin_door_open .value'), '0');
    await page.check('#window-0-open');
    await shows(soundState('cabin_door_open'), 'playing once');
    if (screenshot) await page.screenshot({path: screenshot, fullPage: true});
    await setAircraft('EXIT OPEN', 0);
    await shows(soundState('cabin_door_close'), 'playing once');
  }],
  ['a Repeat="Yes" area clicks again while the button is held, and no more once let go', async () => {
    await page.check('#window-1-open');
    await page.hover('#area-12-1');
    await page.mouse.down();
    await until('three clicks', async () => Number(await text('#lvar-held_count .value')) >= 3);
    await page.mouse.up();
    // Every click sent is answered, then carried out by the frame after.
    await until('the clicks answered', () => page.evaluate(() => actionsInFlight === 0));
    const frame = (await session.state()).frame;
    await until('the next frames', async () => (await session.state()).frame > frame + 1);
    const clicks = session.steps().filter((step) => /^click (Window01\/)?Cabin!counter #1$/.test(step.text)).length;
    await until(`the count at ${clicks} clicks`, async () => Number(await text('#lvar-held_count .value')) === clicks);
    const count = clicks;
    await until('a few frames', async () => (await session.state()).frame > frame + 8);
    assert.strictEqual(Number(await text('#lvar-held_count .value')), count);
    await page.uncheck('#window-1-open');
  }],
  ['areas are named by indexes only, a closed window\'s are refused, and the policy blocked nothing', async () => {
    const click = (body, more = {}) => session.request({method: 'POST', path: '/api/action', body: JSON.stringify(body), ...more});
    assert.strictEqual((await click({do: 'click', gauge: 10, area: 1, kind: 'LeftSingle'})).status, 400);
    assert.strictEqual((await click({do: 'click', gauge: 4, area: 1, kind: 'RightSingle'})).status, 400);
    assert.strictEqual((await click({do: 'click', gauge: 4, area: 1, kind: 'LeftSingle'}, {token: null})).status, 403);
    assert.strictEqual((await session.request({path: '/gauge-image?image=0', token: null})).status, 403);
    for (const image of ['../panel.cfg', '99999', '-1']) {
      assert.strictEqual((await session.request({path: `/gauge-image?image=${image}`})).status, 404);
    }
    assert.deepStrictEqual(session.pageErrors, []);
  }],
];

async function afterQuit() {
  await session.quit();
  // The relay, a click of 60 ms, is heard from the frame the battery switch
  // wrote it in.
  const samples = stereoFloats(render);
  const [left] = sideLevels(samples, relayFrame / 18, relayFrame / 18 + 0.05);
  assert.ok(left > -60, `the relay at ${left} dB`);
  console.log(`ok    the relay heard in the rendering at ${left.toFixed(1)} dB`);
  const replayed = replayRecorded(tool, record, path.join(out, 'elsewhere'));
  const logLines = (output) => output.split('\n').filter((line) => /^\s*\d+\s+\S+\s+\S+\s+(\S+ -> \S+|sent) /.test(line));
  assert.deepStrictEqual(logLines(replayed), logLines(session.output));
  console.log(`ok    the recorded session replayed by run --panel logs the same ${logLines(replayed).length} lines`);
}

runCases(cases, afterQuit);
