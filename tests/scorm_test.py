"""The exported package on a real SCORM runtime, in headless Chromium.

    /usr/bin/python3 scorm_test.py PAGE SCORM_AGAIN_DIST [BITWELL]

PAGE is build/web/bitwell.html; SCORM_AGAIN_DIST the runtime's dist folder
(npm scorm-again, pinned); BITWELL, when given, the desktop program: its
--export must give the page's bytes, its --grade the page's attempt. A
harness page on a loopback server plays the course site: it sets the
runtime's API and opens the package's launch file in a frame."""

import base64, io, json, os, shutil, subprocess, sys, tempfile, unittest, zipfile

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

import web_session

PAGE = DIST = BITWELL = None
EXERCISE = "title: Read word 3\ntext: Read word 3.\ngoal address = 3\ngoal count read at 3 >= 1\nwhy: Read it.\n"
HALF = ["sigAddr(0)", "sigAddr(1)"]         # the address goal holds
SOLVE = HALF + ["sigOE", "sigLB", "sigCE"]  # then a read of word 3
HARNESS = """<!DOCTYPE html><meta charset="utf-8"><script src="scorm-again.min.js"></script><script>
const q = new URLSearchParams(location.search), v12 = q.get('v') === '1.2';
const api = v12 ? new Scorm12API({}) : new Scorm2004API({});
api.loadFromJSON(JSON.parse(q.get('data')));
if (q.get('refuse')) api[v12 ? 'LMSSetValue' : 'SetValue'] = () => 'false';
window[v12 ? 'API' : 'API_1484_11'] = api;
</script><iframe src="bitwell.html" width="800" height="900"></iframe>"""
SHOWN = ("return [Bitwell.exercise(), document.querySelector('[data-name=lblLmsStatus]').hidden,"
         " document.querySelector('[data-name=lblLearner]').textContent, Bitwell.attempt('Ana')]")


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = web_session.chromium()
        cls.d.get(web_session.file_url(PAGE))
        web_session.wait_ready(cls.d)
        cls.d.execute_script("Bitwell.openExercise(arguments[0], 'read.bwx')", EXERCISE)
        cls.packages = {v: base64.b64decode(cls.d.execute_script(
            "const b = Bitwell.exported(arguments[0]); let s = '';"
            "for (let i = 0; i < b.length; i += 8192) s += String.fromCharCode(...b.subarray(i, i + 8192));"
            "return btoa(s);", kind)) for v, kind in (("1.2", 1), ("2004", 2))}
        cls.folder = tempfile.mkdtemp(prefix="bitwell-scorm-")

    @classmethod
    def tearDownClass(cls):
        cls.d.quit()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def site(self, version, switches, data, refuse=False):
        """The package on the harness, `switches` clicked in its frame, then
        the page left: the runtime's data model, and what the page showed."""
        zipfile.ZipFile(io.BytesIO(self.packages[version])).extractall(self.folder)
        with open(os.path.join(self.folder, "index.html"), "w") as f:
            f.write(HARNESS)
        shutil.copy(os.path.join(DIST, "scorm-again.min.js"), self.folder)
        with web_session.served(self.folder) as base:
            self.d.get(base + "index.html?v=%s&data=%s%s" % (version, json.dumps(data), "&refuse=1" * refuse))
            self.d.switch_to.frame(self.d.find_element(By.TAG_NAME, "iframe"))
            web_session.wait_ready(self.d)
            for name in switches:
                self.d.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name).click()
            shown = self.d.execute_script(SHOWN)
            self.d.switch_to.default_content()
            self.d.execute_script("document.querySelector('iframe').src = 'about:blank'")
            WebDriverWait(self.d, 10).until(lambda d: d.execute_script(
                "return document.querySelector('iframe').contentWindow.location.href") == "about:blank")
            return self.d.execute_script("return JSON.parse(JSON.stringify((window.API_1484_11 || API).cmi))"), shown

    def test_solve_resume_refuse(self):
        for v, names in (("1.2", ("core.", "student_response", "lesson_status", "passed", "")),
                         ("2004", ("", "learner_response", "completion_status", "completed", "normal"))):
            core, response, status, passed, ended = names
            at = lambda cmi, path: cmi[path.split(".")[0]][path.split(".")[1]] if "." in path else cmi[path]
            with self.subTest(version=v, row="solve"):
                name = {"core": {"student_name": "Ana"}} if v == "1.2" else {"learner_name": "Ana"}
                cmi, (exercise, _, learner, attempt) = self.site(v, SOLVE, name)
                self.assertEqual((exercise["done"], learner), (True, "Learner: Ana"))
                self.assertEqual((at(cmi, core + "score")["raw"], at(cmi, core + status), at(cmi, core + "exit")),
                                 ("100", passed, ended))
                if v == "2004":
                    self.assertEqual((cmi["success_status"], cmi["score"]["scaled"]), ("passed", "1"))
                interactions = cmi["interactions"]
                self.assertEqual([interactions[str(n)]["id"] for n in range(2)] + ["2" in interactions],
                                 ["goal-3", "goal-4", False])
                self.assertLessEqual(len(cmi["suspend_data"]), 4096)
                self.assertLessEqual(max(len(interactions[str(n)][response]) for n in range(2)), 255)
            with self.subTest(version=v, row="resume"):
                cmi, (half, _, _, _) = self.site(v, HALF, {})
                self.assertEqual((at(cmi, core + "score")["raw"], at(cmi, core + "exit")), ("50", "suspend"))
                resume = {"entry": "resume", "suspend_data": cmi["suspend_data"]}
                data = {"core": {"entry": "resume"}, "suspend_data": cmi["suspend_data"]} if v == "1.2" else resume
                self.assertEqual(self.site(v, [], data)[1][0], half)
            with self.subTest(version=v, row="refused"):
                _, (refused, notice_hidden, _, _) = self.site(v, HALF, {}, refuse=True)
                self.assertEqual((refused, notice_hidden), (half, False))
        if BITWELL:
            self.assertEqual(self.bitwell(attempt, "--grade").splitlines()[1].split(",", 1)[1], "Ana,Read word 3,1,5,2,2,")

    def bitwell(self, text, option, *rest):
        path = os.path.join(self.folder, "in")
        with open(path, "w") as f:
            f.write(text)
        return subprocess.run([BITWELL, option, path, *rest], check=True, timeout=60, capture_output=True, text=True,
                              env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout

    def test_command_line_gives_the_same_bytes(self):
        if not BITWELL:
            self.skipTest("no desktop program given")
        for version in ("1.2", "2004"):
            out = os.path.join(self.folder, version + ".zip")
            self.bitwell(EXERCISE, "--export", out, "--scorm", version)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), self.packages[version], version)


if __name__ == "__main__":
    PAGE, DIST = sys.argv[1], sys.argv[2]
    BITWELL = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=sys.argv[:1])
