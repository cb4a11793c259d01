"""The web page's figures in headless Chromium, on one line:

    web_bytes=B web_first_state_ms=F web_typed_word_ms=T web_timing_paint_ms=P

B is the size of bitwell.html; F the median time from navigation start to
the start-up state on screen (the frame after power-up); T the median time
of a typed FFFF over 0000 (or back) in a write cycle: sixteen evaluations
with their DOM updates and the layout after them; P the median time of
laying out and painting the timing diagram panel at its default size and
zoom over 4,096 kept steps.

    /usr/bin/python3 web_bench.py PAGE"""

import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import web_session  # noqa: E402

LOADS = 9
WORDS = 40
PAINTS = 40


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
    print("web_bytes=%d web_first_state_ms=%.1f web_typed_word_ms=%.2f web_timing_paint_ms=%.2f"
          % (os.path.getsize(page), statistics.median(firsts), statistics.median(typed),
             statistics.median(paints[0])))


if __name__ == "__main__":
    main(sys.argv[1])
