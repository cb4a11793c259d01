"""Writes standard input (the gzip-compressed core) as text that an inline
script can carry: seven bits a character, most significant first, the last
one padded with zeros. A value the HTML parser would change or read as
markup (NUL, CR, "<") is written as U+0100 plus itself. web/unpack.cpp reads it
back. At 7 bits a character this is about an eighth smaller than base64.

    python3 pack.py < core.wasm.gz > core.wasm.gz.txt"""

import sys

HELD = {0x00, 0x0D, 0x3C}

data = sys.stdin.buffer.read()
values, acc, bits = [], 0, 0
for byte in data:
    acc, bits = (acc << 8) | byte, bits + 8
    while bits >= 7:
        bits -= 7
        values.append((acc >> bits) & 0x7F)
    acc &= (1 << bits) - 1
if bits:
    values.append((acc << (7 - bits)) & 0x7F)
sys.stdout.buffer.write("".join(chr(0x100 + v) if v in HELD else chr(v) for v in values).encode("utf-8"))
