// The page's view of the main window: it builds every control from the
// core's description of the window (places in twips, texts in the chosen
// language), draws what the controller tells it, and hands the student's
// gestures to the controller. It holds no text and no place of its own.
'use strict';

window.BitwellView = function (surface, handlers) {
  const el = {};        // controls by data-name
  let texts = null;     // the description's texts by control name
  let defaultHelp = '';

  const px = (twips) => twips / 15;

  function div(className) {
    const node = document.createElement('div');
    node.className = className;
    return node;
  }

  function put(node, c, parent, left, top, width, height) {
    node.dataset.name = c.name;
    node.style.left = left + 'px';
    node.style.top = top + 'px';
    if (width !== undefined) node.style.width = width + 'px';
    if (height !== undefined) node.style.height = height + 'px';
    parent.appendChild(node);
    el[c.name] = node;
    return node;
  }
  const place = (node, c, parent) => put(node, c, parent, px(c.left), px(c.top), px(c.width), px(c.height));

  // A switch: a click or tap toggles it; Space toggles; Up sets 1, Down 0.
  function switchControl(c, parent) {
    const node = place(div('switch' + (px(c.width) < 12 ? ' narrow' : '')), c, parent);
    node.setAttribute('role', 'switch');
    node.setAttribute('aria-checked', 'false');
    node.tabIndex = 0;
    node.dataset.quiet = '';
    node.appendChild(div('thumb'));
    const value = () => (node.getAttribute('aria-checked') === 'true' ? 1 : 0);
    node.addEventListener('click', () => { node.focus(); handlers.move(c.name, 1 - value()); });
    node.addEventListener('keydown', (e) => {
      if (e.altKey || e.ctrlKey || e.metaKey) return;
      let to = null;
      if (e.key === ' ' || e.key === 'Spacebar') to = 1 - value();
      else if (e.key === 'ArrowUp' || e.key === 'PageUp' || e.key === 'Home') to = 1;
      else if (e.key === 'ArrowDown' || e.key === 'PageDown' || e.key === 'End') to = 0;
      if (to === null) return;
      e.preventDefault();
      if (to !== value()) handlers.move(c.name, to);
    });
    return node;
  }

  const CAPTION_CLASS = { listing12: ' listing contents', listing8: ' listing types' };
  // The captions whose text is the panel's state: the controller keeps them.
  const STATE = new Set(['lblAddr', 'lblData', 'lblRead', 'lblContents', 'lblTypes', 'lblStatus']);

  function make(c, parent) {
    switch (c.kind) {
      case 'group': {
        // A region named by its title.
        const node = place(div('group'), c, parent);
        node.setAttribute('role', 'region');
        node.appendChild(div('frame'));
        const legend = node.appendChild(div('legend'));
        legend.id = 'legend-' + c.name;
        node.setAttribute('aria-labelledby', legend.id);
        if (c.help) node.dataset.help = c.name; else node.dataset.quiet = '';
        return;
      }
      case 'border': case 'background': case 'lamp': {
        place(div('shape ' + c.kind), c, parent).setAttribute('aria-hidden', 'true');
        if (c.kind !== 'lamp') return;
        // Each lamp's column answers for its bit, lit or dark; the pointer
        // over it is still over the group.
        const col = put(div('column'), { name: 'colRead(' + c.arg + ')' }, parent,
          px(c.left), px(c.top), px(c.width), px(c.height));
        col.setAttribute('role', 'img');
        return;
      }
      case 'line': {
        const x1 = px(c.left), y1 = px(c.top), x2 = px(c.width), y2 = px(c.height);
        const node = put(div('line' + (c.colour === 'blue' ? ' blue' : '')), c, parent,
          Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1) || 1, Math.abs(y2 - y1) || 1);
        node.setAttribute('aria-hidden', 'true');
        return;
      }
      case 'option': {
        const label = put(document.createElement('label'), { name: c.name + 'Label' }, parent,
          px(c.left), px(c.top), px(c.width) + 20, px(c.height));
        label.className = 'option';
        label.dataset.help = c.name;
        const radio = document.createElement('input');
        radio.type = 'radio';
        radio.name = 'order';
        radio.dataset.name = c.name;
        radio.checked = !!c.value;
        label.append(radio, document.createTextNode(''));
        el[c.name] = radio;
        radio.addEventListener('click', () => handlers.order(c.name));
        return;
      }
      case 'switch':
        switchControl(c, parent);
        return;
      default: {
        const node = place(div('caption' + (CAPTION_CLASS[c.face] || '') +
          (c.colour === 'blue' ? ' blue' : '') + (STATE.has(c.name) && c.name !== 'lblStatus' &&
          !c.face ? ' value' : '') + (c.name === 'lblStatus' ? ' status' : '')), c, parent);
        if (c.help) node.dataset.help = c.name; else node.dataset.quiet = '';
        if (c.decorative) node.setAttribute('aria-hidden', 'true');
        // A caption answers its own taps, so that a finger on it is never
        // taken for one on the switch nearby; the surface shows its help.
        if (c.help) node.addEventListener('click', () => {});
        node.textContent = c.caption || '';
      }
    }
  }

  // Builds the window in the description's order, the lowest control first;
  // within each group the switches follow the description's focus order, so
  // that Tab walks them as the desktop's does.
  function build(description) {
    surface.style.width = px(description.window.width) + 'px';
    surface.dataset.help = 'Form';
    const byParent = new Map();
    for (const c of description.controls) {
      const parent = c.parent ? el[c.parent] : surface;
      if (c.kind === 'switch') {
        if (!byParent.has(parent)) byParent.set(parent, []);
        const list = byParent.get(parent);
        list.push(c);
        if (list.length === 1) list.anchor = true;
        continue;
      }
      flush(byParent, parent);
      make(c, parent);
    }
    for (const parent of byParent.keys()) flush(byParent, parent);
    // The read bits are read after the switches, as they are seen.
    for (let i = 15; i >= 0; --i) {
      const col = el['colRead(' + i + ')'];
      col.parentElement.appendChild(col);
    }
    el.lblStatus.setAttribute('role', 'status');
    el.lblStatus.setAttribute('aria-live', 'polite');
    el.lblData.addEventListener('dblclick', handlers.enter);
    doubleTap(el.lblData, handlers.enter);
    el.lblRead.addEventListener('dblclick', handlers.copy);
    retranslate(description);
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

  function flush(byParent, parent) {
    const list = byParent.get(parent);
    if (!list || list.done) return;
    list.done = true;
    for (const c of list.slice().sort((a, b) => a.tab - b.tab)) make(c, parent);
  }

  // Every text in the description's language; the panel's state stays.
  function retranslate(description) {
    texts = new Map(description.controls.map((c) => [c.name, c]));
    defaultHelp = description.window.help;
    texts.set('Form', { help: defaultHelp });
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
    for (let i = 0; i < 16; ++i) lamp(i, !el['sigRead(' + i + ')'].hidden, description.dialogs);
    lamps = description.dialogs;
    for (const c of description.controls) if (c.textLimit !== undefined) keepClear(c);
  }

  // A title whose value follows close behind draws a little tighter where
  // its text would run under the value, so that "0x" is never covered.
  function keepClear(c) {
    const node = el[c.name];
    node.style.width = px(c.textLimit) + 'px';
    node.style.letterSpacing = '';
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
      if (name) return (texts.get(name) || {}).help || defaultHelp;
    }
    return null;
  }

  let lamps = null;
  function lamp(bit, lit, words) {
    const w = words || lamps;
    el['sigRead(' + bit + ')'].hidden = !lit;
    const name = (texts.get('sigRead(' + bit + ')') || {}).accessibleName;
    el['colRead(' + bit + ')'].setAttribute('aria-label', name + ', ' + (lit ? w.lampLit : w.lampDark));
  }

  // A control switch also says its level in words after its description:
  // a hidden text the switch is described by, kept with its value.
  function levelWords(node, c, words) {
    let said = node.words;
    if (!said) {
      said = node.words = document.createElement('span');
      said.className = 'unseen';
      said.id = 'words-' + c.name;
      // Read as the switch's description only, not again as text of its own.
      said.setAttribute('aria-hidden', 'true');
      node.parentElement.appendChild(said);
      node.setAttribute('aria-describedby', said.id);
    }
    said.dataset.high = words.levelHigh;
    said.dataset.low = words.levelLow;
    said.dataset.description = c.accessibleDescription || '';
    sayLevel(node);
  }
  function sayLevel(node) {
    const said = node.words;
    if (!said) return;
    const words = node.getAttribute('aria-checked') === 'true' ? said.dataset.high : said.dataset.low;
    said.textContent = (said.dataset.description ? said.dataset.description + ' ' : '') + words;
  }

  function setSwitch(name, v) {
    el[name].setAttribute('aria-checked', v ? 'true' : 'false');
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

  return { el, build, retranslate, helpAt, lamp, setSwitch, designTime, narrowChanged };
};
