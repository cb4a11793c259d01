// Quorin Bitwell in the browser: the page draws the panel and forwards what
// the student does to the chip's own rules, compiled to WebAssembly. Every
// state change arrives through `view`, in the order the panel makes it; the
// page never reads a value back out of its own elements.
'use strict';

(function () {
  const LEVELS = ['CE', 'OE', 'WE', 'LB', 'UB'];  // the core's order
  const STORE_KEY = 'bitwell.language';
  const DONE_KEY = 'bitwell.exercisesDone';  // the built-in exercises done, by file name

  // A copy saved by the browser holds the window as it was built: it is
  // built again from empty containers and its first state, so that it opens
  // as one window (and says so where it cannot start).
  for (const name of ['menubar', 'Form', 'frmTiming', 'lblAnnounce']) named(name).replaceChildren();
  for (const [name, hidden] of [['lblCannotStart', false], ['frmTiming', true], ['Ended', true], ['frmMain', false]]) {
    named(name).hidden = hidden;
  }
  document.getElementById('fit').hidden = true;
  named('frmMain').removeAttribute('style');
  for (const box of document.querySelectorAll('dialog[open]')) box.removeAttribute('open');

  // What the page was before anything was built, for File, Save Page As:
  // the document with its scripts and style left out (they never change, and
  // are read back from the live page when saving), so that no second copy
  // of the page is kept.
  const pristine = (() => {
    const copy = document.documentElement.cloneNode(false);
    copy.innerHTML = document.documentElement.innerHTML.replace(
      /(<(script|style)\b[^>]*>)[\s\S]*?(<\/\2>)/g, (all, open, tag, close) => open + close);
    return copy;
  })();
  const bodies = () => Array.from(document.querySelectorAll('script, style'), (n) => n.textContent);

  // The downloaded single file: the pristine document with its scripts and
  // style put back, as it was built.
  function savePage() {
    const texts = bodies();
    let i = 0;
    const html = '<!DOCTYPE html>\n' + pristine.outerHTML.replace(
      /(<(script|style)\b[^>]*>)(<\/\2>)/g, (all, open, tag, close) => open + texts[i++] + close);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([html], { type: 'text/html' }));
    link.download = 'bitwell.html';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    return html;
  }

  const surface = named('Form');
  const app = named('frmMain');
  let core = null;        // the WebAssembly module, once ready
  let description = null; // the window as the core describes it, in the chosen language
  let view = null;
  let el = {};

  function named(name, root) {
    return (root || document).querySelector('[data-name="' + name + '"]');
  }

  function describe() { return JSON.parse(core.UTF8ToString(core._bw_description())); }

  // ---- What the student does, handed to the core ----

  const gestures = {
    move(name, v) {
      const bit = /\((\d+)\)/.exec(name);
      if (name.startsWith('sigAddr')) core._bw_move_address_bit(+bit[1], v);
      else if (name.startsWith('sigData')) core._bw_move_data_bit(+bit[1], v);
      else core._bw_move_level(LEVELS.indexOf(name.slice(3)), v);
    },
    order(name) { core._bw_choose_order(name === 'optBig' ? 1 : 0); },
    enter() { enterDataWord(); },
    copy() { copyRead(); },
  };

  // Hover help: the nearest hover target under the pointer replaces the
  // status line; controls without help keep it as it is.
  function pointTo(target) {
    const help = view.helpAt(target);
    if (help !== null) el.lblStatus.textContent = help;
  }

  // ---- What the panel tells the page ----

  const TEXTS = ['lblAddr', 'lblData', 'lblRead', 'lblContents', 'lblTypes'];
  const panelView = {
    level(c, v) { view.setSwitch('sig' + LEVELS[c], v); },
    addressBit(bit, v) { view.setSwitch('sigAddr(' + bit + ')', v); },
    dataBit(bit, v) { view.setSwitch('sigData(' + bit + ')', v); },
    text(which, text) { el[TEXTS[which]].textContent = text.replace(/\r\n/g, '\n'); },
    lamp(bit, lit) { view.lamp(bit, lit); },
    order(big) { el[big ? 'optBig' : 'optLittle'].checked = true; },
    step() { if (timing) timing.changed(); },
    cleared() { if (timing) timing.changed(); },
    exercise(what) { exerciseChanged(what); },
    // An action that made the exercise done says so after what the chip
    // did, in one announcement.
    actionEnded(sentence) {
      announce(doneNow ? description.dialogs.actionAndDone.replace('%1', sentence).replace('%2', doneNow) : sentence);
      // A goal the action broke: "Since then: …", once, after the action's own.
      if (undoneNow) announce(undoneNow);
      undoneNow = '';
    },
  };

  // Tells assistive technology `text` once, through the polite live region
  // (never the status line, which stays the hover help). Each sentence is a
  // new node, so the same words twice are heard twice.
  function announce(text) {
    const region = named('lblAnnounce');
    const line = document.createElement('p');
    line.textContent = text;
    region.replaceChildren(line);
  }

  // ---- Typed entry and copy ----

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

  // The answer upper-cased and split as the user sees it (the two steps the
  // core leaves to the toolkit); the core keeps the first four characters,
  // checks them and quotes them. Returns what the core said.
  function submitAnswer(answer) {
    core._bw_enter_begin();
    for (const c of characters(answer.toUpperCase())) {
      const bytes = 2 * c.length;
      const at = core._malloc(bytes + 2);
      for (let i = 0; i < c.length; ++i) core.HEAPU16[(at >> 1) + i] = c.charCodeAt(i);
      core._bw_enter_char(at, c.length);
      core._free(at);
    }
    const kind = core._bw_enter_end();
    return { kind, text: kind ? core.UTF16ToString(core._bw_entry_text()) : '' };
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

  // A message in the error box under another title, the box's own title
  // given back once it closes.
  function showError(title, message) {
    const box = errorBox();
    named('lblTitle', box).textContent = title;
    named('lblMessage', box).textContent = message;
    ask(box, () => { named('lblTitle', box).textContent = description.dialogs.errorTitle; });
  }

  // ---- Menus ----

  let menus = null;
  const RUN = {
    mnuFileSavePage: () => savePage(),
    mnuFileExit: () => askExit(),
    mnuFileRestart: () => askRestart(),
    mnuExerciseOpen: () => pickExercise(),
    mnuExerciseRestart: () => core._bw_exercise_restart(),
    mnuExerciseClose: () => closeExercise(),
    mnuExerciseCopyLink: () => copyExerciseLink(),
    mnuEditEnter: () => enterDataWord(),
    mnuEditCopyRead: () => copyRead(),
    mnuViewTiming: () => openTiming(),
    mnuHelpAbout: () => showAbout(),
  };
  function runItem(name) {
    const language = /^mnuLanguage\((.+)\)$/.exec(name);
    const builtin = /^mnuExerciseBuiltin\((\d+)\)$/.exec(name);
    if (language) chooseLanguage(language[1], true);
    else if (builtin) openBuiltin(+builtin[1]);
    else RUN[name]();
  }
  function closeMenus() { if (menus) menus.close(); }

  // ---- Languages ----

  // The language at start: ?lang= if we have it, else the one chosen
  // before, else the first of the browser's that we have, else English.
  function startLanguage() {
    const asked = new URLSearchParams(location.search).get('lang');
    let kept = null;
    try { kept = localStorage.getItem(STORE_KEY); } catch (e) { /* storage may be off */ }
    for (const code of [asked, kept]) {
      if (code && setLanguage(code)) return;
    }
    const tags = (navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || 'en']).join('\n');
    setLanguage(withBytes(utf8(tags), (at) => core.UTF8ToString(core._bw_pick_language(at))));
  }

  // True, and every later lookup in that language, for a code we have.
  function setLanguage(code) { return !!withBytes(utf8(code), (at) => core._bw_set_language(at)); }

  // Every text at once; the chip, the trace and the focus stay as they are.
  function chooseLanguage(code, remember) {
    if (!setLanguage(code)) return false;
    if (remember) {
      try { localStorage.setItem(STORE_KEY, code); } catch (e) { /* storage may be off */ }
    }
    applyTexts();
    return true;
  }

  function applyTexts() {
    description = describe();
    document.documentElement.lang = description.window.language.replace('_', '-');
    named('lblHeading').textContent = description.window.title;
    view.retranslate(description);
    menus.retranslate(description.menus);
    for (const c of description.menus.flatMap((m) => m.items).flatMap((i) => i.items || [])) {
      if (c.check === 2) menus.check(c.name, c.name === 'mnuLanguage(' + description.window.language + ')');
    }
    const d = description.dialogs;
    const set = (box, name, value) => { named(name, box).textContent = value; };
    const input = named('InputBox');
    set(input, 'lblTitle', d.inputTitle);
    set(input, 'lblPrompt', d.inputPrompt);
    set(input, 'cmdOK', d.ok);
    set(input, 'cmdCancel', d.cancel);
    set(errorBox(), 'lblTitle', d.errorTitle);
    set(errorBox(), 'cmdOK', d.ok);
    const exit = exitBox();
    set(exit, 'lblTitle', d.exitTitle);
    set(exit, 'lblMessage', d.exitQuestion);
    exitKeys.yes = menus.accessText(named('cmdYes', exit), d.yes);
    exitKeys.no = menus.accessText(named('cmdNo', exit), d.no);
    const about = named('frmAbout');
    set(about, 'lblTitle', d.aboutTitle);
    about.style.width = description.aboutWindow.width / 15 + 'px';
    about.querySelector('form').style.height = description.aboutWindow.height / 15 + 'px';
    for (const c of description.about) {
      const node = named(c.name, about);
      node.textContent = c.caption;
      Object.assign(node.style, { left: c.left / 15 + 'px', top: c.top / 15 + 'px', width: c.width / 15 + 'px' });
      if (c.kind === 'button') node.style.height = c.height / 15 + 'px';
    }
    set(document, 'lblEnded', d.ended);
    set(document, 'cmdRestart', d.startAgain);
    const restart = restartBox();
    set(restart, 'lblTitle', description.exercise.restartTitle);
    set(restart, 'lblMessage', description.exercise.restartQuestion);
    menus.accessText(named('cmdYes', restart), d.yes);
    menus.accessText(named('cmdNo', restart), d.no);
    showExercise();
    // The HTML carries the notice in English, for when no script runs at
    // all; from here on it is the catalogue's, in the chosen language.
    set(document, 'lblCannotStart', d.cannotStart);
    if (timing && timing.retranslate) timing.retranslate();
  }
  const exitKeys = { yes: '', no: '' };

  // ---- About, exit, and the end of a session ----

  function showAbout() { ask(named('frmAbout'), () => {}); }

  function exitBox() { return document.querySelector('dialog[data-kind="exit"]'); }

  function askExit() {
    const box = exitBox();
    ask(box, (answer) => { if (answer === 'yes') endSession(); });
    named('cmdYes', box).focus();
  }

  // The letters the Exit dialog's buttons underline answer it, in the
  // current language, as they do on the desktop.
  function onExitKey(e) {
    if (e.ctrlKey || e.metaKey || e.key.length !== 1) return;
    const key = e.key.toLowerCase();
    const box = exitBox();
    for (const answer of ['yes', 'no']) {
      if (exitKeys[answer] && exitKeys[answer].toLowerCase() === key) {
        e.preventDefault();
        named(answer === 'yes' ? 'cmdYes' : 'cmdNo', box).click();
        return;
      }
    }
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
    view.designTime(description);
    core._bw_power_up();
    builtinOpen = -1;
    showExercise();
    if (timing) timing.reset();
    fit();
    el.sigUB.focus();
  }

  // ---- File, Restart ----

  function restartBox() { return document.querySelector('dialog[data-kind="restart"]'); }

  // Runs `then` at once when no word the student changed would be lost
  // (inside an exercise, none other than its start), else once they say yes.
  function askFirst(then) {
    if (core._bw_memory_at_power_on()) { then(); return; }
    const box = restartBox();
    ask(box, (answer) => { if (answer === 'yes') then(); });
    named('cmdNo', box).focus();
  }
  // Powers the chip up afresh (or restarts the exercise), asking first.
  function askRestart() { askFirst(() => core._bw_restart()); }

  // ---- Exercises ----

  // `bytes` (a Uint8Array) in the core's memory for `run(address)`, freed after.
  function withBytes(bytes, run) {
    const at = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, at);
    core.HEAPU8[at + bytes.length] = 0;
    try { return run(at); } finally { core._free(at); }
  }
  const utf8 = (s) => new TextEncoder().encode(s);

  // Opens an exercise: a file's bytes with its name, a link's text
  // (`length` -1) or a built-in one (`length` -2, name holding its index).
  // A bad one shows its error and changes nothing.
  // `builtin` is its place in the course, -1 for any other: set before it
  // starts, for an exercise done at its start to be counted as itself.
  function openExercise(bytes, length, name, builtin) {
    const before = builtinOpen;
    builtinOpen = builtin;
    const ok = withBytes(bytes, (b) => withBytes(name, (n) => core._bw_exercise_open(b, length, n)));
    if (!ok) {
      builtinOpen = before;
      showError(description.exercise.title, core.UTF8ToString(core._bw_exercise_error()));
    }
    return !!ok;
  }
  // From the menu, the picker or a drop: asking first, as File, Restart does.
  function openBuiltin(index) { askFirst(() => openExercise(new Uint8Array(0), -2, Uint8Array.of(index), index)); }
  function openFile(file) {
    file.arrayBuffer().then((buffer) => {
      // A file over the limit is refused by the core from its first 64 KiB and one byte.
      const bytes = new Uint8Array(buffer, 0, Math.min(buffer.byteLength, 64 * 1024 + 1));
      askFirst(() => openExercise(bytes, bytes.length, utf8(file.name), -1));
    });
  }
  function openLink(hash) {
    openExercise(utf8(hash), -1, new Uint8Array(0), -1);
  }
  let builtinOpen = -1;

  function pickExercise() {
    const input = named('filExercise');
    input.value = '';
    input.click();
  }

  function closeExercise() {
    core._bw_exercise_close();
    builtinOpen = -1;
  }

  function exerciseLink() {
    const link = core.UTF8ToString(core._bw_exercise_link());
    return link ? location.href.replace(/#.*$/, '') + '#exercise=' + link : '';
  }
  function copyExerciseLink() {
    const link = exerciseLink();
    if (!link) return;
    named('frmExercise').dataset.link = link;
    if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(link).catch(() => {});
  }

  function doneList() {
    try { return JSON.parse(localStorage.getItem(DONE_KEY) || '[]'); } catch (e) { return []; }
  }

  // What the session tells the page: 0 opened, restarted or closed; 1 the
  // goals checked; 2 just done; 3 a goal of a done exercise just broke.
  let doneNow = '';
  let undoneNow = '';
  function exerciseChanged(what) {
    if (!description) return;
    const file = what === 2 && builtinOpen >= 0 ? builtinFile(builtinOpen) : '';
    if (file) {
      const done = doneList();
      if (!done.includes(file)) done.push(file);
      try { localStorage.setItem(DONE_KEY, JSON.stringify(done)); } catch (e) { /* storage may be off */ }
    }
    showExercise();
    if (what === 3) undoneNow = named('lblExerciseResult').textContent;
    if (what === 2) {
      doneNow = named('lblExerciseResult').textContent;
      announce(doneNow);
      // Both come from one call into the core; what follows it is new.
      queueMicrotask(() => { doneNow = ''; });
    }
  }

  function builtinItems() {
    return description.menus.find((m) => m.name === 'mnuExercise').items.filter((i) => i.file);
  }
  function builtinFile(index) {
    const item = builtinItems().find((i) => i.name === 'mnuExerciseBuiltin(' + index + ')');
    return item ? item.file : '';
  }

  // The panel drawn from the session: texts are the teacher's, set as text only.
  function showExercise() {
    const panel = named('frmExercise');
    const state = JSON.parse(core.UTF8ToString(core._bw_exercise_state()));
    const say = description.exercise;
    panel.setAttribute('aria-label', say.title);
    menus.accessText(named('cmdHint', panel), say.hintButton);
    menus.accessText(named('cmdExerciseRestart', panel), say.restartButton);
    named('lstGoals', panel).setAttribute('aria-label', say.goals);
    named('lblExerciseHint', panel).setAttribute('aria-label', say.hint);
    const done = doneList();
    for (const item of builtinItems()) menus.check(item.name, done.includes(item.file));
    const wasHidden = panel.hidden;
    panel.hidden = !state.open;
    if (!state.open) {
      delete panel.dataset.done;
      delete panel.dataset.link;
      if (!wasHidden) fit();
      return;
    }
    named('lblExerciseTitle', panel).textContent = state.title;
    named('lblExerciseText', panel).textContent = state.text;
    const list = named('lstGoals', panel);
    while (list.children.length > state.goals.length) list.lastChild.remove();
    while (list.children.length < state.goals.length) {
      const item = document.createElement('div');
      item.setAttribute('role', 'checkbox');
      item.setAttribute('aria-readonly', 'true');
      item.dataset.name = 'goal(' + list.children.length + ')';
      const box = document.createElement('span');
      box.className = 'box';
      box.setAttribute('aria-hidden', 'true');
      item.append(box, document.createElement('span'));
      list.appendChild(item);
    }
    state.goals.forEach((goal, i) => {
      const item = list.children[i];
      item.setAttribute('aria-checked', goal.holds ? 'true' : 'false');
      item.firstChild.textContent = goal.holds ? '\u2611' : '\u2610';
      item.lastChild.textContent = goal.text;
    });
    const hint = named('lblExerciseHint', panel);
    hint.textContent = state.hints.join('\n');
    hint.hidden = state.hints.length === 0;
    named('cmdHint', panel).disabled = !state.more;
    named('lblExerciseResult', panel).textContent = state.result;
    if (state.done) panel.dataset.done = 'true'; else delete panel.dataset.done;
    if (wasHidden) fit();
  }

  // Says `text` to assistive technology as the panel's actions are said.
  function exerciseEvents() {
    const panel = named('frmExercise');
    named('cmdHint', panel).addEventListener('click', () => { core._bw_exercise_hint(); showExercise(); });
    named('cmdExerciseRestart', panel).addEventListener('click', () => core._bw_exercise_restart());
    named('filExercise', panel).addEventListener('change', (e) => { if (e.target.files[0]) openFile(e.target.files[0]); });
    // A .bwx file dropped anywhere on the page opens it.
    const isFile = (e) => e.dataTransfer && Array.from(e.dataTransfer.types || []).includes('Files');
    document.addEventListener('dragover', (e) => { if (isFile(e)) e.preventDefault(); });
    document.addEventListener('drop', (e) => {
      if (!isFile(e)) return;
      e.preventDefault();
      const file = Array.from(e.dataTransfer.files).find((f) => /\.bwx$/i.test(f.name));
      if (file) openFile(file);
    });
    window.addEventListener('hashchange', () => {
      if (location.hash.startsWith('#exercise=')) openLink(location.hash);
    });
  }

  // ---- Keyboard ----

  function onKey(e) {
    // Once the session has ended only Start Again answers.
    if (app.hidden) return;
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
      openTiming();
      return;
    }
    if (e.altKey && !e.ctrlKey && e.key.length === 1 && menus.openByKey(e.key)) e.preventDefault();
    if (e.key === 'F10' && !e.ctrlKey && !e.altKey) { e.preventDefault(); menus.openFirst(); }
  }

  // ---- Fitting narrow screens ----

  // 1:1 from the window's own width up; below it the style sheet stacks the
  // groups (the narrow layout): nothing is ever scaled, so browser zoom keeps
  // growing the text and the targets.
  const narrow = window.matchMedia('(max-width: 592.98px)');
  function fit() {
    app.style.transform = '';
    document.getElementById('fit').style.height = '';
  }

  // ---- The timing diagram panel ----

  let timing = null;
  // View, Timing Diagram and its keys: shown, the diagram takes the focus
  // so that Left and Right work at once (never Clear, which Space would
  // press); hidden, the focus stays where it is.
  function openTiming() {
    const show = named('frmTiming').hidden;
    showTiming(show);
    if (show) timing.focus();
  }

  function showTiming(show) {
    const panel = named('frmTiming');
    panel.hidden = !show;
    menus.check('mnuViewTiming', show);
    if (show && !timing) timing = window.BitwellTiming(panel, core);
    if (show) timing.changed();
    fit();
  }

  // ---- Start-up ----

  function start(module) {
    core = module;
    named('lblCannotStart').hidden = true;
    document.getElementById('fit').hidden = false;
    startLanguage();
    description = describe();
    menus = window.BitwellMenus(named('menubar'), runItem);
    menus.build(description.menus);
    view = window.BitwellView(surface, gestures);
    el = view.el;
    view.build(description);
    applyTexts();
    surface.addEventListener('mousemove', (e) => pointTo(e.target));
    // On a touch screen a tap on a signal name shows its help.
    surface.addEventListener('click', (e) => pointTo(e.target));
    document.addEventListener('keydown', onKey);
    exitBox().addEventListener('keydown', onExitKey);
    named('cmdRestart').addEventListener('click', startSession);
    window.addEventListener('resize', fit);
    exerciseEvents();
    narrow.addEventListener('change', () => { fit(); view.narrowChanged(); });
    startSession();
    // A teacher's link opens its exercise; a bad one says why, and the page
    // goes on without one.
    if (location.hash.startsWith('#exercise=')) openLink(location.hash);
    // The frame that shows the start-up state: since navigation start.
    requestAnimationFrame(() => { window.bitwellShownAt = performance.now(); });
    // For tests and measurements: the chip's own counters and entry points.
    window.Bitwell = {
      runs: () => core._bw_update_memory_runs(),
      csv: () => core.UTF8ToString(core._bw_trace_csv()),
      enter: (answer) => submitAnswer(answer),
      language: (code) => chooseLanguage(code, false),
      exercise: () => JSON.parse(core.UTF8ToString(core._bw_exercise_state())),
      openExercise: (text, name) => openExercise(utf8(text), utf8(text).length, utf8(name), -1),
      savedPage: () => savePage(),
      cannotStart: () => description.dialogs.cannotStart,
    };
  }

  // The chip's core: the WebAssembly the page carries, gzip-compressed in
  // base64, inflated by the browser and handed to its loader.
  function coreBinary() {
    const text = document.getElementById('core-wasm').textContent.trim();
    const bytes = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
    const inflated = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(inflated).arrayBuffer();
  }

  coreBinary()
    .then((wasmBinary) => window.BitwellCore({ view: panelView, wasmBinary }))
    .then(start);
})();
