// The page's controller: everything the page asks of the chip's core, by
// the names of web/codes.h, and what the core says back, handed on by name
// to the page's views. It never touches the DOM.
'use strict';

const Controller = (() => {
  let core = null;          // the WebAssembly module, once started
  let description = null;   // the window as the core describes it, in the current language
  let builtinOpen = -1;     // the course's exercise that is open, -1 for any other or none
  let views = null;         // what the core's changes are handed to (Controller.start)
  // The names of the codes the core sends, by value.
  const LEVELS = [];
  for (const [name, value] of Object.entries(Codes.Level)) LEVELS[value] = name;
  const TEXTS = { [Codes.Text.Address]: 'lblAddr', [Codes.Text.Data]: 'lblData', [Codes.Text.Read]: 'lblRead',
                  [Codes.Text.Contents]: 'lblContents', [Codes.Text.Types]: 'lblTypes' };

  // A string the core returns, up to its NUL: found by the typed array's own
  // search, where the core's glue steps byte by byte in script, which at
  // start-up costs milliseconds on the description alone.
  const decoder = new TextDecoder();
  const text = (at) => (at ? decoder.decode(core.HEAPU8.subarray(at, core.HEAPU8.indexOf(0, at))) : '');
  const utf8 = (s) => new TextEncoder().encode(s);

  // `bytes` (a Uint8Array) in the core's memory for `run(address)`, freed after.
  function withBytes(bytes, run) {
    const at = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, at);
    core.HEAPU8[at + bytes.length] = 0;
    try { return run(at); } finally { core._free(at); }
  }

  // What the core says, as it happens, in the views' names.
  const coreView = {
    level(c, v) { views.panel.setSwitch('sig' + LEVELS[c], v); },
    addressBit(bit, v) { views.panel.setSwitch('sigAddr(' + bit + ')', v); },
    dataBit(bit, v) { views.panel.setSwitch('sigData(' + bit + ')', v); },
    text(which, t) { views.panel.setText(TEXTS[which], t.replace(/\r\n/g, '\n')); },
    lamp(bit, lit) { views.panel.lamp(bit, lit); },
    order(big) { views.panel.order(big); },
    step() { views.traceChanged(); },
    cleared() { views.traceChanged(); },
    exercise(what) { views.exercise(what, what === Codes.Exercise.Done && builtinOpen >= 0 ? builtinOpen : -1); },
    actionEnded(sentence) { views.actionEnded(sentence); },
  };

  // The grapheme clusters of `s`, as the user sees its characters.
  function characters(s) {
    if (typeof Intl !== 'undefined' && Intl.Segmenter) {
      return Array.from(new Intl.Segmenter(undefined, { granularity: 'grapheme' }).segment(s), (g) => g.segment);
    }
    // Without a segmenter: code points, each with the marks that follow it.
    const out = [];
    for (const c of Array.from(s)) {
      if (out.length && /^[\u0300-\u036F\u1AB0-\u1AFF\u1DC0-\u1DFF\u20D0-\u20FF\uFE20-\uFE2F\uFE00-\uFE0F\u200D]$/.test(c)) out[out.length - 1] += c;
      else out.push(c);
    }
    return out;
  }

  return {
    // Starts on the core's module; `handlers` receive its changes.
    attach(module, handlers) { core = module; views = handlers; },
    coreView,
    module: () => core,
    description: () => description,
    describe() { description = JSON.parse(text(core._bw_description())); return description; },
    powerUp() { builtinOpen = -1; core._bw_power_up(); },
    moveSwitch(name, v) {
      const bit = /\((\d+)\)/.exec(name);
      if (name.startsWith('sigAddr')) core._bw_move_address_bit(+bit[1], v);
      else if (name.startsWith('sigData')) core._bw_move_data_bit(+bit[1], v);
      else core._bw_move_level(Codes.Level[name.slice(3)], v);
    },
    chooseOrder(big) { core._bw_choose_order(big ? 1 : 0); },
    copyRead() { core._bw_copy_read(); },
    // The answer upper-cased and split as the user sees it (the two steps
    // the core leaves to the toolkit); the core keeps the first four
    // characters, checks them and quotes them: { kind (Codes.Entry), text }.
    enter(answer) {
      core._bw_enter_begin();
      for (const c of characters(answer.toUpperCase())) {
        const at = core._malloc(2 * c.length + 2);
        for (let i = 0; i < c.length; ++i) core.HEAPU16[(at >> 1) + i] = c.charCodeAt(i);
        core._bw_enter_char(at, c.length);
        core._free(at);
      }
      const kind = core._bw_enter_end();
      return { kind, text: kind === Codes.Entry.Nothing ? '' : core.UTF16ToString(core._bw_entry_text()) };
    },
    memoryAtPowerOn: () => !!core._bw_memory_at_power_on(),
    restart() { core._bw_restart(); },
    runs: () => core._bw_update_memory_runs(),
    csv: () => text(core._bw_trace_csv()),
    // Languages: true, and every later text in that language, for a code we have.
    setLanguage: (code) => !!withBytes(utf8(code), (at) => core._bw_set_language(at)),
    pickLanguage: (tags) => withBytes(utf8(tags.join('\n')), (at) => text(core._bw_pick_language(at))),
    geometry: () => JSON.parse(text(core._bw_geometry())),
    // Opens an exercise from `source` (Codes.Source): a file's bytes and
    // name, a link's text, or the course's exercise `index`. Null when
    // open, else the error to show; a bad one changes nothing.
    openExercise(source, bytes, name, index) {
      const before = builtinOpen;
      builtinOpen = source === Codes.Source.Builtin ? index : -1;
      const length = source === Codes.Source.Builtin ? index : bytes.length;
      const ok = withBytes(bytes, (b) => withBytes(utf8(name), (n) => core._bw_exercise_open(source, b, length, n)));
      if (ok) return null;
      builtinOpen = before;
      return text(core._bw_exercise_error());
    },
    exerciseState: () => JSON.parse(text(core._bw_exercise_state())),
    exerciseRestart() { core._bw_exercise_restart(); },
    exerciseHint() { core._bw_exercise_hint(); },
    exerciseClose() { core._bw_exercise_close(); builtinOpen = -1; },
    exerciseLink: () => text(core._bw_exercise_link()),
    // The open exercise's resume snapshot, and a resume from one: false
    // when it did not fit, the exercise then started afresh.
    snapshot: () => text(core._bw_snapshot()),
    resume: (snapshot) => !!withBytes(utf8(snapshot), (at) => core._bw_resume(at)),
    // The open exercise exported as `kind` (Codes.Export) from the page's
    // plain bytes: a copy of the file's bytes, empty without an exercise.
    attemptFile(learner) {
      const at = withBytes(utf8(learner), (l) => core._bw_attempt(l));
      return core.HEAPU8.slice(at, at + core._bw_export_size());
    },
    exportFile(kind, page) {
      const at = withBytes(page, (p) => core._bw_export(kind, p, page.length));
      return core.HEAPU8.slice(at, at + core._bw_export_size());
    },
    utf8,
    text,
  };
})();
