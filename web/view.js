// The page's view of the main window. Its controls are in the page's
// markup, made by the build from the core's description of the window
// (web/builder.js); the view takes them over, draws what the controller
// tells it, and hands the student's gestures on. It holds no text and no
// place of its own.
'use strict';

window.BitwellView = function (surface, handlers) {
  const el = {};        // controls by data-name
  let texts = null;     // the description's controls by name
  let defaultHelp = '';
  let lamps = null;     // the lamps' state words in the current language
  // The captions whose text is the panel's state: the controller keeps them.
  const STATE = new Set(['lblAddr', 'lblData', 'lblRead', 'lblContents', 'lblTypes', 'lblStatus']);

  const px = (twips) => twips / 15;
  const named = (name) => surface.querySelector('[data-name="' + name + '"]');

  // A switch: a click or tap toggles it; Space toggles; Up sets 1, Down 0.
  function bindSwitch(node, name) {
    const value = () => (node.getAttribute('aria-checked') === 'true' ? 1 : 0);
    node.addEventListener('click', () => { node.focus(); handlers.move(name, 1 - value()); });
    node.addEventListener('keydown', (e) => {
      if (e.altKey || e.ctrlKey || e.metaKey) return;
      let to = null;
      if (e.key === ' ' || e.key === 'Spacebar') to = 1 - value();
      else if (e.key === 'ArrowUp' || e.key === 'PageUp' || e.key === 'Home') to = 1;
      else if (e.key === 'ArrowDown' || e.key === 'PageDown' || e.key === 'End') to = 0;
      if (to === null) return;
      e.preventDefault();
      if (to !== value()) handlers.move(name, to);
    });
    node.words = document.getElementById('words-' + name);
  }

  // Takes over the window's controls as the markup has them and answers
  // their gestures; `translated` is false where the markup's texts are not
  // yet the description's language.
  function take(description, translated) {
    for (const c of description.controls) {
      const node = el[c.name] = named(c.name);
      if (c.kind === 'switch') bindSwitch(node, c.name);
      else if (c.kind === 'option') node.addEventListener('click', () => handlers.order(c.name));
      else if (c.kind === 'lamp') el['colRead(' + c.arg + ')'] = named('colRead(' + c.arg + ')');
      // A caption answers its own taps, so that a finger on it is never
      // taken for one on the switch nearby; the surface shows its help.
      else if (c.kind === 'caption' && c.help) node.addEventListener('click', () => {});
    }
    // The browser moves a tap near a control onto it, target and all, but
    // not its point: a click or double click whose press began off the
    // control it lands on is not the student's and goes no further (a
    // click from no pointer, as by a key, always does).
    let pressed = null;
    surface.addEventListener('pointerdown', (e) => { pressed = document.elementFromPoint(e.clientX, e.clientY); }, true);
    surface.addEventListener('keydown', () => { pressed = null; }, true);
    const offTarget = (e) => {
      const on = e.target.closest('.switch, .option') || e.target;
      if (e.pointerType === '' || !pressed || on.contains(pressed)) return;
      e.stopPropagation();
      e.preventDefault();
    };
    surface.addEventListener('click', offTarget, true);
    surface.addEventListener('dblclick', offTarget, true);
    el.lblData.addEventListener('dblclick', handlers.enter);
    doubleTap(el.lblData, handlers.enter);
    el.lblRead.addEventListener('dblclick', handlers.copy);
    if (translated) learn(description); else retranslate(description);
  }

  // Two taps on `node` within the double-click time: what a double click
  // does, where the browser makes no double click of a double tap. Counted
  // on the taps' clicks, so that what the second one opens is not hit by
  // the click still to come.
  function doubleTap(node, then) {
    let touch = false;
    let last = -Infinity;
    node.addEventListener('pointerdown', (e) => { touch = e.pointerType === 'touch'; });
    node.addEventListener('click', (e) => {
      if (!touch) return;
      if (e.timeStamp - last < 500) { last = -Infinity; then(); } else last = e.timeStamp;
    });
    node.addEventListener('dblclick', () => { last = -Infinity; });
  }

  // The title captions keep "0x" clear again in the layout now in force.
  function narrowChanged() {
    if (texts) for (const c of texts.values()) if (c.textLimit !== undefined) keepClear(c);
  }

  // The description's texts for the help and the lamps' words. Help for
  // the input in use: a touch screen's words where the pointer is coarse,
  // chosen again when that changes.
  const coarse = matchMedia('(pointer: coarse)');
  const helpOf = (c) => (coarse.matches && c.touchHelp) || c.help;
  let learnt = null;
  function learn(description) {
    learnt = description;
    texts = new Map(description.controls.map((c) => [c.name, c]));
    defaultHelp = helpOf(description.window);
    texts.set('Form', { help: defaultHelp });
    lamps = description.dialogs;
    if (el.lblStatus.textContent !== defaultHelp) el.lblStatus.textContent = defaultHelp;
  }
  coarse.addEventListener('change', () => { if (learnt) learn(learnt); });

  // Every text in the description's language; the panel's state stays.
  function retranslate(description) {
    learn(description);
    for (const c of description.controls) {
      const node = el[c.name];
      if (!node) continue;
      if (c.kind === 'group') node.querySelector('.legend').textContent = c.caption;
      else if (c.kind === 'option') node.parentElement.lastChild.textContent = c.caption;
      else if (c.kind === 'caption' && !STATE.has(c.name)) node.textContent = c.caption || '';
      if (c.kind === 'switch') {
        node.setAttribute('aria-label', c.accessibleName);
        node.title = c.tooltip;
        if (c.activeLow) levelWords(node, c, description.dialogs);
      }
      if (c.kind === 'lamp') el['colRead(' + c.arg + ')'].title = c.tooltip;
      if (c.kind === 'caption' && c.accessibleName) node.setAttribute('aria-label', c.accessibleName);
      if (c.accessibleDescription && c.kind !== 'lamp') {
        node.setAttribute('aria-description', c.accessibleDescription);
      }
    }
    el.lblStatus.textContent = defaultHelp;
    for (let i = 0; i < 16; ++i) lamp(i, !el['sigRead(' + i + ')'].hidden);
    for (const c of description.controls) if (c.textLimit !== undefined) keepClear(c);
  }

  // A title whose value follows close behind draws a little tighter where
  // its text would run under the value, so that "0x" is never covered.
  function keepClear(c) {
    const node = el[c.name];
    node.style.width = px(c.textLimit) + 'px';
    node.style.letterSpacing = 'normal';
    node.style.textAlign = c.textEnd ? 'right' : '';
    const range = document.createRange();
    range.selectNodeContents(node);
    const over = range.getBoundingClientRect().width - node.clientWidth;
    const letters = node.textContent.length;
    if (over > 0 && letters > 1) node.style.letterSpacing = -(over / (letters - 1)) + 'px';
  }

  // What the pointer explains: the nearest hover target's help, or nothing
  // for a control that has none.
  function helpAt(target) {
    for (let node = target; node && node !== document.body; node = node.parentElement) {
      if ('quiet' in node.dataset) return null;
      const name = node.dataset.help;
      if (name) return helpOf(texts.get(name) || {}) || defaultHelp;
    }
    return null;
  }

  // The view writes only what changes: the core tells the whole state at
  // power-up, which the markup already shows, and a write of the same
  // value would still have the browser lay the window out again.
  function setAttribute(node, name, value) {
    if (node.getAttribute(name) !== value) node.setAttribute(name, value);
  }
  function setText(node, value) {
    if (node.textContent !== value) node.textContent = value;
  }

  function lamp(bit, lit) {
    const shape = el['sigRead(' + bit + ')'];
    if (shape.hidden === lit) shape.hidden = !lit;
    const column = el['colRead(' + bit + ')'];
    setAttribute(column, 'aria-label', (texts.get('sigRead(' + bit + ')') || {}).accessibleName);
    setAttribute(column, 'aria-checked', lit ? 'true' : 'false');
    setAttribute(column, 'aria-description', lit ? lamps.lampLit : lamps.lampDark);
  }

  // A control switch also says its level in words after its description:
  // the hidden text the switch is described by, kept with its value.
  function levelWords(node, c, words) {
    const said = node.words;
    said.dataset.high = words.levelHigh;
    said.dataset.low = words.levelLow;
    said.dataset.description = c.accessibleDescription || '';
    sayLevel(node);
  }
  function sayLevel(node) {
    const said = node.words;
    if (!said) return;
    const words = node.getAttribute('aria-checked') === 'true' ? said.dataset.high : said.dataset.low;
    setText(said, (said.dataset.description ? said.dataset.description + ' ' : '') + words);
  }

  function setSwitch(name, v) {
    setAttribute(el[name], 'aria-checked', v ? 'true' : 'false');
    sayLevel(el[name]);
  }

  // The design-time state, before power-up: every switch at 0, lamps lit.
  function designTime(description) {
    for (const c of description.controls) {
      if (c.kind === 'switch') setSwitch(c.name, c.value || 0);
      else if (c.kind === 'lamp') lamp(c.arg, !!c.value);
      else if (c.kind === 'option') el[c.name].checked = !!c.value;
      else if (STATE.has(c.name)) el[c.name].textContent = c.caption || '';
    }
  }

  return {
    el, take, retranslate, helpAt, lamp, setSwitch, designTime, narrowChanged,
    setText(name, value) { setText(el[name], value); },
    order(big) { el[big ? 'optBig' : 'optLittle'].checked = true; },
  };
};
