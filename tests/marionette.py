"""A small client for Firefox's own remote protocol, Marionette, enough for
the page's tests: no geckodriver is packaged, and Firefox speaks it itself
when started with --marionette.

Each message is "LENGTH:JSON"; a command is [0, id, name, parameters] and
its answer [1, id, error, result]. Every wait is bounded."""

import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

FIREFOX = "/usr/bin/firefox-esr"


class MarionetteError(Exception):
    pass


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Firefox:
    """A fresh headless Firefox with its own profile, driven over Marionette."""

    def __init__(self, width=800, height=1000, timeout=60):
        self.profile = tempfile.mkdtemp(prefix="bitwell-firefox-")
        self.port = free_port()
        prefs = {
            "marionette.port": self.port,
            "browser.shell.checkDefaultBrowser": False,
            "browser.startup.homepage_override.mstone": "ignore",
            "datareporting.policy.dataSubmissionEnabled": False,
            "toolkit.telemetry.reportingpolicy.firstRun": False,
            "app.update.disabledForTesting": True,
            "network.proxy.type": 0,
            "intl.accept_languages": "en-US",
        }
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for name, value in prefs.items():
                f.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
        self.log = tempfile.TemporaryFile()
        env = dict(os.environ, MOZ_HEADLESS="1", MOZ_CRASHREPORTER_DISABLE="1")
        self.process = subprocess.Popen(
            [FIREFOX, "--headless", "--marionette", "--no-remote", "--profile", self.profile,
             "--window-size=%d,%d" % (width, height), "about:blank"],
            stdout=self.log, stderr=self.log, env=env)
        self.sock = None
        self.id = 0
        deadline = time.monotonic() + timeout
        while True:
            if self.process.poll() is not None:
                raise MarionetteError("Firefox ended with status %s: %s" % (self.process.returncode, self.output()))
            try:
                self.sock = socket.create_connection(("127.0.0.1", self.port), timeout=5)
                break
            except OSError:
                if time.monotonic() > deadline:
                    self.quit()
                    raise MarionetteError("Firefox never answered on its Marionette port")
                time.sleep(0.2)
        self.sock.settimeout(timeout)
        self.buffer = b""
        self._read()  # the greeting: {"applicationType": "gecko", "marionetteProtocol": 3}
        self.command("WebDriver:NewSession", {"capabilities": {"alwaysMatch": {"acceptInsecureCerts": True}}})

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")[-2000:]

    def _read(self):
        while b":" not in self.buffer:
            self._fill()
        length, _, rest = self.buffer.partition(b":")
        length = int(length)
        self.buffer = rest
        while len(self.buffer) < length:
            self._fill()
        message, self.buffer = self.buffer[:length], self.buffer[length:]
        return json.loads(message)

    def _fill(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise MarionetteError("Firefox closed the connection: " + self.output())
        self.buffer += chunk

    def command(self, name, parameters=None):
        self.id += 1
        data = json.dumps([0, self.id, name, parameters or {}]).encode()
        self.sock.sendall(b"%d:%s" % (len(data), data))
        while True:
            answer = self._read()
            if answer[0] == 1 and answer[1] == self.id:
                break
        if answer[2]:
            raise MarionetteError("%s: %s" % (name, answer[2].get("message", answer[2])))
        result = answer[3]
        return result.get("value", result) if isinstance(result, dict) else result

    # ---- what the tests use

    def get(self, url):
        self.command("WebDriver:Navigate", {"url": url})

    def run(self, script, *args):
        return self.command("WebDriver:ExecuteScript", {"script": script, "args": list(args)})

    def run_async(self, script, *args):
        """`script` ends by calling arguments[arguments.length - 1](value)."""
        return self.command("WebDriver:ExecuteAsyncScript", {"script": script, "args": list(args)})

    def set_window(self, width, height):
        self.command("WebDriver:SetWindowRect", {"width": width, "height": height})

    def quit(self):
        try:
            if self.sock:
                try:
                    self.command("Marionette:Quit", {"flags": ["eForceQuit"]})
                except (MarionetteError, OSError):
                    pass
                self.sock.close()
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)
