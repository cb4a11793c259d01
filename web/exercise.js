// The exercise panel: the open exercise's title, task, goals, hints and
// result as the core's session has them (the teacher's texts, set as text
// only), the course's items checked when done, and every way an exercise
// is opened: the menu, a file picked or dropped, a teacher's link.
'use strict';

const ExercisePanel = (() => {
  const DONE_KEY = 'bitwell.exercisesDone';  // the built-in exercises done, by file name
  let doneNow = '';   // "Done in N actions." until the action that did it is said
  let undoneNow = ''; // "Done in N actions. Since then: …" until the action that broke a goal is said
  let menus = null;
  let announce = null;

  const named = (name) => document.querySelector('[data-name="' + name + '"]');
  const panel = () => named('frmExercise');

  function doneList() {
    try { return JSON.parse(localStorage.getItem(DONE_KEY) || '[]'); } catch (e) { return []; }
  }

  function builtinItems() {
    return Controller.description().menus.find((m) => m.name === 'mnuExercise').items.filter((i) => i.file);
  }

  // A bad exercise shows its error and changes nothing.
  function open(source, bytes, name, index) {
    const error = Controller.openExercise(source, bytes, name, index);
    if (error !== null) Dialogs.showError(Controller.description().exercise.title, error);
    return error === null;
  }
  // Opened from the menu or a file picked or dropped: the panel comes into
  // view, wherever the page was, with its title focused to be read first.
  function openShown(source, bytes, name, index) {
    if (!open(source, bytes, name, index)) return;
    const title = named('lblExerciseTitle');
    title.tabIndex = -1;
    title.focus({ preventScroll: true });
    panel().scrollIntoView({ block: 'nearest' });
  }
  // Runs `then` at once when no word the student changed would be lost
  // (inside an exercise, none other than its start), else once they say yes.
  const askFirst = (then) => (Controller.memoryAtPowerOn() ? then() : Dialogs.askRestart(then));
  function openFile(file) {
    file.arrayBuffer().then((buffer) => {
      // A file over the limit is refused by the core from its first 64 KiB and one byte.
      const bytes = new Uint8Array(buffer, 0, Math.min(buffer.byteLength, 64 * 1024 + 1));
      askFirst(() => openShown(Codes.Source.File, bytes, file.name, -1));
    });
  }
  const openLink = (hash) => open(Codes.Source.Link, Controller.utf8(hash), '', -1);

  // The panel drawn from the session.
  function show() {
    const p = panel();
    const state = Controller.exerciseState();
    const say = Controller.description().exercise;
    p.setAttribute('aria-label', say.title);
    menus.accessText(named('cmdHint'), say.hintButton);
    menus.accessText(named('cmdExerciseRestart'), say.restartButton);
    named('lstGoals').setAttribute('aria-label', say.goals);
    named('lblExerciseHint').setAttribute('aria-label', say.hint);
    const done = doneList();
    for (const item of builtinItems()) menus.check(item.name, done.includes(item.file));
    p.hidden = !state.open;
    if (!state.open) {
      delete p.dataset.done;
      delete p.dataset.link;
      return;
    }
    named('lblExerciseTitle').textContent = state.title;
    named('lblExerciseText').textContent = state.text;
    const list = named('lstGoals');
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
    const hint = named('lblExerciseHint');
    hint.textContent = state.hints.join('\n');
    hint.hidden = state.hints.length === 0;
    named('cmdHint').disabled = !state.more;
    named('lblExerciseResult').textContent = state.result;
    if (state.done) p.dataset.done = 'true'; else delete p.dataset.done;
  }

  return {
    show,
    askFirst,
    takeDone() {
      const sentence = doneNow;
      doneNow = '';
      return sentence;
    },
    // The sentence of a goal the last action broke, once.
    takeUndone() {
      const sentence = undoneNow;
      undoneNow = '';
      return sentence;
    },
    // What the session says (Codes.Exercise); `builtin` is the course's
    // exercise just done, or -1.
    changed(what, builtin) {
      if (!Controller.description()) return;
      const item = builtin >= 0 && builtinItems().find((i) => i.name === 'mnuExerciseBuiltin(' + builtin + ')');
      if (item) {
        const done = doneList();
        if (!done.includes(item.file)) done.push(item.file);
        try { localStorage.setItem(DONE_KEY, JSON.stringify(done)); } catch (e) { /* storage may be off */ }
      }
      show();
      if (what === Codes.Exercise.Undone) undoneNow = named('lblExerciseResult').textContent;
      if (what === Codes.Exercise.Done) {
        doneNow = named('lblExerciseResult').textContent;
        // Heard after the sentence of the action that did it, which takes
        // it; alone where no action is said. Both come from one call into
        // the core; what follows it is new.
        queueMicrotask(() => { if (doneNow) announce(doneNow); doneNow = ''; });
      }
    },
    // From the menu, the picker or a drop: asking first, as File, Restart does.
    openBuiltin: (index) => askFirst(() => openShown(Codes.Source.Builtin, new Uint8Array(0), '', index)),
    openText: (text, name) => open(Codes.Source.File, Controller.utf8(text), name, -1),
    openLink,
    pick() {
      const input = named('filExercise');
      input.value = '';
      input.click();
    },
    copyLink() {
      const code = Controller.exerciseLink();
      if (!code) return;
      const link = location.href.replace(/#.*$/, '') + '#exercise=' + code;
      panel().dataset.link = link;
      // Where the clipboard is refused (plain http, a frame of another
      // site), the link is offered selected under "Copy this link".
      const offer = () => Dialogs.showError(Controller.description().exercise.copyLink, link, true);
      if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(link).catch(offer);
      else offer();
    },
    take(menuBar, say) {
      menus = menuBar;
      announce = say;
      named('cmdHint').addEventListener('click', () => { Controller.exerciseHint(); show(); });
      named('cmdExerciseRestart').addEventListener('click', () => Controller.exerciseRestart());
      named('filExercise').addEventListener('change', (e) => { if (e.target.files[0]) openFile(e.target.files[0]); });
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
    },
  };
})();
