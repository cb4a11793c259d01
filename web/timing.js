// The timing diagram panel: the chip's trace, kept by the core, drawn as a
// datasheet draws it. Drawing goes through a small pen so that the same code
// makes the canvas and the saved SVG.
'use strict';

window.BitwellTiming = function (panel, core) {
  const CAUSES = ['CE', 'OE', 'WE', 'LB', 'UB', 'A0', 'A1', 'A2', 'A3'];
  for (let i = 0; i < 16; ++i) CAUSES.push('D' + i);
  CAUSES.push('order');
  const NAMES = ['CE', 'OE', 'WE', 'LB', 'UB', 'A', 'D', 'Q', 'Cycle'];
  const LABELS = 56, TOP = 8, ROW = 26, LANE = 16, ROWS = 9;
  const READ = '#1f5fc8', WRITE = '#c8321e', MARK = '#999999';
  const HEIGHT = TOP + ROWS * ROW + 4;

  let zoom = 24, first = 0, selected = -1, following = true;

  const bar = document.createElement('div');
  bar.className = 'bar';
  const button = (name, text, run) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.dataset.name = name;
    b.textContent = text;
    b.addEventListener('click', run);
    bar.appendChild(b);
    return b;
  };
  button('cmdClear', 'Clear', () => core._bw_clear_trace());
  button('cmdZoomIn', 'Zoom In', () => setZoom(zoom * 2));
  button('cmdZoomOut', 'Zoom Out', () => setZoom(zoom / 2));
  bar.appendChild(Object.assign(document.createElement('span'), { className: 'gap' }));
  button('cmdSaveSvg', 'Save as SVG...', () => save('timing.svg', 'image/svg+xml', svgText()));
  button('cmdSavePng', 'Save as PNG...', () => canvas.toBlob((b) => download('timing.png', b), 'image/png'));
  button('cmdSaveCsv', 'Save as CSV...', () => save('timing.csv', 'text/csv', csv()));

  const canvas = document.createElement('canvas');
  canvas.dataset.name = 'diagram';
  canvas.tabIndex = 0;
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', 'Timing diagram');
  const scroll = document.createElement('input');
  scroll.type = 'range';
  scroll.min = 0;
  scroll.dataset.name = 'scroll';
  scroll.setAttribute('aria-label', 'Steps shown');
  const status = document.createElement('div');
  status.className = 'status';
  status.dataset.name = 'lblStatus';
  status.setAttribute('aria-live', 'polite');
  status.textContent = 'Point at a step, or use Left and Right, to see what it did.';
  panel.append(bar, canvas, scroll, status);

  const size = () => core._bw_trace_size();
  const width = () => canvas.clientWidth || 579;
  const visible = () => Math.max(1, Math.floor((width() - LABELS - 4) / zoom));
  const lastFirst = () => Math.max(0, size() - visible());
  function step(i) {
    const p = core._bw_trace_step(i) >> 2;
    const h = core.HEAP32;
    return {
      action: h[p + 1], levels: [h[p + 3], h[p + 4], h[p + 5], h[p + 6], h[p + 7]],
      bus: [h[p + 8], h[p + 9], h[p + 10]], cycle: h[p + 11], bytes: h[p + 12],
    };
  }
  const csv = () => core.UTF8ToString(core._bw_trace_csv());
  const hex = (row, v) => v.toString(16).toUpperCase().padStart(row === 5 ? 1 : 4, '0');

  // ---- Pens: the canvas, and SVG text ----

  function canvasPen(ctx) {
    return {
      line(x1, y1, x2, y2, colour, dashed) {
        ctx.strokeStyle = colour;
        ctx.setLineDash(dashed ? [3, 3] : []);
        ctx.beginPath();
        ctx.moveTo(x1 + 0.5, y1 + 0.5);
        ctx.lineTo(x2 + 0.5, y2 + 0.5);
        ctx.stroke();
      },
      rect(x, y, w, h, fill, stroke) {
        if (fill) { ctx.fillStyle = fill; ctx.fillRect(x, y, w, h); }
        if (stroke) { ctx.setLineDash([]); ctx.strokeStyle = stroke; ctx.strokeRect(x + 0.5, y + 0.5, w - 1, h - 1); }
      },
      text(x, y, s, centre) {
        ctx.fillStyle = '#000';
        ctx.textAlign = centre ? 'center' : 'left';
        ctx.fillText(s, x, y);
      },
      measure: (s) => ctx.measureText(s).width,
    };
  }

  function svgPen(out, measure) {
    const esc = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;');
    return {
      line(x1, y1, x2, y2, colour, dashed) {
        out.push('<line x1="' + (x1 + 0.5) + '" y1="' + (y1 + 0.5) + '" x2="' + (x2 + 0.5) + '" y2="' + (y2 + 0.5) +
          '" stroke="' + colour + '"' + (dashed ? ' stroke-dasharray="3 3"' : '') + '/>');
      },
      rect(x, y, w, h, fill, stroke) {
        out.push('<rect x="' + (x + 0.5) + '" y="' + (y + 0.5) + '" width="' + (w - 1) + '" height="' + (h - 1) +
          '" fill="' + (fill || 'none') + '"' + (stroke ? ' stroke="' + stroke + '"' : '') + '/>');
      },
      text(x, y, s, centre) {
        out.push('<text x="' + x + '" y="' + y + '"' + (centre ? ' text-anchor="middle"' : '') + '>' + esc(s) + '</text>');
      },
      measure,
    };
  }

  // ---- The drawing ----

  function draw(pen, w, from, count) {
    pen.rect(0, 0, w, HEIGHT, '#ffffff');
    for (let row = 0; row < ROWS; ++row) {
      const y = TOP + row * ROW;
      pen.text(4, y + 12, NAMES[row]);
      if (row < 5) pen.line(4, y + 1, 4 + pen.measure(NAMES[row]), y + 1, '#000');
    }
    let prev = from > 0 ? step(from - 1) : null;
    for (let i = from; i < from + count; ++i) {
      const s = step(i);
      const x = LABELS + (i - from) * zoom, x2 = x + zoom;
      if (prev && prev.action !== s.action) pen.line(x, TOP - 4, x, TOP + ROWS * ROW, MARK, true);
      for (let row = 0; row < 5; ++row) {
        const top = TOP + row * ROW;
        const y = s.levels[row] ? top : top + LANE;
        pen.line(x, y, x2, y, '#000');
        if (prev && prev.levels[row] !== s.levels[row]) pen.line(x, top, x, top + LANE, '#000');
      }
      for (let lane = 0; lane < 3; ++lane) {
        const row = 5 + lane, top = TOP + row * ROW;
        const value = s.bus[lane];
        const changed = !prev || prev.bus[lane] !== value;
        const slant = Math.min(3, Math.floor(zoom / 4));
        if (changed && prev) {
          pen.line(x - slant, top, x + slant, top + LANE, '#000');
          pen.line(x - slant, top + LANE, x + slant, top, '#000');
        }
        const from2 = changed && prev ? x + slant : x;
        pen.line(from2, top, x2, top, '#000');
        pen.line(from2, top + LANE, x2, top + LANE, '#000');
        if (changed) {
          let room = zoom;
          for (let j = i + 1; j < from + count && step(j).bus[lane] === value; ++j) room += zoom;
          const text = hex(row, value);
          if (pen.measure(text) + 2 * slant + 2 <= room) pen.text(from2 + 1, top + 12, text);
        }
      }
      if (s.cycle !== 0) {
        const top = TOP + 8 * ROW, colour = s.cycle === 1 ? READ : WRITE;
        const half = LANE / 2;
        const fillTop = s.bytes === 3 ? top + half : top;
        const fillHeight = s.bytes === 1 ? LANE : half;
        pen.rect(x + 1, fillTop, zoom - 2, fillHeight, colour + '5a');
        pen.rect(x + 1, top, zoom - 2, LANE, null, colour);
        if (zoom >= 10) pen.text(x + zoom / 2, top + 12, s.cycle === 1 ? 'R' : 'W', true);
      }
      prev = s;
    }
  }

  function paint() {
    const ratio = window.devicePixelRatio || 1;
    const w = width();
    // Backing store at the device's pixels: crisp at any zoom.
    if (canvas.width !== Math.round(w * ratio) || canvas.height !== Math.round(HEIGHT * ratio)) {
      canvas.width = Math.round(w * ratio);
      canvas.height = Math.round(HEIGHT * ratio);
    }
    const ctx = canvas.getContext('2d');
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    ctx.font = '11px Arial, "Liberation Sans", sans-serif';
    ctx.lineWidth = 1;
    const count = Math.min(visible(), size() - first);
    draw(canvasPen(ctx), w, first, count);
    if (selected >= first && selected < first + count) {
      ctx.fillStyle = 'rgba(48,140,198,0.2)';
      ctx.fillRect(LABELS + (selected - first) * zoom, TOP - 4, zoom, ROWS * ROW + 4);
    }
    scroll.max = lastFirst();
    scroll.value = first;
  }

  function svgText() {
    const out = [];
    const ctx = canvas.getContext('2d');
    ctx.font = '11px Arial, "Liberation Sans", sans-serif';
    draw(svgPen(out, (s) => ctx.measureText(s).width), width(), first, Math.min(visible(), size() - first));
    return '<svg xmlns="http://www.w3.org/2000/svg" width="' + width() + '" height="' + HEIGHT +
      '" font-family="Arial, Liberation Sans, sans-serif" font-size="11">\n' + out.join('\n') + '\n</svg>\n';
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
  function save(name, type, text) { download(name, new Blob([text], { type })); }

  // ---- Following, scrolling, zoom and the step under the pointer ----

  function setZoom(z) {
    zoom = Math.max(4, Math.min(96, Math.round(z)));
    first = following ? lastFirst() : Math.min(first, lastFirst());
    paint();
  }
  function setFirst(i) {
    first = Math.max(0, Math.min(i, lastFirst()));
    following = first === lastFirst();
    paint();
  }
  function select(i) {
    if (i === selected) return;
    selected = i;
    if (i >= 0) {
      if (i < first) setFirst(i);
      if (i >= first + visible()) setFirst(i - visible() + 1);
    }
    const line = i < 0 ? '' : core.UTF8ToString(core._bw_describe(i));
    status.textContent = line;
    canvas.setAttribute('aria-label', line ? 'Timing diagram: ' + line : 'Timing diagram');
    paint();
  }

  canvas.addEventListener('mousemove', (e) => {
    const x = e.offsetX - LABELS;
    if (x < 0) return;
    const i = first + Math.floor(x / zoom);
    if (i < size()) select(i);
  });
  canvas.addEventListener('click', (e) => canvas.dispatchEvent(new MouseEvent('mousemove', e)));
  canvas.addEventListener('keydown', (e) => {
    const last = size() - 1;
    const go = { ArrowLeft: () => (selected < 0 ? last : Math.max(0, selected - 1)),
      ArrowRight: () => (selected < 0 ? last : Math.min(last, selected + 1)),
      Home: () => 0, End: () => last }[e.key];
    if (go && last >= 0) { e.preventDefault(); select(go()); }
    else if (e.key === '+' || e.key === '=') { e.preventDefault(); setZoom(zoom * 2); }
    else if (e.key === '-') { e.preventDefault(); setZoom(zoom / 2); }
  });
  canvas.addEventListener('wheel', (e) => {
    if (!e.ctrlKey && Math.abs(e.deltaX) < 1 && !e.shiftKey) return;
    e.preventDefault();
    if (e.ctrlKey) setZoom(e.deltaY < 0 ? zoom * 2 : zoom / 2);
    else setFirst(first + ((e.deltaX || e.deltaY) > 0 ? 4 : -4));
  }, { passive: false });
  scroll.addEventListener('input', () => setFirst(Number(scroll.value)));
  window.addEventListener('resize', () => { if (!panel.hidden) setZoom(zoom); });

  let pending = false;
  return {
    // The trace grew or was cleared: redraw once per frame, following the
    // newest step if the view was at the end.
    changed() {
      if (panel.hidden || pending) return;
      pending = true;
      requestAnimationFrame(() => {
        pending = false;
        if (selected >= size()) select(-1);
        first = following ? lastFirst() : Math.min(first, lastFirst());
        paint();
      });
    },
    reset() { selected = -1; following = true; first = 0; status.textContent = ''; },
    csv,
    svgText,
  };
};
