// The timing diagram panel: the core lays out the chip's trace and writes
// the exports; this only draws the core's primitives on a canvas, forwards
// the student's events and offers the files.
'use strict';

window.BitwellTiming = function (panel, core) {
  const text = Controller.text;
  // The window as the core describes it: its roles' styles, keys, controls,
  // step columns and texts (again after a change of language).
  let desc = JSON.parse(text(core._bw_timing_description()));
  let pending = false;      // a redraw is asked for the next frame
  let swipe = null;         // a finger's sideways swipe: where it started
  // The panel's texts by name, without the desktop's mnemonic marks.
  const tr = (name) => desc.texts[name].replace(/&(.)/g, '$1');

  const bar = document.createElement('div');
  bar.className = 'bar';
  const exportBar = document.createElement('div');
  exportBar.className = 'bar';
  const bars = { view: bar, export: exportBar };
  // What each of the core's controls does here, by its name.
  const saveAs = (c, contents) => download(c.file, new Blob([contents], { type: c.mediaType }));
  const handlers = {
    cmdClear: () => core._bw_clear_trace(),
    cmdUndo: () => core._bw_undo_clear_trace(),
    cmdZoomIn: () => run(() => core._bw_timing_zoom_by(1)),
    cmdZoomOut: () => run(() => core._bw_timing_zoom_by(-1)),
    cmdSaveSvg: (c) => saveAs(c, svgText()),
    cmdSavePng: (c) => pngCanvas().toBlob((b) => download(c.file, b), c.mediaType),
    cmdSaveWaveJson: (c) => saveAs(c, waveJson()),
    cmdSaveCsv: (c) => saveAs(c, csv()),
    copyCsv: () => navigator.clipboard.writeText(csv()).catch(() => {}),
  };
  const controls = {};  // the elements, by name
  for (const c of desc.controls) {
    if (c.bar === 'keyOnly') continue;
    let element;
    if (c.checkBox) {
      element = Object.assign(document.createElement('input'), { type: 'checkbox' });
      const label = document.createElement('label');
      label.append(element, ' ' + tr(c.name));
      bars[c.bar].appendChild(label);
    } else {
      element = Object.assign(document.createElement('button'), { type: 'button', textContent: tr(c.name) });
      element.addEventListener('click', () => {
        handlers[c.name](c);
        if (c.backToDiagram) canvas.focus();
      });
      bars[c.bar].appendChild(element);
    }
    element.dataset.name = c.name;
    controls[c.name] = element;
    if (c.roomAfter) bars[c.bar].appendChild(Object.assign(document.createElement('span'), { className: 'gap' }));
  }
  const all = controls.chkAllSteps, undo = controls.cmdUndo;

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
  // Its words for the input in use, chosen again when that changes.
  const coarse = matchMedia('(pointer: coarse)');
  const idle = () => tr(coarse.matches ? 'touchStatus' : 'lblStatus');
  coarse.addEventListener('change', () => { if (state().selected < 0) status.textContent = idle(); });
  status.textContent = idle();

  // The steps as a table for assistive technology: every kept step counts,
  // only the rows in view are made.
  const grid = document.createElement('div');
  grid.className = 'steps';
  grid.dataset.name = 'steps';
  grid.setAttribute('role', 'grid');
  grid.setAttribute('aria-label', tr('steps'));
  const header = document.createElement('div');
  header.setAttribute('role', 'row');
  header.setAttribute('aria-rowindex', '1');
  // The header's cells, each one of its own, in the catalogue's words.
  const headers = () => desc.columns.forEach((c, i) => { header.children[i].textContent = c; });
  for (let c = 0; c < desc.columns.length; ++c) header.appendChild(document.createElement('div')).setAttribute('role', 'columnheader');
  headers();
  panel.setAttribute('aria-label', tr('frmTiming'));
  const body = document.createElement('div');
  body.setAttribute('role', 'rowgroup');
  grid.append(header, body);
  panel.append(bar, canvas, scroll, exportBar, status, grid);

  const state = () => JSON.parse(text(core._bw_timing_state()));
  const size = () => core._bw_trace_size();
  const csv = () => text(core._bw_trace_csv());
  const svgText = () => text(core._bw_timing_svg(all.checked ? 1 : 0));
  const waveJson = () => text(core._bw_timing_wavejson(all.checked ? 1 : 0));

  // ---- Drawing the core's primitives ----

  // Each primitive in its role's style: filled where the style fills,
  // stroked where it strokes, a stroke along the middle of its pixels.
  function draw(ctx, primitives) {
    ctx.textBaseline = 'alphabetic';
    for (const p of primitives) {
      const style = desc.roles[p.role];
      ctx.globalAlpha = style.opacity;
      if (p.shape === 'text') {
        ctx.font = style.fontPixels + 'px ' + desc.font;
        ctx.fillStyle = style.fill;
        ctx.textAlign = p.anchor === 'middle' ? 'center' : 'left';
        ctx.fillText(p.text, p.x, p.y);
        continue;
      }
      const o = style.stroke ? 0.5 : 0;
      ctx.beginPath();
      if (p.shape === 'rect') ctx.rect(p.x + o, p.y + o, p.x2, p.y2);
      else if (p.shape === 'line') { ctx.moveTo(p.x + o, p.y + o); ctx.lineTo(p.x2 + o, p.y2 + o); } else {
        for (let k = 0; k < p.points.length; k += 2) ctx.lineTo(p.points[k] + o, p.points[k + 1] + o);
        ctx.closePath();
      }
      if (style.fill && p.shape !== 'line') { ctx.fillStyle = style.fill; ctx.fill(); }
      if (style.stroke) {
        ctx.strokeStyle = style.stroke;
        ctx.lineWidth = style.width;
        ctx.setLineDash(style.dash ? [style.dash, style.dash] : []);
        ctx.stroke();
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
      for (let c = 0; c < desc.columns.length; ++c) {
        const cell = document.createElement('div');
        cell.setAttribute('role', 'gridcell');
        row.appendChild(cell);
      }
      body.appendChild(row);
    }
    for (let k = 0; k < count; ++k) {
      const i = s.first + k, row = body.children[k];
      const [name, ...fields] = text(core._bw_timing_row(i)).split('\n');
      row.setAttribute('aria-rowindex', String(i + 2));
      row.setAttribute('aria-label', name);
      row.setAttribute('aria-selected', i === s.selected ? 'true' : 'false');
      fields.forEach((v, c) => { row.children[c].textContent = v; });
    }
  }

  // The export at its own size, without the selection band.
  function pngCanvas() {
    const picture = JSON.parse(text(core._bw_timing_draw_export(all.checked ? 1 : 0)));
    const out = document.createElement('canvas');
    out.width = picture.width;
    out.height = picture.height;
    draw(out.getContext('2d'), picture.primitives);
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
  canvas.addEventListener('mousemove', (e) => {
    const i = core._bw_timing_at(Math.round(e.offsetX));
    if (i >= 0) run(() => core._bw_timing_select(i));
  });
  canvas.addEventListener('click', (e) => canvas.dispatchEvent(new MouseEvent('mousemove', e)));
  // Keys by the names the core knows them by ("ArrowLeft" is "Left").
  canvas.addEventListener('keydown', (e) => {
    const code = desc.keys[e.key.replace(/^Arrow/, '')];
    if (e.altKey || e.ctrlKey || e.metaKey || code === undefined) return;
    if (run(() => core._bw_timing_key(code))) e.preventDefault();
  });
  // The controls' shortcuts ("Ctrl+Z"), anywhere in the panel; a disabled
  // control's does nothing.
  panel.addEventListener('keydown', (e) => {
    const pressed = (e.ctrlKey ? 'Ctrl+' : '') + (e.altKey ? 'Alt+' : '') + (e.shiftKey ? 'Shift+' : '') + e.key.toUpperCase();
    const c = desc.controls.find((c) => c.shortcut === pressed);
    if (!c || e.metaKey) return;
    e.preventDefault();
    if (controls[c.name]) controls[c.name].click();
    else handlers[c.name](c);
  });
  // A sideways wheel scrolls, Ctrl with the wheel zooms; the core knows by
  // how much. A plain vertical wheel scrolls the page.
  canvas.addEventListener('wheel', (e) => {
    if (!e.ctrlKey && Math.abs(e.deltaX) < 1 && !e.shiftKey) return;
    e.preventDefault();
    const back = e.ctrlKey ? e.deltaY >= 0 : (e.deltaX || e.deltaY) > 0;
    run(() => core._bw_timing_wheel(back ? -1 : 1, e.ctrlKey ? 1 : 0));
  }, { passive: false });
  scroll.addEventListener('input', () => run(() => core._bw_timing_first(Number(scroll.value))));
  // A finger swiped sideways walks the steps as the core says; the canvas
  // leaves vertical panning to the page (pan-y).
  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch') swipe = { x: e.clientX, first: state().first };
  });
  canvas.addEventListener('pointermove', (e) => {
    if (!swipe || e.pointerType !== 'touch') return;
    run(() => core._bw_timing_swipe(swipe.first, Math.round(swipe.x - e.clientX)));
  });
  for (const end of ['pointerup', 'pointercancel']) canvas.addEventListener(end, () => { swipe = null; });
  window.addEventListener('resize', () => { if (!panel.hidden) run(() => 0); });

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
      status.textContent = idle();
    },
    // Every text in the catalogue's language; the view stays as it is.
    retranslate() {
      desc = JSON.parse(text(core._bw_timing_description()));
      for (const b of panel.querySelectorAll('button[data-name]')) b.textContent = tr(b.dataset.name);
      all.parentElement.lastChild.textContent = ' ' + tr('chkAllSteps');
      scroll.setAttribute('aria-label', tr('scroll'));
      grid.setAttribute('aria-label', tr('steps'));
      panel.setAttribute('aria-label', tr('frmTiming'));
      headers();
      const selected = state().selected;
      const line = selected < 0 ? '' : text(core._bw_describe(selected));
      status.textContent = line || idle();
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
