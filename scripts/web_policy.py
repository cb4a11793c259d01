"""Prints the Content-Security-Policy under which the page runs on a site
that allows nothing else: its inline scripts and style by their SHA-256
hashes, and 'wasm-unsafe-eval' for its WebAssembly core.

    /usr/bin/python3 scripts/web_policy.py build/web/bitwell.html"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import web_session  # noqa: E402


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as f:
        print("Content-Security-Policy: " + web_session.policy(f.read()))
