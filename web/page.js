// Quorin Bitwell in the browser: the page's markup is the window in its
// first state, made by the build; once it shows and the chip's core is
// compiled (load.js), this starts the core, hands the markup over to the
// views and wires them to the controller. Every state change arrives
// through the controller, in the order the panel makes it; the page never
// reads a value back out of its own elements.
'use strict';

(function () {
  const named = (name, root) => (root || document).querySelector('[data-name="' + name + '"]');
  const app = named('frmMain');
  let view = null;     // the main window (view.js)
  let menus = null;    // the menu bar (menus.js)
  let timing = null;   // the timing diagram panel (timing.js), made when first shown

  // What the page was as built, for File, Save Page As: the document with
  // its scripts and style left out (they never change, and are read back
  // from the live page when saving), so that no second copy is kept.
  const pristine = document.documentElement.cloneNode(true);
  for (const node of pristine.querySelectorAll('script, style')) node.textContent = '';
  pristine.removeAttribute('class');

  // The single file as it was built: the pristine document with its
  // scripts and style put back.
  function pageText() {
    const texts = Array.from(document.querySelectorAll('script, style'), (n) => n.textContent);
    let i = 0;
    return '<!DOCTYPE html>\n' + pristine.outerHTML.replace(
      /(<(script|style)\b[^>]*>)(<\/\2>)/g, (all, open, tag, close) => open + texts[i++] + close);
  }
  function download(bytes, name, type) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  function savePage() {
    const html = pageText();
    download(html, 'bitwell.html', 'text/html');
    return html;
  }
  // Exercises, Save Attempt: the learner's name asked once (then
  // remembered), and the attempt file of every action since the start.
  const LEARNER_KEY = 'bitwell.learner';
  function saveAttempt() {
    if (!Controller.exerciseState().open) return;
    const save = (learner) => download(Controller.attemptFile(learner), 'attempt.bwa', 'text/plain');
    let learner = '';
    try { learner = localStorage.getItem(LEARNER_KEY) || ''; } catch (e) { /* storage may be off */ }
    if (learner) return save(learner);
    const say = Controller.description().exercise;
    Dialogs.askText(say.title, say.learnerName, '', (name) => {
      try { localStorage.setItem(LEARNER_KEY, name); } catch (e) { /* storage may be off */ }
      save(name);
    });
  }
  // Exercises, Export for Course Site: the file the core makes from the
  // page's own bytes (an exported page's exercise left out) and the open
  // exercise, as `kind` (Codes.Export).
  const exportFile = (kind) => Controller.exportFile(kind, Controller.utf8(pageText()));
  function exportExercise(kind) {
    download(exportFile(kind), kind === Codes.Export.WebPage ? 'bitwell-exercise.html'
      : 'bitwell-scorm-' + (kind === Codes.Export.Scorm12 ? '1.2' : '2004') + '.zip', 'application/octet-stream');
  }

  // Where a site's policy blocks the page's style alone, the window cannot
  // be drawn: only the notice shows, in the catalogue's words once the core
  // has started.
  const unstyled = !window.BitwellBuilder && !getComputedStyle(document.documentElement).getPropertyValue('--window-width');
  named('lblHeading').hidden = unstyled;

  // A copy saved by the browser as it stood opens as one window, with no
  // panel open. The notice is hidden by the style sheet alone, never
  // `hidden`, which a single-file archive would leave it out for.
  const markupLanguage = document.documentElement.lang;
  named('Ended').hidden = true;
  app.hidden = unstyled;
  for (const name of ['frmTiming', 'lblAnnounce']) named(name).replaceChildren();
  named('frmTiming').hidden = true;
  for (const box of document.querySelectorAll('dialog[open]')) box.removeAttribute('open');

  // Where the core cannot start, the markup's notice says why.
  function cannotStart() {
    document.documentElement.classList.remove('scripted', 'later');
    named('lblCannotStart').hidden = false;
  }

  // Tells assistive technology `text` once, through the polite live region
  // (never the status line, which stays the hover help). Each sentence is a
  // new node, so the same words twice are heard twice; the sentences of one
  // action follow each other, each heard on its own.
  let saying = false;
  function announce(text) {
    const line = document.createElement('p');
    line.textContent = text;
    if (saying) named('lblAnnounce').append(line);
    else named('lblAnnounce').replaceChildren(line);
    saying = true;
    queueMicrotask(() => { saying = false; });
  }

  const enterWord = () => Dialogs.enterWord(view.el.lblData.textContent, Controller.enter);
  const RUN = {
    mnuFileSavePage: () => savePage(),
    mnuFileExit: () => Dialogs.askExit(endSession),
    // Powers the chip up afresh (or restarts the exercise), asking first
    // when words the student changed would be lost.
    mnuFileRestart: () => ExercisePanel.askFirst(Controller.restart),
    mnuExerciseOpen: () => ExercisePanel.pick(),
    mnuExerciseRestart: () => Controller.exerciseRestart(),
    mnuExerciseClose: () => Controller.exerciseClose(),
    mnuExerciseCopyLink: () => ExercisePanel.copyLink(),
    mnuExerciseSaveAttempt: () => saveAttempt(),
    mnuExerciseExport: () => { if (Controller.exerciseState().open) Dialogs.askExport(exportExercise); },
    mnuEditEnter: enterWord,
    mnuEditCopyRead: () => Controller.copyRead(),
    mnuViewTiming: () => openTiming(),
    mnuHelpAbout: () => Dialogs.showAbout(),
  };
  function runItem(name) {
    const language = /^mnuLanguage\((.+)\)$/.exec(name);
    const builtin = /^mnuExerciseBuiltin\((\d+)\)$/.exec(name);
    if (language) chooseLanguage(language[1], true);
    else if (builtin) ExercisePanel.openBuiltin(+builtin[1]);
    else RUN[name]();
  }

  // Every text at once; the chip, the trace and the focus stay as they are.
  function chooseLanguage(code, remember) {
    if (!Language.choose(Controller, code, remember)) return false;
    applyTexts(Controller.describe(), false);
    return true;
  }

  // The description's texts on every view; `translated`: the markup has
  // them already, the views only learn them.
  function applyTexts(d, translated) {
    Keys.learn(d);
    Dialogs.retranslate(d, translated);
    ExercisePanel.show();
    CourseSite.retranslate();
    if (translated) return;
    document.documentElement.lang = d.window.language.replace('_', '-');
    named('lblHeading').textContent = d.window.title;
    view.retranslate(d);
    menus.retranslate(d.menus);
    for (const c of d.menus.flatMap((m) => m.items).flatMap((i) => i.items || [])) {
      if (c.check === Codes.Check.Exclusive) menus.check(c.name, c.name === 'mnuLanguage(' + d.window.language + ')');
    }
    if (timing && timing.retranslate) timing.retranslate();
  }

  // A page cannot close its own tab: it says the program has ended and
  // offers to start again from power-on.
  function endSession() {
    app.hidden = true;
    named('Ended').hidden = false;
    named('cmdRestart').focus();
  }

  // From the design-time state, unless the markup is the first state
  // already (`fromFirst`): the core then changes nothing that it shows.
  function startSession(fromFirst) {
    named('Ended').hidden = true;
    app.hidden = false;
    showTiming(false);
    if (fromFirst !== true) view.designTime(Controller.description());
    Controller.powerUp();
    ExercisePanel.show();
    if (timing) timing.reset();
    view.el.sigUB.focus();
  }

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
    if (show && !timing) timing = window.BitwellTiming(panel, Controller.module());
    if (show) timing.changed();
  }

  // What the core's changes do to the views.
  const handlers = {
    panel: {
      setSwitch: (name, v) => view.setSwitch(name, v),
      setText: (name, text) => view.setText(name, text),
      lamp: (bit, lit) => view.lamp(bit, lit),
      order: (big) => view.order(big),
    },
    traceChanged() { if (timing) timing.changed(); },
    exercise(what, builtin) {
      ExercisePanel.changed(what, builtin);
      // A restart is no action: the course site hears of it once it is checked.
      if (what === Codes.Exercise.Changed) queueMicrotask(CourseSite.update);
    },
    // An action that made the exercise done says so after what the chip
    // did, in an announcement of its own.
    actionEnded(sentence) {
      const done = ExercisePanel.takeDone();
      announce(sentence);
      if (done) announce(done);
      // A goal the action broke: "Since then: …", once, after the action's own.
      const undone = ExercisePanel.takeUndone();
      if (undone) announce(undone);
      CourseSite.update();
    },
  };

  // A scroll bar that takes room from the page takes it from the window's
  // width: the style sheet's narrow layout then begins that much wider, so
  // that no window cuts the panel's right edge. Returns the query in force.
  function narrowBelow(width) {
    const probe = document.createElement('div');
    probe.style.overflow = 'scroll';
    probe.style.position = 'absolute';
    probe.style.width = '100px';
    document.body.append(probe);
    const bar = probe.offsetWidth - probe.clientWidth;
    probe.remove();
    const query = (w) => '(max-width: ' + (w - 0.02) + 'px)';
    for (const sheet of bar ? document.styleSheets : []) {
      for (const rule of sheet.cssRules) {
        if (rule.media) rule.media.mediaText = rule.media.mediaText.replace(query(width), query(width + bar));
      }
    }
    return query(width + bar);
  }

  function start(module) {
    Controller.attach(module, handlers);
    // Shown, for the texts to be measured where they are drawn.
    document.documentElement.classList.remove('later');
    Language.start(Controller);
    const d = Controller.describe();
    if (unstyled) {
      document.documentElement.lang = d.window.language.replace('_', '-');
      named('lblCannotStart').textContent = d.dialogs.cannotStyle;
      return;
    }
    // The build's first run makes the markup that the page then carries.
    const builder = window.BitwellBuilder;
    if (builder) builder.build(d, Controller.geometry());
    const translated = !builder && d.window.language.replace('_', '-') === markupLanguage;
    menus = window.BitwellMenus(named('menubar'), runItem);
    menus.take(d.menus, translated);
    view = window.BitwellView(named('Form'), {
      move: (name, v) => Controller.moveSwitch(name, v),
      order: (name) => Controller.chooseOrder(name === 'optBig'),
      enter: enterWord,
      copy: () => Controller.copyRead(),
    });
    view.take(d, translated);
    Dialogs.take(menus);
    ExercisePanel.take(menus, announce);
    applyTexts(d, translated);
    Keys.take(menus, runItem, () => !app.hidden);
    // Hover help: the nearest hover target under the pointer replaces the
    // status line; controls without help keep it as it is. On a touch
    // screen a tap on a signal name shows its help; a finger or a pen on
    // a caption also shows it beside it, in a bubble gone at the next press
    // or after 5 s.
    const bubble = document.createElement('div');
    bubble.className = 'bubble';
    bubble.hidden = true;
    bubble.setAttribute('aria-hidden', 'true');
    document.body.append(bubble);
    let finger = false;
    let bubbleTimer = 0;
    const pointTo = (e) => {
      const help = view.helpAt(e.target);
      if (help !== null) view.el.lblStatus.textContent = help;
      const caption = e.type === 'click' && finger && help !== null && e.target.closest('.caption[data-help]');
      if (!caption) return;
      const r = caption.getBoundingClientRect();
      bubble.textContent = help;
      bubble.hidden = false;
      bubble.style.left = Math.max(0, Math.min(r.left, document.documentElement.clientWidth - bubble.offsetWidth)) + scrollX + 'px';
      bubble.style.top = r.bottom + scrollY + 4 + 'px';
      clearTimeout(bubbleTimer);
      bubbleTimer = setTimeout(() => { bubble.hidden = true; }, 5000);
    };
    document.addEventListener('pointerdown', (e) => {
      finger = e.pointerType === 'touch' || e.pointerType === 'pen';
      bubble.hidden = true;
    }, true);
    named('Form').addEventListener('mousemove', pointTo);
    named('Form').addEventListener('click', pointTo);
    named('cmdRestart').addEventListener('click', () => startSession());
    // Leaving or reloading asks first while words the student changed or
    // an exercise under way would be lost, unless a course site keeps the
    // state: a module that found its API sets window.bitwellStateKept.
    window.addEventListener('beforeunload', (e) => {
      if (window.bitwellStateKept || app.hidden) return;
      const x = Controller.exerciseState();
      if (!Controller.memoryAtPowerOn() || (x.open && x.actions > 0 && !x.done)) e.preventDefault();
    });
    // The title captions keep "0x" clear in the layout now in force: below
    // the window's width the style sheet stacks the groups. Measured once
    // the core's first state is drawn: moving the breakpoint restyles the
    // whole window, which the first click need not wait for.
    requestAnimationFrame(() => setTimeout(() => {
      window.matchMedia(narrowBelow(d.window.width / 15)).addEventListener('change', () => view.narrowChanged());
    }));
    // The markup as built is the first state; a copy saved as it stood is not.
    startSession('first' in app.dataset);
    delete app.dataset.first;
    // An exported page opens at the exercise it carries, and reports to the
    // course site its block names; otherwise a teacher's link opens its
    // exercise. A bad one says why, and the page goes on without one.
    const carried = document.getElementById('bitwell-exercise');
    if (carried) {
      if (ExercisePanel.openLink('#exercise=' + carried.textContent.trim()) && carried.dataset.scorm) {
        CourseSite.start(carried.dataset.scorm);
      }
    } else if (location.hash.startsWith('#exercise=')) {
      ExercisePanel.openLink(location.hash);
    }
    if (builder) builder.finish();
    // The frame that shows the core's state: since navigation start.
    requestAnimationFrame(() => { window.bitwellShownAt = performance.now(); });
    // For tests and measurements: the chip's own counters and entry points.
    window.Bitwell = {
      runs: () => Controller.runs(),
      csv: () => Controller.csv(),
      enter: (answer) => Controller.enter(answer),
      language: (code) => chooseLanguage(code, false),
      exercise: () => Controller.exerciseState(),
      openExercise: (text, name) => ExercisePanel.openText(text, name),
      savedPage: () => savePage(),
      exported: (kind) => exportFile(kind),
      attempt: (learner) => new TextDecoder().decode(Controller.attemptFile(learner)),
      cannotStart: () => Controller.description().dialogs.cannotStart,
    };
  }

  // The core takes the markup over once it is compiled, which is never
  // before the markup is drawn.
  CoreFile.compiled
    .then((wasm) => BitwellCore({
      view: Controller.coreView,
      instantiateWasm: (imports, done) => { WebAssembly.instantiate(wasm, imports).then((i) => done(i)); return {}; },
    }))
    .then(start, cannotStart);
})();
