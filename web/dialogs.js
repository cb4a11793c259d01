// The page's dialogs: Enter Data Word, the error box, Exit, File, Restart
// and About, each a <dialog> of the page's markup whose texts come from the
// core's description. What an answer does is the caller's.
'use strict';

const Dialogs = (() => {
  const exitKeys = { yes: '', no: '' };  // the letters Exit's buttons underline
  let menus = null;                      // the menu bar, closed when a dialog opens
  let description = null;

  const named = (name, root) => (root || document).querySelector('[data-name="' + name + '"]');
  const box = (kind) => document.querySelector('dialog[data-kind="' + kind + '"]');

  // Runs `onAnswer(button value)` as soon as a button (or Enter) answers
  // the dialog, before the next event: the evaluations it runs are done by
  // the time the key press that caused them is over. Esc closes with no answer.
  function ask(dialog, onAnswer) {
    if (menus) menus.close();
    const form = dialog.querySelector('form');
    form.onsubmit = (e) => {
      e.preventDefault();
      const answer = e.submitter ? e.submitter.value : form.querySelector('button').value;
      dialog.close(answer);
      letGo(dialog);
      onAnswer(answer);
    };
    dialog.onclose = () => letGo(dialog);
    if (!dialog.open) dialog.showModal();
  }

  // The browser gives the focus back to what held it when the dialog opened;
  // when that was a menu item, hidden since, the focus would stay in the
  // closed dialog, where no key reaches anything until the next layout.
  function letGo(dialog) {
    if (dialog.contains(document.activeElement)) document.activeElement.blur();
  }

  // A message in the error box under another title, the box's own title
  // given back once it closes; `select`: the message selected, to copy.
  function showError(title, message, select) {
    const error = box('error');
    named('lblTitle', error).textContent = title;
    named('lblMessage', error).textContent = message;
    ask(error, () => { named('lblTitle', error).textContent = description.dialogs.errorTitle; });
    if (select) getSelection().selectAllChildren(named('lblMessage', error));
  }

  // The letters the Exit dialog's buttons underline answer it, in the
  // current language, as they do on the desktop.
  function onExitKey(e) {
    if (e.ctrlKey || e.metaKey || e.key.length !== 1) return;
    const key = e.key.toLowerCase();
    for (const answer of ['yes', 'no']) {
      if (exitKeys[answer] && exitKeys[answer].toLowerCase() === key) {
        e.preventDefault();
        named(answer === 'yes' ? 'cmdYes' : 'cmdNo', box('exit')).click();
        return;
      }
    }
  }

  return {
    ask,
    showError,
    take(menuBar) {
      menus = menuBar;
      box('exit').addEventListener('keydown', onExitKey);
    },
    // Enter Data Word: the data word offered, what is typed handed to
    // `submit`, which returns the core's { kind, text }.
    enterWord(current, submit) {
      const input = named('InputBox');
      const field = input.querySelector('input');
      field.value = current;
      ask(input, (answer) => {
        const result = submit(answer === 'ok' ? field.value : '');
        if (result.kind === Codes.Entry.Invalid) {
          named('lblMessage', box('error')).textContent = result.text;
          ask(box('error'), () => {});
        }
      });
      field.select();
    },
    askExit(then) {
      ask(box('exit'), (answer) => { if (answer === 'yes') then(); });
      named('cmdYes', box('exit')).focus();
    },
    askRestart(then) {
      ask(box('restart'), (answer) => { if (answer === 'yes') then(); });
      named('cmdNo', box('restart')).focus();
    },
    showAbout() { ask(named('frmAbout'), () => {}); },
    // Export for Course Site: `then(kind)` with the kind chosen (Codes.Export).
    askExport(then) {
      ask(box('export'), (answer) => { if (answer !== 'cancel') then(+answer); });
    },
    // One line of text asked in the input box under another title and
    // prompt, the box's own given back once it closes: `then(text)` on OK.
    askText(title, prompt, current, then) {
      const input = named('InputBox');
      const field = input.querySelector('input');
      const restore = () => {
        named('lblTitle', input).textContent = description.dialogs.inputTitle;
        named('lblPrompt', input).textContent = description.dialogs.inputPrompt;
        field.autocapitalize = 'characters';
      };
      named('lblTitle', input).textContent = title;
      named('lblPrompt', input).textContent = prompt;
      field.autocapitalize = 'words';
      field.value = current;
      input.addEventListener('close', restore, { once: true });
      ask(input, (answer) => { if (answer === 'ok' && field.value.trim()) then(field.value.trim()); });
      field.select();
    },
    // Every dialog's texts in the description's language; `translated`:
    // the markup has them already, only the keys are learnt.
    retranslate(d, translated) {
      description = d;
      const t = d.dialogs;
      const exit = box('exit');
      if (translated) {
        const key = (node) => { const u = node.querySelector('u'); return u ? u.textContent.toLocaleLowerCase() : ''; };
        exitKeys.yes = key(named('cmdYes', exit));
        exitKeys.no = key(named('cmdNo', exit));
        return;
      }
      const set = (root, name, value) => { named(name, root).textContent = value; };
      const input = named('InputBox');
      set(input, 'lblTitle', t.inputTitle);
      set(input, 'lblPrompt', t.inputPrompt);
      set(input, 'cmdOK', t.ok);
      set(input, 'cmdCancel', t.cancel);
      set(box('error'), 'lblTitle', t.errorTitle);
      set(box('error'), 'cmdOK', t.ok);
      set(exit, 'lblTitle', t.exitTitle);
      set(exit, 'lblMessage', t.exitQuestion);
      exitKeys.yes = menus.accessText(named('cmdYes', exit), t.yes);
      exitKeys.no = menus.accessText(named('cmdNo', exit), t.no);
      const about = named('frmAbout');
      set(about, 'lblTitle', t.aboutTitle);
      for (const c of d.about) set(about, c.name, c.caption);
      set(document, 'lblEnded', t.ended);
      set(document, 'cmdRestart', t.startAgain);
      const restart = box('restart');
      set(restart, 'lblTitle', d.exercise.restartTitle);
      set(restart, 'lblMessage', d.exercise.restartQuestion);
      menus.accessText(named('cmdYes', restart), t.yes);
      menus.accessText(named('cmdNo', restart), t.no);
      const exported = box('export');
      set(exported, 'lblTitle', d.exercise.exportTitle);
      set(exported, 'cmdWebPage', d.exercise.exportWebPage);
      set(exported, 'cmdCancel', t.cancel);
      // The markup carries the notice in its own language, for when no
      // script runs at all; from here on it is the catalogue's.
      set(document, 'lblCannotStart', t.cannotStart);
    },
  };
})();
