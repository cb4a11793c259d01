// The window's shortcut keys, bound from the core's description of the
// menus: each item whose shortcut the page shows ("F2", "Ctrl+R") answers
// that key as if chosen; Alt and a menu's access key opens it, F10 the
// first menu. Nothing answers while a dialog is open or the session has ended.
'use strict';

const Keys = (() => {
  let bindings = [];   // { ctrl, alt, shift, key, name } for each described shortcut
  let menus = null;
  let run = null;
  let active = () => true;

  // "Ctrl+Shift+R" as the modifiers it needs and its key, in lower case.
  function parse(text, name) {
    const parts = text.split('+');
    const has = (m) => parts.includes(m);
    return { ctrl: has('Ctrl'), alt: has('Alt'), shift: has('Shift'), key: parts[parts.length - 1].toLowerCase(), name };
  }

  function onKey(e) {
    if (!active() || document.querySelector('dialog[open]')) return;
    const key = e.key.toLowerCase();
    const hit = bindings.find((b) => b.key === key && b.ctrl === (e.ctrlKey || e.metaKey) && b.alt === e.altKey &&
      b.shift === e.shiftKey);
    if (hit) { e.preventDefault(); run(hit.name); return; }
    if (e.altKey && !e.ctrlKey && e.key.length === 1 && menus.openByKey(e.key)) e.preventDefault();
    if (e.key === 'F10' && !e.ctrlKey && !e.altKey) { e.preventDefault(); menus.openFirst(); }
  }

  return {
    // Binds the description's shortcuts to `runItem(name)` while `isActive()`.
    take(menuBar, runItem, isActive) {
      menus = menuBar;
      run = runItem;
      active = isActive;
      document.addEventListener('keydown', onKey);
    },
    // The shortcuts as the current description has them.
    learn(description) {
      const all = description.menus.flatMap((m) => m.items).flatMap((i) => [i, ...(i.items || [])]);
      bindings = all.filter((i) => i.keys).map((i) => parse(i.keys, i.name));
    },
  };
})();
