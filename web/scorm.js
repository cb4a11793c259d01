// The course site's side of an exported package: the page finds the site's
// SCORM interface, resumes the learner's snapshot, and reports score,
// status and one interaction per goal. It runs only when the page carries
// an exercise block that names a SCORM version; the site's answers never
// stop the page, they only show the notice until the site accepts again.
'use strict';

const CourseSite = (() => {
  const named = (name) => document.querySelector('[data-name="' + name + '"]');
  let api = null;
  let v12 = true;         // SCORM 1.2, else 2004
  let cmi = '';           // where 1.2 keeps the elements 2004 has at the top
  let learner = '';
  let startedAt = 0, lastCommit = -1e9, timer = 0;
  let doneEver = false;   // done once in this attempt: the score stays 100, the status passed
  let written = -1;       // the raw score last written
  let finished = false;

  // The site's interface named `name`: in this window and its parents up to
  // the top, then in the opener's, at most ten levels each. A window of
  // another origin ends that search.
  function find(name) {
    const search = (w) => {
      try {
        for (let n = 0; w && n <= 10; ++n, w = w.parent) {
          if (w[name]) return w[name];
          if (w.parent === w) break;
        }
      } catch (e) { /* another origin: not there */ }
      return null;
    };
    let opener = null;
    try { opener = window.opener; } catch (e) { /* none to reach */ }
    return search(window) || search(opener);
  }

  // The notice while the site refuses what the page sends.
  function refused(no) {
    const notice = named('lblLmsStatus');
    notice.textContent = Controller.description().exercise.lmsStatus;
    notice.hidden = !no;
  }
  // One call by its 2004 name (1.2's has "LMS" before it); true when the
  // site accepted it. Nothing it does throws.
  function call(fn, ...args) {
    let answer;
    try { answer = api[(v12 ? 'LMS' : '') + fn](...args); } catch (e) { answer = 'false'; }
    refused(String(answer) !== 'true');
    return answer;
  }
  const get = (element) => { try { return String(api[v12 ? 'LMSGetValue' : 'GetValue'](element) || ''); } catch (e) { return ''; } };
  const set = (element, value) => call('SetValue', element, String(value));
  const commit = () => { lastCommit = performance.now(); call('Commit', ''); };

  // `text` on one line, cut to `most` UTF-16 units between two characters.
  function cut(text, most) {
    let out = '';
    for (const c of text.replace(/\s*[\r\n]+\s*/g, ' ')) {
      if (out.length + c.length > most) break;
      out += c;
    }
    return out;
  }

  function showLearner() {
    const label = named('lblLearner');
    label.textContent = Controller.description().exercise.learner.replace('%1', learner);
    label.hidden = !learner;
  }

  // One interaction per goal, at its place in the file's order.
  function interactions(state) {
    state.goals.forEach((goal, n) => {
      const at = 'cmi.interactions.' + n + '.';
      set(at + 'id', 'goal-' + goal.line);
      set(at + 'type', v12 ? 'performance' : 'other');
      if (!v12) set(at + 'description', cut(goal.says, 250));
      set(at + (v12 ? 'student_response' : 'learner_response'), cut(goal.text, v12 ? 255 : 4000));
      set(at + 'result', goal.holds ? 'correct' : v12 ? 'wrong' : 'incorrect');
    });
  }

  // After every action and every change of the exercise: the snapshot, then
  // the score where it changed, and all at once when it became done. A
  // change is committed at most once a second, and at once when done.
  function update() {
    const state = api && !finished && Controller.exerciseState();
    if (!state || !state.open) return;
    set('cmi.suspend_data', Controller.snapshot());
    const becameDone = state.done && !doneEver;
    doneEver = doneEver || state.done;
    const raw = doneEver ? 100 : Math.floor(100 * state.goals.filter((g) => g.holds).length / state.goals.length);
    const changed = raw !== written;
    if (changed) {
      set(cmi + 'score.raw', raw);
      if (!v12) set('cmi.score.scaled', raw / 100);
      written = raw;
    }
    if (becameDone) {
      set(v12 ? 'cmi.core.lesson_status' : 'cmi.completion_status', v12 ? 'passed' : 'completed');
      if (!v12) set('cmi.success_status', 'passed');
      interactions(state);
      clearTimeout(timer);
      commit();
    } else if (changed) {
      clearTimeout(timer);
      timer = setTimeout(commit, lastCommit + 1000 - performance.now());
    }
  }

  // Leaving the page: interactions, time, exit, and the session's end.
  function finish() {
    if (finished) return;
    const state = Controller.exerciseState();
    if (state.open) interactions(state);
    const t = (performance.now() - startedAt) / 1000;
    const h = Math.floor(t / 3600), m = Math.floor(t / 60) % 60, s = (t % 60).toFixed(2);
    set(cmi + 'session_time', v12 ? String(h).padStart(4, '0') + ':' + String(m).padStart(2, '0') + ':' + s.padStart(5, '0')
                                  : 'PT' + h + 'H' + m + 'M' + s + 'S');
    set(cmi + 'exit', doneEver ? (v12 ? '' : 'normal') : 'suspend');
    clearTimeout(timer);
    call(v12 ? 'Finish' : 'Terminate', '');
    finished = true;
  }

  return {
    // Looks for the site of `version` ("1.2" or "2004", as the page was
    // exported) and starts the session there: learner, status, and a
    // resume. Nothing without one.
    start(version) {
      v12 = version === '1.2';
      api = (v12 || version === '2004') && find(v12 ? 'API' : 'API_1484_11');
      if (!api) return;
      cmi = v12 ? 'cmi.core.' : 'cmi.';
      startedAt = performance.now();
      call('Initialize', '');
      learner = get(v12 ? 'cmi.core.student_name' : 'cmi.learner_name');
      showLearner();
      // Incomplete only over a status that says less; never lower.
      const status = get(v12 ? 'cmi.core.lesson_status' : 'cmi.completion_status');
      doneEver = v12 ? status === 'passed' : get('cmi.success_status') === 'passed';
      if (['', 'not attempted', 'unknown'].includes(status)) set(v12 ? 'cmi.core.lesson_status' : 'cmi.completion_status', 'incomplete');
      set(cmi + 'score.min', 0);
      set(cmi + 'score.max', 100);
      const stored = get('cmi.suspend_data');
      if (get(cmi + 'entry') === 'resume' && stored) Controller.resume(stored);
      update();
      commit();
      named('cmdHint').addEventListener('click', update);
      window.addEventListener('pagehide', finish);
    },
    update,
    retranslate() {
      if (!api) return;
      showLearner();
      if (!named('lblLmsStatus').hidden) refused(true);
    },
  };
})();
