// Starts `vorlanex-panel console` (through the cross build's emulator when
// given) and Debian's Chromium, and reads what the tool prints.
'use strict';
const assert = require('assert');
const {spawn, spawnSync} = require('child_process');
const fs = require('fs');
const http = require('http');
let chromium;
try {
  ({chromium} = require('playwright-core'));
} catch (e) {
  console.error('playwright-core is missing in tests/browser/node_modules: run scripts/install-deps.sh');
  process.exit(1);
}

// Waits for `condition` to give a truthy value; real time meets the tool's
// frames here, so the limit is generous and the wait ends as soon as it holds.
async function until(what, condition, limitMs = 20000) {
  const start = Date.now();
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() - start > limitMs) throw new Error(`gave up waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

class ConsoleSession {
  // `command`: the tool and its arguments, the emulator first when there is
  // one, started in `cwd` (by default here).
  constructor(command, env = {}, cwd = undefined) {
    this.output = '';
    this.child = spawn(command[0], command.slice(1), {
      env: {...process.env, ...env}, cwd, detached: true, stdio: ['ignore', 'pipe', 'pipe']});
    this.child.stdout.on('data', (data) => { this.output += data; });
    this.child.stderr.on('data', (data) => { this.output += data; });
    this.exited = new Promise((resolve) => this.child.on('exit', resolve));
  }

  async started() {
    this.address = await until('the console address',
        () => (/console: (http:\/\/\S+)/.exec(this.output) || [])[1], 60000);
    const url = new URL(this.address);
    this.port = Number(url.port);
    this.token = url.searchParams.get('token');
  }

  async open() {
    await this.started();
    this.browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: [
      '--no-sandbox', '--headless', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync']});
    this.page = await this.browser.newPage({viewport: {width: 1280, height: 900}});
    // Script errors and what the page's security policy blocked.
    this.pageErrors = [];
    this.page.on('pageerror', (e) => this.pageErrors.push(String(e)));
    this.page.on('console', (m) => m.type() === 'error' && this.pageErrors.push(m.text()));
    await this.page.goto(this.address);
    await this.page.waitForSelector('#sound-00');
    return this.page;
  }

  // The page's steps the tool carried out: {frame, text}.
  steps() {
    return [...this.output.matchAll(/^\s*(\d+)\s+\S+\s+page: (.*)$/gm)]
        .map((m) => ({frame: Number(m[1]), text: m[2]}));
  }

  // The module's writes as the tool logs them, the same lines as `run`'s.
  writes() {
    return this.output.split('\n').filter((line) => /^\s*\d+\s+\S+\s+\S+\s+\S+ -> \S+$/.test(line));
  }

  // A request of our own making: {status, body}.
  request({method = 'GET', path, token = this.token, host = `127.0.0.1:${this.port}`, body, headers = {}}) {
    const query = token === null ? '' : `${path.includes('?') ? '&' : '?'}token=${token}`;
    return new Promise((resolve, reject) => {
      const req = http.request({host: '127.0.0.1', port: this.port, method, path: path + query,
        headers: {Host: host, ...headers}}, (res) => {
        let text = '';
        res.on('data', (d) => { text += d; });
        res.on('end', () => resolve({status: res.statusCode, body: text}));
      });
      req.on('error', reject);
      req.end(body);
    });
  }

  async state() {
    return JSON.parse((await this.request({path: '/api/state'})).body);
  }

  // Quits from the page and waits for the tool to let the panel go.
  async quit() {
    if (this.page) await this.page.click('#quit');
    const status = await Promise.race([this.exited, new Promise((r) => setTimeout(r, 30000))]);
    if (this.browser) await this.browser.close();
    if (status === undefined) {
      process.kill(-this.child.pid, 'SIGTERM');
      throw new Error('the console did not end after Quit');
    }
    if (status !== 0) throw new Error(`the console ended with ${status}:\n${this.output}`);
  }
}

// Interleaved float stereo frames of a 32-bit float WAV file, or of a raw
// recording when `raw`.
function stereoFloats(path, raw = false) {
  const bytes = fs.readFileSync(path);
  let offset = 0;
  let size = bytes.length;
  if (!raw) {
    offset = 12;
    while (bytes.toString('ascii', offset, offset + 4) !== 'data') offset += 8 + bytes.readUInt32LE(offset + 4);
    size = bytes.readUInt32LE(offset + 4);
    offset += 8;
  }
  return new Float32Array(bytes.buffer.slice(bytes.byteOffset + offset, bytes.byteOffset + offset + size));
}

// The RMS level of each side, in dB, of frames [from, to) (in seconds at 48 kHz).
function sideLevels(samples, from, to) {
  const sums = [0, 0];
  const first = Math.round(from * 48000), last = Math.min(Math.round(to * 48000), samples.length / 2);
  for (let i = first; i < last; ++i) for (const side of [0, 1]) sums[side] += samples[2 * i + side] ** 2;
  return sums.map((sum) => 10 * Math.log10(sum / Math.max(last - first, 1) + 1e-30));
}

// The `run` command that the recorded script's heading prints, with the
// script for THIS_FILE and the tool's own path, run in `folder`: its output.
function replayRecorded(tool, record, folder, more = []) {
  const printed = fs.readFileSync(record, 'utf8').split('\n')[1].match(/"[^"]*"|[^\s#]+/g)
      .map((word) => (word === 'THIS_FILE' ? record : word.replace(/^"|"$/g, '')));
  assert.deepStrictEqual(printed.slice(0, 2), ['vorlanex-panel', 'run']);
  fs.mkdirSync(folder, {recursive: true});
  const replay = spawnSync(tool, [...printed.slice(1), ...more], {encoding: 'utf8', cwd: folder});
  assert.strictEqual(replay.status, 0, replay.stdout + replay.stderr);
  return replay.stdout;
}

// Runs named cases one after the other, printing each; exits non-zero when
// one fails.
async function runCases(cases, cleanup) {
  let failed = 0;
  for (const [name, test] of cases) {
    try {
      await test();
      console.log(`ok    ${name}`);
    } catch (e) {
      failed += 1;
      console.log(`FAIL  ${name}: ${e.stack || e}`);
    }
  }
  await cleanup().catch((e) => { failed += 1; console.log(`FAIL  cleanup: ${e.stack || e}`); });
  process.exit(failed ? 1 : 0);
}

module.exports = {ConsoleSession, until, stereoFloats, sideLevels, runCases, replayRecorded};
