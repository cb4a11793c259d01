"""The exported package on a real SCORM runtime, in headless Chromium.

    /usr/bin/python3 scorm_test.py PAGE SCORM_AGAIN_DIST [BITWELL]

PAGE is build/web/bitwell.html; SCORM_AGAIN_DIST the runtime's dist folder
(npm scorm-again, pinned); BITWELL, when given, the desktop program, whose
--export must give the page's bytes exactly. A harness page on a loopback
server plays the course site: it sets the runtime's API and opens the
package's launch file in a frame."""

import base64
import io
import json
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

import web_session

PAGE = DIST = BITWELL = None
EXERCISE = "title: Read word 3\ntext: Read word 3.\ngoal address = 3\ngoal count read at 3 >= 1\nwhy: Read it.\n"
HALF = ["sigAddr(0)", "sigAddr(1)"]       # the address goal holds
SOLVE = HALF + ["sigOE", "sigLB", "sigCE"]  # then a read of word 3

HARNESS = """<!DOCTYPE html><meta charset="utf-8"><script src="scorm-again.min.js"></script>
<script>
const q = new URLSearchParams(location.search);
const api = q.get('v') === '1.2' ? new Scorm12API({}) : new Scorm2004API({});
if (q.get('data')) api.loadFromJSON(JSON.parse(q.get('data')));
if (q.get('refuse')) for (const f of ['LMSSetValue', 'SetValue']) if (api[f]) api[f] = () => 'false';
window[q.get('v') === '1.2' ? 'API' : 'API_1484_11'] = api;
window.cmi = () => JSON.parse(JSON.stringify(api.cmi));
</script><iframe src="bitwell.html" width="800" height="900"></iframe>"""


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = web_session.chromium()
        cls.d.get(web_session.file_url(PAGE))
        web_session.wait_ready(cls.d)
        cls.d.execute_script("window.Bitwell.openExercise(arguments[0], 'read.bwx')", EXERCISE)
        cls.packages = {}
        for version, kind in (("1.2", 1), ("2004", 2)):
            b64 = cls.d.execute_script(
                "const b = window.Bitwell.exported(arguments[0]); let s = '';"
                "for (let i = 0; i < b.length; i += 8192) s += String.fromCharCode(...b.subarray(i, i + 8192));"
                "return btoa(s);", kind)
            cls.packages[version] = base64.b64decode(b64)

    @classmethod
    def tearDownClass(cls):
        cls.d.quit()

    def run_site(self, version, switches, data=None, refuse=False, leave=True):
        """The package on the harness: `switches` clicked in the frame; the
        runtime's data model after the page was left (or as it stands)."""
        folder = tempfile.mkdtemp(prefix="bitwell-scorm-")
        zipfile.ZipFile(io.BytesIO(self.packages[version])).extractall(folder)
        with open(os.path.join(folder, "index.html"), "w") as f:
            f.write(HARNESS)
        with open(os.path.join(DIST, "scorm-again.min.js"), "rb") as src, \
                open(os.path.join(folder, "scorm-again.min.js"), "wb") as dst:
            dst.write(src.read())
        with web_session.served(folder) as base:
            query = "?v=" + version + ("&data=" + json.dumps(data) if data else "") + ("&refuse=1" if refuse else "")
            self.d.get(base + "index.html" + query)
            self.d.switch_to.frame(self.d.find_element(By.TAG_NAME, "iframe"))
            web_session.wait_ready(self.d)
            for name in switches:
                self.d.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name).click()
            state = self.d.execute_script(
                "return [window.Bitwell.exercise(), document.querySelector('[data-name=lblLmsStatus]').hidden,"
                " document.querySelector('[data-name=lblLearner]').textContent]")
            self.d.switch_to.default_content()
            if leave:
                self.d.execute_script("document.querySelector('iframe').src = 'about:blank'")
                WebDriverWait(self.d, 10).until(
                    lambda d: d.execute_script("return document.querySelector('iframe').contentWindow.location.href")
                    == "about:blank")
            return self.d.execute_script("return window.cmi()"), state

    def test_solve(self):
        for version in ("1.2", "2004"):
            with self.subTest(version=version):
                name = {"core": {"student_name": "Ana"}} if version == "1.2" else {"learner_name": "Ana"}
                cmi, (exercise, _, learner) = self.run_site(version, SOLVE, data=name)
                self.assertTrue(exercise["done"])
                self.assertEqual(learner, "Learner: Ana")
                core = cmi["core"] if version == "1.2" else cmi
                self.assertEqual(core["score"]["raw"], "100")
                if version == "1.2":
                    self.assertEqual(core["lesson_status"], "passed")
                    self.assertEqual(core["exit"], "")
                else:
                    self.assertEqual((cmi["completion_status"], cmi["success_status"]), ("completed", "passed"))
                    self.assertEqual(cmi["score"]["scaled"], "1")
                interactions = [cmi["interactions"][str(n)] for n in range(2)]
                self.assertNotIn("2", cmi["interactions"])
                self.assertEqual([i["id"] for i in interactions], ["goal-3", "goal-4"])
                self.assertLessEqual(len(cmi["suspend_data"]), 4096)
                for i in interactions:
                    self.assertLessEqual(len(i.get("student_response", "")), 255)

    def test_resume_and_refusal(self):
        for version in ("1.2", "2004"):
            with self.subTest(version=version):
                cmi, (half, _, _) = self.run_site(version, HALF)
                core = cmi["core"] if version == "1.2" else cmi
                self.assertEqual(core["score"]["raw"], "50")
                self.assertEqual(core["exit"], "suspend")
                entry = {"entry": "resume"}
                data = {"core": entry, "suspend_data": cmi["suspend_data"]} if version == "1.2" else \
                    dict(entry, suspend_data=cmi["suspend_data"])
                _, (resumed, _, _) = self.run_site(version, [], data=data, leave=False)
                self.assertEqual(resumed, half)
                _, (refused, notice_hidden, _) = self.run_site(version, HALF, refuse=True, leave=False)
                self.assertFalse(notice_hidden)
                self.assertEqual(refused, half)

    def test_command_line_gives_the_same_bytes(self):
        if not BITWELL:
            self.skipTest("no desktop program given")
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "read.bwx")
            with open(source, "w") as f:
                f.write(EXERCISE)
            for version in ("1.2", "2004"):
                out = os.path.join(folder, version + ".zip")
                subprocess.run([BITWELL, "--export", source, out, "--scorm", version], check=True, timeout=60,
                               env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
                with open(out, "rb") as f:
                    self.assertEqual(f.read(), self.packages[version], version)


if __name__ == "__main__":
    PAGE, DIST = sys.argv[1], sys.argv[2]
    BITWELL = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=sys.argv[:1])
