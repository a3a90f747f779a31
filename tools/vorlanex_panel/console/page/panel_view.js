// The panel view: each window of panel.cfg with its gauges drawn where their
// gauge lines place them, their mouse areas clickable, the simulated
// aircraft's variables, the events sent and the panel's L: variables. Like
// the rest of the page it shows only what the tool sends.
'use strict';

const FACE_WIDTH = 400;   // pixels a window is drawn across at most
const ROOMY = 0.8;        // from this scale on, every area's tooltip is written beside it
const PLACED = 4;         // a gauge line smaller than this (1,1) draws nothing: listed instead
const REPEAT_MS = 150;    // how often a held Repeat="Yes" area clicks again

let panelView = null;     // {facts, windows: [...], aircraft: [...]}

function element(parent, tag, attributes = {}, text) {
  const e = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
  if (text !== undefined) e.textContent = text;
  parent.appendChild(e);
  return e;
}

const listensTo = (area, kind) => area.kinds.some((k) => k.toLowerCase() === kind.toLowerCase());

// Pure black is transparent, as the simulator draws gauge images.
function drawImage(box, gauge, index) {
  const image = new Image();
  image.addEventListener('load', () => {
    const canvas = element(box, 'canvas', {class: 'face', width: image.width, height: image.height});
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const pixels = context.getImageData(0, 0, image.width, image.height);
    for (let i = 0; i < pixels.data.length; i += 4) {
      if (!pixels.data[i] && !pixels.data[i + 1] && !pixels.data[i + 2]) pixels.data[i + 3] = 0;
    }
    context.putImageData(pixels, 0, 0);
    box.classList.add('imaged');
  });
  image.src = `/gauge-image?gauge=${index}&token=${token}`;
}

// A press sends the side's Single; holding repeats it where the area asks;
// letting go sends the release kinds and Leave, where the area listens.
function pressArea(areaBox, gaugeIndex, area) {
  const send = (kind) => listensTo(area, kind) && act({do: 'click', gauge: gaugeIndex, area: area.number, kind});
  areaBox.addEventListener('contextmenu', (e) => e.preventDefault());
  areaBox.addEventListener('mousedown', (e) => {
    const side = {0: 'Left', 2: 'Right'}[e.button];
    if (!side) return;
    e.preventDefault();
    send(`${side}Single`);
    const repeat = area.repeat ? setInterval(() => send(`${side}Single`), REPEAT_MS) : null;
    const release = () => {
      clearInterval(repeat);
      document.removeEventListener('mouseup', release);
      send(`${side}Release`);
      send('Leave');
    };
    document.addEventListener('mouseup', release);
  });
}

function drawGauge(face, logic, scale, gauge, index) {
  if (gauge.width < PLACED || gauge.height < PLACED) {
    element(logic, 'span', {class: 'logic-gauge', id: `gauge-${index}`, title: gauge.file}, gauge.name);
    return;
  }
  const box = element(face, 'div', {class: 'gauge', id: `gauge-${index}`, title: `${gauge.name}\n${gauge.file}`});
  Object.assign(box.style, {left: `${gauge.x * scale}px`, top: `${gauge.y * scale}px`,
    width: `${gauge.width * scale}px`, height: `${gauge.height * scale}px`});
  element(box, 'span', {class: 'label'}, gauge.name.replace(/^.*!/, ''));
  if (gauge.image) drawImage(box, gauge, index);
  for (const area of gauge.areas) {
    const areaBox = element(box, 'div', {class: 'area', id: `area-${index}-${area.number}`,
      title: `${area.tooltip || `area #${area.number}`}: ${area.kinds.join('+')}${area.repeat ? ', repeats' : ''}`});
    Object.assign(areaBox.style, {left: `${(area.left - gauge.x) * scale}px`, top: `${(area.top - gauge.y) * scale}px`,
      width: `${area.width * scale}px`, height: `${area.height * scale}px`});
    if (area.tooltip) element(areaBox, 'span', {class: 'tooltip'}, area.tooltip);
    pressArea(areaBox, index, area);
  }
}

function buildWindows(facts) {
  const windows = facts.windows.map((w, index) => {
    const gauges = facts.gauges.map((g, i) => [g, i]).filter(([g]) => g.window === index);
    const width = w.width || Math.max(100, ...gauges.map(([g]) => g.x + g.width));
    const scale = Math.min(1, FACE_WIDTH / width);
    const height = w.height || Math.max(40, ...gauges.map(([g]) => g.y + g.height)) + 10;
    const box = element($('windows'), 'div', {class: 'window', id: `window-${index}`});
    const head = element(box, 'label', {class: 'window-head'});
    const open = element(head, 'input', {type: 'checkbox', id: `window-${index}-open`});
    // Until a frame has carried the switch out, it shows what was asked.
    const shown = {box, open, asked: null};
    open.addEventListener('change', () => {
      shown.asked = open.checked;
      act({do: 'window', window: index, open: open.checked});
    });
    element(head, 'span', {}, `${w.title || w.section} (${w.section}${w.ident ? `, ident ${w.ident}` : ''})`);
    const face = element(box, 'div', {class: 'face-area'});
    Object.assign(face.style, {width: `${width * scale}px`, height: `${height * scale}px`});
    // Drawn small, tooltips show when the mouse is over their area.
    face.classList.toggle('roomy', scale >= ROOMY);
    const logic = element(box, 'div', {class: 'logic'});
    for (const [gauge, i] of gauges) drawGauge(face, logic, scale, gauge, i);
    return shown;
  });
  const loose = facts.gauges.filter((g) => g.window < 0);
  if (loose.length) element($('windows'), 'p', {}, `In no window: ${loose.map((g) => g.name).join(', ')}`);
  return windows;
}

function buildAircraft(facts) {
  return facts.aircraft.map((variable, index) => {
    const tr = $('aircraft').tBodies[0].insertRow();
    tr.id = `aircraft-${index}`;
    tr.insertCell().textContent = variable.name;
    const control = tr.insertCell();
    const shown = tr.insertCell();
    shown.className = 'value';
    const set = (value) => act({do: 'aircraft', variable: index, value});
    let input = null;
    if (variable.control === 'switch') {
      input = element(control, 'input', {type: 'checkbox'});
      input.addEventListener('change', () => set(input.checked ? 1 : 0));
    } else if (variable.control === 'slider') {
      input = element(control, 'input', {type: 'range', min: 0, max: 100, step: 1});
      input.addEventListener('change', () => set(Number(input.value)));
    } else if (variable.control === 'number') {
      input = element(control, 'input', {type: 'number', step: 'any'});
      input.addEventListener('change', () => input.value !== '' && set(Number(input.value)));
    } else {
      control.textContent = 'the clock';
    }
    return {input, shown, control: variable.control};
  });
}

function buildPanelView(facts) {
  $('panel-view').hidden = false;
  panelView = {facts, windows: buildWindows(facts), aircraft: buildAircraft(facts)};
  $('send-event').addEventListener('click', () =>
    act({do: 'event', event: $('event-name').value.trim(), value: Number($('event-value').value) || 0}));
}

// A gauge's file as the log names it, without the simulator's root folder.
function writerText(entry) {
  if (!entry.file) return entry.by || '';
  const root = panelView.facts.root;
  const file = entry.file.startsWith(root) ? entry.file.slice(root.length) : entry.file;
  return `${entry.by}, ${file}:${entry.line}`;
}

function showPanelView(view) {
  if (!panelView || !view) return;
  view.windowsOpen.forEach((open, i) => {
    const window = panelView.windows[i];
    if (window.asked === open) window.asked = null;
    if (window.asked === null) window.open.checked = open;
    window.box.classList.toggle('closed', !open);
  });
  view.aircraft.forEach((value, i) => {
    const row = panelView.aircraft[i];
    row.shown.textContent = Number.isInteger(value) ? value : value.toFixed(3);
    if (!row.input || row.input === document.activeElement) return;
    if (row.control === 'switch') row.input.checked = value !== 0;
    else row.input.value = value;
  });
  $('event-count').textContent = view.eventCount;
  $('events-sent').replaceChildren(...view.events.slice().reverse().map((e) => {
    const li = document.createElement('li');
    li.textContent = `${e.frame}  ${e.event} ${e.value}  by ${writerText(e)}`;
    return li;
  }));
  $('lvars').tBodies[0].replaceChildren(...view.variables.map((v) => {
    const tr = document.createElement('tr');
    tr.id = `lvar-${v.name}`;
    for (const [text, className] of [[v.name, 'variable'], [v.value, 'value'], [writerText(v), 'writer']]) {
      const td = tr.insertCell();
      td.className = className;
      td.textContent = text;
    }
    return tr;
  }));
}
