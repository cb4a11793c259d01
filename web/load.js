// The chip's core, loaded first of the page's scripts, which run once its
// markup is parsed: the WebAssembly the page carries, gzip-compressed and
// seven bits a character (web/pack.py), inflated by the browser and
// compiled while the markup is drawn. Where a policy or the browser refuses it,
// `compiled` fails and the page says it cannot start.
'use strict';

const CoreFile = (() => {
  // The core's text read once the first frame is drawn: unpacking it takes
  // longer than drawing the markup, which must not wait for it.
  const compiled = new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))).then(() => {
    const text = document.getElementById('core-wasm').textContent;
    const bytes = new Uint8Array(text.length * 7 >> 3);
    for (let i = 0, n = 0, acc = 0, bits = 0; i < text.length; ++i) {
      acc = (acc << 7) | (text.charCodeAt(i) & 0x7F);
      bits += 7;
      if (bits >= 8) {
        bits -= 8;
        bytes[n++] = acc >> bits;
        acc &= (1 << bits) - 1;
      }
    }
    const inflated = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return WebAssembly.compileStreaming(new Response(inflated, { headers: { 'Content-Type': 'application/wasm' } }));
  });
  // Answered by the page once it has run; not an error before then.
  compiled.catch(() => {});
  return { compiled };
})();
