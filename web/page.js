// Quorin Bitwell in the browser: the page draws the panel and forwards what
// the student does to the chip's own rules, compiled to WebAssembly. Every
// state change arrives through `view`, in the order the panel makes it; the
// page never reads a value back out of its own elements.
'use strict';

(function () {
  const DEFAULT_HELP = 'Hover your mouse over a control signal label to see a description.';
  const LEVELS = ['CE', 'OE', 'WE', 'LB', 'UB'];  // the core's order
  const LEVEL_NAMES = {
    CE: 'Chip enable, active low', OE: 'Output enable, active low', WE: 'Write enable, active low',
    LB: 'Lower byte enable, active low', UB: 'Upper byte enable, active low',
  };
  const HELP = {
    lblCE: 'Chip Enable signal. Active LOW.',
    lblOE: 'Output Enable signal. Active LOW.',
    lblWE: 'Write Enable signal. Active LOW.',
    lblLB: 'Lower Byte Enable signal. Active LOW.',
    lblUB: 'Upper Byte Enable signal. Active LOW.',
    lblAddr: 'Address range: 0x0 - 0xF (0 - 15).',
    lblAddrTitle: 'Address range: 0x0 - 0xF (0 - 15).',
    lblDataTitle: 'Data to be written: 16 bits.',
    lblData: 'Double click here to enter the data textually.',
    lblReadTitle: 'Data from the last read operation: 16 bits.',
    lblRead: 'Double click here to copy the read data to the input data above.',
    optBig: 'Selecting this option will treat the word at the starting address as the high word.',
    optLittle: 'Selecting this option will treat the word at the starting address as the low word.',
    Frame1: DEFAULT_HELP, Frame3: DEFAULT_HELP, lblTypes: DEFAULT_HELP,
  };

  const surface = named('Form');
  const app = named('frmMain');
  let core = null;        // the WebAssembly module, once ready
  const el = {};          // controls by data-name
  const state = { levels: {}, address: [0, 0, 0, 0], data: new Array(16).fill(0), big: true };

  function named(name, root) {
    return (root || document).querySelector('[data-name="' + name + '"]');
  }

  // ---- Building the window: every control where the desktop has it ----

  function put(node, name, left, top, width, height, parent) {
    node.dataset.name = name;
    node.style.left = left + 'px';
    node.style.top = top + 'px';
    if (width !== undefined) node.style.width = width + 'px';
    if (height !== undefined) node.style.height = height + 'px';
    (parent || surface).appendChild(node);
    el[name] = node;
    return node;
  }

  function div(className) {
    const node = document.createElement('div');
    node.className = className;
    return node;
  }

  function group(name, title, left, top, width, height) {
    const node = put(div('group'), name, left, top, width, height);
    node.appendChild(div('frame'));
    const legend = div('legend');
    legend.textContent = title;
    node.appendChild(legend);
    node.dataset.help = 'default';
    return node;
  }

  function caption(parent, name, text, left, top, width, height, extra) {
    const node = put(div('caption' + (extra ? ' ' + extra : '')), name, left, top, width, height, parent);
    node.textContent = text;
    if (HELP[name]) node.dataset.help = name;
    else node.dataset.quiet = '';
    return node;
  }

  function line(parent, name, x1, y1, x2, y2, blue) {
    const node = put(div('line' + (blue ? ' blue' : '')), name, Math.min(x1, x2), Math.min(y1, y2),
      Math.abs(x2 - x1) || 1, Math.abs(y2 - y1) || 1, parent);
    node.setAttribute('aria-hidden', 'true');
    return node;
  }

  function shape(parent, name, kind, left, top, width, height) {
    const node = put(div('shape ' + kind), name, left, top, width, height, parent);
    node.setAttribute('aria-hidden', 'true');
    return node;
  }

  // A switch: a click or tap toggles it; Space toggles; Up sets 1, Down 0.
  function switchControl(parent, name, label, tip, left, top, width, onMove) {
    const node = put(div('switch' + (width < 12 ? ' narrow' : '')), name, left, top, width, 81, parent);
    node.setAttribute('role', 'switch');
    node.setAttribute('aria-checked', 'false');
    node.setAttribute('aria-label', label);
    node.tabIndex = 0;
    node.title = tip;
    node.dataset.quiet = '';
    node.appendChild(div('thumb'));
    const value = () => (node.getAttribute('aria-checked') === 'true' ? 1 : 0);
    node.addEventListener('click', () => { node.focus(); onMove(1 - value()); });
    node.addEventListener('keydown', (e) => {
      if (e.altKey || e.ctrlKey || e.metaKey) return;
      let to = null;
      if (e.key === ' ' || e.key === 'Spacebar') to = 1 - value();
      else if (e.key === 'ArrowUp' || e.key === 'PageUp' || e.key === 'Home') to = 1;
      else if (e.key === 'ArrowDown' || e.key === 'PageDown' || e.key === 'End') to = 0;
      if (to === null) return;
      e.preventDefault();
      if (to !== value()) onMove(to);
    });
    return node;
  }

  function buildPanel() {
    const f3 = group('Frame3', 'Memory Signals', 8, 8, 305, 417);
    // Lowest first: the outline, the lower-half background, then the lamp.
    for (let k = 0; k < 16; ++k) shape(f3, 'borderRead(' + (16 + k) + ')', 'border', 27 + 16 * k, 264, 9, 81);
    for (let k = 0; k < 16; ++k) shape(f3, 'backgroundRead(' + (16 + k) + ')', 'background', 27 + 16 * k, 304, 9, 41);
    for (let i = 0; i < 16; ++i) shape(f3, 'sigRead(' + i + ')', 'lamp', 267 - 16 * i, 264, 9, 81);
    // Each lamp's column answers for its bit, lit or dark; the pointer over
    // it is still over the group.
    for (let i = 0; i < 16; ++i) {
      const col = put(div('column'), 'colRead(' + i + ')', 267 - 16 * i, 264, 9, 81, f3);
      col.title = 'Q' + i;
      col.setAttribute('role', 'img');
    }

    // In the desktop's focus order, so that Tab walks it.
    const levelSwitch = (c, left) => switchControl(f3, 'sig' + c, LEVEL_NAMES[c], c, left, 24, 17,
      (v) => core._bw_move_level(LEVELS.indexOf(c), v));
    const dataSwitch = (i) => switchControl(f3, 'sigData(' + i + ')', 'Data bit ' + i, 'D' + i, 267 - 16 * i, 152, 9,
      (v) => core._bw_move_data_bit(i, v));
    levelSwitch('UB', 155);
    for (const first of [3, 7, 11, 15]) for (let i = first; i > first - 4; --i) dataSwitch(i);
    for (let i = 0; i < 4; ++i) {
      switchControl(f3, 'sigAddr(' + i + ')', 'Address bit ' + i, 'A' + i, 259 - 24 * i, 24, 17,
        (v) => core._bw_move_address_bit(i, v));
    }
    levelSwitch('OE', 91);
    levelSwitch('LB', 123);
    levelSwitch('CE', 59);
    levelSwitch('WE', 27);

    for (const [c, left] of [['WE', 27], ['CE', 61], ['OE', 93], ['LB', 126], ['UB', 156]]) {
      caption(f3, 'lbl' + c, c, left, 112, 25, 17);
    }
    caption(f3, 'lblAddrTitle', 'Address: 0x', 203, 112, 55, 17);
    caption(f3, 'lblAddr', '0', 258, 112, 21, 17, 'value');
    for (const [name, x1, x2] of [['Line1', 26, 45], ['Line2', 58, 77], ['Line4', 91, 110], ['Line7', 123, 142], ['Line6', 153, 172]]) {
      line(f3, name, x1, 111, x2, 111);
    }
    caption(f3, 'Label2', 'High Byte', 69, 133, 51, 13, 'blue');
    caption(f3, 'Label1', 'Low Byte', 185, 133, 51, 13, 'blue');
    line(f3, 'Line3', 151, 151, 151, 234, true);
    line(f3, 'Line5', 151, 264, 151, 347, true);
    caption(f3, 'lblDataTitle', 'Data Input: 0x', 101, 240, 67, 17);
    caption(f3, 'lblData', '0000', 168, 240, 30, 17, 'value');
    caption(f3, 'lblReadTitle', 'Data Read: 0x', 102, 352, 69, 17);
    caption(f3, 'lblRead', '0000', 171, 352, 29, 17, 'value');
    for (const [name, mark, top] of [['Label9', '1', 32], ['Label10', '0', 80], ['Label6', '1', 160],
      ['Label5', '0', 208], ['Label7', '1', 272], ['Label8', '0', 320]]) {
      caption(f3, name, mark, 16, top, 9, 17, 'blue');
    }
    // A title whose value follows close behind draws a little tighter where
    // its text would run under the value, so that "0x" is never covered.
    for (const [title, value] of [['lblAddrTitle', 'lblAddr'], ['lblDataTitle', 'lblData'], ['lblReadTitle', 'lblRead']]) {
      el[title].style.width = (el[value].offsetLeft - el[title].offsetLeft) + 'px';
      const range = document.createRange();
      range.selectNodeContents(el[title]);
      const over = range.getBoundingClientRect().width - el[title].clientWidth;
      const letters = el[title].textContent.length;
      if (over > 0) el[title].style.letterSpacing = -(over / (letters - 1)) + 'px';
    }
    el.lblData.setAttribute('aria-label', 'Data input');
    el.lblRead.setAttribute('aria-label', 'Data read');
    el.lblAddr.setAttribute('aria-label', 'Address');

    const f2 = group('Frame2', 'Memory Contents', 328, 8, 257, 185);
    f2.dataset.quiet = '';
    delete f2.dataset.help;
    caption(f2, 'lblContents', '', 16, 24, 177, 145, 'listing contents');

    const f1 = group('Frame1', 'Data Type Representation', 328, 200, 257, 225);
    caption(f1, 'Label3', 'Treat representation as:', 16, 24, 121, 17);
    for (const [name, text, left, width, big] of [['optBig', 'Big Endian', 16, 73, true], ['optLittle', 'Little Endian', 112, 81, false]]) {
      const label = put(document.createElement('label'), name + 'Label', left, 40, width + 20, 17, f1);
      label.className = 'option';
      label.dataset.help = name;
      const radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = 'order';
      radio.dataset.name = name;
      radio.checked = big;
      label.append(radio, text);
      el[name] = radio;
      radio.addEventListener('click', () => core._bw_choose_order(big ? 1 : 0));
    }
    caption(f1, 'lblTypes', '', 16, 64, 217, 151, 'listing types');
    caption(surface, 'lblStatus', DEFAULT_HELP, 0, 432, 593, 17, 'status');
    el.lblStatus.setAttribute('role', 'status');
    el.lblStatus.setAttribute('aria-live', 'polite');
    el.lblContents.setAttribute('aria-label', 'Memory contents');
    el.lblTypes.setAttribute('aria-label', 'Data type representation');

    el.lblData.addEventListener('dblclick', enterDataWord);
    el.lblRead.addEventListener('dblclick', copyRead);
  }

  // Hover help: the nearest hover target under the pointer replaces the
  // status line; controls without help keep it as it is.
  function pointTo(target) {
    for (let node = target; node && node !== document.body; node = node.parentElement) {
      if ('quiet' in node.dataset) return;
      const help = node.dataset.help;
      if (help) {
        el.lblStatus.textContent = help === 'default' ? DEFAULT_HELP : HELP[help];
        return;
      }
    }
  }

  // ---- What the panel tells the page ----

  const TEXTS = ['lblAddr', 'lblData', 'lblRead', 'lblContents', 'lblTypes'];
  const view = {
    level(c, v) { setSwitch(el['sig' + LEVELS[c]], v); },
    addressBit(bit, v) { setSwitch(el['sigAddr(' + bit + ')'], v); },
    dataBit(bit, v) { setSwitch(el['sigData(' + bit + ')'], v); },
    text(which, text) { el[TEXTS[which]].textContent = text.replace(/\r\n/g, '\n'); },
    lamp(bit, lit) {
      el['sigRead(' + bit + ')'].hidden = !lit;
      el['colRead(' + bit + ')'].setAttribute('aria-label', 'Read bit ' + bit + (lit ? ', lit, 1' : ', dark, 0'));
    },
    order(big) { el[big ? 'optBig' : 'optLittle'].checked = true; },
    step() { if (timing) timing.changed(); },
    cleared() { if (timing) timing.changed(); },
  };

  function setSwitch(node, v) { node.setAttribute('aria-checked', v ? 'true' : 'false'); }

  // The design-time state, before power-up: every switch at 0, lamps lit.
  function designTime() {
    for (const node of surface.querySelectorAll('[role="switch"]')) setSwitch(node, 0);
    for (let i = 0; i < 16; ++i) view.lamp(i, true);
    el.lblAddr.textContent = '0';
    el.lblData.textContent = '0000';
    el.lblRead.textContent = '0000';
    el.lblContents.textContent = '';
    el.lblTypes.textContent = '';
    el.lblStatus.textContent = DEFAULT_HELP;
    el.optBig.checked = true;
  }

  // ---- Typed entry and copy ----

  // Characters that steer text direction: the bidi controls and marks, and
  // the right-to-left scripts' letters (not their digits).
  const DIRECTIONAL = /[\u0590-\u065F\u066A-\u06EF\u06FA-\u08FF\u200E\u200F\u061C\u202A-\u202E\u2066-\u2069\uFB1D-\uFDFF\uFE70-\uFEFF]|[\uD802-\uD803\uD83A-\uD83B][\uDC00-\uDFFF]/;

  function characters(text) {
    if (typeof Intl !== 'undefined' && Intl.Segmenter) {
      return Array.from(new Intl.Segmenter(undefined, { granularity: 'grapheme' }).segment(text), (s) => s.segment);
    }
    // Without a segmenter: code points, each with the marks that follow it.
    const out = [];
    for (const c of Array.from(text)) {
      if (out.length && /^[\u0300-\u036F\u1AB0-\u1AFF\u1DC0-\u1DFF\u20D0-\u20FF\uFE20-\uFE2F\uFE00-\uFE0F\u200D]$/.test(c)) out[out.length - 1] += c;
      else out.push(c);
    }
    return out;
  }

  // The answer upper-cased and split as the user sees it; the core keeps the
  // first four characters and checks them. Returns what the core said.
  function submitAnswer(answer) {
    core._bw_enter_begin();
    for (const c of characters(answer.toUpperCase())) {
      const bytes = 2 * c.length;
      const at = core._malloc(bytes + 2);
      for (let i = 0; i < c.length; ++i) core.HEAPU16[(at >> 1) + i] = c.charCodeAt(i);
      core._bw_enter_char(at, c.length, DIRECTIONAL.test(c) ? 1 : 0);
      core._free(at);
    }
    const kind = core._bw_enter_end();
    return { kind, text: kind === 2 ? core.UTF16ToString(core._bw_entry_text()) : '' };
  }

  // Runs `onAnswer(button value)` as soon as a button (or Enter) answers the
  // dialog, before the next event: the evaluations it runs are done by the
  // time the key press that caused them is over. Esc closes with no answer.
  function ask(box, onAnswer) {
    closeMenus();
    const form = box.querySelector('form');
    form.onsubmit = (e) => {
      e.preventDefault();
      const answer = e.submitter ? e.submitter.value : form.querySelector('button').value;
      box.close(answer);
      onAnswer(answer);
    };
    if (!box.open) box.showModal();
  }

  function enterDataWord() {
    const box = named('InputBox');
    const field = box.querySelector('input');
    field.value = el.lblData.textContent;
    ask(box, (answer) => {
      const result = submitAnswer(answer === 'ok' ? field.value : '');
      if (result.kind === 2) {
        named('lblMessage', errorBox()).textContent = result.text;
        ask(errorBox(), () => {});
      }
    });
    field.select();
  }

  function copyRead() { core._bw_copy_read(); }

  function errorBox() { return document.querySelector('dialog[data-kind="error"]'); }

  // ---- Menus ----

  const MENUS = [
    { name: 'mnuFile', title: '&File', items: [{ name: 'mnuFileExit', title: '&Exit', run: askExit }] },
    { name: 'mnuEdit', title: '&Edit', items: [
      { name: 'mnuEditEnter', title: '&Enter Data Word...', keys: 'F2', run: enterDataWord },
      { name: 'mnuEditCopyRead', title: '&Copy Read to Input', keys: 'Ctrl+R', run: copyRead }] },
    { name: 'mnuView', title: '&View', items: [
      { name: 'mnuViewTiming', title: '&Timing Diagram', check: true, run: () => showTiming(named('frmTiming').hidden) }] },
    { name: 'mnuHelp', title: '&Help', items: [{ name: 'mnuHelpAbout', title: '&About...', run: showAbout }] },
  ];

  function accessText(node, title) {
    const at = title.indexOf('&');
    node.append(title.slice(0, at));
    const u = document.createElement('u');
    u.textContent = title[at + 1];
    node.append(u, title.slice(at + 2));
    return title[at + 1].toLowerCase();
  }

  function buildMenus() {
    const bar = named('menubar');
    for (const menu of MENUS) {
      const wrap = div('menu');
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.name = menu.name;
      button.tabIndex = -1;
      button.setAttribute('aria-haspopup', 'menu');
      menu.key = accessText(button, menu.title);
      const list = document.createElement('ul');
      list.setAttribute('role', 'menu');
      for (const item of menu.items) {
        const li = document.createElement('li');
        li.dataset.name = item.name;
        li.tabIndex = -1;
        li.setAttribute('role', item.check ? 'menuitemcheckbox' : 'menuitem');
        if (item.check) li.setAttribute('aria-checked', 'false');
        const label = document.createElement('span');
        item.key = accessText(label, item.title);
        li.appendChild(label);
        if (item.keys) {
          const keys = document.createElement('span');
          keys.className = 'keys';
          keys.textContent = item.keys;
          li.appendChild(keys);
        }
        li.addEventListener('click', () => choose(item));
        li.addEventListener('keydown', (e) => {
          if (e.key === 'Enter' || e.key === ' ') { e.preventDefault(); choose(item); }
        });
        list.appendChild(li);
        el[item.name] = li;
      }
      button.addEventListener('click', () => (wrap.classList.contains('open') ? closeMenus() : openMenu(menu)));
      button.addEventListener('mouseenter', () => { if (bar.querySelector('.open') && !wrap.classList.contains('open')) openMenu(menu); });
      wrap.append(button, list);
      bar.appendChild(wrap);
      menu.wrap = wrap;
      el[menu.name] = button;
    }
    bar.addEventListener('keydown', (e) => {
      const open = MENUS.find((m) => m.wrap.classList.contains('open'));
      if (!open) return;
      const items = Array.from(open.wrap.querySelectorAll('li'));
      const at = items.indexOf(document.activeElement);
      const index = MENUS.indexOf(open);
      if (e.key === 'Escape') { e.preventDefault(); closeMenus(); restoreFocus(); }
      else if (e.key === 'ArrowDown') { e.preventDefault(); items[(at + 1) % items.length].focus(); }
      else if (e.key === 'ArrowUp') { e.preventDefault(); items[(at - 1 + items.length) % items.length].focus(); }
      else if (e.key === 'ArrowRight') { e.preventDefault(); openMenu(MENUS[(index + 1) % MENUS.length]); }
      else if (e.key === 'ArrowLeft') { e.preventDefault(); openMenu(MENUS[(index - 1 + MENUS.length) % MENUS.length]); }
      else {
        const item = open.items.find((i) => i.key === e.key.toLowerCase());
        if (item && !e.ctrlKey && !e.altKey) { e.preventDefault(); choose(item); }
      }
    });
    document.addEventListener('pointerdown', (e) => { if (!bar.contains(e.target)) closeMenus(); });
  }

  let focusBeforeMenu = null;
  function openMenu(menu) {
    if (!document.querySelector('.menu.open')) focusBeforeMenu = document.activeElement;
    closeMenus();
    menu.wrap.classList.add('open');
    menu.wrap.querySelector('button').setAttribute('aria-expanded', 'true');
    menu.wrap.querySelector('li').focus();
  }
  function closeMenus() {
    for (const m of MENUS) {
      if (!m.wrap) continue;
      m.wrap.classList.remove('open');
      m.wrap.querySelector('button').setAttribute('aria-expanded', 'false');
    }
  }
  function restoreFocus() { if (focusBeforeMenu && focusBeforeMenu.focus) focusBeforeMenu.focus(); }
  // The focus goes back where it was before the menu opened, so that a
  // dialog the item opens gives it back there too.
  function choose(item) {
    closeMenus();
    restoreFocus();
    item.run();
  }

  // ---- About, exit, and the end of a session ----

  function showAbout() { ask(named('frmAbout'), () => {}); }

  function askExit() {
    const box = document.querySelector('dialog[data-kind="exit"]');
    ask(box, (answer) => { if (answer === 'yes') endSession(); });
    named('cmdYes', box).focus();
  }

  // A page cannot close its own tab: it says the program has ended and
  // offers to start again from power-on.
  function endSession() {
    app.hidden = true;
    named('Ended').hidden = false;
    named('cmdRestart').focus();
  }

  function startSession() {
    named('Ended').hidden = true;
    app.hidden = false;
    showTiming(false);
    designTime();
    core._bw_power_up();
    if (timing) timing.reset();
    fit();
    el.sigUB.focus();
  }

  // ---- Keyboard ----

  function onKey(e) {
    if (document.querySelector('dialog[open]')) return;
    if (e.key === 'F2' && !e.ctrlKey && !e.altKey) { e.preventDefault(); enterDataWord(); return; }
    if ((e.ctrlKey || e.metaKey) && !e.altKey && !e.shiftKey && (e.key === 'r' || e.key === 'R')) {
      e.preventDefault();
      copyRead();
      return;
    }
    if ((e.ctrlKey || e.metaKey) && !e.altKey && (e.key === 't' || e.key === 'T')) {
      // Where the browser lets the page have it.
      e.preventDefault();
      showTiming(named('frmTiming').hidden);
      return;
    }
    if (e.altKey && !e.ctrlKey && e.key.length === 1) {
      const menu = MENUS.find((m) => m.key === e.key.toLowerCase());
      if (menu) { e.preventDefault(); openMenu(menu); }
    }
    if (e.key === 'F10' && !e.ctrlKey && !e.altKey) { e.preventDefault(); openMenu(MENUS[0]); }
  }

  // ---- Fitting narrow screens ----

  // 1:1 from the window's own width up; below it the whole window scales
  // evenly (text stays vector, so it stays crisp), and pinch-zoom still works.
  function fit() {
    const width = document.documentElement.clientWidth;
    const scale = Math.min(1, width / 593);
    app.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
    document.getElementById('fit').style.height = scale < 1 ? Math.ceil(app.offsetHeight * scale) + 'px' : '';
  }

  // ---- The timing diagram panel ----

  let timing = null;
  function showTiming(show) {
    const panel = named('frmTiming');
    panel.hidden = !show;
    el.mnuViewTiming.setAttribute('aria-checked', show ? 'true' : 'false');
    if (show && !timing) timing = window.BitwellTiming(panel, core);
    if (show) timing.changed();
    fit();
  }

  // ---- Start-up ----

  function start(module) {
    core = module;
    buildMenus();
    buildPanel();
    surface.addEventListener('mousemove', (e) => pointTo(e.target));
    // On a touch screen a tap on a signal name shows its help.
    surface.addEventListener('click', (e) => pointTo(e.target));
    document.addEventListener('keydown', onKey);
    named('cmdRestart').addEventListener('click', startSession);
    window.addEventListener('resize', fit);
    startSession();
    // The frame that shows the start-up state: since navigation start.
    requestAnimationFrame(() => { window.bitwellShownAt = performance.now(); });
    // For tests and measurements: the chip's own counters and entry points.
    window.Bitwell = {
      runs: () => core._bw_update_memory_runs(),
      csv: () => core.UTF8ToString(core._bw_trace_csv()),
      enter: (text) => submitAnswer(text),
    };
  }

  window.BitwellCore({ view }).then(start);
})();
