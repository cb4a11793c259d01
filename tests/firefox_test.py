"""The page in a second browser engine: Debian's Firefox ESR, driven over
its own Marionette protocol (marionette.py).

    /usr/bin/python3 firefox_test.py PAGE

Start-up, a write and a read, and the narrow layout, as in Chromium."""

import os
import sys
import unittest

import marionette

PAGE = None

NAMED = "const named = (n) => document.querySelector('[data-name=\"' + n + '\"]');"
# Resolves once every CSS transition and animation has ended: a headless
# Firefox may not have run them yet when it is asked about the layout.
SETTLED = """
    const done = arguments[arguments.length - 1];
    Promise.all(document.getAnimations().map((a) => a.finished))
      .then(() => requestAnimationFrame(() => requestAnimationFrame(() => done(true))));"""


class Firefox(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.f = marionette.Firefox()

    @classmethod
    def tearDownClass(cls):
        cls.f.quit()

    def open(self):
        self.f.get("file://" + os.path.abspath(PAGE))
        self.f.run_async("""
            const done = arguments[arguments.length - 1];
            const began = performance.now();
            (function wait() {
              if (window.Bitwell) done(true);
              else if (performance.now() - began > 20000) done(false);
              else setTimeout(wait, 50);
            })();""")
        self.assertTrue(self.f.run("return !!window.Bitwell"), "the page never started")

    def text(self, name):
        return self.f.run(NAMED + "return named(arguments[0]).textContent", name)

    def value(self, name):
        return 1 if self.f.run(NAMED + "return named(arguments[0]).getAttribute('aria-checked')", name) == "true" else 0

    def set(self, name, v):
        if self.value(name) != v:
            self.f.run(NAMED + "named(arguments[0]).click()", name)
        self.assertEqual(self.value(name), v, name)

    def test_start_up_write_and_read(self):
        self.f.set_window(800, 1000)
        self.open()
        self.assertEqual([self.text(n) for n in ("lblAddr", "lblData", "lblRead")], ["0", "0000", "FFFF"])
        self.assertEqual(self.f.run("return Bitwell.runs()"), 5)
        self.assertFalse(self.f.run(NAMED + "return named('lblCannotStart').getClientRects().length > 0"))
        steps = [  # (switch, value, what the memory listing's first line or the read word shows)
            ("sigUB", 0, None), ("sigLB", 0, None), ("sigData(0)", 1, None), ("sigData(15)", 1, None),
            ("sigWE", 0, None), ("sigCE", 0, ("lblContents", "00: 8001 FFFF")),
            ("sigWE", 1, None), ("sigOE", 0, ("lblRead", "8001")),
        ]
        for name, v, shown in steps:
            self.set(name, v)
            if shown:
                caption, want = shown
                self.assertEqual(self.text(caption).splitlines()[0], want, name)
        self.assertEqual(self.text("lblAnnounce"), "read 8001 from address 0, both bytes")

    def test_narrow_layout(self):
        self.f.set_window(320, 700)
        try:
            self.open()
            self.f.run_async(SETTLED)
            seen = self.f.run(NAMED + """
                const top = (n) => named(n).getBoundingClientRect().top;
                const small = Array.from(document.querySelectorAll('.switch'))
                  .map((n) => n.getBoundingClientRect())
                  .filter((r) => r.width < 24 || r.height < 44).length;
                return { width: document.documentElement.clientWidth,
                         sideways: document.documentElement.scrollWidth - document.documentElement.clientWidth,
                         order: ['Frame3', 'Frame2', 'Frame1', 'lblStatus'].map(top), small };""")
            self.assertLessEqual(seen["width"], 592)
            self.assertEqual(seen["sideways"], 0)
            self.assertEqual(seen["order"], sorted(seen["order"]))
            self.assertEqual(seen["small"], 0)
        finally:
            self.f.set_window(800, 1000)


if __name__ == "__main__":
    PAGE = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)
