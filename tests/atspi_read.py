"""Reads the running program as a screen reader would, through AT-SPI.

Run by atspi_test.sh inside a private session bus. Checks the 25 switches
with their names and values, the 16 read bits, the value captions, listings
and status line through the text interface, that no decoration shows in the
tree, that setting a switch through the value interface drives the chip,
that the read bits are read-only check boxes (checked while lit, no value,
no actions) and that each action is announced once through lblAnnounce.
Exits 0 when every check holds; says what failed otherwise, at once when
the program (BITWELL_PID, if set) has ended before it showed up."""

import os
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

DEADLINE = time.monotonic() + 30


def fail(message):
    print("atspi: " + message, file=sys.stderr)
    sys.exit(1)


def running(pid):
    """False once the process has ended (gone, or a zombie not yet reaped)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def find_app():
    pid = int(os.environ.get("BITWELL_PID", "0"))
    while time.monotonic() < DEADLINE:
        if pid and not running(pid):
            fail("the program ended before it showed up on the accessibility bus")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name in ("bitwell", "Quorin Bitwell"):
                return app
        time.sleep(0.2)
    fail("the program never showed up on the accessibility bus")


class Announcements:
    """What the program announced: the names of Notification objects as
    they are shown (object:state-changed:showing)."""

    def __init__(self):
        self.heard = []
        self._listener = Atspi.EventListener.new(self._on_event)
        self._listener.register("object:state-changed:showing")

    def _on_event(self, event):
        if event.detail1 == 1 and event.source is not None \
                and event.source.get_role() == Atspi.Role.NOTIFICATION:
            self.heard.append(event.source.get_name())

    def pump(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def expect(self, sentence, what):
        """Waits (bounded) until `sentence` is the newest announcement."""
        while time.monotonic() < DEADLINE:
            self.pump()
            if self.heard and self.heard[-1] == sentence:
                return
            time.sleep(0.05)
        fail("%s was not announced as %r; heard %r" % (what, sentence, self.heard))


def lamp_state(node, k):
    """True while read bit k is lit; fails unless it is a read-only check
    box with no value and no actions that says its state in words."""
    if node.getRole() != pyatspi.ROLE_CHECK_BOX:
        fail("Read bit %d has the role %s" % (k, node.getRoleName()))
    states = node.getState()
    if not states.contains(pyatspi.STATE_READ_ONLY):
        fail("Read bit %d is not read-only" % k)
    interfaces = set(pyatspi.listInterfaces(node))
    if "Value" in interfaces:
        fail("Read bit %d offers a value" % k)
    if "Action" in interfaces and node.queryAction().nActions:
        fail("Read bit %d offers actions" % k)
    lit = states.contains(pyatspi.STATE_CHECKED)
    if node.description != ("lit, 1" if lit else "dark, 0"):
        fail("Read bit %d is described as %r" % (k, node.description))
    return lit


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def snapshot(app):
    nodes = list(walk(app))
    by_name = {}
    for n in nodes:
        by_name.setdefault(n.name, []).append(n)
    return nodes, by_name


def main():
    heard = Announcements()
    app = find_app()
    nodes, by_name = snapshot(app)
    # The tree is built as the window shows; wait for the panel to be there.
    while len(by_name.get("Read bit 15", [])) == 0 and time.monotonic() < DEADLINE:
        time.sleep(0.2)
        nodes, by_name = snapshot(app)

    sliders = [n for n in nodes if n.getRole() == pyatspi.ROLE_SLIDER]
    if len(sliders) != 25:
        fail("expected 25 switches, found %d" % len(sliders))
    names = sorted(s.name for s in sliders)
    wanted = sorted(["Chip enable, active low", "Output enable, active low",
                     "Write enable, active low", "Lower byte enable, active low",
                     "Upper byte enable, active low"]
                    + ["Address bit %d" % i for i in range(4)]
                    + ["Data bit %d" % i for i in range(16)])
    if names != wanted:
        fail("switch names: %s" % names)
    ce = by_name["Chip enable, active low"][0]
    if ce.queryValue().currentValue != 1:
        fail("CE should stand at 1 after start-up")
    if not ce.description.endswith(" HIGH, inactive"):
        fail("CE does not say its level in words: %r" % ce.description)

    for k in range(16):
        bit = by_name.get("Read bit %d" % k)
        if not bit:
            fail("no object named Read bit %d" % k)
        if not lamp_state(bit[0], k):
            fail("Read bit %d should be lit (checked) after start-up" % k)

    def caption(name):
        found = by_name.get(name)
        if not found:
            fail("no caption named %s" % name)
        return text_of(found[0])

    if caption("Data read") != "FFFF":
        fail("the read caption reads %r" % caption("Data read"))
    if caption("Data input") != "0000" or caption("Address") != "0":
        fail("data or address caption unreadable")
    if not caption("Memory contents").startswith("00: FFFF FFFF\n"):
        fail("the memory listing is unreadable")
    if "Float: -NaN" not in caption("Data type representation"):
        fail("the data type listing is unreadable")
    if not caption("Status").startswith("Hover your mouse"):
        fail("the status line is unreadable")
    if len(by_name.get("Memory Signals", [])) != 1:
        fail("decorations still call themselves Memory Signals: %d"
             % len(by_name.get("Memory Signals", [])))

    # A write of 0000 at address 0 through the accessibility interface:
    # UB, LB, WE, then CE low.
    for name in ("Upper byte enable, active low", "Lower byte enable, active low",
                 "Write enable, active low", "Chip enable, active low"):
        by_name[name][0].queryValue().currentValue = 0
    while time.monotonic() < DEADLINE:
        if caption("Memory contents").startswith("00: 0000 FFFF"):
            break
        time.sleep(0.1)
    else:
        fail("setting the switches did not write the word: %r" % caption("Memory contents"))
    heard.expect("write 0000 to address 0, both bytes", "the write")
    if not by_name["Chip enable, active low"][0].description.endswith(" LOW, active"):
        fail("CE at 0 does not say LOW, active")

    # Read it back: WE high, OE low; every read bit goes dark but stays.
    by_name["Write enable, active low"][0].queryValue().currentValue = 1
    by_name["Output enable, active low"][0].queryValue().currentValue = 0
    while time.monotonic() < DEADLINE:
        _, by_name = snapshot(app)
        if caption("Data read") == "0000" and len(by_name.get("Read bit 7", [])) == 1 \
                and not lamp_state(by_name["Read bit 7"][0], 7):
            break
        time.sleep(0.1)
    else:
        fail("the read did not reach the read caption and bits")
    heard.expect("read 0000 from address 0, both bytes", "the read")
    if any(s.startswith("Step") or "Hover" in s for s in heard.heard):
        fail("announcements carry the status line or the step prefix: %r" % heard.heard)

    # View, Timing Diagram: a window whose steps are a table, one row per
    # kept step named by its description, the CSV's columns as columns.
    menu_item = [n for n in walk(app) if n.name == "Timing Diagram" and n.getRole() in
                 (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM)]
    if not menu_item:
        fail("no Timing Diagram menu item")
    menu_item[0].queryAction().doAction(0)
    window = window_named(app, "Timing Diagram")
    table = None
    while table is None and time.monotonic() < DEADLINE:
        table = next((n for n in walk(window) if n.getRole() == pyatspi.ROLE_TABLE), None)
        time.sleep(0.2)
    if table is None:
        fail("the timing window and its table of steps never showed up")
    t = table.queryTable()
    # Power-up's five steps, the write's four, the read's two.
    if t.nRows != 11 or t.nColumns != 14:
        fail("the steps table is %d x %d" % (t.nRows, t.nColumns))
    if t.getColumnDescription(8) != "A":
        fail("column 8 is %r" % t.getColumnDescription(8))
    last = t.nRows - 1
    if t.getRowDescription(last) != "Step 11, action 6: read 0000 from address 0, both bytes (OE changed to LOW)":
        fail("the newest row reads %r" % t.getRowDescription(last))
    row = [t.getAccessibleAt(last, c).name for c in range(t.nColumns)]
    if row != "11,6,OE,0,0,1,0,0,0,0000,0000,read,both,0000".split(","):
        fail("the newest row's cells read %s" % row)

    read_exercise(app)
    print("atspi: 25 switches, 16 read bits as check boxes, captions readable, a write and "
          "a read driven and announced, the timing window's steps read as a table, the exercise "
          "window's title, text and goals")


def window_named(app, name):
    """The program's top-level window `name`, once it shows up; it must read
    as a window."""
    while time.monotonic() < DEADLINE:
        for window in app:
            if window is not None and window.name == name:
                if window.getRole() not in (pyatspi.ROLE_WINDOW, pyatspi.ROLE_FRAME):
                    fail("the %s window reads as %s" % (name, window.getRoleName()))
                return window
        time.sleep(0.2)
    fail("the %s window never showed up" % name)


def goal_states(window):
    """Each goal item as (its text, whether it reads as checked)."""
    items = [n for n in walk(window) if n.getRole() in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_CHECK_BOX)]
    return [(n.name, n.getState().contains(pyatspi.STATE_CHECKED)) for n in items]


def read_exercise(app):
    """Exercises, the course's first item: its window reads its title, its
    task and each goal with its checked state, and the goals tick off as
    the switches are set through the value interface."""
    item = [n for n in walk(app) if n.name == "1 Read a word" and n.getRole() in
            (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM)]
    if not item:
        fail("no menu item for the first built-in exercise")
    # The write above changed the memory, so opening asks first; the item's
    # action returns only once that question is answered.
    Atspi.set_timeout(1500, 15000)
    try:
        item[0].queryAction().doAction(0)
    except GLib.GError:
        pass
    Atspi.set_timeout(-1, -1)
    yes = []
    while not yes and time.monotonic() < DEADLINE:
        yes = [n for n in walk(app) if n.name == "Yes" and n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        time.sleep(0.1)
    if not yes:
        fail("opening over changed memory did not ask first")
    yes[0].queryAction().doAction(0)
    window = window_named(app, "Exercise")
    labels = [n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL]
    if "Read a word" not in labels:
        fail("the exercise's title is not read: %s" % labels)
    if not any(l.startswith("Word 3 holds 1234.") for l in labels):
        fail("the exercise's text is not read: %s" % labels)
    goals = goal_states(window)
    if len(goals) != 2 or any(checked for _, checked in goals) or not all(text for text, _ in goals):
        fail("the goals at the start read %s" % goals)

    _, by_name = snapshot(app)
    for name, v in (("Address bit 0", 1), ("Address bit 1", 1), ("Upper byte enable, active low", 0),
                    ("Lower byte enable, active low", 0), ("Output enable, active low", 0),
                    ("Chip enable, active low", 0)):
        by_name[name][0].queryValue().currentValue = v
    while time.monotonic() < DEADLINE:
        goals = goal_states(window)
        labels = [n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL]
        if goals and all(checked for _, checked in goals) and "Done in 6 actions." in labels:
            break
        time.sleep(0.1)
    else:
        fail("the goals did not tick off: %s %s" % (goals, labels))


if __name__ == "__main__":
    main()
