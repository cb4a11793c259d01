#!/usr/bin/env python3
"""placement_test.py PROGRAM EXERCISE: under a real window manager (openbox on
Xvfb), per screen size and language, starts PROGRAM with EXERCISE named on the
command line, opens the timing window with Ctrl+T and reads the frames from the
X server: the side windows wholly on the screen, apart, clear of the main
window, or where the table allows over its panel only, never its title bar,
menu bar or status line. BITWELL_SHOTS=DIR keeps the screens as DIR/SIZE-LANG.png.
Every wait is bounded; nothing is left running."""
import os, re, shutil, subprocess, sys, tempfile, time

# Screen, language, whether the side windows may cover the main window's panel.
CASES = [("1280x1024", "en", False), ("1280x1024", "fr", False), ("1366x768", "en", False),
         ("1366x768", "fr", False), ("1024x768", "en", True), ("1024x768", "fr", True)]
TITLES = {"en": ("Quorin Bitwell", "Exercise", "Timing Diagram"), "fr": ("Quorin Bitwell", "Exercice", "Chronogramme")}
# Below the main window's menu bar its client area is the description's
# surface, 451 px high; the status line starts 432 px down it.
SURFACE_HEIGHT, STATUS_TOP = 451, 432


def run(env, *args):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=10).stdout


def find(env, title, tenths=150):
    for _ in range(tenths):
        ids = run(env, "xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()
        if ids:
            return ids[0]
        time.sleep(0.1)
    return None


def frame(env, wid):
    """The frame's and the client's (x, y, width, height)."""
    info = run(env, "xwininfo", "-id", wid)
    x, y, w, h = (int(re.search(k + r":\s+(-?\d+)", info).group(1))
                  for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
    left, right, top, bottom = map(int, re.findall(r"\d+", run(env, "xprop", "-id", wid, "_NET_FRAME_EXTENTS")))
    return (x - left, y - top, w + left + right, h + top + bottom), (x, y, w, h)


def meet(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def check(size, lang, may_cover, program, exercise):
    width, height = map(int, size.split("x"))
    env = dict(os.environ, XDG_CONFIG_HOME=tempfile.mkdtemp())
    env.pop("QT_QPA_PLATFORM", None)
    read, write = os.pipe()
    procs = [subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24", "-dpi", "96",
                               "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)]
    os.close(write)
    try:
        with os.fdopen(read) as display:
            env["DISPLAY"] = ":" + display.readline().strip()
        procs.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        for _ in range(50):  # until the window manager owns the screen
            if "WINDOW" in run(env, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"):
                break
            time.sleep(0.1)
        procs.append(subprocess.Popen([program, "--language", lang, exercise], env=env, stderr=subprocess.DEVNULL))
        titles = TITLES[lang]
        main, side = find(env, titles[0]), find(env, titles[1])
        timing = None
        for _ in range(5 if main and side else 0):  # a busy machine may map the window before Qt listens to keys
            run(env, "xdotool", "windowactivate", "--sync", main)
            time.sleep(0.3)
            run(env, "xdotool", "key", "--clearmodifiers", "ctrl+t")
            timing = find(env, titles[2], 30)
            if timing:
                break
        if not (main and side and timing):
            return ["a window never opened"]
        frames = None
        for _ in range(10):  # until the frames hold still for half a second
            last, frames = frames, [frame(env, wid) for wid in (main, side, timing)]
            if frames == last:
                break
            time.sleep(0.5)
        if os.environ.get("BITWELL_SHOTS"):
            run(env, "import", "-window", "root", os.path.join(os.environ["BITWELL_SHOTS"], f"{size}-{lang}.png"))
    finally:
        for p in reversed(procs):
            p.kill()
            p.wait(timeout=10)
        shutil.rmtree(env["XDG_CONFIG_HOME"], ignore_errors=True)

    (mf, (_, my, _, mh)), (ef, _), (tf, _) = frames
    menu = my + mh - SURFACE_HEIGHT
    bars = [(mf[0], mf[1], mf[2], menu - mf[1]), (mf[0], menu + STATUS_TOP, mf[2], mf[1] + mf[3] - menu - STATUS_TOP)]
    errors = [f"{f} is not wholly on the screen" for f in (mf, ef, tf)
              if f[0] < 0 or f[1] < 0 or f[0] + f[2] > width or f[1] + f[3] > height]
    errors += [f"{f} covers the main window {mf}" for f in (ef, tf) if meet(f, mf) and not may_cover]
    errors += [f"{f} covers the main window's bars {bars}" for f in (ef, tf) if any(meet(f, b) for b in bars)]
    errors += [f"the side windows {ef} and {tf} meet"] if meet(ef, tf) else []
    return errors


def main():
    failed = 0
    for size, lang, may_cover in CASES:
        errors = check(size, lang, may_cover, *sys.argv[1:3])
        print(f"{size} {lang}: {'; '.join(errors) or 'ok'}")
        failed += bool(errors)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
