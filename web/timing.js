// The timing diagram panel: the core lays out the chip's trace and writes
// the exports; this only draws the core's primitives on a canvas, forwards
// the student's events and offers the files.
'use strict';

window.BitwellTiming = function (panel, core) {
  const text = (p) => core.UTF8ToString(p);
  const ROLES = JSON.parse(text(core._bw_timing_roles()));
  const SHAPE = { Line: 0, Rect: 1, Polygon: 2, Text: 3 };
  const FONT = '11px "Liberation Mono", "DejaVu Sans Mono", monospace';
  // The panel's texts by name, from the core, in the catalogue's language,
  // without the desktop's mnemonic marks.
  function tr(name) {
    // Names are ASCII.
    const p = core._malloc(name.length + 1);
    for (let i = 0; i < name.length; ++i) core.HEAPU8[p + i] = name.charCodeAt(i);
    core.HEAPU8[p + name.length] = 0;
    const out = text(core._bw_timing_text(p));
    core._free(p);
    return out.replace(/&(.)/g, '$1');
  }

  const bar = document.createElement('div');
  bar.className = 'bar';
  const exportBar = document.createElement('div');
  exportBar.className = 'bar';
  const button = (row, name, label, run) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.dataset.name = name;
    b.textContent = label;
    b.addEventListener('click', run);
    row.appendChild(b);
    return b;
  };
  button(bar, 'cmdClear', tr('cmdClear'), () => core._bw_clear_trace());
  const undo = button(bar, 'cmdUndo', tr('cmdUndo'), () => core._bw_undo_clear_trace());
  button(bar, 'cmdZoomIn', tr('cmdZoomIn'), () => key(4));
  button(bar, 'cmdZoomOut', tr('cmdZoomOut'), () => key(5));
  const allLabel = document.createElement('label');
  const all = Object.assign(document.createElement('input'), { type: 'checkbox' });
  all.dataset.name = 'chkAllSteps';
  allLabel.append(all, ' ' + tr('chkAllSteps'));
  exportBar.appendChild(allLabel);
  exportBar.appendChild(Object.assign(document.createElement('span'), { className: 'gap' }));
  button(exportBar, 'cmdSaveSvg', tr('cmdSaveSvg'), () => save('timing.svg', 'image/svg+xml', svgText()));
  button(exportBar, 'cmdSavePng', tr('cmdSavePng'), () => pngCanvas().toBlob((b) => download('timing.png', b), 'image/png'));
  button(exportBar, 'cmdSaveWaveJson', tr('cmdSaveWaveJson'), () => save('timing.json', 'application/json', waveJson()));
  button(exportBar, 'cmdSaveCsv', tr('cmdSaveCsv'), () => save('timing.csv', 'text/csv', csv()));

  const canvas = document.createElement('canvas');
  canvas.dataset.name = 'diagram';
  canvas.tabIndex = 0;
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', tr('diagram'));
  const scroll = document.createElement('input');
  scroll.type = 'range';
  scroll.min = 0;
  scroll.dataset.name = 'scroll';
  scroll.setAttribute('aria-label', tr('scroll'));
  const status = document.createElement('div');
  status.className = 'status';
  status.dataset.name = 'lblStatus';
  status.setAttribute('aria-live', 'polite');
  status.textContent = tr('lblStatus');

  // The steps as a table for assistive technology: every kept step counts,
  // only the rows in view are made.
  const COLUMNS = 'step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word'.split(',');
  const grid = document.createElement('div');
  grid.className = 'steps';
  grid.dataset.name = 'steps';
  grid.setAttribute('role', 'grid');
  grid.setAttribute('aria-label', tr('steps'));
  const header = document.createElement('div');
  header.setAttribute('role', 'row');
  header.setAttribute('aria-rowindex', '1');
  for (const c of COLUMNS) {
    const h = document.createElement('span');
    h.setAttribute('role', 'columnheader');
    h.textContent = c;
    header.appendChild(h);
  }
  const body = document.createElement('div');
  body.setAttribute('role', 'rowgroup');
  grid.append(header, body);
  panel.append(bar, canvas, scroll, exportBar, status, grid);

  const state = () => {
    const p = core._bw_timing_state() >> 2, h = core.HEAP32;
    return { first: h[p], lastFirst: h[p + 1], visible: h[p + 2], selected: h[p + 3], zoom: h[p + 4],
      width: h[p + 5], height: h[p + 6], canUndo: h[p + 7] !== 0 };
  };
  const size = () => core._bw_trace_size();
  const csv = () => text(core._bw_trace_csv());
  const svgText = () => text(core._bw_timing_svg(all.checked ? 1 : 0));
  const waveJson = () => text(core._bw_timing_wavejson(all.checked ? 1 : 0));

  // ---- Drawing the core's primitives ----

  function draw(ctx, primitives) {
    ctx.font = FONT;
    ctx.lineWidth = 1;
    ctx.textBaseline = 'alphabetic';
    for (const [shape, role, x, y, x2, y2, anchor, extra] of primitives) {
      const [colour, opacity, outlined, dashed] = ROLES[role];
      ctx.globalAlpha = opacity;
      if (shape === SHAPE.Line) {
        ctx.strokeStyle = colour;
        ctx.setLineDash(dashed ? [3, 3] : []);
        ctx.beginPath();
        ctx.moveTo(x + 0.5, y + 0.5);
        ctx.lineTo(x2 + 0.5, y2 + 0.5);
        ctx.stroke();
      } else if (shape === SHAPE.Rect) {
        if (outlined) {
          ctx.setLineDash([]);
          ctx.strokeStyle = colour;
          ctx.strokeRect(x + 0.5, y + 0.5, x2, y2);
        } else {
          ctx.fillStyle = colour;
          ctx.fillRect(x, y, x2, y2);
        }
      } else if (shape === SHAPE.Polygon) {
        ctx.setLineDash([]);
        ctx.strokeStyle = colour;
        ctx.beginPath();
        for (let k = 0; k < extra.length; k += 2) ctx.lineTo(extra[k] + 0.5, extra[k + 1] + 0.5);
        ctx.closePath();
        ctx.stroke();
      } else {
        ctx.fillStyle = colour;
        ctx.textAlign = anchor === 1 ? 'center' : 'left';
        ctx.fillText(extra, x, y);
      }
    }
    ctx.globalAlpha = 1;
  }

  function paint() {
    const ratio = window.devicePixelRatio || 1;
    core._bw_timing_size(canvas.clientWidth || 579, 0);
    const s = state();
    canvas.style.height = s.height + 'px';
    // Backing store at the device's pixels: crisp at any zoom.
    if (canvas.width !== Math.round(s.width * ratio) || canvas.height !== Math.round(s.height * ratio)) {
      canvas.width = Math.round(s.width * ratio);
      canvas.height = Math.round(s.height * ratio);
    }
    const ctx = canvas.getContext('2d');
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    draw(ctx, JSON.parse(text(core._bw_timing_draw())));
    scroll.max = s.lastFirst;
    scroll.value = s.first;
    undo.disabled = !s.canUndo;
    rows(s);
    return s;
  }

  function rows(s) {
    grid.setAttribute('aria-rowcount', String(size() + 1));
    const count = Math.max(0, Math.min(s.visible, size() - s.first));
    while (body.children.length > count) body.lastChild.remove();
    while (body.children.length < count) {
      const row = document.createElement('div');
      row.setAttribute('role', 'row');
      for (let c = 0; c < COLUMNS.length; ++c) {
        const cell = document.createElement('span');
        cell.setAttribute('role', 'gridcell');
        row.appendChild(cell);
      }
      body.appendChild(row);
    }
    for (let k = 0; k < count; ++k) {
      const i = s.first + k, row = body.children[k];
      const [name, line] = text(core._bw_timing_row(i)).split('\n');
      row.setAttribute('aria-rowindex', String(i + 2));
      row.setAttribute('aria-label', name);
      row.setAttribute('aria-selected', i === s.selected ? 'true' : 'false');
      line.split(',').forEach((v, c) => { row.children[c].textContent = v; });
    }
  }

  // The export at its own size, without the selection band.
  function pngCanvas() {
    const primitives = JSON.parse(text(core._bw_timing_draw_export(all.checked ? 1 : 0)));
    const p = core._bw_timing_export_size() >> 2;
    const out = document.createElement('canvas');
    out.width = core.HEAP32[p];
    out.height = core.HEAP32[p + 1];
    draw(out.getContext('2d'), primitives);
    return out;
  }

  function download(name, blob) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }
  function save(name, type, contents) { download(name, new Blob([contents], { type })); }

  // ---- Forwarding events ----

  // Runs a change of the view and says what the selection now is.
  function run(change) {
    const before = state().selected;
    const result = change();
    const s = paint();
    if (s.selected !== before) {
      const line = s.selected < 0 ? '' : text(core._bw_describe(s.selected));
      status.textContent = line;
      canvas.setAttribute('aria-label', line ? tr('diagramStep').replace('%1', line) : tr('diagram'));
    }
    return result;
  }
  const key = (k) => run(() => core._bw_timing_key(k));

  canvas.addEventListener('mousemove', (e) => {
    const i = core._bw_timing_at(Math.round(e.offsetX));
    if (i >= 0) run(() => core._bw_timing_select(i));
  });
  canvas.addEventListener('click', (e) => canvas.dispatchEvent(new MouseEvent('mousemove', e)));
  const KEYS = { ArrowLeft: 0, ArrowRight: 1, Home: 2, End: 3, '+': 4, '=': 4, '-': 5 };
  canvas.addEventListener('keydown', (e) => {
    if (e.ctrlKey && e.key === 'c') { navigator.clipboard.writeText(csv()).catch(() => {}); e.preventDefault(); return; }
    if (e.altKey || e.ctrlKey || e.metaKey || !(e.key in KEYS)) return;
    if (key(KEYS[e.key])) e.preventDefault();
  });
  panel.addEventListener('keydown', (e) => {
    if (e.ctrlKey && !e.altKey && (e.key === 'z' || e.key === 'Z') && !undo.disabled) {
      e.preventDefault();
      undo.click();
    }
  });
  canvas.addEventListener('wheel', (e) => {
    if (!e.ctrlKey && Math.abs(e.deltaX) < 1 && !e.shiftKey) return;
    e.preventDefault();
    if (e.ctrlKey) key(e.deltaY < 0 ? 4 : 5);
    else run(() => core._bw_timing_first(state().first + ((e.deltaX || e.deltaY) > 0 ? 4 : -4)));
  }, { passive: false });
  scroll.addEventListener('input', () => run(() => core._bw_timing_first(Number(scroll.value))));
  // A finger swiped sideways walks the steps as the wheel does, a step per
  // few pixels; the canvas leaves vertical panning to the page (pan-y).
  let swipe = null;
  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch') swipe = { x: e.clientX, first: state().first };
  });
  canvas.addEventListener('pointermove', (e) => {
    if (!swipe || e.pointerType !== 'touch') return;
    const steps = Math.round((swipe.x - e.clientX) / 6);
    run(() => core._bw_timing_first(Math.max(0, swipe.first + steps)));
  });
  for (const end of ['pointerup', 'pointercancel']) canvas.addEventListener(end, () => { swipe = null; });
  window.addEventListener('resize', () => { if (!panel.hidden) run(() => 0); });

  let pending = false;
  const api = {
    // The trace grew or was cleared: redraw once per frame, following the
    // newest step as the core decides.
    changed() {
      if (panel.hidden || pending) return;
      pending = true;
      requestAnimationFrame(() => {
        pending = false;
        run(() => core._bw_timing_changed());
      });
    },
    reset() {
      core._bw_timing_changed();
      status.textContent = tr('lblStatus');
    },
    // Every text in the catalogue's language; the view stays as it is.
    retranslate() {
      for (const b of panel.querySelectorAll('button[data-name]')) b.textContent = tr(b.dataset.name);
      allLabel.lastChild.textContent = ' ' + tr('chkAllSteps');
      scroll.setAttribute('aria-label', tr('scroll'));
      grid.setAttribute('aria-label', tr('steps'));
      const selected = state().selected;
      const line = selected < 0 ? '' : text(core._bw_describe(selected));
      status.textContent = line || tr('lblStatus');
      canvas.setAttribute('aria-label', line ? tr('diagramStep').replace('%1', line) : tr('diagram'));
    },
    // Opened: the keys work at once.
    focus() { canvas.focus(); },
    csv,
    svgText,
    waveJson,
    paint,
    state,
  };
  // For tests: the panel's element carries its diagram.
  panel.timing = api;
  return api;
};
