// Figures of the console page in Debian's headless Chromium against the
// native tool on the example panel, printed, not asserted:
// - how many frames after the frame shown a click is carried out (a sound
//   row's button and a gauge's area);
// - the frames the page shows and the canvas paintings in 30 s at 1920x1200;
// - the bytes of a frame's state sent to the page at rest.
//   node console_bench.js TOOL ROOT [SECONDS]
'use strict';
const {ConsoleSession, until} = require('./console_session');

const [tool, root, seconds = '30'] = process.argv.slice(2);

// The frames between the frame the page showed at a click and the frame the
// tool carried it out in, for `clicks` clicks of `selector`.
async function clickLatency(session, page, selector, pattern, clicks = 10) {
  const frames = [];
  for (let i = 0; i < clicks; ++i) {
    const before = session.steps().filter((s) => pattern.test(s.text)).length;
    const shown = await page.$eval(selector, (target) => {
      target.dispatchEvent(new MouseEvent('mousedown', {button: 0, bubbles: true}));
      document.dispatchEvent(new MouseEvent('mouseup', {button: 0}));
      target.click();
      return state.frame;
    });
    const step = await until('the click carried out', () => session.steps().filter((s) => pattern.test(s.text))[before]);
    frames.push(step.frame - shown);
  }
  frames.sort((a, b) => a - b);
  return `median ${frames[frames.length >> 1]}, worst ${frames[frames.length - 1]} frame(s)`;
}

(async () => {
  const session = new ConsoleSession([tool, 'console', '--panel', 'Aircraft/Cabin/panel/panel.cfg', '--no-browser'], {}, root);
  const page = await session.open();
  await page.setViewportSize({width: 1920, height: 1200});
  await page.waitForSelector('#area-4-1');
  console.log(`click on a sound row's Stop: ${await clickLatency(session, page, '#sound-03 button:text("Stop")', /cabin_seatbelt/)}`);
  console.log(`click on the battery switch's area: ${await clickLatency(session, page, '#area-4-1', /battery_switch/)}`);

  const count = () => page.evaluate(() => [framesShown, framesDrawn, state.frame]);
  const [shown0, drawn0, frame0] = await count();
  await new Promise((resolve) => setTimeout(resolve, Number(seconds) * 1000));
  const [shown1, drawn1, frame1] = await count();
  const rate = (n) => (n / Number(seconds)).toFixed(1);
  console.log(`in ${seconds} s: the tool ran ${frame1 - frame0} frames (${rate(frame1 - frame0)} fps), ` +
    `the page showed ${shown1 - shown0} (${rate(shown1 - shown0)} fps) and painted its canvas ` +
    `${drawn1 - drawn0} times (${rate(drawn1 - drawn0)} fps); target 18`);

  const sizes = [];
  let after = (await session.state()).frame;
  for (let i = 0; i < 50; ++i) {
    const body = (await session.request({path: `/api/state?after=${after}`})).body;
    sizes.push(body.length);
    after = JSON.parse(body).frame;
  }
  sizes.sort((a, b) => a - b);
  console.log(`a frame's state at rest: median ${sizes[sizes.length >> 1]} bytes, largest ${sizes[sizes.length - 1]}; target 2048`);
  console.log(`page errors: ${session.pageErrors.length ? session.pageErrors.join('; ') : 'none'}`);
  await session.quit();
})().catch((e) => { console.error(e); process.exit(1); });
