// The console in Debian's Chromium against the native tool, whose engine
// renders into a WAV file: what a click does is seen on the page, in the
// tool's log and in the rendering.
//   node console_test.js TOOL ROOT OUT_DIR [SCREENSHOT.png]
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, until, stereoFloats, sideLevels, runCases, replayRecorded} = require('./console_session');

const [tool, root, out, screenshot] = process.argv.slice(2);
fs.mkdirSync(out, {recursive: true});
const ini = './Gauges/cabin_sounds.ini';
const render = path.join(out, 'console.wav');
const record = path.join(out, 'console_session.txt');
const session = new ConsoleSession([tool, 'console', ini, '--root', root, '--no-browser',
  '--render', render, '--record', record]);
let page;

const row = (i) => `#sound-0${i}`;
const text = async (selector) => (await page.textContent(selector)).trim();
const shows = (selector, wanted) => until(`${selector} showing ${wanted}`,
    async () => (await text(selector)) === wanted);
const stepsSoFar = () => session.steps().length;
// The frame the tool carried out the next page step in.
const nextStepFrame = async (before) => (await until('the step in the log',
    () => session.steps()[before])).frame;
const panFrames = {};

async function loopFanWithPan(pan, value) {
  await page.fill(`${row(1)} input[name=pan]`, String(pan));
  await page.hover(`${row(1)} button:text("Loop")`);
  await shows('#xml', `${value} (>L:cabin_fan, number)`);
  const before = stepsSoFar();
  await page.click(`${row(1)} button:text("Loop")`);
  const start = await nextStepFrame(before);
  await shows(`${row(1)} .state`, 'looping');
  await until('half a second of looping', async () => (await session.state()).frame > start + 12);
  await page.click(`${row(1)} button:text("Stop")`);
  await shows(`${row(1)} .state`, 'idle');
  panFrames[pan] = start;
}

const cases = [
  ['the page loads with one row per sound, each with what check says of its file', async () => {
    page = await session.open();
    assert.strictEqual(await page.locator('#sounds tbody tr').count(), 8);
    assert.match(await text(`${row(2)} .file`), /door\.wav.*format tag 3, 2 channels, 44100 Hz/s);
  }],
  ['play once shows the sound playing, then idle with its variable back to 0', async () => {
    await page.click(`${row(0)} button:text("Play once")`);
    await shows(`${row(0)} .state`, 'playing once');
    await shows(`${row(0)} .value`, '1');
    await shows(`${row(0)} .state`, 'idle');
    await shows(`${row(0)} .value`, '0');
    await shows('#status-zeb_volume_played', '100');
  }],
  ['the pan slider gives the pan of the next play', async () => {
    await loopFanWithPan(-2000, '-200002');
    await page.click('#copy');
    await page.waitForSelector('#copied', {state: 'visible'});
    await loopFanWithPan(3000, '300002');
  }],
  ['code 3 takes zeb_xml_sound_volume, code 4 reads a sound\'s volume back', async () => {
    await page.fill(`${row(2)} input[name=volume]`, '40');  // the change sends code 3
    await shows('#status-zeb_xml_sound_volume', '40');
    await page.click(`${row(0)} button:text("Read")`);
    await shows('#status-zeb_xml_sound_volume', '100');
    await page.click(`${row(2)} button:text("Read")`);
    await shows('#status-zeb_xml_sound_volume', '40');
  }],
  ['stop-all stops a loop and the module hands both variables back as 0', async () => {
    await page.click(`${row(1)} button:text("Loop")`);
    await shows(`${row(1)} .state`, 'looping');
    await until('the timeline drawing the loop', () => page.$('#lane-1 rect.looping'));
    if (screenshot) await page.screenshot({path: screenshot, fullPage: true});
    await page.click('#stop-all');
    await shows(`${row(1)} .state`, 'idle');
    await shows(`${row(1)} .value`, '0');
    await shows('#stop-all-value', '0');
    assert.ok(session.writes().some((w) => /cabin_quiet\s+1 -> 0$/.test(w)));
  }],
  ['a page opened anew draws the session\'s last stretch from what the tool kept', async () => {
    await page.reload();
    await page.waitForSelector('#sound-00');
    await until('the loops and the stop-all drawn again',
        async () => (await page.$$('#lane-1 rect.looping')).length >= 3 && await page.$('.stop-all'));
    assert.strictEqual(await page.isHidden('#unheard'), true);  // rendered into a file
  }],
  ['the simulator\'s sound switch reaches the module', async () => {
    await page.click('#sound-switch');
    await shows('#status-zeb_sound_indicator', '0');
    await shows('#sound-state', 'off');
    await page.click('#sound-switch');
    await shows('#status-zeb_sound_indicator', '1');
  }],
  ['the page shows the session as a script, with a link to save it', async () => {
    await page.click('#show-script');
    await until('the script', async () => /at [\d.]+ set cabin_chime 1\n/.test(await text('#script') + '\n'));
    assert.match(await page.getAttribute('#save-script', 'href'), /^blob:/);
    assert.match(await text('#script'), /at [\d.]+ sound off\nat [\d.]+ sound on/);
  }],
  ['requests without the token, with a foreign Host or Origin, or GET actions get 403 and change nothing', async () => {
    const action = JSON.stringify({do: 'set', sound: 0, value: 2});
    const before = (await session.state()).steps;
    const refused = [
      {method: 'POST', path: '/api/action', token: null, body: action},
      {method: 'POST', path: '/api/action', token: '0'.repeat(32), body: action},
      {method: 'POST', path: '/api/action', host: `evil.example:${session.port}`, body: action},
      {method: 'POST', path: '/api/action', host: '127.0.0.1.evil.example', body: action},
      {method: 'POST', path: '/api/action', headers: {Origin: 'http://evil.example'}, body: action},
      {method: 'GET', path: '/api/action'},
      {method: 'GET', path: '/api/script'},
      {method: 'POST', path: '/api/state'},
      {path: '/index.html', token: null},
      {path: '/api/state', host: 'localhost:1'},
    ];
    for (const request of refused) {
      assert.strictEqual((await session.request(request)).status, 403, JSON.stringify(request));
    }
    const frame = (await session.state()).frame;
    await until('a few frames', async () => (await session.state()).frame > frame + 3);
    assert.strictEqual((await session.state()).steps, before);
    assert.strictEqual(await text(`${row(0)} .state`), 'idle');
  }],
  ['the page ran without a script error or anything its security policy blocked', async () => {
    assert.deepStrictEqual(session.pageErrors, []);
  }],
];

async function afterQuit() {
  await session.quit();
  // The rendering: the fan's loop panned 20 dB left, then 30 dB right.
  const samples = stereoFloats(render);
  for (const [pan, frame] of Object.entries(panFrames)) {
    const [left, right] = sideLevels(samples, frame / 18 + 0.1, frame / 18 + 0.6);
    assert.ok(Math.abs(left - right - (-Number(pan) / 100)) < 0.2, `pan ${pan}: left ${left} dB, right ${right} dB`);
  }
  console.log('ok    the pan of each play is heard in the rendering');
  // The session's script, replayed from another folder by the command its
  // heading prints, writes the same variables at the same frames.
  const replayOutput = replayRecorded(tool, record, path.join(out, 'elsewhere'),
      ['--render', path.join(out, 'replay.wav')]);
  const replayed = replayOutput.split('\n').filter((line) => / -> /.test(line) && !/old -> new/.test(line));
  assert.deepStrictEqual(replayed, session.writes());
  console.log(`ok    the recorded session replayed by run writes the same ${replayed.length} values`);

  // A panel started without GLOBAL.DLL, which the page loads; Ctrl-C ends
  // the console as its Quit does, the session still written. It plays on
  // the audio device: on a machine without one, one line of the tool's own
  // says so, and the page too.
  fs.rmSync(record);
  const interrupted = new ConsoleSession([tool, 'console', ini, '--root', root, '--no-browser',
    '--no-global-dll', '--record', record]);
  const unheardPage = await interrupted.open();
  const unheard = (/^Nothing is heard: .*--render FILE\.wav keeps what would be heard\.$/m.exec(interrupted.output) || [''])[0];
  assert.strictEqual((await unheardPage.textContent('#unheard')).trim(), unheard);
  assert.strictEqual(await unheardPage.isHidden('#unheard'), !unheard);
  assert.doesNotMatch(interrupted.output, /jack|ALSA/i);
  const load = {method: 'POST', path: '/api/action', body: JSON.stringify({do: 'load-global'})};
  assert.strictEqual((await interrupted.request(load)).status, 200);
  assert.strictEqual((await interrupted.request(load)).status, 400);  // never twice
  await until('the module seeing GLOBAL.DLL', async () => (await interrupted.state()).status.zeb_sound_indicator === 1);
  interrupted.child.kill('SIGINT');
  assert.strictEqual(await interrupted.exited, 0, interrupted.output);
  await interrupted.browser.close();
  assert.match(fs.readFileSync(record, 'utf8'),
      /^at 0 unload GLOBAL\.DLL\nat [\d.]+ load GLOBAL\.DLL\nat [\d.]+ wait 0 +# frame \d+, the session's last$/m);
  console.log('ok    GLOBAL.DLL loaded through the console; Ctrl-C takes the panel down and writes the session');
  console.log(`ok    the sound device: ${unheard || 'heard'}`);
}

runCases(cases, afterQuit);
