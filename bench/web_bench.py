"""The web page's figures in headless Chromium, on one line:

    web_bytes=B web_first_state_ms=F web_typed_word_ms=T web_timing_paint_ms=P
    web_first_state_ratio=R web_ready_ratio=Q

B is the size of bitwell.html; F the median time from navigation start to
the start-up state on screen (the frame after power-up); T the median time
of a typed FFFF over 0000 (or back) in a write cycle: sixteen evaluations
with their DOM updates and the layout after them; P the median time of
laying out and painting the timing diagram panel at its default size and
zoom over 4,096 kept steps.

R and Q compare the page with its own markup as a static page: the
running page's document after its first state, with its style and without
its scripts. Both are loaded from file://, alternating, each in a fresh
profile, LOADS times. R is the median time from navigation start to the
frame in which the read word shows FFFF over the static page's median first
contentful paint; Q the median time until a scripted click on sigCE takes
effect over the same.

    /usr/bin/python3 web_bench.py PAGE"""

import os
import re
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import web_session  # noqa: E402

LOADS = 9
WORDS = 40
PAINTS = 40


# Watches from before the page's first script: the first frame in which the
# read word is on screen showing FFFF; and, once it has been, a click on
# sigCE at every turn of the event loop until one takes effect (CE goes
# from 1 to 0).
WATCH = """
(() => {
  const w = window.__bench = { first: null, ready: null };
  const named = (n) => document.querySelector('[data-name="' + n + '"]');
  const frame = (t) => {
    const r = named('lblRead');
    if (r && r.textContent === 'FFFF' && r.getClientRects().length) { w.first = t; click(); }
    else requestAnimationFrame(frame);
  };
  const click = () => {
    const c = named('sigCE');
    c.click();
    if (c.getAttribute('aria-checked') === 'false') w.ready = performance.now();
    else setTimeout(click, 0);
  };
  requestAnimationFrame(frame);
})();
"""


def static_copy(page, folder):
    """The running page's document after its first state, without scripts."""
    driver = web_session.chromium()
    try:
        driver.get(web_session.file_url(page))
        web_session.wait_ready(driver)
        html = driver.execute_script("return document.documentElement.outerHTML")
    finally:
        driver.quit()
    html = re.sub(r"<script\b[^>]*>[\s\S]*?</script>", "", html)
    path = os.path.join(folder, "static.html")
    with open(path, "w", encoding="utf-8") as f:
        f.write("<!DOCTYPE html>\n" + html)
    return path


def fcp(driver):
    return driver.execute_async_script(
        "const done = arguments[0];"
        "const look = () => { const p = performance.getEntriesByName('first-contentful-paint');"
        " p.length ? done(p[0].startTime) : setTimeout(look, 5); };"
        "look();")


def ratios(page):
    """(first state ratio, ready ratio, static FCP ms, first state ms, ready ms), medians."""
    statics, firsts, readies = [], [], []
    with tempfile.TemporaryDirectory() as folder:
        static = static_copy(page, folder)
        for _ in range(LOADS):
            for path in (static, page):
                driver = web_session.chromium()
                try:
                    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
                    driver.get(web_session.file_url(path))
                    if path == static:
                        statics.append(fcp(driver))
                        continue
                    got = driver.execute_async_script(
                        "const done = arguments[0];"
                        "const wait = () => window.__bench.ready !== null ? done(window.__bench) : setTimeout(wait, 5);"
                        "wait();")
                    # The first state is on screen no sooner than the page's first paint.
                    firsts.append(max(got["first"], fcp(driver)))
                    readies.append(got["ready"])
                finally:
                    driver.quit()
    s, f, r = statistics.median(statics), statistics.median(firsts), statistics.median(readies)
    return f / s, r / s, s, f, r


def main(page):
    driver = web_session.chromium()
    try:
        url = web_session.file_url(page)
        firsts = []
        for _ in range(LOADS):
            driver.get(url)
            web_session.wait_ready(driver)
            firsts.append(driver.execute_async_script(
                "const done = arguments[0];"
                "const wait = () => window.bitwellShownAt ? done(window.bitwellShownAt) : setTimeout(wait, 5);"
                "wait();"))
        typed = driver.execute_script("""
            for (const n of ['sigUB', 'sigLB', 'sigWE', 'sigCE'])
              document.querySelector('[data-name="' + n + '"]').click();
            const times = [];
            for (let i = 0; i < arguments[0]; ++i) {
              const t0 = performance.now();
              Bitwell.enter(i % 2 ? '0000' : 'FFFF');
              document.body.getBoundingClientRect();
              times.push(performance.now() - t0);
            }
            return times;""", WORDS)
        paints = driver.execute_script("""
            for (let i = 0; i < 260; ++i) Bitwell.enter(i % 2 ? '0000' : 'FFFF');
            document.querySelector('[data-name="mnuView"]').click();
            document.querySelector('[data-name="mnuViewTiming"]').click();
            const t = document.querySelector('[data-name="frmTiming"]').timing;
            const times = [];
            for (let i = 0; i < arguments[0]; ++i) {
              const t0 = performance.now();
              t.paint();
              times.push(performance.now() - t0);
            }
            return [times, t.state()];""", PAINTS)
        if paints[1]["zoom"] != 36 or driver.execute_script("return Bitwell.csv().split('\\n').length") != 4098:
            raise SystemExit("web_bench: the timing panel is not at its default zoom over 4,096 steps")
    finally:
        driver.quit()
    first_ratio, ready_ratio = ratios(page)[:2]
    print("web_bytes=%d web_first_state_ms=%.1f web_typed_word_ms=%.2f web_timing_paint_ms=%.2f"
          " web_first_state_ratio=%.2f web_ready_ratio=%.2f"
          % (os.path.getsize(page), statistics.median(firsts), statistics.median(typed),
             statistics.median(paints[0]), first_ratio, ready_ratio))


if __name__ == "__main__":
    if sys.argv[1:2] == ["--ratios"]:
        print("web_first_state_ratio=%.2f web_ready_ratio=%.2f (static FCP %.1f ms, first state %.1f ms,"
              " ready %.1f ms)" % ratios(sys.argv[2]))
    else:
        main(sys.argv[1])
