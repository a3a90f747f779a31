// The console page: shows the state the tool sends after each frame and
// turns clicks into actions, which the tool carries out at its next frame.
// It keeps no state of the panel's own: everything shown comes from the tool.
'use strict';

const token = new URLSearchParams(location.search).get('token');
const $ = (id) => document.getElementById(id);
const SVG = 'http://www.w3.org/2000/svg';
const WINDOW = 30;  // seconds of timeline shown

let state = null;  // the last frame's state
let panel = null;  // the panel's facts, sent with the first state
let past = null;   // the timeline's ended items of the stretch drawn, oldest first
let rows = [];
let ended = false;

function post(path, body) {
  return fetch(`${path}?token=${token}`, {
    method: 'POST', headers: {'Content-Type': 'application/json'}, body: JSON.stringify(body || {}),
  });
}

let actionsInFlight = 0;  // sent, not yet answered: read by the tests and the click bench
// Each action is sent once the one before it is answered: requests in flight
// together may reach the tool in another order (a drag's last point before
// an earlier one), and the tool carries out the steps in the order it gets them.
let lastAction = Promise.resolve();

function act(action) {
  if (ended) return;
  ++actionsInFlight;
  lastAction = lastAction.then(() => post('/api/action', action)).catch(() => {})
      .finally(() => --actionsInFlight);
}

// Shows the XML that writes a command: the number comes from the tool, which
// encodes it as the module decodes it. Only the latest answer is shown.
let commandShown = 0;
async function showCommandXml(code, pan, variable) {
  const asked = ++commandShown;
  const response = await post('/api/command', {code, pan});
  const value = (await response.text()).trim();
  if (response.ok && asked === commandShown) showCommand(xml(value, variable));
}

function xml(value, variable) {
  return `${value} (>L:${variable}, number)`;
}

function showCommand(text) {
  $('xml').textContent = text;
  $('copied').hidden = true;
}

// -10000 is the left side only, 10000 the right side only; the other side
// is turned down by the pan's magnitude.
function panText(pan) {
  if (pan === 0) return 'centre';
  const db = (Math.abs(pan) / 100).toFixed(1);
  return pan < 0 ? `left; right ${db} dB down` : `right; left ${db} dB down`;
}

function cell(row, className) {
  const td = row.insertCell();
  if (className) td.className = className;
  return td;
}

function button(parent, text, title, onClick, onHover) {
  const b = document.createElement('button');
  b.textContent = text;
  b.title = title;
  b.addEventListener('click', onClick);
  b.addEventListener('mouseenter', onHover);
  b.addEventListener('focus', onHover);
  parent.appendChild(b);
  return b;
}

function slider(parent, min, max, step, value, name) {
  const input = document.createElement('input');
  Object.assign(input, {type: 'range', min, max, step, value, name});
  parent.appendChild(input);
  const text = document.createElement('span');
  text.className = 'slider-text';
  parent.appendChild(text);
  return [input, text];
}

function buildRows(sounds) {
  const body = $('sounds').tBodies[0];
  rows = sounds.map((sound, index) => {
    const tr = body.insertRow();
    tr.id = `sound-${String(index).padStart(2, '0')}`;
    tr.dataset.variable = sound.variable;
    cell(tr).textContent = String(index).padStart(2, '0');
    cell(tr, 'variable').textContent = sound.variable;
    const file = cell(tr, 'file');
    file.append(sound.file);
    const reading = document.createElement('div');
    reading.className = 'reading';
    reading.textContent = sound.reading;
    file.appendChild(reading);
    for (const problem of sound.problems) {
      const p = document.createElement('div');
      p.className = 'problem';
      p.textContent = problem;
      file.appendChild(p);
    }
    const stateCell = cell(tr);
    const badge = document.createElement('span');
    stateCell.appendChild(badge);
    const value = cell(tr, 'value');

    const play = cell(tr, 'play');
    const panCell = cell(tr, 'pan');
    const [pan, panLabel] = slider(panCell, -10000, 10000, 100, 0, 'pan');
    const showPan = () => { panLabel.textContent = `${pan.value}: ${panText(Number(pan.value))}`; };
    showPan();
    const send = (code) => () => act({do: 'command', sound: index, code, pan: Number(pan.value)});
    const shown = (code) => () => showCommandXml(code, Number(pan.value), sound.variable);
    button(play, 'Play once', 'code 1', send(1), shown(1));
    button(play, 'Loop', 'code 2', send(2), shown(2));
    button(play, 'Stop', 'code 0', send(0), shown(0));
    pan.addEventListener('input', () => { showPan(); shown(1)(); });

    const volumeCell = cell(tr, 'volume');
    const [volume, volumeLabel] = slider(volumeCell, 0, 100, 1, sound.volume, 'volume');
    const showVolume = () => { volumeLabel.textContent = `${volume.value} %`; };
    showVolume();
    const volumeXml = () => showCommand(
        `${volume.value} (>L:zeb_xml_sound_volume, number) ${xml(3, sound.variable)}`);
    volume.addEventListener('input', () => { showVolume(); volumeXml(); });
    volume.addEventListener('change', () => act({do: 'volume', sound: index, percent: Number(volume.value)}));
    button(volumeCell, 'Set', 'code 3: the sound takes zeb_xml_sound_volume',
        () => act({do: 'volume', sound: index, percent: Number(volume.value)}), volumeXml);
    button(volumeCell, 'Read', 'code 4: the module writes the volume into zeb_xml_sound_volume',
        () => act({do: 'read-volume', sound: index}), () => showCommand(xml(4, sound.variable)));
    return {badge, value};
  });
}

function svgElement(parent, name, attributes, text) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  if (text !== undefined) element.textContent = text;
  parent.appendChild(element);
  return element;
}

const SPAN_COLOURS = {
  'playing once': '#2f6fb5', looping: '#2e8b57', missing: '#c0392b',
  on: '#9cc99c', off: '#777', absent: '#ddd',
};

// The lanes of `run --timeline`: the simulator's sound, then one per sound.
function drawTimeline(timeline, sounds) {
  const svg = $('timeline');
  const left = 170, right = 10, top = 22, lane = 24;
  const width = Math.max(svg.clientWidth || 900, 400);
  // A short session fills the width; a long one scrolls under the last 30 s.
  const shown = Math.min(WINDOW, Math.max(10, Math.ceil(timeline.duration / 5) * 5));
  const end = Math.max(timeline.duration, shown);
  const start = end - shown;
  const x = (t) => left + (Math.max(t, start) - start) / shown * (width - left - right);
  svg.replaceChildren();
  const height = top + lane * (sounds.length + 1) + 6;
  svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
  svg.setAttribute('height', height);
  const tick = shown > 10 ? 5 : 1;
  for (let t = Math.ceil(start / tick) * tick; t <= end; t += tick) {
    svgElement(svg, 'line', {x1: x(t), x2: x(t), y1: top - 4, y2: height - 4, stroke: '#eee'});
    svgElement(svg, 'text', {x: x(t) - 8, y: top - 8}, `${t}s`);
  }
  const drawSpans = (row, spans, label) => {
    const y = top + row * lane;
    const g = svgElement(svg, 'g', {class: 'lane', id: row === 0 ? 'lane-simulator-sound' : `lane-${row - 1}`});
    svgElement(g, 'text', {x: 6, y: y + 15}, label);
    svgElement(g, 'line', {x1: left, x2: x(timeline.duration), y1: y + 10, y2: y + 10, stroke: '#ccc'});
    for (const span of spans) {
      if (span.end < start) continue;
      const r = svgElement(g, 'rect', {x: x(span.start), y: y + 2, height: 16, rx: 2,
        width: Math.max(x(span.end) - x(span.start), 1.5), fill: SPAN_COLOURS[span.state] || '#999',
        class: `span ${span.state.replace(' ', '-')}`});
      const details = span.pan !== undefined ? `, pan ${span.pan}${span.volume !== null ? `, ${span.volume} %` : ''}` : '';
      svgElement(r, 'title', {}, `${span.state} ${span.start.toFixed(2)} to ${span.end.toFixed(2)} s${details}`);
    }
    return {g, y};
  };
  drawSpans(0, timeline.simulatorSound, 'simulator sound');
  timeline.lanes.forEach((soundLane, i) => {
    const {g, y} = drawSpans(i + 1, soundLane.spans, sounds[i].variable);
    let free = 0;  // where the last value's text ends: values written close together share it
    for (const mark of soundLane.values) {
      if (mark.time < start || x(mark.time) < free) continue;
      free = x(mark.time) + 7 * String(mark.value).length + 6;
      svgElement(g, 'text', {x: x(mark.time) + 2, y: y + 22, fill: mark.byModule ? '#b35c00' : '#444',
        class: 'value'}, String(mark.value)).style.fontSize = '9px';
    }
  });
  for (const t of timeline.stopAll) {
    if (t >= start) svgElement(svg, 'line', {x1: x(t), x2: x(t), y1: top, y2: height - 4, stroke: '#d62728', 'stroke-width': 2, class: 'stop-all'});
  }
}

// The sounds as check found them, shown anew when a save of the INI file
// changed them; the timeline starts over when their variables changed.
function showPanel(before) {
  $('sounds').tBodies[0].replaceChildren();
  $('problems').replaceChildren();
  buildRows(panel.sounds);
  $('ini').textContent = panel.ini;
  $('stop-all-variable').textContent = panel.stopAllVariable;
  for (const problem of panel.problems) {
    const li = document.createElement('li');
    li.textContent = problem;
    $('problems').appendChild(li);
  }
  $('unheard').textContent = panel.unheard;
  $('unheard').hidden = !panel.unheard;
  const variables = (facts) => facts.sounds.map((sound) => sound.variable).concat(facts.stopAllVariable).join();
  if (before && variables(before) === variables(panel)) return;
  past = {lanes: panel.sounds.map(() => ({spans: [], values: []})), simulatorSound: [], stopAll: []};
}

// The tool sends each ended item of the timeline once: the page keeps those
// of the stretch it draws and lets older ones go.
function keepEvents(events, from) {
  for (const e of events) {
    if ('stopAll' in e) past.stopAll.push(e.stopAll);
    else if ('simulatorSound' in e) past.simulatorSound.push(e.simulatorSound);
    else if ('span' in e) past.lanes[e.lane].spans.push(e.span);
    else past.lanes[e.lane].values.push(e.value);
  }
  const forget = (list, time) => {
    let old = 0;
    while (old < list.length && time(list[old]) < from) ++old;
    list.splice(0, old);
  };
  forget(past.stopAll, (t) => t);
  forget(past.simulatorSound, (span) => span.end);
  for (const lane of past.lanes) {
    forget(lane.spans, (span) => span.end);
    forget(lane.values, (mark) => mark.time);
  }
}

// The ended items kept and the spans still open.
function timelineNow(now) {
  const withOpen = (spans, open) => (open ? spans.concat([open]) : spans);
  return {
    duration: now.duration,
    lanes: past.lanes.map((lane, i) => ({spans: withOpen(lane.spans, now.lanes[i]), values: lane.values})),
    simulatorSound: withOpen(past.simulatorSound, now.simulatorSound),
    stopAll: past.stopAll,
  };
}

// Each state holds only the parts that changed since the frame shown: the
// page keeps the rest.
let framesShown = 0;  // for the frame-rate bench

function show(next) {
  ++framesShown;
  state = Object.assign(state || {}, next);
  if (next.panel) {
    const before = panel;
    panel = next.panel;
    const sounds = (facts) => JSON.stringify([facts.sounds, facts.problems, facts.ini, facts.unheard]);
    if (!before || sounds(before) !== sounds(panel)) showPanel(before);
    if (panel.gauges && !panelView) buildPanelView(panel.gauges);
    else if (panel.gauges) rebuildPanelView(panel.gauges, state);
  }
  keepEvents(next.events, state.timeline.from);
  $('frame').textContent = state.frame;
  $('time').textContent = state.time.toFixed(2);
  state.sounds.forEach((sound, i) => {
    rows[i].badge.textContent = sound.state;
    rows[i].badge.className = `state ${sound.state.replace(' ', '-')}`;
    rows[i].value.textContent = sound.value;
  });
  $('stop-all-value').textContent = state.stopAll;
  for (const [name, value] of Object.entries(state.status)) $(`status-${name}`).textContent = value;
  $('sound-state').textContent = state.simulator.soundOn ? 'on' : 'off';
  $('sound-switch').textContent = state.simulator.soundOn ? 'Switch it off' : 'Switch it on';
  $('global-dll').textContent = state.simulator.globalDll ? 'present' : 'absent';
  $('load-global').hidden = state.simulator.globalDll;
  $('steps').textContent = state.steps === 1 ? '1 step' : `${state.steps || 'No'} steps`;
  drawTimeline(timelineNow(state.timeline), panel.sounds);
  showPanelView(next, state);
  if (next.reloads) showReloads(next.reloads);
}

// The saves the tool took, newest first, each with what it reloaded and what
// check found in the new files; the gauges a new one changed flash.
let reloadsSeen = 0;
function showReloads(reloads) {
  $('reloads-box').hidden = reloads.length === 0;
  const list = $('reloads');
  list.replaceChildren();
  for (const reload of reloads.slice().reverse()) {
    const li = document.createElement('li');
    li.className = reload.reloaded.some((r) => r.startsWith('nothing') || r.includes('kept as it was')) ? 'kept-out' : '';
    const when = document.createElement('b');
    when.textContent = `${reload.time.toFixed(2)} s`;
    li.append(when, ` saved ${reload.saved.join(', ')}: ${reload.reloaded.join('; ')}`);
    if (reload.findings.length) {
      const findings = document.createElement('ul');
      for (const finding of reload.findings) {
        const item = document.createElement('li');
        item.className = 'finding';
        item.textContent = finding;
        findings.appendChild(item);
      }
      li.appendChild(findings);
    }
    list.appendChild(li);
  }
  const fresh = reloads.filter((r) => r.time > reloadsSeen);
  if (fresh.length) reloadsSeen = fresh[fresh.length - 1].time;
  for (const reload of fresh) flashGauges(reload.gauges);
}

function end() {
  ended = true;
  $('ended').hidden = false;
  for (const b of document.querySelectorAll('button, input')) b.disabled = true;
}

// A long poll: the tool answers as soon as the frame after the one shown is
// done, with what the frames since the one shown added.
async function follow() {
  let failures = 0;
  while (!ended) {
    const after = state ? state.frame : -1;
    try {
      const response = await fetch(`/api/state?token=${token}&after=${after}`);
      if (response.status === 410) break;
      if (response.ok) {
        const next = await response.json();
        if (next.frame >= 0) show(next);  // before the first frame there is nothing to show
        failures = 0;
        continue;
      }
    } catch (e) {
      // The tool has gone away.
    }
    if (++failures > 3) break;
    await new Promise((resolve) => setTimeout(resolve, 300));
  }
  end();
}

async function showScript() {
  const text = await (await post('/api/script')).text();
  $('script').textContent = text;
  $('script').hidden = false;
  const link = $('save-script');
  if (link.href) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
  link.hidden = false;
}

async function copyCommand() {
  const text = $('xml').textContent;
  try {
    await navigator.clipboard.writeText(text);
  } catch (e) {
    const range = document.createRange();
    range.selectNodeContents($('xml'));
    getSelection().removeAllRanges();
    getSelection().addRange(range);
    document.execCommand('copy');
  }
  $('copied').hidden = false;
}

$('stop-all').addEventListener('click', () => act({do: 'stop-all'}));
$('stop-all').addEventListener('mouseenter', () => panel && showCommand(xml(1, panel.stopAllVariable)));
$('sound-switch').addEventListener('click', () => state && act({do: 'sound', on: !state.simulator.soundOn}));
$('load-global').addEventListener('click', () => act({do: 'load-global'}));
$('quit').addEventListener('click', () => { act({do: 'quit'}); end(); });
$('show-script').addEventListener('click', showScript);
$('copy').addEventListener('click', copyCommand);
follow();
