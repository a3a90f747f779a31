// The Windows tool serves the same console under Wine with the real
// Vorlanex_sound.gau: the page loads in Chromium and a click plays through
// Wine's DirectSound, heard in what the sound server recorded.
//   node console_wine_test.js EMULATOR TOOL.exe MODULE.gau ROOT OUT_DIR
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, stereoFloats, sideLevels, runCases, until} = require('./console_session');

const [emulator, tool, gauge, root, out] = process.argv.slice(2);
fs.mkdirSync(out, {recursive: true});
const recording = path.join(out, 'console_wine.raw');
const session = new ConsoleSession([emulator, tool, 'console', './Gauges/cabin_sounds.ini',
  '--root', root, '--no-browser', '--module', gauge], {VORLANEX_AUDIO_FILE: recording});
let page;

runCases([
  ['the Windows tool\'s page loads and a click plays the chime', async () => {
    page = await session.open();
    assert.match(await page.textContent('#sound-00 .file'), /chime\.wav.*22050 Hz/s);
    await page.click('#sound-00 button:text("Play once")');
    await until('the chime playing', async () => (await page.textContent('#sound-00 .state')) === 'playing once');
    await until('the chime ended', async () => (await page.textContent('#sound-00 .state')) === 'idle');
    assert.strictEqual((await page.textContent('#sound-00 .value')).trim(), '0');
  }],
], async () => {
  await session.quit();
  // The chime is about a second long: the recording holds a second far
  // above silence, and the rest near it.
  const samples = stereoFloats(recording, true);
  const seconds = samples.length / 2 / 48000;
  const loud = [];
  for (let t = 0; t + 0.1 <= seconds; t += 0.1) loud.push(sideLevels(samples, t, t + 0.1)[0] > -40);
  const heard = loud.filter(Boolean).length / 10;
  assert.ok(heard >= 0.5 && heard <= 1.5, `${heard} s heard in ${seconds.toFixed(1)} s recorded`);
  console.log(`ok    the chime heard through DirectSound: ${heard.toFixed(1)} s of the ${seconds.toFixed(1)} s recorded`);
});
