"""Headless Chromium through WebDriver for the page's tests and benchmark.

Debian's chromium and chromium-driver, driven by Debian's python3-selenium;
run with /usr/bin/python3. Every wait is bounded."""

import base64
import contextlib
import hashlib
import re
import http.server
import os
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def chromium(width=800, height=1000):
    """A fresh headless Chromium with its own profile, closed networking."""
    profile = tempfile.mkdtemp(prefix="bitwell-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                "--no-first-run", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--disable-extensions", "--lang=en-US",
                "--window-size=%d,%d" % (width, height), "--user-data-dir=" + profile):
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(30)
    driver.set_script_timeout(30)
    original_quit = driver.quit

    def quit_and_clean():
        try:
            original_quit()
        finally:
            shutil.rmtree(profile, ignore_errors=True)

    driver.quit = quit_and_clean
    return driver


def policy(html, wasm=True):
    """The strictest Content-Security-Policy under which the page `html`
    runs: its inline scripts and style by their hashes, WebAssembly by
    'wasm-unsafe-eval' (left out when `wasm` is false), its icon as data."""
    def hashes(tag):
        bodies = re.findall(r"<%s\b[^>]*>([\s\S]*?)</%s>" % (tag, tag), html)
        return " ".join("'sha256-%s'" % base64.b64encode(hashlib.sha256(b.encode()).digest()).decode()
                        for b in bodies)
    return ("default-src 'none'; script-src %s%s; style-src %s; img-src data:; "
            "base-uri 'none'; form-action 'none'" % (hashes("script"), " 'wasm-unsafe-eval'" if wasm else "",
                                                      hashes("style")))


@contextlib.contextmanager
def served(directory, headers=None):
    """Serves `directory` on a free loopback port, with `headers` on every
    answer; yields the base URL."""
    class Handler(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=directory, **kwargs)

        def end_headers(self):
            for name, value in (headers or {}).items():
                self.send_header(name, value)
            super().end_headers()

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


def file_url(path):
    return "file://" + os.path.abspath(path)


def wait_ready(driver, timeout=20):
    """Waits until the page has powered the chip up."""
    from selenium.webdriver.support.ui import WebDriverWait
    WebDriverWait(driver, timeout).until(lambda d: d.execute_script("return !!window.Bitwell"))
