// The page's menu bar, as the build made it from the core's description of
// the menus (web/builder.js): captions with their access keys, shortcuts
// where the browser leaves them to the page, check marks and submenus.
// Choosing an item calls `run(name)`; the page decides what it does.
'use strict';

window.BitwellMenus = function (bar, run) {
  let menus = [];            // { name, wrap, key }
  const items = new Map();   // item name to { node, key, spec }
  let focusBefore = null;

  // The caption with its access key underlined; returns the key.
  function accessText(node, title) {
    node.textContent = '';
    const at = title.indexOf('&');
    if (at < 0 || at + 1 >= title.length) {
      node.append(title);
      return '';
    }
    node.append(title.slice(0, at));
    const u = document.createElement('u');
    u.textContent = title[at + 1];
    node.append(u, title.slice(at + 2));
    return title[at + 1].toLocaleLowerCase();
  }

  // Takes over the items as the markup has them (web/builder.js makes
  // them): each answers its pointer and its keys.
  function bindItem(spec) {
    const li = bar.querySelector('li[data-name="' + spec.name + '"]');
    const entry = { node: li, label: li.children[0], keys: li.children[1], key: '', spec };
    items.set(spec.name, entry);
    if (spec.items) {
      spec.items.forEach(bindItem);
      li.addEventListener('mouseenter', () => openSub(li, false));
      li.addEventListener('mouseleave', () => closeSub(li));
      li.addEventListener('click', (e) => { if (e.target === li || entry.label.contains(e.target)) openSub(li, true); });
    } else {
      li.addEventListener('click', (e) => { e.stopPropagation(); choose(spec.name); });
    }
    li.addEventListener('keydown', (e) => {
      if (e.key !== 'Enter' && e.key !== ' ') return;
      e.preventDefault();
      e.stopPropagation();
      if (spec.items) openSub(li, true); else choose(spec.name);
    });
  }

  // `translated` is false where the markup's captions are not yet in the
  // description's language.
  function take(specs, translated) {
    for (const spec of specs) {
      const button = bar.querySelector('button[data-name="' + spec.name + '"]');
      const wrap = button.parentElement;
      const menu = { name: spec.name, wrap, button, key: '' };
      button.addEventListener('click', () => (wrap.classList.contains('open') ? close() : open(menu)));
      button.addEventListener('mouseenter', () => { if (bar.querySelector('.open') && !wrap.classList.contains('open')) open(menu); });
      menus.push(menu);
      spec.items.forEach(bindItem);
    }
    bar.addEventListener('keydown', onKey);
    // A click on the menu bar leaves the focus where it was, for the item
    // chosen to give it back there, as a desktop menu does.
    bar.addEventListener('mousedown', (e) => e.preventDefault());
    document.addEventListener('pointerdown', (e) => { if (!bar.contains(e.target)) close(); });
    if (translated) learn(specs); else retranslate(specs);
  }

  // The access keys as the markup shows them underlined.
  function learn(specs) {
    const walk = (list) => {
      for (const spec of list) {
        const entry = items.get(spec.name);
        entry.spec = spec;
        const u = entry.label.querySelector('u');
        entry.key = u ? u.textContent.toLocaleLowerCase() : '';
        if (spec.items) walk(spec.items);
      }
    };
    specs.forEach((spec, i) => {
      const u = menus[i].button.querySelector('u');
      menus[i].key = u ? u.textContent.toLocaleLowerCase() : '';
      walk(spec.items);
    });
  }

  // Every caption and shortcut in the description's language.
  function retranslate(specs) {
    const walk = (list) => {
      for (const spec of list) {
        const entry = items.get(spec.name);
        entry.spec = spec;
        entry.key = accessText(entry.label, spec.caption);
        entry.keys.textContent = spec.keys || '';
        if (spec.items) walk(spec.items);
      }
    };
    specs.forEach((spec, i) => {
      menus[i].key = accessText(menus[i].button, spec.caption);
      walk(spec.items);
    });
  }

  const childItems = (ul) => Array.from(ul.children);

  function onKey(e) {
    const openMenu = menus.find((m) => m.wrap.classList.contains('open'));
    if (!openMenu) return;
    const current = document.activeElement;
    const ul = current && current.closest('li') ? current.parentElement : openMenu.wrap.querySelector('ul');
    const siblings = childItems(ul);
    const at = siblings.indexOf(current);
    const inSub = ul.parentElement.tagName === 'LI';
    const index = menus.indexOf(openMenu);
    if (e.key === 'Escape') {
      e.preventDefault();
      if (inSub) { closeSub(ul.parentElement); ul.parentElement.focus(); } else { close(); restore(); }
    } else if (e.key === 'ArrowDown') { e.preventDefault(); siblings[(at + 1) % siblings.length].focus(); }
    else if (e.key === 'ArrowUp') { e.preventDefault(); siblings[(at - 1 + siblings.length) % siblings.length].focus(); }
    else if (e.key === 'ArrowRight') {
      e.preventDefault();
      if (current && current.classList.contains('parent')) openSub(current, true);
      else open(menus[(index + 1) % menus.length]);
    } else if (e.key === 'ArrowLeft') {
      e.preventDefault();
      if (inSub) { closeSub(ul.parentElement); ul.parentElement.focus(); } else open(menus[(index - 1 + menus.length) % menus.length]);
    } else if (!e.ctrlKey && !e.altKey && e.key.length === 1) {
      // A digit access key is the key in that place on the top row, whatever
      // it types there (AZERTY's "&" is 1 without Shift); others by character.
      const find = (key) => siblings.map((li) => items.get(li.dataset.name)).find((i) => i.key === key);
      const digit = /^Digit\d$/.test(e.code) ? e.code.slice(5) : '';
      const hit = (digit && find(digit)) || find(e.key.toLocaleLowerCase());
      if (!hit) return;
      e.preventDefault();
      if (hit.spec.items) openSub(hit.node, true); else choose(hit.spec.name);
    }
  }

  // An open list that would run past the window's right edge ends at it
  // instead (never past its left edge).
  function fit(ul) {
    ul.style.left = '';
    const over = ul.getBoundingClientRect().right - document.documentElement.clientWidth;
    const room = ul.getBoundingClientRect().left;
    if (over > 0) ul.style.left = ul.offsetLeft - Math.min(over, room) + 'px';
  }

  function openSub(li, focus) {
    li.classList.add('open');
    li.setAttribute('aria-expanded', 'true');
    fit(li.querySelector('ul'));
    if (focus) li.querySelector('li').focus();
  }
  function closeSub(li) {
    li.classList.remove('open');
    li.setAttribute('aria-expanded', 'false');
  }

  function open(menu) {
    if (!bar.querySelector('.menu.open')) focusBefore = document.activeElement;
    close();
    menu.wrap.classList.add('open');
    menu.button.setAttribute('aria-expanded', 'true');
    fit(menu.wrap.querySelector('ul'));
    menu.wrap.querySelector('li').focus();
  }
  function close() {
    for (const m of menus) {
      m.wrap.classList.remove('open');
      m.button.setAttribute('aria-expanded', 'false');
    }
    for (const li of bar.querySelectorAll('li.parent.open')) closeSub(li);
  }
  function restore() { if (focusBefore && focusBefore.focus) focusBefore.focus(); }
  // The focus goes back where it was before the menu opened, so that a
  // dialog the item opens gives it back there too.
  function choose(name) {
    close();
    restore();
    run(name);
  }

  // Alt + a menu's access key opens it.
  function openByKey(key) {
    const menu = menus.find((m) => m.key === key.toLocaleLowerCase());
    if (menu) open(menu);
    return !!menu;
  }

  function check(name, on) { items.get(name).node.setAttribute('aria-checked', on ? 'true' : 'false'); }

  return { take, retranslate, accessText, close, openByKey, openFirst: () => open(menus[0]), check, item: (n) => items.get(n).node };
};
