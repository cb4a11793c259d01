// The page's language: the one it starts in and the one chosen from the
// menu, kept for the next visit. The core has the catalogue; the page
// only says which language and draws the texts again. Run right after
// the page's markup, before the parser first yields and the markup is
// drawn: a script in the head would have the browser paint an empty frame
// there, and the markup only a frame later.
'use strict';

const Language = (() => {
  const STORE_KEY = 'bitwell.language';
  const asked = new URLSearchParams(location.search).get('lang');

  function kept() {
    try { return localStorage.getItem(STORE_KEY); } catch (e) { return null; /* storage may be off */ }
  }
  const browser = () => (navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || 'en']);

  return {
    // Whether the start language may differ from `markup`'s, the language
    // the markup is written in: known before the core has started, so that
    // no text shows in a language the student did not ask for.
    mayDiffer(markup) {
      const first = asked || kept() || browser()[0] || markup;
      return first.toLowerCase().split(/[-_]/)[0] !== markup.toLowerCase().split(/[-_]/)[0];
    },
    // The language at start: ?lang= if we have it, else the one chosen
    // before, else the first of the browser's that we have, else English;
    // `core` is the controller (the page's scripts come after this one).
    // ?lang= is matched as the browser's tags are: in any case, with '-'
    // or '_', a region we lack falling back to its language.
    start(core) {
      const picked = asked && core.pickLanguage([asked]);
      if (picked && (picked !== 'en' || /^en([-_]|$)/i.test(asked)) && core.setLanguage(picked)) return;
      const code = kept();
      if (code && core.setLanguage(code)) return;
      core.setLanguage(core.pickLanguage(browser()));
    },
    // Every later text in `code`, remembered for the next visit when
    // `remember`; false for a code we lack.
    choose(core, code, remember) {
      if (!core.setLanguage(code)) return false;
      if (remember) {
        try { localStorage.setItem(STORE_KEY, code); } catch (e) { /* storage may be off */ }
      }
      return true;
    },
  };
})();

// Before the first paint: with a script the window takes the place of the
// markup's notice that it cannot start, and waits for the core where its
// markup may not be in the start language (page.css).
document.documentElement.classList.add('scripted');
if (Language.mayDiffer(document.documentElement.lang)) document.documentElement.classList.add('later');
