// The Windows tool serves the same console under Wine with the real
// Vorlanex_sound.gau and the example aircraft's gauges: the page loads in
// Chromium, and a click on a sound's button and one on the drawn chime button
// play through Wine's DirectSound, heard in what the sound server recorded.
// Saves of a gauge and of the INI file are taken while it runs, the module
// unloaded and loaded again for the INI.
//   node console_wine_test.js EMULATOR TOOL.exe MODULE.gau ROOT OUT_DIR
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const {ConsoleSession, stereoFloats, sideLevels, runCases, until} = require('./console_session');

const [emulator, tool, gauge, exampleRoot, out] = process.argv.slice(2);
fs.mkdirSync(out, {recursive: true});
// A copy of the example, which the test saves files into.
const root = path.join(out, 'root');
fs.rmSync(root, {recursive: true, force: true});
fs.cpSync(exampleRoot, root, {recursive: true});
const recording = path.join(out, 'console_wine.raw');
const session = new ConsoleSession([emulator, tool, 'console', '--panel', 'Aircraft/Cabin/panel/panel.cfg',
  '--no-browser', '--module', gauge], {VORLANEX_AUDIO_FILE: recording}, root);
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
  ['the drawn battery switch and chime button play the chime', async () => {
    await page.click('#area-4-1');
    await until('the battery on', async () => (await page.textContent('#aircraft tr:first-child .value')) === '1');
    await page.hover('#area-0-1');
    await page.mouse.down();
    await page.mouse.up();
    await until('the chime playing', async () => (await page.textContent('#sound-00 .state')) === 'playing once');
    await until('the chime ended', async () => (await page.textContent('#sound-00 .state')) === 'idle');
    assert.ok(session.steps().some((step) => step.text === 'click Cabin!chime_button #1 as Leave'));
  }],
  ['a gauge saved is compiled again; the INI saved loads the module again, which plays', async () => {
    const chime = path.join(root, 'Aircraft/Cabin/panel/Cabin/chime_button.xml');
    fs.writeFileSync(chime, fs.readFileSync(chime, 'latin1').replace('<Element>',
      '<Update>5 (&gt;L:reload_mark, number)</Update>\n  <Element>'), 'latin1');
    await until('the gauge compiled again', () => /Cabin!chime_button \(Window00\) compiled again/.test(session.output));
    await until('its new script running', async () => (await page.textContent('#lvar-reload_mark .value')).trim() === '5');
    const ini = path.join(root, 'Gauges/cabin_sounds.ini');
    fs.writeFileSync(ini, fs.readFileSync(ini, 'latin1').replace('relay.wav,75', 'relay.wav,70'), 'latin1');
    await until('the module set up again', () => /the module taken down and set up again/.test(session.output));
    const relayEnds = () => (session.output.match(/cabin_relay\s+1 -> 0/g) || []).length;
    const before = relayEnds();
    await page.click('#sound-06 button:text("Play once")');
    await until('the relay played to its end by the module loaded again', () => relayEnds() > before);
  }],
], async () => {
  await session.quit();
  // The chime is about a second long: the recording holds two seconds far
  // above silence (the relay's click is too short to count), and the rest
  // near it.
  const samples = stereoFloats(recording, true);
  const seconds = samples.length / 2 / 48000;
  const loud = [];
  for (let t = 0; t + 0.1 <= seconds; t += 0.1) loud.push(sideLevels(samples, t, t + 0.1)[0] > -40);
  const heard = loud.filter(Boolean).length / 10;
  assert.ok(heard >= 1.5 && heard <= 2.5, `${heard} s heard in ${seconds.toFixed(1)} s recorded`);
  console.log(`ok    both chimes heard through DirectSound: ${heard.toFixed(1)} s of the ${seconds.toFixed(1)} s recorded`);
});
