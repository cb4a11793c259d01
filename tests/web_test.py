"""The web page as a student uses it, in headless Chromium.

    /usr/bin/python3 web_test.py PAGE REFERENCE_TOOL [TIMING_EXPORT_TOOL]

PAGE is build/web/bitwell.html; REFERENCE_TOOL prints a seeded run of
actions with what the reference model of the chip shows after each;
TIMING_EXPORT_TOOL prints the desktop's timing exports. The environment's
BITWELL_SHOWN_TEXTS names the tool that prints what the desktop shows in
every language, for the parity test."""

import base64
import json
import os
import re
import tempfile
import subprocess
import sys
import tempfile
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

import web_session

PAGE = REFERENCE = TIMING_EXPORT = None
LANGUAGES = ("en", "de", "fr", "es", "pt_BR")
DEFAULT = "Hover your mouse over a control signal label to see a description."
POWER_UP_CSV = ("step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n"
                "1,0,WE,0,0,1,0,0,0,0000,FFFF,read,both,FFFF\n"
                "2,0,CE,1,0,1,0,0,0,0000,FFFF,none,,FFFF\n"
                "3,0,OE,1,1,1,0,0,0,0000,FFFF,none,,FFFF\n"
                "4,0,LB,1,1,1,1,0,0,0000,FFFF,none,,FFFF\n"
                "5,0,UB,1,1,1,1,1,0,0000,FFFF,none,,FFFF\n")


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = web_session.chromium()

    @classmethod
    def tearDownClass(cls):
        cls.d.quit()

    def setUp(self):
        self.open(web_session.file_url(PAGE))

    def tearDown(self):
        # A language chosen from the menu stays for the next visit: not for
        # the next test.
        self.d.execute_script("localStorage.clear()")
        errors = [e for e in self.d.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])

    # ---- helpers: controls found by data-name, read as the user sees them

    def open(self, url):
        self.d.execute_script("window.bitwellStateKept = true")  # leaving between steps never asks
        self.d.get(url)
        web_session.wait_ready(self.d)

    def el(self, name, within=None):
        root = within or self.d
        return root.find_element(By.CSS_SELECTOR, '[data-name="%s"]' % name)

    def text(self, name):
        return self.d.execute_script(
            "return document.querySelector('[data-name=\"' + arguments[0] + '\"]').textContent", name)

    def value(self, name):
        return 1 if self.el(name).get_attribute("aria-checked") == "true" else 0

    def set(self, name, v):
        if self.value(name) != v:
            self.el(name).click()
        self.assertEqual(self.value(name), v, name)

    def lamps(self):
        return sum(self.el("sigRead(%d)" % k).is_displayed() << k for k in range(16))

    def runs(self):
        return self.d.execute_script("return Bitwell.runs()")

    def dialog(self, name, kind=None):
        css = 'dialog[data-name="%s"]%s' % (name, '[data-kind="%s"]' % kind if kind else "")
        return self.d.find_element(By.CSS_SELECTOR, css)

    def menu(self, menu, item):
        self.el(menu).click()
        self.el(item).click()

    def type_word(self, text, press=Keys.ENTER):
        ActionChains(self.d).double_click(self.el("lblData")).perform()
        box = self.dialog("InputBox")
        self.assertTrue(box.get_attribute("open") is not None)
        field = box.find_element(By.TAG_NAME, "input")
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(Keys.DELETE)
        if text:
            field.send_keys(text)
        field.send_keys(press)

    def write_cycle(self):
        for name in ("sigUB", "sigLB", "sigWE", "sigCE"):
            self.set(name, 0)

    # ---- what a student does

    # ---- exercises

    def exercise(self):
        return self.d.execute_script("return Bitwell.exercise()")

    def goal_items(self):
        return [(g.get_attribute("role"), g.get_attribute("aria-readonly"), g.get_attribute("aria-checked"),
                 g.text.strip()) for g in self.el("lstGoals").find_elements(By.CSS_SELECTOR, '[role="checkbox"]')]

    def error_shown(self):
        box = self.dialog("MsgBox", "error")
        return box.get_attribute("open") is not None and self.el("lblMessage", box).text

    def test_exercise_from_the_menu_solved_and_remembered(self):
        self.assertEqual(self.el("mnuExerciseOpen").find_element(By.CLASS_NAME, "keys").get_attribute("textContent"), "")
        self.assertEqual(self.el("mnuExerciseRestart").find_element(By.CLASS_NAME, "keys").get_attribute("textContent"), "")
        self.menu("mnuExercise", "mnuExerciseBuiltin(0)")
        panel = self.el("frmExercise")
        self.assertTrue(panel.is_displayed())
        self.assertEqual(self.text("lblExerciseTitle"), "Read a word")
        goals = self.goal_items()
        self.assertEqual(len(goals), len(self.exercise()["goals"]))
        self.assertTrue(all(g[:3] == ("checkbox", "true", "false") for g in goals), goals)
        self.assertIsNone(panel.get_attribute("data-done"))
        # Above the timing panel.
        self.menu("mnuView", "mnuViewTiming")
        self.assertLessEqual(panel.rect["y"] + panel.rect["height"], self.el("frmTiming").rect["y"])
        for name, v in (("sigAddr(0)", 1), ("sigAddr(1)", 1), ("sigUB", 0), ("sigLB", 0), ("sigOE", 0), ("sigCE", 0)):
            self.set(name, v)
        self.assertEqual(panel.get_attribute("data-done"), "true")
        self.assertEqual(self.text("lblExerciseResult"), "Done in 6 actions.")
        self.assertTrue(all(g[2] == "true" for g in self.goal_items()))
        self.assertEqual(self.el("mnuExerciseBuiltin(0)").get_attribute("aria-checked"), "true")
        # What a screen reader is given: check boxes named by their goals, ticked.
        tree = self.d.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        texts = [g["text"] for g in self.exercise()["goals"]]
        boxes = [n for n in tree if n.get("role", {}).get("value") == "checkbox"
                 and n.get("name", {}).get("value") in texts]
        self.assertEqual(len(boxes), len(goals))
        for node in boxes:
            props = {p["name"]: p["value"].get("value") for p in node.get("properties", [])}
            self.assertEqual(props.get("checked"), "true", node)
        regions = [n.get("name", {}).get("value") for n in tree if n.get("role", {}).get("value") == "region"]
        self.assertIn("Read a word", regions)
        # Restart (the menu item; F5 belongs to the browser) starts afresh; done stays remembered.
        self.menu("mnuExercise", "mnuExerciseRestart")
        self.assertIsNone(panel.get_attribute("data-done"))
        self.assertEqual(self.text("lblExerciseResult"), "")
        self.open(web_session.file_url(PAGE))
        self.assertEqual(self.el("mnuExerciseBuiltin(0)").get_attribute("aria-checked"), "true")
        self.assertEqual(self.el("mnuExerciseBuiltin(1)").get_attribute("aria-checked"), "false")
        self.assertFalse(self.el("frmExercise").is_displayed())
        self.menu("mnuExercise", "mnuExerciseBuiltin(1)")
        self.write_cycle()
        contents = self.text("lblContents")
        self.menu("mnuExercise", "mnuExerciseClose")
        self.assertFalse(self.el("frmExercise").is_displayed())
        self.assertEqual(self.text("lblContents"), contents)

    def test_exercises_menu_keys_by_place_and_past_the_tenth_by_letter(self):
        # AZERTY types "&" at 1's place without Shift; the eleventh item's key is its underlined letter.
        for key, code, item in (("&", "Digit1", 0), (None, None, 10)):
            with self.subTest(code=code, item=item):
                self.open(web_session.file_url(PAGE))
                self.el("mnuExercise").click()
                entry = self.el("mnuExerciseBuiltin(%d)" % item)
                key = key or entry.find_element(By.TAG_NAME, "u").get_attribute("textContent").lower()
                self.d.execute_script("document.activeElement.dispatchEvent(new KeyboardEvent('keydown', "
                                      "{key: arguments[0], code: arguments[1], bubbles: true, cancelable: true}))",
                                      key, code or "Key" + key.upper())
                self.assertTrue(self.el("frmExercise").is_displayed())
                self.assertTrue(entry.get_attribute("textContent").endswith(self.text("lblExerciseTitle")))

    def test_each_lesson_finishes_only_the_way_it_teaches(self):
        """The core's table of right and wrong paths, played on the page."""
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "lesson_paths.txt")) as f:
            rows = [[part.strip() for part in line.split("#")[0].split("|")] for line in f if "|" in line.split("#")[0]]
        lessons = sorted({lesson for lesson, _, _ in rows})
        self.assertGreaterEqual(len(rows), 34)
        for lesson, done, actions in rows:
            with self.subTest(lesson=lesson, actions=actions):
                self.open(web_session.file_url(PAGE))
                self.menu("mnuExercise", "mnuExerciseBuiltin(%d)" % lessons.index(lesson))
                for step in actions.split():
                    what, _, v = step.partition("=")
                    if what == "copy":
                        self.menu("mnuEdit", "mnuEditCopyRead")
                    elif what == "order":
                        self.el("optBig" if v == "big" else "optLittle").click()
                    elif what == "D":
                        self.d.execute_script("Bitwell.enter(arguments[0])", v)
                    else:
                        bit = re.fullmatch(r"([AD])(\d+)", what)
                        self.set("sig%s(%s)" % ({"A": "Addr", "D": "Data"}[bit[1]], bit[2]) if bit else "sig" + what, int(v))
                self.assertEqual(self.exercise()["done"], done == "done")

    LINK_FILES = (
        ("plain", "title: T\ntext: X\ngoal read = 1234\n"),
        ("crlf, no last end, other scripts", "\ufefftitle: Wört ✓ שלום\r\ntext: <b>not markup</b>\r\ngoal memory 0-3 = ??00"),
        ("every kind of line", "# c\ntitle: A\ntext: one\ntext: two\nhint: h\ngiven memory 5 = BEEF\n"
                               "given order = little\ngiven CE = 0\ngoal actions >= 3\n"),
    )

    def test_exercise_link_round_trip(self):
        for tag, source in self.LINK_FILES:
            with self.subTest(tag):
                self.open(web_session.file_url(PAGE))
                self.assertTrue(self.d.execute_script("return Bitwell.openExercise(arguments[0], 'x.bwx')", source))
                shown = self.exercise()
                self.menu("mnuExercise", "mnuExerciseCopyLink")
                link = self.el("frmExercise").get_attribute("data-link")
                self.assertTrue(link.startswith(web_session.file_url(PAGE) + "#exercise="), link)
                payload = link.split("#exercise=", 1)[1]
                self.assertNotRegex(payload, "[+/=]")
                self.assertEqual(base64.urlsafe_b64decode(payload + "=" * (-len(payload) % 4)), source.encode())
                self.d.execute_script("window.bitwellStateKept = true")
                self.d.get("about:blank")  # a load, not a jump within the page
                self.open(link)
                self.assertTrue(self.el("frmExercise").is_displayed())
                self.assertEqual(self.exercise(), shown)
                self.assertEqual(self.text("lblExerciseTitle"), shown["title"])
        # Where there is no clipboard (plain http), the link is offered selected.
        self.d.execute_script("Object.defineProperty(Navigator.prototype, 'clipboard', { get: () => undefined })")
        self.menu("mnuExercise", "mnuExerciseCopyLink")
        offered = self.d.execute_script("return [document.activeElement.closest('dialog').querySelector('.title')"
                                        ".textContent, getSelection().toString()]")
        self.assertEqual(offered, ["Copy this link", link])
        # A bad link says why, the message alone; the page works without an exercise.
        bad_file = base64.urlsafe_b64encode(b"title: T\ntext: X\n").decode().rstrip("=")
        for tag, payload, message in (("not base64", "%%%!!", "the link does not hold"),
                                      ("no goal", bad_file, "the file has no goal"),
                                      ("over the limit", "QUFB" * 30000, "the file is larger")):
            with self.subTest(tag):
                self.d.get("about:blank")
                self.open(web_session.file_url(PAGE) + "#exercise=" + payload)
                self.assertTrue(self.error_shown().startswith(message), self.error_shown())
                self.el("cmdOK", self.dialog("MsgBox", "error")).click()
                self.assertFalse(self.el("frmExercise").is_displayed())
                self.set("sigCE", 0)
                self.assertEqual(self.text("lblRead"), "FFFF")

    def test_exercise_from_a_file_picked_or_dropped(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "mine.bwx")
            with open(path, "w", encoding="utf-8") as f:
                f.write("title: Mine\ntext: Do it\ngoal memory 0 = 0000\n")
            picker = self.el("filExercise")
            self.d.execute_script("arguments[0].hidden = false", picker)
            picker.send_keys(path)
            WebDriverWait(self.d, 5).until(lambda d: self.el("frmExercise").is_displayed())
            self.assertEqual(self.text("lblExerciseTitle"), "Mine")
        self.assertIsNone(self.el("frmExercise").get_attribute("data-done"))
        drop = """
            const dt = new DataTransfer();
            dt.items.add(new File([arguments[0]], arguments[1]));
            document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: dt, bubbles: true, cancelable: true }));"""
        self.d.execute_script(drop, "title: Dropped\ntext: X\ngoal read = 0000\n", "drop.bwx")
        WebDriverWait(self.d, 5).until(lambda d: self.text("lblExerciseTitle") == "Dropped")
        # A bad dropped file: every problem as LINE: message, and the open exercise stays.
        self.d.execute_script(drop, "title: T\ntext: X\ngoal memroy 5 = BEEF\n", "bad.bwx")
        WebDriverWait(self.d, 5).until(lambda d: self.error_shown())
        self.assertEqual(self.error_shown(), '3: unknown goal "memroy"; did you mean "memory"?')
        self.assertEqual(self.dialog("MsgBox", "error").find_element(By.CSS_SELECTOR, '[data-name="lblTitle"]').text,
                         "Exercise")
        self.el("cmdOK", self.dialog("MsgBox", "error")).click()
        self.assertEqual(self.text("lblExerciseTitle"), "Dropped")

    def test_file_restart(self):
        question = "Power the chip up afresh? The memory's words will be lost."
        box = self.dialog("MsgBox", "restart")
        # Power-on words: nothing to lose, no question.
        self.type_word("1234")
        self.menu("mnuFile", "mnuFileRestart")
        self.assertIsNone(box.get_attribute("open"))
        self.assertEqual(self.text("lblData"), "0000")
        for answer, kept in (("cmdNo", True), ("cmdYes", False)):
            with self.subTest(answer):
                self.type_word("BEEF")
                self.write_cycle()
                contents = self.text("lblContents")
                self.menu("mnuFile", "mnuFileRestart")
                self.assertIsNotNone(box.get_attribute("open"))
                self.assertEqual(self.el("lblMessage", box).text, question)
                self.el(answer, box).click()
                self.assertEqual(self.text("lblContents") == contents, kept)
                if not kept:
                    self.assertNotIn("BEEF", self.text("lblContents"))

    def test_start_up_state(self):
        for c in ("CE", "OE", "WE", "LB", "UB"):
            self.assertEqual(self.value("sig" + c), 1)
        self.assertEqual(sum(self.value("sigData(%d)" % i) for i in range(16)), 0)
        self.assertEqual((self.text("lblAddr"), self.text("lblData"), self.text("lblRead")), ("0", "0000", "FFFF"))
        self.assertEqual(self.lamps(), 0xFFFF)
        self.assertEqual([self.el(n).is_selected() for n in ("optBig", "optLittle")], [True, False])
        self.assertEqual(self.text("lblContents"), "".join("0%X: FFFF FFFF\n" % i for i in range(0, 16, 2)))
        self.assertEqual(self.text("lblTypes").splitlines()[-1], "Float: -NaN")
        self.assertEqual(self.text("lblStatus"), DEFAULT)
        self.assertEqual(self.runs(), 5)
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"), POWER_UP_CSV)
        self.assertEqual(self.d.switch_to.active_element.get_attribute("data-name"), "sigUB")
        self.assertEqual(self.el("Label3", self.dialog("frmAbout")).get_attribute("textContent"),
                         "Quorin Bitwell %s, made by the Bitwell developers for the classroom. "
                         "Free to use, copy and share." % self.el("frmMain").get_attribute("data-version"))

    def test_write_then_read_with_byte_enables(self):
        self.type_word("12ab")
        self.set("sigAddr(0)", 1)
        self.set("sigAddr(2)", 1)
        self.assertEqual(self.text("lblAddr"), "5")
        self.set("sigUB", 0)
        self.set("sigCE", 0)
        self.set("sigWE", 0)          # only the upper byte is written
        self.assertEqual(self.text("lblContents").splitlines()[2], "04: FFFF 12FF")
        self.set("sigLB", 0)          # now both
        self.assertEqual(self.text("lblContents").splitlines()[2], "04: FFFF 12AB")
        self.set("sigWE", 1)
        self.set("sigUB", 1)
        runs = self.runs()
        self.set("sigOE", 0)          # a read of the lower byte only
        self.assertEqual(self.runs() - runs, 1)
        self.assertEqual(self.text("lblRead"), "FFAB")
        self.assertEqual(self.lamps(), 0xFFAB)

    def test_address_f_and_both_word_orders(self):
        for bit in range(4):
            self.set("sigAddr(%d)" % bit, 1)
        types = self.text("lblTypes")
        self.assertIn("Starting Address: 0xF\nData: 0xFFFF\n", types)
        self.assertTrue(types.endswith("Integer (unsigned): N/A\nInteger (signed): N/A\nFloat: N/A\n"))
        for bit in range(4):
            self.set("sigAddr(%d)" % bit, 0)
        self.set("sigAddr(2)", 1)     # address 4 holds 4049, address 5 0FDB
        self.type_word("4049")
        self.write_cycle()
        self.set("sigCE", 1)
        self.type_word("0fdb")
        self.set("sigAddr(0)", 1)
        self.set("sigCE", 0)
        self.set("sigCE", 1)
        self.set("sigAddr(0)", 0)
        self.assertIn("Data: 0x40490FDB\n", self.text("lblTypes"))
        self.assertIn("Float: 3.141593\n", self.text("lblTypes"))
        runs = self.runs()
        self.el("optLittle").click()
        self.assertEqual(self.runs() - runs, 1)
        self.assertIn("Data: 0x0FDB4049\n", self.text("lblTypes"))
        self.assertIn("Float: 2.161983E-29\n", self.text("lblTypes"))
        self.el("optBig").click()
        self.assertIn("Data: 0x40490FDB\n", self.text("lblTypes"))

    def test_typed_words(self):
        cases = [("abc", "0ABC", None), ("12345", "1234", None), ("", "1234", None),
                 ("xyz12", "1234", "Error: 'XYZ1' is not a valid hexadecimal value."),
                 ("<b>1", "1234", "Error: '<B>1' is not a valid hexadecimal value."),
                 ("\u202eABCD", "1234", "Error: '\u2068\u202eABC\u2069' is not a valid hexadecimal value.")]
        for typed, data, error in cases:
            with self.subTest(typed=typed):
                self.type_word(typed)
                box = self.dialog("MsgBox", "error")
                if error is None:
                    self.assertIsNone(box.get_attribute("open"))
                else:
                    self.assertIsNotNone(box.get_attribute("open"))
                    self.assertEqual(self.el("lblTitle", box).text, "Data Input Error")
                    message = self.el("lblMessage", box)
                    self.assertEqual(message.get_attribute("textContent"), error)
                    self.assertEqual(message.find_elements(By.TAG_NAME, "b"), [])
                    self.el("cmdOK", box).click()
                self.assertEqual(self.text("lblData"), data)
        # Cancel changes nothing.
        self.type_word("FFFF", press=Keys.ESCAPE)
        self.assertEqual(self.text("lblData"), "1234")

    def test_typed_word_in_a_write_cycle_is_sixteen_evaluations(self):
        self.write_cycle()
        runs = self.runs()
        self.type_word("FFFF")
        self.assertEqual(self.runs() - runs, 16)
        self.assertEqual(sum(self.value("sigData(%d)" % i) for i in range(16)), 16)
        self.assertEqual(self.text("lblContents").splitlines()[0], "00: FFFF FFFF")
        csv = self.d.execute_script("return Bitwell.csv()").splitlines()
        self.assertEqual([line.split(",")[2] for line in csv[-16:]], ["D%d" % i for i in range(15, -1, -1)])
        self.assertEqual(len({line.split(",")[1] for line in csv[-16:]}), 1)

    def test_copy_and_edit_menu(self):
        self.set("sigCE", 0)
        self.set("sigOE", 0)
        self.set("sigUB", 0)
        self.set("sigLB", 0)           # read FFFF
        ActionChains(self.d).double_click(self.el("lblRead")).perform()
        self.assertEqual(self.text("lblData"), "FFFF")
        self.menu("mnuEdit", "mnuEditEnter")
        field = self.dialog("InputBox").find_element(By.TAG_NAME, "input")
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys("0", Keys.ENTER)
        self.assertEqual(self.text("lblData"), "0000")
        self.d.switch_to.active_element.send_keys(Keys.CONTROL, "r")
        self.assertEqual(self.text("lblData"), "FFFF")
        self.assertEqual(self.el("mnuEditCopyRead").get_attribute("textContent"), "Copy Read to InputCtrl+R")
        # Chosen with nothing focused and answered before any layout: the
        # focus is not left in the closed dialog, where keys reach nothing.
        left_in = self.d.execute_script("""
            document.activeElement.blur();
            const q = (n) => document.querySelector('[data-name="' + n + '"]');
            q('mnuEdit').click();
            q('mnuEditEnter').click();
            q('InputBox').querySelector('form').requestSubmit(q('InputBox').querySelector('[data-name=cmdOK]'));
            return q('InputBox').contains(document.activeElement);""")
        self.assertFalse(left_in)

    def test_hover_help_and_tooltips(self):
        moves = [("lblCE", "Chip Enable signal. Active LOW."), ("sigCE", "Chip Enable signal. Active LOW."),
                 ("lblAddrTitle", "Address range: 0x0 - 0xF (0 - 15)."), ("colRead(3)", DEFAULT),
                 ("lblWE", "Write Enable signal. Active LOW."), ("lblContents", "Write Enable signal. Active LOW."),
                 ("optLittle", "Selecting this option will treat the word at the starting address as the low word."),
                 ("Form", DEFAULT)]
        for target, text in moves:
            node = self.el(target) if target != "optLittle" else self.el("optLittleLabel")
            ActionChains(self.d).move_to_element(node).perform()
            if target == "Form":
                ActionChains(self.d).move_to_element_with_offset(self.el("Form"), 0, 0).perform()
            self.assertEqual(self.text("lblStatus"), text, target)
        self.assertEqual(self.el("sigData(7)").get_attribute("title"), "D7")
        self.assertEqual(self.el("sigAddr(2)").get_attribute("title"), "A2")
        self.assertEqual(self.el("colRead(15)").get_attribute("title"), "Q15")

    def test_about_and_exit(self):
        self.menu("mnuHelp", "mnuHelpAbout")
        about = self.dialog("frmAbout")
        self.assertEqual(self.el("lblTitle", about).text, "About Quorin Bitwell")
        self.el("cmdOK", about).click()
        self.assertIsNone(about.get_attribute("open"))
        self.set("sigCE", 0)
        self.menu("mnuFile", "mnuFileExit")
        box = self.dialog("MsgBox", "exit")
        self.assertEqual(self.el("lblMessage", box).text, "Are you sure that you want to exit?")
        self.el("cmdNo", box).click()
        self.assertEqual(self.value("sigCE"), 0)
        self.menu("mnuFile", "mnuFileExit")
        self.d.switch_to.active_element.send_keys(Keys.ENTER)   # Yes is the default
        self.assertTrue(self.el("Ended").is_displayed())
        self.assertFalse(self.el("frmMain").is_displayed())
        self.el("cmdRestart").click()
        self.assertEqual(self.value("sigCE"), 1)
        self.assertEqual(self.text("lblRead"), "FFFF")
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"), POWER_UP_CSV)

    # ---- by ear

    def announced(self):
        """Every sentence the live region was given since the page started."""
        return self.d.execute_script("return window.heard || []")

    def listen(self):
        self.d.execute_script("""
            window.heard = [];
            const region = document.querySelector('[data-name="lblAnnounce"]');
            new MutationObserver((records) => {
                for (const r of records) for (const n of r.addedNodes) if (n.textContent) window.heard.push(n.textContent);
            }).observe(region, { childList: true, subtree: true });""")

    def test_each_action_is_announced_once_never_in_the_status_line(self):
        region = self.el("lblAnnounce")
        self.assertEqual(region.get_attribute("aria-live"), "polite")
        # The status line is the hover help: it is never announced.
        self.assertEqual([self.el("lblStatus").get_attribute(a) for a in ("role", "aria-live")], [None, None])
        self.listen()
        cases = [  # what the student does, what is heard
            (lambda: self.set("sigUB", 0), ["no cycle"]),
            (lambda: self.write_cycle(), ["no cycle", "no cycle", "write 0000 to address 0, both bytes"]),
            (lambda: self.type_word("BEEF"), ["write BEEF to address 0, both bytes"]),
            (lambda: (self.set("sigWE", 1), self.set("sigOE", 0)),
             ["no cycle", "read BEEF from address 0, both bytes"]),
        ]
        for act, heard in cases:
            before = len(self.announced())
            act()
            self.d.execute_script("return new Promise((done) => setTimeout(done, 0))")
            self.assertEqual(self.announced()[before:], heard)
        self.assertNotIn(self.text("lblStatus"), [h for _, heard in cases for h in heard])
        self.assertEqual(self.text("lblAnnounce"), "read BEEF from address 0, both bytes")

    def test_the_action_that_finishes_an_exercise_is_heard_with_its_done(self):
        self.d.execute_script("Bitwell.openExercise(arguments[0], 't.bwx')",
                              "title: T\ntext: X\ngiven WE = 0\ngiven LB = 0\ngiven UB = 0\n"
                              "goal memory 0 = 0000\n")
        self.listen()
        self.set("sigCE", 0)
        self.set("sigCE", 1)
        self.assertEqual(self.announced(), ["write 0000 to address 0, both bytes", "Done in 1 action.", "no cycle"])

    def ax_tree(self):
        """Chromium's accessibility tree, walked in reading order: a list of
        (role, name) with ignored nodes left out; self.ax_descriptions maps
        each name to its computed description."""
        nodes = self.d.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        by_id = {n["nodeId"]: n for n in nodes}
        out = []
        self.ax_descriptions = {}

        def walk(node):
            if not node.get("ignored"):
                name = node.get("name", {}).get("value", "")
                out.append((node.get("role", {}).get("value", ""), name))
                self.ax_descriptions[name] = node.get("description", {}).get("value", "")
            for child in node.get("childIds", []):
                if child in by_id:
                    walk(by_id[child])
        walk(nodes[0])
        return out

    def test_reading_order_regions_heading_and_words(self):
        tree = self.ax_tree()
        names = [name for _, name in tree]
        first_read_bit = next(i for i, name in enumerate(names) if name.startswith("Read bit"))
        switches = [i for i, (role, _) in enumerate(tree) if role == "switch"]
        self.assertEqual(len(switches), 25)
        self.assertLess(max(switches), first_read_bit, "a read bit is read before a switch")
        # The read bits are read-only check boxes, their light the description.
        self.assertEqual(tree[first_read_bit], ("checkbox", "Read bit 15"))
        self.assertEqual(self.ax_descriptions["Read bit 15"], "lit, 1")
        self.assertEqual([name for role, name in tree if role == "heading"], ["Quorin Bitwell"])
        self.assertEqual([name for role, name in tree if role == "region"],
                         ["Memory Signals", "Memory Contents", "Data Type Representation"])
        # The level marks are for the eye: no text "1" or "0" of their own.
        self.assertNotIn(("StaticText", "1"), tree)
        # The level words are the switches' descriptions, not text of their own.
        self.assertFalse([n for _, n in tree if n.endswith(("HIGH, inactive", "LOW, active"))])
        self.assertEqual(self.ax_descriptions["Chip enable, active low"], "Chip Enable signal. Active LOW. HIGH, inactive")
        marks = self.d.execute_script(
            "return ['Label5','Label6','Label7','Label8','Label9','Label10'].map((n) =>"
            " document.querySelector('[data-name=\"' + n + '\"]').getAttribute('aria-hidden'))")
        self.assertEqual(marks, ["true"] * 6)
        described = lambda name: self.d.execute_script(
            "const n = document.querySelector('[data-name=\"' + arguments[0] + '\"]');"
            "return document.getElementById(n.getAttribute('aria-describedby')).textContent", name)
        for name, v, words in (("sigCE", 1, "HIGH, inactive"), ("sigCE", 0, "LOW, active"),
                               ("sigWE", 0, "LOW, active"), ("sigWE", 1, "HIGH, inactive")):
            self.set(name, v)
            self.assertTrue(described(name).endswith(" " + words), (name, v, described(name)))

    # ---- high contrast

    FORCED_JS = """
        const named = (n) => document.querySelector('[data-name="' + n + '"]');
        const style = (n, pseudo) => getComputedStyle(named(n), pseudo || null);
        const shown = (s) => s.backgroundColor !== 'rgba(0, 0, 0, 0)' ? s.backgroundColor : 'none';
        const focused = getComputedStyle(document.activeElement);
        return {
          ground: style('Frame3').backgroundColor,
          lit: shown(style('sigRead(0)')),
          bar: shown(style('Line2')),
          divider: shown(style('Line3')),
          ring: focused.outlineStyle + ' ' + focused.outlineColor,
          thumb: shown(getComputedStyle(named('sigUB').firstChild)),
          forced: matchMedia('(forced-colors: active)').matches,
        };"""

    def test_forced_colours_keep_lamps_bars_and_focus_visible(self):
        self.d.execute_cdp_cmd("Emulation.setEmulatedMedia",
                               {"features": [{"name": "forced-colors", "value": "active"}]})
        try:
            self.open(web_session.file_url(PAGE))
            self.set("sigOE", 0)
            self.set("sigCE", 0)          # a read: the lamps show the word
            self.d.switch_to.active_element.send_keys(Keys.TAB)
            seen = self.d.execute_script(self.FORCED_JS)
        finally:
            self.d.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})
        self.assertTrue(seen["forced"])
        for what in ("lit", "bar", "divider", "thumb"):
            self.assertNotIn(seen[what], ("none", seen["ground"]), what)
        self.assertNotEqual(seen["ring"].split()[0], "none")

    def test_exit_keys_and_the_ended_session(self):
        self.menu("mnuFile", "mnuFileExit")
        box = self.dialog("MsgBox", "exit")
        self.d.switch_to.active_element.send_keys("n")
        self.assertIsNone(box.get_attribute("open"))
        self.assertTrue(self.el("frmMain").is_displayed())
        self.menu("mnuFile", "mnuFileExit")
        self.d.switch_to.active_element.send_keys("y")
        self.assertTrue(self.el("Ended").is_displayed())
        # Only Start Again answers now: F2, the menus' keys, Ctrl+R do nothing.
        body = self.d.find_element(By.TAG_NAME, "body")
        for keys in ((Keys.F2,), (Keys.ALT, "f"), (Keys.F10,), (Keys.CONTROL, "r")):
            ActionChains(self.d).send_keys_to_element(body, *keys).perform()
            self.assertIsNone(self.dialog("InputBox").get_attribute("open"), keys)
            self.assertEqual(self.d.find_elements(By.CSS_SELECTOR, ".menu.open"), [], keys)
        self.el("cmdRestart").click()
        self.assertEqual(self.text("lblRead"), "FFFF")

    def test_keyboard_only_write(self):
        keys = self.d.switch_to.active_element
        self.assertEqual(keys.get_attribute("data-name"), "sigUB")
        keys.send_keys(Keys.ARROW_DOWN)                    # UB low
        for _ in range(9):                                 # to sigData(11)
            self.d.switch_to.active_element.send_keys(Keys.TAB)
        self.assertEqual(self.d.switch_to.active_element.get_attribute("data-name"), "sigData(11)")
        self.d.switch_to.active_element.send_keys(Keys.ARROW_UP)
        self.assertEqual(self.text("lblData"), "0800")
        for _ in range(14):                                # data, address, OE, LB, CE
            self.d.switch_to.active_element.send_keys(Keys.TAB)
        self.assertEqual(self.d.switch_to.active_element.get_attribute("data-name"), "sigCE")
        self.d.switch_to.active_element.send_keys(" ")      # Space toggles: CE low
        self.d.switch_to.active_element.send_keys(Keys.TAB, Keys.ARROW_DOWN)   # WE low: write
        self.assertEqual(self.text("lblContents").splitlines()[0], "00: 08FF FFFF")

    def test_timing_panel(self):
        self.assertFalse(self.el("frmTiming").is_displayed())
        # From the keyboard: Alt+V opens View, T chooses the diagram, which
        # takes the focus: Left works at once, and Space cannot wipe the trace.
        ActionChains(self.d).key_down(Keys.ALT).send_keys("v").key_up(Keys.ALT).perform()
        self.d.switch_to.active_element.send_keys("t")
        self.assertTrue(self.el("frmTiming").is_displayed())
        self.assertEqual(self.d.switch_to.active_element.get_attribute("data-name"), "diagram")
        self.assertEqual(self.el("mnuViewTiming").get_attribute("aria-checked"), "true")
        power_up = self.d.execute_script("return Bitwell.csv()")
        self.d.switch_to.active_element.send_keys(Keys.SPACE, Keys.LEFT)
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"), power_up)
        self.assertEqual(self.el("lblStatus", self.el("frmTiming")).text,
                         "Step 5, action 0: no cycle (UB changed to HIGH)")
        self.write_cycle()
        canvas = self.el("diagram")
        canvas.send_keys(Keys.END)
        self.assertEqual(self.el("lblStatus", self.el("frmTiming")).text,
                         "Step 9, action 4: write 0000 to address 0, both bytes (CE changed to LOW)")
        csv = self.d.execute_script("return Bitwell.csv()")
        undo = self.el("cmdUndo")
        self.assertFalse(undo.is_enabled())
        self.el("cmdClear").click()
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"),
                         "step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n")
        WebDriverWait(self.d, 5).until(lambda d: undo.is_enabled())
        # Ctrl+Z in the panel brings the steps back, once.
        canvas.send_keys(Keys.CONTROL, "z")
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"), csv)
        WebDriverWait(self.d, 5).until(lambda d: not undo.is_enabled())
        for button in (self.el("cmdClear"), undo):  # a click gives the keys back to the diagram
            WebDriverWait(self.d, 5).until(lambda d: button.is_enabled())
            button.click()
            self.assertEqual(self.d.switch_to.active_element.get_attribute("data-name"), "diagram")
        self.menu("mnuView", "mnuViewTiming")
        self.assertFalse(self.el("frmTiming").is_displayed())

    def timing(self, script, *args):
        return self.d.execute_script(
            "const t = document.querySelector('[data-name=\"frmTiming\"]').timing; " + script, *args)

    def test_timing_steps_grid(self):
        self.menu("mnuView", "mnuViewTiming")
        for _ in range(30):
            self.el("sigData(0)").click()
        self.el("diagram").send_keys(Keys.END, Keys.LEFT)
        grid = self.el("steps")
        self.assertEqual(grid.get_attribute("role"), "grid")
        self.assertEqual(grid.get_attribute("aria-rowcount"), "36")
        rows = grid.find_elements(By.CSS_SELECTOR, '[role="rowgroup"] > [role="row"]')
        state = self.timing("return t.state()")
        self.assertEqual(len(rows), state["visible"])
        selected = [r for r in rows if r.get_attribute("aria-selected") == "true"]
        self.assertEqual(len(selected), 1)
        self.assertEqual(selected[0].get_attribute("aria-rowindex"), "35")   # step 34, after the header
        self.assertEqual(selected[0].get_attribute("aria-label"),
                         "Step 34, action 29: no cycle (D0 changed to 1)")
        # What a screen reader is given: Chromium's own accessibility tree.
        tree = self.d.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        roles = [n.get("role", {}).get("value") for n in tree]
        self.assertIn("grid", roles)
        names = [n.get("name", {}).get("value") for n in tree if n.get("role", {}).get("value") == "row"]
        self.assertIn("Step 34, action 29: no cycle (D0 changed to 1)", names)
        cells = [n.get("name", {}).get("value") for n in tree if n.get("role", {}).get("value") == "gridcell"]
        self.assertIn("34", cells)
        headers = [n.get("name", {}).get("value") for n in tree if n.get("role", {}).get("value") == "columnheader"]
        self.assertEqual(headers[:4] + headers[-3:], ["Step", "Action", "Cause", "CE", "Cycle", "Bytes", "Stored word"])

    def test_timing_exports(self):
        self.menu("mnuView", "mnuViewTiming")
        moves = [("sigUB", 0), ("sigLB", 0), ("sigWE", 0), ("sigCE", 0), ("sigAddr(0)", 1), ("sigAddr(2)", 1),
                 ("sigData(3)", 1), ("sigAddr(0)", 0), ("sigWE", 1), ("sigOE", 0)]
        for name, v in moves:
            self.set(name, v)
        self.el("diagram").send_keys(Keys.END)
        WebDriverWait(self.d, 5).until(lambda d: self.timing("return t.state().first") > 0)
        state = self.timing("return t.state()")
        svg = self.timing("return t.svgText()")
        self.assertNotIn("#308cc6", svg)      # no selection band
        wave = json.loads(self.timing("return t.waveJson()"))
        self.assertEqual([len(lane["wave"]) for lane in wave["signal"]],
                         [min(state["visible"], 15)] * 9)
        # The desktop writes the same bytes for the same steps at the same size.
        if TIMING_EXPORT:
            desktop = subprocess.run([TIMING_EXPORT, "svg", str(state["width"]), str(state["height"])] +
                                     ["%s=%d" % m for m in moves],
                                     check=True, capture_output=True, text=True, timeout=60).stdout
            self.assertEqual(svg, desktop)

    def test_reference_model_run(self):
        run = [json.loads(line) for line in subprocess.run(
            [REFERENCE, "7", "240"], check=True, capture_output=True, text=True).stdout.splitlines()]
        seen = self.d.execute_script("""
            const out = [];
            const text = (n) => document.querySelector('[data-name="' + n + '"]').textContent;
            for (const step of arguments[0]) {
              document.querySelector('[data-name="' + step.click + '"]').click();
              out.push({lblRead: text('lblRead'), lblData: text('lblData'), lblAddr: text('lblAddr'),
                        lblContents: text('lblContents'), lblTypes: text('lblTypes')});
            }
            return out;""", run)
        self.assertEqual(len(seen), len(run))
        for n, (want, got) in enumerate(zip(run, seen)):
            del want["click"]
            self.assertEqual(got, want, "action %d" % n)

    def test_served_and_narrow(self):
        with web_session.served(os.path.dirname(PAGE)) as base:
            for url in (base, base + "bitwell.html"):
                self.open(url)
                self.assertEqual(self.text("lblRead"), "FFFF")
        # A 320-pixel phone at twice the pixel density.
        self.d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 320, "height": 640, "deviceScaleFactor": 2, "mobile": True})
        try:
            self.open(web_session.file_url(PAGE))
            width = self.d.execute_script("return document.documentElement.clientWidth")
            self.assertEqual(width, 320)
            box = self.d.execute_script("return document.getElementById('app').getBoundingClientRect().width")
            self.assertLessEqual(box, width + 0.5)
            self.assertGreater(box, width - 2)
            self.assertLessEqual(self.d.execute_script("return document.documentElement.scrollWidth"), width)
            self.el("sigCE").click()
            self.assertEqual(self.value("sigCE"), 0)
        finally:
            self.d.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


    # ---- touch and small screens

    NARROW_JS = """
        const named = (n) => document.querySelector('[data-name="' + n + '"]');
        const box = (n) => named(n).getBoundingClientRect();
        const small = [], cut = [], targets = [];
        for (const n of document.querySelectorAll('.menubar [data-name], .surface [data-name]')) {
          if (n.offsetParent === null || n.getAttribute('aria-hidden') === 'true' && !n.textContent) continue;
          const text = Array.from(n.childNodes).some((c) => c.nodeType === 3 && c.textContent.trim());
          if (text && parseFloat(getComputedStyle(n).fontSize) < 12) small.push(n.dataset.name);
          if (n.classList.contains('caption') &&
              (n.scrollWidth > n.clientWidth + 1 || n.scrollHeight > n.clientHeight + 1))
            cut.push(n.dataset.name);
          const r = n.getBoundingClientRect();
          if (n.classList.contains('switch') && (r.width < 24 || r.height < 44)) targets.push(n.dataset.name);
          if (n.type === 'radio' && (r.width < 24 || r.height < 24)) targets.push(n.dataset.name);
        }
        for (const g of ['Frame3', 'Frame2', 'Frame1', 'lblStatus']) {
          const r = box(g);
          if (r.left < 0 || r.right > document.documentElement.clientWidth) cut.push(g);
        }
        return { small, cut, targets, order: ['Frame3', 'Frame2', 'Frame1', 'lblStatus'].map((g) => box(g).top),
                 sideways: document.documentElement.scrollWidth - document.documentElement.clientWidth,
                 transform: getComputedStyle(document.getElementById('app')).transform };"""

    def narrow(self, width, height, scale, touch, url=None):
        self.d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": touch})
        self.d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})
        self.open(url or web_session.file_url(PAGE))

    def wide_again(self):
        self.d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        self.d.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def tap(self, name, count=1, x=None, y=None):
        r = self.d.execute_script(
            "const n = document.querySelector('[data-name=\"' + arguments[0] + '\"]'); n.scrollIntoView({ block: 'nearest' });"
            "const r = n.getBoundingClientRect(); return [r.left + (arguments[1] ?? r.width / 2), r.top + (arguments[2] ?? r.height / 2)]",
            name, x, y)
        for _ in range(count):
            for kind, points in (("touchStart", [{"x": r[0], "y": r[1], "radiusX": 12, "radiusY": 12}]), ("touchEnd", [])):
                self.d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def test_narrow_layout_stacks_the_groups_with_large_text_and_targets(self):
        # A phone at 320 x 568, 400 % zoom on a 1280 x 1024 screen, and a
        # touch screen as wide as the desktop window: that one stays the
        # desktop window, with its switches grown inside Memory Signals; one
        # whose scroll bar leaves less than the desktop window's width.
        for width, height, scale, touch in ((320, 568, 2, True), (320, 256, 4, False), (800, 1000, 1, True), (600, 400, 1, False)):
            with self.subTest(width=width, height=height, scale=scale):
                self.narrow(width, height, scale, touch)
                try:
                    seen = self.d.execute_script(self.NARROW_JS)
                    if width < 593 or not touch:
                        self.assertEqual(seen["small"], [])
                    else:
                        self.assertTrue(self.d.execute_script("return matchMedia('(pointer: coarse)').matches"))
                        self.assertEqual(self.el("Form").size["width"], 593)
                    self.assertEqual(seen["cut"], [])
                    self.assertEqual(seen["targets"], [])
                    self.assertEqual(seen["order"], sorted(seen["order"]))
                    self.assertEqual(seen["sideways"], 0)
                    self.assertEqual(seen["transform"], "none")
                    self.write_cycle()
                    self.type_word("12AB")
                    self.set("sigWE", 1)
                    self.set("sigOE", 0)
                    self.assertEqual(self.text("lblRead"), "12AB")
                finally:
                    self.wide_again()

    def test_timing_diagram_swipes_on_a_phone(self):
        self.narrow(320, 568, 2, True)
        try:
            self.write_cycle()
            for word in ("1111", "2222", "3333", "4444", "5555", "6666"):
                self.d.execute_script("Bitwell.enter(arguments[0])", word)
            self.menu("mnuView", "mnuViewTiming")
            # Texts for a finger, and for the mouse again once the pointer is fine.
            statuses = lambda: [self.text("lblStatus"), self.el("lblStatus", self.el("frmTiming")).text]
            self.assertEqual(statuses(), ["Tap a control signal label to see a description.",
                                          "Tap a step to see what it did, or swipe to move along the steps."])
            self.d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
            mouse = [DEFAULT, "Point at a step, or use Left and Right, to see what it did."]
            WebDriverWait(self.d, 5).until(lambda d: statuses() == mouse, "the mouse's words did not come back")
            self.d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
            canvas = self.d.find_element(By.CSS_SELECTOR, ".timing canvas")
            self.d.execute_script("arguments[0].scrollIntoView()", canvas)
            scroll = self.d.find_element(By.CSS_SELECTOR, ".timing input[type=range]")
            newest = int(scroll.get_attribute("value"))
            self.assertGreater(newest, 0)
            r = self.d.execute_script("const r = arguments[0].getBoundingClientRect();"
                                      "return [r.left + r.width / 2, r.top + r.height / 2]", canvas)
            # A finger drawn 120 pixels to the right: back to earlier steps.
            for kind, x in (("touchStart", r[0] - 60), ("touchMove", r[0]), ("touchMove", r[0] + 60)):
                self.d.execute_cdp_cmd("Input.dispatchTouchEvent",
                                       {"type": kind, "touchPoints": [{"x": x, "y": r[1]}]})
            self.d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
            self.assertLess(int(scroll.get_attribute("value")), newest)
            self.assertEqual(self.d.execute_script(
                "return document.documentElement.scrollWidth - document.documentElement.clientWidth"), 0)
        finally:
            self.wide_again()

    def test_taps_on_captions_show_help_and_never_move_a_switch(self):
        self.narrow(320, 568, 2, True)
        try:
            cases = [("lblCE", "sigCE", "Chip Enable signal. Active LOW."),
                     ("lblWE", "sigWE", "Write Enable signal. Active LOW."),
                     ("lblUB", "sigUB", "Upper Byte Enable signal. Active LOW."),
                     ("lblAddrTitle", "sigAddr(1)", "Address range: 0x0 - 0xF (0 - 15).")]
            for caption, switch, help in cases:
                before = self.value(switch)
                self.tap(caption)
                WebDriverWait(self.d, 5).until(lambda d: self.text("lblStatus") == help)
                self.assertEqual(self.d.execute_script("return document.querySelector('.bubble:not([hidden])').textContent"), help)
                self.assertEqual(self.value(switch), before, caption)
            self.assertEqual(self.runs(), 5)
            self.tap("lblData")                 # one tap is only the help
            self.assertIsNone(self.dialog("InputBox").get_attribute("open"))
            # Past the double-click time: the next two taps are a pair of their own.
            self.d.execute_async_script("setTimeout(arguments[0], 600)")
            self.tap("lblData", 2)
            WebDriverWait(self.d, 5).until(lambda d: self.dialog("InputBox").get_attribute("open") is not None)
            # Still open once the second tap's click is over: it did not land on the dialog.
            self.d.execute_async_script("setTimeout(arguments[0], 300)")
            self.assertIsNotNone(self.dialog("InputBox").get_attribute("open"))
            self.assertGreaterEqual(float(self.dialog("InputBox").value_of_css_property("font-size")[:-2]), 12)
            self.assertEqual(self.runs(), 5)
        finally:
            self.wide_again()

    # The centre and 2 px inside each corner of every element that is no
    # control, where none is drawn on top; and every menu, dialog and the
    # exercise panel opened from the menu, with what of them is off the page.
    OFF_CONTROLS_JS = """const out = [], control = '.switch, .option, input, button';
        for (const n of document.querySelectorAll('.surface [data-name]')) {
          if (n.matches(control) || !n.offsetParent || getComputedStyle(n).pointerEvents === 'none') continue;
          n.scrollIntoView({ block: 'nearest' }); const r = n.getBoundingClientRect(), w = r.width - 2, h = r.height - 2;
          [[w / 2, h / 2], [2, 2], [w, 2], [2, h], [w, h]].forEach(([x, y], i) => {
            if (!document.elementFromPoint(r.left + x, r.top + y).closest(control)) out.push([i, n.dataset.name, x, y]); }); }
        return out;"""
    FITS_JS = """const w = document.documentElement.clientWidth, out = [], named = (n) => document.querySelector('[data-name="' + n + '"]');
        const check = (root) => { for (const n of root.querySelectorAll('li, button, [data-name], p')) { const r = n.getBoundingClientRect();
            if (n.getClientRects().length && (r.left + r.right < 0 || r.left + r.right > 2 * w)) out.push(n.dataset.name || n.tagName); }
          if (document.documentElement.scrollWidth > w) out.push(root.querySelector('[data-name]').dataset.name + ' scrolls sideways'); };
        for (const m of document.querySelectorAll('.menubar > .menu')) {
          m.firstChild.click(); check(m); for (const p of m.querySelectorAll('li.parent')) { p.click(); check(p); } m.firstChild.click(); }
        for (const item of ['mnuHelpAbout', 'mnuEditEnter', 'mnuFileExit', 'mnuExerciseBuiltin(0)']) {
          named(item).click(); check(document.querySelector('dialog[open]') || named('frmExercise'));
          for (const b of document.querySelectorAll('dialog[open]')) b.close(); }
        const r = document.activeElement.getBoundingClientRect();
        return [out, document.activeElement.dataset.name, r.top >= 0 && r.bottom <= innerHeight];"""

    def test_no_tap_off_a_switch_moves_one_and_all_fits_a_phone(self):
        chip = "return [Bitwell.runs(), Array.from(document.querySelectorAll('.switch'), (s) => s.ariaChecked)]"
        for width, code in ((320, "en"), (375, "en"), (768, "en"), (320, "de"), (320, "fr"), (320, "es"), (320, "pt_BR")):
            with self.subTest(width=width, language=code):
                self.narrow(width, 640, 2, True, self.language_url(code))
                try:
                    before = self.d.execute_script(chip)
                    # Corner by corner through the elements: never two taps in a row on one.
                    for _, name, x, y in sorted(self.d.execute_script(self.OFF_CONTROLS_JS) if code == "en" else []):
                        self.tap(name, 1, x, y)
                        self.d.execute_script("for (const b of document.querySelectorAll('dialog[open]')) b.close()")
                    self.assertEqual(self.d.execute_script(chip), before)
                    if width == 320:
                        self.assertEqual(self.d.execute_script(self.FITS_JS), [[], "lblExerciseTitle", True])
                finally:
                    self.wide_again()

    def test_leaving_asks_while_work_would_be_lost(self):
        write = "for (const n of ['sigUB', 'sigLB', 'sigWE', 'sigCE']) document.querySelector('[data-name=\"' + n + '\"]').click();"
        for script, asks in (("", False), (write, True), ("window.bitwellStateKept = true;" + write, False),
                             ("Bitwell.openExercise('title: T\\ntext: X\\ngoal read = 1234\\n', 'a.bwx'); document.querySelector('[data-name=\"sigCE\"]').click()", True)):
            self.open(web_session.file_url(PAGE))
            self.assertEqual(self.d.execute_script(script + ";const e = new Event('beforeunload', { cancelable: true });"
                                                   "window.dispatchEvent(e); return e.defaultPrevented"), asks, script)

    # ---- any course site, saved copies

    def shown_now(self, name):
        return self.d.execute_script(
            "const n = document.querySelector('[data-name=\"' + arguments[0] + '\"]');"
            "return !!n && n.getClientRects().length > 0", name)

    def test_strict_policy_starts_or_says_why(self):
        with open(PAGE, encoding="utf-8") as f:
            html = f.read()
        cases = [  # policy, whether the core starts, what the notice names
            (web_session.policy(html), True, None),
            (web_session.policy(html, wasm=False), False, "'wasm-unsafe-eval'"),
            ("default-src 'none'; script-src 'none'; style-src 'unsafe-inline'", False, "'wasm-unsafe-eval'"),
            (re.sub(r"style-src [^;]*", "style-src 'self'", web_session.policy(html)), False, "style-src"),
        ]
        for csp, starts, named in cases:
            with self.subTest(policy=csp[:60]), \
                    web_session.served(os.path.dirname(PAGE), {"Content-Security-Policy": csp}) as base:
                self.d.get(base + "bitwell.html")
                if starts:
                    web_session.wait_ready(self.d)
                    self.write_cycle()
                    self.assertEqual(self.text("lblContents").splitlines()[0], "00: 0000 FFFF")
                    self.assertFalse(self.shown_now("lblCannotStart"))
                    self.assertEqual(self.text("lblCannotStart"),
                                     self.d.execute_script("return Bitwell.cannotStart()"))
                else:
                    self.d.execute_async_script("setTimeout(arguments[0], 1500)")
                    self.assertTrue(self.shown_now("lblCannotStart"))
                    self.assertFalse(self.shown_now("Form"))
                    self.assertIn(named, self.text("lblCannotStart"))
                    self.d.get_log("browser")   # the refusals the policy caused
        self.open(web_session.file_url(PAGE))

    def reopened(self, html):
        """Opens `html` as a file of its own and checks it is one working window."""
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "saved.html")
            with open(path, "w", encoding="utf-8") as f:
                f.write(html)
            self.open(web_session.file_url(path))
            counts = self.d.execute_script(
                "return [document.querySelectorAll('.menubar > .menu').length,"
                " document.querySelectorAll('.switch').length,"
                " Array.from(document.querySelectorAll('.cannot-start'), (n) => n.getClientRects().length).join()]")
            self.write_cycle()
            self.assertEqual(self.text("lblContents").splitlines()[0], "00: 0000 FFFF")
            return counts

    def test_saved_copies_open_as_one_window(self):
        self.write_cycle()
        self.menu("mnuView", "mnuViewTiming")
        menus = len(self.d.find_elements(By.CSS_SELECTOR, ".menubar > .menu"))
        # "Webpage, Complete": the document as it stands, built window and all.
        complete = self.d.execute_script("return '<!DOCTYPE html>\\n' + document.documentElement.outerHTML")
        # File, Save Page As: the pristine single file.
        pristine = self.d.execute_script("return Bitwell.savedPage()")
        # The page as built, in its first state: not the listing written since.
        self.assertFalse("00: 0000 FFFF" in pristine)
        with open(PAGE, "rb") as f:
            self.assertTrue(pristine.encode("utf-8") == f.read(), "File, Save Page As is not the page as built")
        for html in (complete, pristine):
            self.assertEqual(self.reopened(html), [menus, 25, "0"])
        # A single-file archive runs no script: it shows the notice alone.
        notice = self.d.execute_script("return Bitwell.cannotStart()")
        archive = self.d.execute_cdp_cmd("Page.captureSnapshot", {"format": "mhtml"})["data"]
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "saved.mhtml")
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(archive)
            self.d.get(web_session.file_url(path))
            shown = self.d.execute_script("return [document.querySelector('#app').getClientRects().length,"
                                          " document.querySelector('.cannot-start').innerText]")
            self.d.get_log("browser")   # the archive's refusals to run or focus
        self.open(web_session.file_url(PAGE))
        self.assertEqual(shown, [0, notice])
        self.assertEqual(self.el("mnuFileSavePage").get_attribute("textContent"), "Save Page As...")

    # ---- languages

    def title(self, group):
        return self.el(group).find_element(By.CLASS_NAME, "legend").text

    def language_url(self, code):
        return web_session.file_url(PAGE) + "?lang=" + code

    # What the page shows, read the way the desktop's dump reads the window:
    # each control's caption, the status line after the pointer rests on it,
    # its ARIA name and description and its tooltip; menus and dialogs with
    # "&" before the underlined access key.
    SHOWN_JS = """
        const named = (n, root) => (root || document).querySelector('[data-name="' + n + '"]');
        const withKey = (node) => Array.from(node.childNodes).map((c) =>
            c.nodeName === 'U' ? '&' + c.textContent : c.nodeName === '#text' ? c.textContent : '').join('');
        const status = named('lblStatus');
        const controls = {};
        for (const name of arguments[0]) {
          const node = named(name);
          if (!node) { controls[name] = null; continue; }
          let caption = '';
          if (node.classList.contains('group')) caption = node.querySelector('.legend').textContent;
          else if (node.classList.contains('caption')) caption = node.textContent;
          else if (node.type === 'radio') caption = node.parentElement.textContent;
          else if (node.tagName === 'BUTTON') caption = withKey(node);
          controls[name] = { caption: caption.replace(/\\n/g, '\\r\\n'),
            accessibleName: node.getAttribute('aria-label') || '',
            accessibleDescription: node.getAttribute('aria-description') || '',
            tooltip: node.title || '' };
        }
        // Then the hover help, once every caption has been read.
        for (const name of arguments[0]) {
          const node = named(name);
          if (!node) continue;
          status.textContent = '-';
          node.dispatchEvent(new MouseEvent('mousemove', { bubbles: true }));
          controls[name].help = status.textContent === '-' ? '' : status.textContent;
        }
        const menus = {};
        for (const node of document.querySelectorAll('.menubar [data-name]')) {
          if (node.dataset.page) continue;  // the page's own items, which the desktop lacks
          const label = node.tagName === 'LI' ? node.querySelector('span') : node;
          menus[node.dataset.name] = withKey(label);
        }
        return { controls, menus };"""

    def shown(self, names):
        return self.d.execute_script(self.SHOWN_JS, names)

    def dialogs_shown(self):
        """Opens the page's four dialogs as a student would, reading each."""
        d = self.d
        text = lambda box, name: d.execute_script(
            "const n = arguments[0].querySelector('[data-name=\"' + arguments[1] + '\"]');"
            "return Array.from(n.childNodes).map((c) => c.nodeName === 'U' ? '&' + c.textContent"
            " : c.textContent).join('');", box, name)
        out = {}
        self.menu("mnuEdit", "mnuEditEnter")
        box = self.dialog("InputBox")
        out["input"] = {"title": text(box, "lblTitle"), "text": text(box, "lblPrompt"),
                        "accept": text(box, "cmdOK"), "other": text(box, "cmdCancel")}
        field = box.find_element(By.TAG_NAME, "input")
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys("xyz", Keys.ENTER)
        box = self.dialog("MsgBox", "error")
        out["error"] = {"title": text(box, "lblTitle"), "text": text(box, "lblMessage"),
                        "accept": text(box, "cmdOK")}
        self.el("cmdOK", box).click()
        self.menu("mnuFile", "mnuFileExit")
        box = self.dialog("MsgBox", "exit")
        out["exit"] = {"title": text(box, "lblTitle"), "text": text(box, "lblMessage"),
                       "accept": text(box, "cmdYes"), "other": text(box, "cmdNo")}
        self.el("cmdNo", box).click()
        self.menu("mnuHelp", "mnuHelpAbout")
        box = self.dialog("frmAbout")
        out["about"] = {"title": text(box, "lblTitle")}
        for name in ("Label1", "Label2", "Label3", "cmdOK"):
            out["about"][name] = text(box, name)
        self.el("cmdOK", box).click()
        return out

    @unittest.skipUnless(os.environ.get("BITWELL_SHOWN_TEXTS"), "needs the desktop's texts")
    def test_both_front_ends_say_the_same_in_every_language(self):
        desktop = json.loads(subprocess.run([os.environ["BITWELL_SHOWN_TEXTS"]], check=True, capture_output=True,
                                            text=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout)
        # Shapes and lines take no pointer and have no text of their own;
        # the lamps' state words live on their columns.
        skip = ("sigRead(", "backgroundRead(", "borderRead(", "Line")
        for code in LANGUAGES:
            with self.subTest(language=code):
                self.open(self.language_url(code))
                self.menu("mnuExercise", "mnuExerciseBuiltin(0)")
                want = desktop[code]
                names = [n for n in want["controls"] if not n.startswith(skip)]
                page = self.shown(names)
                for name in names:
                    self.assertEqual(page["controls"][name], want["controls"][name], "%s %s" % (code, name))
                self.assertEqual(page["menus"], want["menus"], code)
                self.assertEqual(self.dialogs_shown(), want["dialogs"], code)

    @unittest.skipUnless(os.environ.get("BITWELL_SHOWN_TEXTS"), "needs the desktop's texts")
    def test_typed_answers_come_to_the_same_on_both_front_ends(self):
        # Upper-casing and splitting into characters are the toolkits' own;
        # the rest is the core's. A table of awkward answers shows the two
        # front ends agree on the whole.
        table = os.path.join(os.path.dirname(os.path.abspath(__file__)), "typed_answers.json")
        desktop = json.loads(subprocess.run([os.environ["BITWELL_SHOWN_TEXTS"], table], check=True, capture_output=True,
                                            text=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout)
        with open(table, encoding="utf-8") as f:
            answers = json.load(f)
        page = self.d.execute_script(
            "return arguments[0].map((a) => Bitwell.enter(a));", answers)
        self.assertEqual((len(desktop["typed"]), len(page)), (len(answers), len(answers)))
        for answer, want, got in zip(answers, desktop["typed"], page):
            self.assertEqual((got["kind"], got["text"]), (want["kind"], want["text"]), repr(answer))

    def test_language_from_the_address_the_browser_and_the_menu(self):
        # ?lang= wins and is not remembered; an unknown one is ignored.
        self.open(self.language_url("fr"))
        french = self.title("Frame3")
        self.assertNotEqual(french, "Memory Signals")
        self.assertEqual(self.d.execute_script("return document.documentElement.lang"), "fr")
        self.assertIsNone(self.d.execute_script("return localStorage.getItem('bitwell.language')"))
        # Matched as the browser's tags are: any case, '-' or '_', a region falling back.
        for asked, lang in (("pt-br", "pt-BR"), ("pt_BR", "pt-BR"), ("DE", "de"), ("de-AT", "de")):
            self.open(self.language_url(asked))
            self.assertEqual(self.d.execute_script("return document.documentElement.lang"), lang, asked)
        self.open(self.language_url("xx"))
        self.assertEqual(self.title("Frame3"), "Memory Signals")
        # The menu switches every text at once and keeps the chip as it is.
        self.write_cycle()
        self.type_word("BEEF")
        self.menu("mnuView", "mnuViewTiming")
        clear = self.text("cmdClear")
        self.el("sigAddr(1)").send_keys(Keys.SPACE)
        before = {n: self.text(n) for n in ("lblData", "lblRead", "lblAddr", "lblContents")}
        csv = self.d.execute_script("return Bitwell.csv()")
        self.el("mnuView").click()
        self.el("mnuViewLanguage").click()
        self.el("mnuLanguage(es)").click()
        self.assertEqual(self.el("mnuLanguage(es)").get_attribute("aria-checked"), "true")
        self.assertEqual(self.el("mnuLanguage(en)").get_attribute("aria-checked"), "false")
        spanish = self.title("Frame3")
        self.assertNotIn(spanish, ("Memory Signals", french))
        # The open timing panel follows.
        self.assertNotEqual(self.text("cmdClear"), clear)
        self.assertEqual([self.el("frmTiming").get_attribute("aria-label"),
                          self.el("steps").find_element(By.CSS_SELECTOR, "[role=columnheader]").get_attribute("textContent")],
                         ["Cronograma", "Paso"])
        self.assertEqual({n: self.text(n) for n in before}, before)
        self.assertEqual(self.d.execute_script("return Bitwell.csv()"), csv)
        self.assertEqual(self.d.execute_script("return document.activeElement.dataset.name"), "sigAddr(1)")
        # Remembered for the next visit, even from disk.
        self.assertEqual(self.d.execute_script("return localStorage.getItem('bitwell.language')"), "es")
        self.open(web_session.file_url(PAGE))
        self.assertEqual(self.title("Frame3"), spanish)
        self.assertEqual(self.d.execute_script("return document.documentElement.lang"), "es")

    def test_every_text_fits_its_box_in_every_language(self):
        for code in LANGUAGES:
            with self.subTest(language=code):
                self.open(self.language_url(code))
                # The widest values the listings can hold.
                self.type_word("8080")
                self.set("sigUB", 0)
                self.set("sigLB", 0)
                self.set("sigWE", 0)
                self.set("sigCE", 0)
                over = self.d.execute_script("""
                    const out = [];
                    for (const n of document.querySelectorAll('.surface [data-name], .menubar [data-name]')) {
                      if (n.offsetParent === null) continue;
                      if (n.scrollWidth > n.clientWidth + 1 || n.scrollHeight > n.clientHeight + 1)
                        out.push(n.dataset.name + ' ' + n.scrollWidth + 'x' + n.scrollHeight +
                                 ' in ' + n.clientWidth + 'x' + n.clientHeight);
                    }
                    return out;""")
                self.assertEqual(over, [], code)


if __name__ == "__main__":
    PAGE, REFERENCE = sys.argv[1], sys.argv[2]
    TIMING_EXPORT = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=sys.argv[:1], verbosity=2)
