// The build's first run of the page (never in the page itself): makes the
// window's markup from the core's description, places every control in a
// style sheet of its own, and leaves both in the document, whose copy after
// the first state the build takes as the page's markup and style (see
// web/CMakeLists.txt). The page then only takes the markup over.
'use strict';

window.BitwellBuilder = (() => {
  const rules = [];     // the built style sheet's rules, in order
  const px = (twips) => twips / 15;

  function div(className) {
    const node = document.createElement('div');
    node.className = className;
    return node;
  }

  function put(node, name, parent, left, top, width, height) {
    node.dataset.name = name;
    Object.assign(node.style, { left: left + 'px', top: top + 'px' });
    if (width !== undefined) node.style.width = width + 'px';
    if (height !== undefined) node.style.height = height + 'px';
    parent.appendChild(node);
    return node;
  }
  const place = (node, c, parent) => put(node, c.name, parent, px(c.left), px(c.top), px(c.width), px(c.height));

  const CAPTION_CLASS = { listing12: ' listing contents', listing8: ' listing types' };
  const VALUES = new Set(['lblAddr', 'lblData', 'lblRead', 'lblContents', 'lblTypes']);

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
        // Each lamp's column answers for its bit as the desktop's does: a
        // check box that is read, never set, lit or dark; the pointer over
        // it is still over the group.
        if (c.kind !== 'lamp') return;
        const bit = place(div('column'), { ...c, name: 'colRead(' + c.arg + ')' }, parent);
        bit.setAttribute('role', 'checkbox');
        bit.setAttribute('aria-readonly', 'true');
        return;
      }
      case 'line': {
        const x1 = px(c.left), y1 = px(c.top), x2 = px(c.width), y2 = px(c.height);
        put(div('line' + (c.colour === 'blue' ? ' blue' : '')), c.name, parent,
          Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1) || 1, Math.abs(y2 - y1) || 1).setAttribute('aria-hidden', 'true');
        return;
      }
      case 'option': {
        const label = put(document.createElement('label'), c.name + 'Label', parent,
          px(c.left), px(c.top), px(c.width) + 20, px(c.height));
        label.className = 'option';
        label.dataset.help = c.name;
        const radio = Object.assign(document.createElement('input'), { type: 'radio', name: 'order' });
        radio.dataset.name = c.name;
        label.append(radio, document.createTextNode(''));
        return;
      }
      case 'switch': {
        const node = place(div('switch' + (px(c.width) < 12 ? ' narrow' : '')), c, parent);
        node.setAttribute('role', 'switch');
        node.tabIndex = 0;
        node.dataset.quiet = '';
        node.appendChild(div('thumb'));
        if (!c.activeLow) return;
        // The level in words, read as the switch's description only.
        const said = parent.appendChild(div('unseen'));
        said.id = 'words-' + c.name;
        said.setAttribute('aria-hidden', 'true');
        node.setAttribute('aria-describedby', said.id);
        return;
      }
      default: {
        const node = place(div('caption' + (CAPTION_CLASS[c.face] || '') + (c.colour === 'blue' ? ' blue' : '') +
          (VALUES.has(c.name) && !c.face ? ' value' : '') + (c.name === 'lblStatus' ? ' status' : '')), c, parent);
        if (c.help) node.dataset.help = c.name; else node.dataset.quiet = '';
        if (c.decorative) node.setAttribute('aria-hidden', 'true');
      }
    }
  }

  // The window in the description's order, the lowest control first;
  // within each group the switches follow the description's focus order,
  // so that Tab walks them as the desktop's does.
  function buildWindow(surface, description) {
    const byParent = new Map();
    const named = (name) => surface.querySelector('[data-name="' + name + '"]');
    const flush = (parent) => {
      const list = byParent.get(parent);
      if (!list || list.done) return;
      list.done = true;
      for (const c of list.slice().sort((a, b) => a.tab - b.tab)) make(c, parent);
    };
    for (const c of description.controls) {
      const parent = c.parent ? named(c.parent) : surface;
      if (c.kind === 'switch') {
        if (!byParent.has(parent)) byParent.set(parent, []);
        byParent.get(parent).push(c);
        continue;
      }
      flush(parent);
      make(c, parent);
    }
    for (const parent of byParent.keys()) flush(parent);
    // The read bits are read after the switches, as they are seen.
    for (let i = 15; i >= 0; --i) {
      const col = named('colRead(' + i + ')');
      col.parentElement.appendChild(col);
    }
    // The status line is the hover help, never announced: what an action
    // did is told through the announcement region alone.
    surface.dataset.help = 'Form';
    surface.style.width = px(description.window.width) + 'px';
  }

  function buildMenus(bar, specs) {
    const list = (items, parent) => {
      const ul = parent.appendChild(document.createElement('ul'));
      ul.setAttribute('role', 'menu');
      for (const spec of items) {
        const li = ul.appendChild(document.createElement('li'));
        li.dataset.name = spec.name;
        if (spec.page) li.dataset.page = 'true';
        li.tabIndex = -1;
        li.setAttribute('role', spec.check === Codes.Check.Exclusive ? 'menuitemradio' : spec.check ? 'menuitemcheckbox' : 'menuitem');
        if (spec.check) li.setAttribute('aria-checked', 'false');
        const keys = document.createElement('span');
        keys.className = 'keys';
        li.append(document.createElement('span'), keys);
        if (!spec.items) continue;
        li.setAttribute('aria-haspopup', 'menu');
        li.setAttribute('aria-expanded', 'false');
        li.classList.add('parent');
        list(spec.items, li);
      }
    };
    for (const spec of specs) {
      const wrap = bar.appendChild(div('menu'));
      const button = wrap.appendChild(document.createElement('button'));
      button.type = 'button';
      button.dataset.name = spec.name;
      button.tabIndex = -1;
      button.setAttribute('aria-haspopup', 'menu');
      list(spec.items, wrap);
    }
  }

  // The window's size, its narrow layout's breakpoint and its fonts, from
  // the core, as the page's style sheet names them.
  function geometry(g) {
    const f = g.fonts;
    rules.push('/*NARROW=' + (g.width - 0.02) + 'px*/',
      ':root{--window-width:' + g.width + 'px;--window-height:' + g.height + 'px;--dialog-size:' + f.dialog +
      'px;--listing12-size:' + f.listing12 + 'px;--listing8-size:' + f.listing8 + 'px;--listing14-size:' + f.listing14 + 'px}');
    const sheet = document.head.appendChild(document.createElement('style'));
    sheet.id = 'built';
    sheet.textContent = rules.join('\n');
  }

  // Every place given as an element's own style becomes a rule of the
  // built style sheet, which a hash-only style policy allows.
  function finish() {
    for (const node of document.querySelectorAll('[style]')) {
      const box = node.closest('dialog');
      const scope = box ? 'dialog[data-name="' + box.dataset.name + '"]' : '';
      const self = node.dataset.name ? '[data-name="' + node.dataset.name + '"]' : node.localName;
      const selector = node === box ? scope : (scope ? scope + ' ' : '') + (node.localName === 'form' ? '>form' : self);
      rules.push(selector + '{' + node.getAttribute('style').replace(/: /g, ':').replace(/; ?/g, ';').replace(/;$/, '') + '}');
      node.removeAttribute('style');
    }
    document.getElementById('built').textContent = rules.join('\n');
    // A chosen option is state that markup carries only as an attribute.
    for (const input of document.querySelectorAll('input')) input.toggleAttribute('checked', input.checked);
    // Whether the window or the notice shows is the style sheet's.
    document.querySelector('[data-name="lblCannotStart"]').hidden = false;
    document.querySelector('[data-name="frmMain"]').hidden = false;
    document.documentElement.removeAttribute('class');
    // What the page starts from without making it again.
    document.querySelector('[data-name="frmMain"]').dataset.first = '';
  }

  // About's places, as its controls have them.
  function placeAbout(about, description) {
    about.style.width = px(description.aboutWindow.width) + 'px';
    about.querySelector('form').style.height = px(description.aboutWindow.height) + 'px';
    for (const c of description.about) {
      const node = about.querySelector('[data-name="' + c.name + '"]');
      Object.assign(node.style, { left: px(c.left) + 'px', top: px(c.top) + 'px', width: px(c.width) + 'px' });
      if (c.kind === 'button') node.style.height = px(c.height) + 'px';
    }
  }

  return {
    // The markup and the style that the description makes, before the page takes them over.
    build(description, geometryJson) {
      geometry(geometryJson);
      buildMenus(document.querySelector('[data-name="menubar"]'), description.menus);
      buildWindow(document.querySelector('[data-name="Form"]'), description);
      placeAbout(document.querySelector('[data-name="frmAbout"]'), description);
    },
    finish,
  };
})();
