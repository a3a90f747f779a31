// The panel view: the window shown drawn on a canvas from the display list
// the tool sends (the list `vorlanex-panel snapshot` paints, painted by the
// same rules as painter.cpp), zoomed and panned, its mouse areas over it; the
// windows as tabs, each with its open switch; beside it the simulated
// aircraft's variables, the events sent and the panel's L: variables. Like
// the rest of the page it shows only what the tool sends.
'use strict';

const PLACED = 4;          // a gauge line smaller than this (1,1) draws nothing: listed instead
const REPEAT_MS = 150;     // how often a held Repeat="Yes" area clicks again
const DRAG_MS = 50;        // a drag tells where the mouse is at most this often (about a frame)
const NIGHT_FACTOR = 0.3;  // drawing_choices.h: kNightFactor
const ZOOM_STEP = 1.25;
// How an area's Cursor shows.
const CURSORS = {hand: 'pointer', uparrow: 'n-resize', downarrow: 's-resize', leftarrow: 'w-resize',
  rightarrow: 'e-resize', grab: 'grab', crosshair: 'crosshair', arrow: 'default', normal: 'default'};

let panelView = null;     // {facts, windows: [...], aircraft: [...]}

function element(parent, tag, attributes = {}, text) {
  const e = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
  if (text !== undefined) e.textContent = text;
  parent.appendChild(e);
  return e;
}

const listensTo = (area, kind) => area.kinds.some((k) => k.toLowerCase() === kind.toLowerCase());

// --- The display lists and their images ----------------------------------

const lists = [];   // by window: {width, height, items}
const images = [];  // by index: {bitmap, dim} once fetched; {loading} before
let framesDrawn = 0;  // canvas paintings, for the frame-rate bench

// Keeps the parts of the state that carry display lists: "d:W:n" [count,
// width, height] and "d:W:I" item I of window W.
function keepDisplayParts(next) {
  for (const [key, value] of Object.entries(next)) {
    if (!key.startsWith('d:')) continue;
    const [, w, what] = key.split(':');
    const list = lists[w] || (lists[w] = {width: 0, height: 0, items: []});
    if (what === 'n') {
      [, list.width, list.height] = value;
      list.items.length = value[0];
    } else {
      list.items[Number(what)] = value;
    }
  }
}

// Each image is fetched once, by its index.
function imageOf(index) {
  const known = images[index];
  if (known) return known.bitmap ? known : null;
  images[index] = {loading: true};
  fetch(`/gauge-image?image=${index}&token=${token}`)
    .then((response) => (response.ok ? response.blob() : Promise.reject(new Error(response.status))))
    .then((blob) => createImageBitmap(blob))
    .then((bitmap) => { images[index] = {bitmap, dim: null}; scheduleDraw(); })
    .catch(() => { images[index] = {failed: true}; });
  return null;
}

// Night: plain images multiplied by the night factor, as painter.cpp does.
function dimmed(image) {
  if (!image.dim) {
    const canvas = document.createElement('canvas');
    canvas.width = image.bitmap.width;
    canvas.height = image.bitmap.height;
    const context = canvas.getContext('2d');
    context.drawImage(image.bitmap, 0, 0);
    const pixels = context.getImageData(0, 0, canvas.width, canvas.height);
    for (let i = 0; i < pixels.data.length; i += 4) {
      for (let c = 0; c < 3; ++c) pixels.data[i + c] = Math.round(pixels.data[i + c] * NIGHT_FACTOR);
    }
    context.putImageData(pixels, 0, 0);
    image.dim = canvas;
  }
  return image.dim;
}

const lightOf = (lighting, night) => (night && lighting === 0 ? NIGHT_FACTOR : 1);

// A place (a, b, c, d, tx, ty: x' = a·u + b·v + tx) then the view's scale
// k and offset, as a canvas transform.
function setPlace(context, m, view) {
  const k = view.k;
  context.setTransform(k * m[0], k * m[2], k * m[1], k * m[3], k * m[4] + view.x, k * m[5] + view.y);
}

let scratch = null;  // where a masked image is cut to its mask

// An image through its mask: only where the mask's pixel (nearest) is drawn.
function drawMasked(context, picture, item, view) {
  const {width, height} = context.canvas;
  if (!scratch) scratch = document.createElement('canvas');
  if (scratch.width !== width || scratch.height !== height) Object.assign(scratch, {width, height});
  const mask = imageOf(item[4]);
  if (!mask) return;
  const s = scratch.getContext('2d');
  s.setTransform(1, 0, 0, 1, 0, 0);
  s.globalCompositeOperation = 'source-over';
  s.clearRect(0, 0, width, height);
  s.imageSmoothingEnabled = true;
  setPlace(s, item[2], view);
  s.drawImage(picture, 0, 0);
  s.globalCompositeOperation = 'destination-in';
  s.imageSmoothingEnabled = false;
  setPlace(s, item[5], view);
  s.drawImage(mask.bitmap, 0, 0);
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.drawImage(scratch, 0, 0);
}

const colorText = (rgb, light) =>
  `rgb(${[16, 8, 0].map((shift) => Math.round(((rgb >> shift) & 255) * light)).join(',')})`;

// The fonts `snapshot` draws with, served by the tool.
function loadFonts() {
  for (const [family, fixed] of [['PanelSans', 0], ['PanelMono', 1]]) {
    const face = new FontFace(family, `url(/font?fixed=${fixed}&token=${token})`);
    document.fonts.add(face);
    face.load().then(() => { delete fontMetrics[family]; scheduleDraw(); }, () => {});
  }
}

// The font's ascent and descent per pixel of size: the text's size is the
// height from descent to ascent, as stb_truetype's ScaleForPixelHeight takes it.
const fontMetrics = {};
function metricsOf(context, family) {
  if (!fontMetrics[family]) {
    context.font = `100px ${family}`;
    const m = context.measureText('Hg');
    const height = m.fontBoundingBoxAscent + m.fontBoundingBoxDescent;
    fontMetrics[family] = {ascent: m.fontBoundingBoxAscent / height, em: 100 / height};
  }
  return fontMetrics[family];
}

// A text upright in its box, as painter.cpp's paintText: its size and box
// scaled with the gauge, clipped to the box.
function drawText(context, item, view, night) {
  const [, m, lighting, text, boxWidth, boxHeight, size, fixed, color, background, adjust, verticalAdjust] = item;
  const light = lightOf(lighting, night);
  const k = view.k;
  const scaleX = Math.hypot(m[0], m[2]) * k;
  const scaleY = Math.hypot(m[1], m[3]) * k;
  const left = k * m[4] + view.x;
  const top = k * m[5] + view.y;
  const width = boxWidth * scaleX;
  const height = boxHeight * scaleY;
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.save();
  context.beginPath();
  context.rect(left, top, width, height);
  context.clip();
  if (background >= 0) {
    context.fillStyle = colorText(background, light);
    context.fillRect(left, top, width, height);
  }
  const family = fixed ? 'PanelMono' : 'PanelSans';
  const metrics = metricsOf(context, family);
  const pixelHeight = size * scaleY;
  context.font = `${pixelHeight * metrics.em}px ${family}`;
  const stretch = scaleX / scaleY;
  const textWidth = context.measureText(text).width * stretch;
  const x = left + (adjust < 0 ? 0 : adjust > 0 ? width - textWidth : (width - textWidth) / 2);
  const y = top + (verticalAdjust < 0 ? 0 : verticalAdjust > 0 ? height - pixelHeight : (height - pixelHeight) / 2);
  context.translate(x, Math.round(y + metrics.ascent * pixelHeight));
  context.scale(stretch, 1);
  context.fillStyle = colorText(color, light);
  context.textBaseline = 'alphabetic';
  context.fillText(text, 0, 0);
  context.restore();
}

function paint(context, list, view, night) {
  for (const item of list.items) {
    if (!item) continue;
    if (item[0] === 1) {
      drawText(context, item, view, night);
      continue;
    }
    const image = imageOf(item[1]);
    if (!image) continue;
    const picture = lightOf(item[3], night) === 1 ? image.bitmap : dimmed(image);
    if (item[4] >= 0) {
      drawMasked(context, picture, item, view);
    } else {
      setPlace(context, item[2], view);
      context.drawImage(picture, 0, 0);
    }
  }
}

// --- The view: the window shown, its zoom and pan -------------------------

// `fitted` false: fit at the next drawing; `kept`: the author zoomed or
// panned, so a resize keeps the view.
const view = {window: 0, scale: 0, x: 0, y: 0, fitted: false, kept: false};
let drawPending = false;

function scheduleDraw() {
  if (drawPending) return;
  drawPending = true;
  requestAnimationFrame(draw);
}

function draw() {
  drawPending = false;
  const list = lists[view.window];
  const canvas = $('panel-canvas');
  if (!list || !canvas) return;
  const stage = $('stage');
  if (!view.fitted && list.width > 0) fit(list);
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(stage.clientWidth * ratio);
  const height = Math.round(stage.clientHeight * ratio);
  if (canvas.width !== width || canvas.height !== height) Object.assign(canvas, {width, height});
  const context = canvas.getContext('2d');
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.clearRect(0, 0, width, height);
  context.imageSmoothingEnabled = true;
  context.imageSmoothingQuality = 'low';
  paint(context, list, {k: view.scale * ratio, x: view.x * ratio, y: view.y * ratio}, $('night').checked);
  ++framesDrawn;
  placeAreas();
}

// The window across the stage's width, the stage as tall as it then is (up
// to most of the page's height).
function fit(list) {
  const stage = $('stage');
  view.scale = stage.clientWidth / list.width;
  stage.style.height = `${Math.max(160, Math.min(list.height * view.scale, innerHeight * 0.75))}px`;
  view.x = 0;
  view.y = 0;
  view.fitted = true;
}

// Zooms by `factor` keeping the stage's point (px, py) where it is.
function zoom(factor, px = $('stage').clientWidth / 2, py = $('stage').clientHeight / 2) {
  view.kept = true;
  view.x = px - (px - view.x) * factor;
  view.y = py - (py - view.y) * factor;
  view.scale *= factor;
  scheduleDraw();
}

// The areas of the window shown, over the canvas where the view puts them.
function placeAreas() {
  for (const box of document.querySelectorAll('#areas .area')) {
    const area = box.area;
    Object.assign(box.style, {left: `${view.x + area.left * view.scale}px`, top: `${view.y + area.top * view.scale}px`,
      width: `${area.width * view.scale}px`, height: `${area.height * view.scale}px`});
  }
}

// The mouse's point in the gauge's pixels, inside the area.
function gaugePoint(event, gauge, area) {
  const stage = $('stage').getBoundingClientRect();
  const wx = (event.clientX - stage.left - view.x) / view.scale;
  const wy = (event.clientY - stage.top - view.y) / view.scale;
  const clamp = (value, from, size) => Math.min(Math.max(value, from), from + size * 0.999);
  return {x: (clamp(wx, area.left, area.width) - gauge.x) / gauge.scaleX,
    y: (clamp(wy, area.top, area.height) - gauge.y) / gauge.scaleY};
}

// A press sends the side's Single; holding repeats it where the area asks;
// moving sends LeftDrag with the point where the area listens; letting go
// sends the release kinds and Leave, where the area listens.
function pressArea(areaBox, gaugeIndex, gauge, area) {
  const send = (kind, point = {}) => listensTo(area, kind) &&
    act({do: 'click', gauge: gaugeIndex, area: area.number, kind, ...point});
  areaBox.addEventListener('contextmenu', (e) => e.preventDefault());
  areaBox.addEventListener('mousedown', (e) => {
    const side = {0: 'Left', 2: 'Right'}[e.button];
    if (!side) return;
    e.preventDefault();
    e.stopPropagation();
    send(`${side}Single`);
    const repeat = area.repeat ? setInterval(() => send(`${side}Single`), REPEAT_MS) : null;
    let last = 0;
    let untold = null;  // the last point, when it came too soon after the one told
    const drag = (move) => {
      if (side !== 'Left') return;
      untold = gaugePoint(move, gauge, area);
      if (move.timeStamp - last < DRAG_MS) return;
      last = move.timeStamp;
      send('LeftDrag', untold);
      untold = null;
    };
    const release = () => {
      clearInterval(repeat);
      if (untold) send('LeftDrag', untold);
      document.removeEventListener('mouseup', release);
      document.removeEventListener('mousemove', drag);
      send(`${side}Release`);
      send('Leave');
    };
    document.addEventListener('mousemove', drag);
    document.addEventListener('mouseup', release);
  });
  areaBox.addEventListener('wheel', (e) => {
    const kind = e.deltaY < 0 ? 'WheelUp' : 'WheelDown';
    if (e.ctrlKey || !listensTo(area, kind)) return;  // the stage zooms
    e.preventDefault();
    e.stopPropagation();
    send(kind, gaugePoint(e, gauge, area));
  }, {passive: false});
}

function showWindow(index) {
  Object.assign(view, {window: index, fitted: false, kept: false});
  panelView.windows.forEach((w, i) => w.box.classList.toggle('shown', i === index));
  const facts = panelView.facts;
  const areas = $('areas');
  areas.replaceChildren();
  facts.gauges.forEach((gauge, g) => {
    if (gauge.window !== index || gauge.width < PLACED || gauge.height < PLACED) return;
    for (const area of gauge.areas) {
      const areaBox = element(areas, 'div', {class: 'area', id: `area-${g}-${area.number}`,
        title: `${gauge.name}: ${area.kinds.join('+')}${area.repeat ? ', repeats' : ''}`});
      areaBox.area = area;
      areaBox.style.cursor = CURSORS[(area.cursor || '').toLowerCase()] || 'default';
      element(areaBox, 'span', {class: 'tooltip'}, tooltips[`${g}:${area.number}`] ?? (area.tooltip || `area #${area.number}`));
      pressArea(areaBox, g, gauge, area);
    }
  });
  $('stage').classList.toggle('closed', !panelView.windows[index].open.checked);
  scheduleDraw();
}

// Dragging the stage (not an area) pans; the wheel zooms.
function followStage() {
  const stage = $('stage');
  stage.addEventListener('mousedown', (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    let {clientX: x, clientY: y} = e;
    const move = (m) => {
      view.kept = true;
      view.x += m.clientX - x;
      view.y += m.clientY - y;
      x = m.clientX;
      y = m.clientY;
      scheduleDraw();
    };
    const up = () => {
      document.removeEventListener('mousemove', move);
      document.removeEventListener('mouseup', up);
    };
    document.addEventListener('mousemove', move);
    document.addEventListener('mouseup', up);
  });
  stage.addEventListener('wheel', (e) => {
    e.preventDefault();
    const box = stage.getBoundingClientRect();
    zoom(e.deltaY < 0 ? ZOOM_STEP : 1 / ZOOM_STEP, e.clientX - box.left, e.clientY - box.top);
  }, {passive: false});
  $('zoom-in').addEventListener('click', () => zoom(ZOOM_STEP));
  $('zoom-out').addEventListener('click', () => zoom(1 / ZOOM_STEP));
  $('zoom-fit').addEventListener('click', () => Object.assign(view, {fitted: false, kept: false}) && scheduleDraw());
  // One pixel per unit of size_mm, the window's corner at the stage's: as
  // `snapshot` draws it.
  $('zoom-one').addEventListener('click', () => Object.assign(view, {scale: 1, x: 0, y: 0, fitted: true, kept: true}) && scheduleDraw());
  $('night').addEventListener('change', scheduleDraw);
  $('outline').addEventListener('change', () => stage.classList.toggle('outlined', $('outline').checked));
  addEventListener('resize', () => {
    if (!view.kept) view.fitted = false;
    scheduleDraw();
  });
}

function buildWindows(facts) {
  const windows = facts.windows.map((w, index) => {
    const box = element($('windows'), 'div', {class: 'window', id: `window-${index}`});
    const head = element(box, 'label', {class: 'window-head'});
    const open = element(head, 'input', {type: 'checkbox', id: `window-${index}-open`, title: 'open'});
    // Until a frame has carried the switch out, it shows what was asked.
    const shown = {box, open, asked: null};
    open.addEventListener('change', () => {
      shown.asked = open.checked;
      act({do: 'window', window: index, open: open.checked});
      if (open.checked) showWindow(index);
    });
    const title = element(box, 'button', {class: 'window-title'},
      `${w.title || w.section} (${w.section}${w.ident ? `, ident ${w.ident}` : ''})`);
    title.addEventListener('click', () => showWindow(index));
    return shown;
  });
  const unplaced = facts.gauges.filter((g) => g.window < 0 || g.width < PLACED || g.height < PLACED);
  $('unplaced').textContent = unplaced.length ? `Drawing nothing: ${unplaced.map((g) => g.name).join(', ')}` : '';
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
  for (const id of ['panel-view', 'aircraft-box', 'events-box', 'lvars-box']) $(id).hidden = false;
  panelView = {facts, windows: buildWindows(facts), aircraft: buildAircraft(facts)};
  $('send-event').addEventListener('click', () =>
    act({do: 'event', event: $('event-name').value.trim(), value: Number($('event-value').value) || 0}));
  followStage();
  loadFonts();
  showWindow(0);
}

// A reload read the gauges or windows again: the view is built anew from the
// new facts, on the window shown while it still stands, with its zoom.
function rebuildPanelView(facts, state) {
  const {window: shown, fitted, kept} = view;
  $('windows').replaceChildren();
  $('aircraft').tBodies[0].replaceChildren();
  Object.assign(panelView, {facts, windows: buildWindows(facts), aircraft: buildAircraft(facts)});
  (state.windowsOpen || []).forEach((open, i) => {
    if (panelView.windows[i]) panelView.windows[i].open.checked = open;
  });
  const same = shown < facts.windows.length;
  showWindow(same ? shown : 0);
  if (same) Object.assign(view, {fitted, kept});
}

// The gauges a save changed, outlined for a moment where they stand.
function flashGauges(indices) {
  if (!panelView) return;
  for (const g of indices) {
    const gauge = panelView.facts.gauges[g];
    if (!gauge || gauge.window !== view.window) continue;
    const box = element($('areas'), 'div', {class: 'area flash'});
    box.area = {left: gauge.x, top: gauge.y, width: Math.max(gauge.width, 4), height: Math.max(gauge.height, 4)};
    box.addEventListener('animationend', () => box.remove());
  }
  placeAreas();
}

// A gauge's file as the log names it, without the simulator's root folder.
function writerText(entry) {
  if (!entry.file) return entry.by || '';
  const root = panelView.facts.root;
  const file = entry.file.startsWith(root) ? entry.file.slice(root.length) : entry.file;
  return `${entry.by}, ${file}:${entry.line}`;
}

// Tooltips written as gauge strings, as the last frame formatted them, by "GAUGE:AREA".
let tooltips = {};

// `next` holds only what changed since the frame shown; `state` all of it.
function showPanelView(next, state) {
  if (!panelView) return;
  keepDisplayParts(next);
  if (next.tooltips) {
    tooltips = next.tooltips;
    for (const [key, text] of Object.entries(tooltips)) {
      const shown = document.querySelector(`#area-${key.replace(':', '-')} .tooltip`);
      if (shown) shown.textContent = text;
    }
  }
  if (next.windowsOpen) {
    next.windowsOpen.forEach((open, i) => {
      const window = panelView.windows[i];
      if (window.asked === open) window.asked = null;
      if (window.asked === null) window.open.checked = open;
      window.box.classList.toggle('closed', !open);
    });
    $('stage').classList.toggle('closed', !state.windowsOpen[view.window]);
  }
  if (next.aircraft) {
    next.aircraft.forEach((value, i) => {
      const row = panelView.aircraft[i];
      row.shown.textContent = Number.isInteger(value) ? value : value.toFixed(3);
      if (!row.input || row.input === document.activeElement) return;
      if (row.control === 'switch') row.input.checked = value !== 0;
      else row.input.value = value;
    });
  }
  if ('eventCount' in next) $('event-count').textContent = next.eventCount;
  if (next.sent) {
    $('events-sent').replaceChildren(...next.sent.slice().reverse().map((e) => {
      const li = document.createElement('li');
      li.textContent = `${e.frame}  ${e.event} ${e.value}  by ${writerText(e)}`;
      return li;
    }));
  }
  if (next.variables) {
    $('lvars').tBodies[0].replaceChildren(...next.variables.map((v) => {
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
  scheduleDraw();
}
