// The chip's core, loaded first of the page's scripts, which run once its
// markup is parsed: the WebAssembly the page carries, gzip-compressed and
// seven bits a character (web/pack.py), inflated by the browser and
// compiled once the markup is drawn. Where a policy or the browser refuses
// it, `compiled` fails and the page says it cannot start.
'use strict';

const CoreFile = (() => {
  // The core's bytes from the page's text of them, by a module of their
  // own (web/unpack.cpp, in base64 here), past the memory it starts with.
  function coreBytes(text) {
    const wasm = Uint8Array.from(atob('{{UNPACK}}'), (c) => c.charCodeAt(0));
    const { memory, unpack } = new WebAssembly.Instance(new WebAssembly.Module(wasm)).exports;
    const utf8 = new TextEncoder().encode(text);
    const from = memory.buffer.byteLength;
    memory.grow(Math.ceil((utf8.length + text.length) / 65536));
    new Uint8Array(memory.buffer).set(utf8, from);
    const to = from + utf8.length;
    return new Uint8Array(memory.buffer, to, unpack(from, utf8.length, to));
  }

  // The core, unpacked and compiled once the markup is drawn (drawn.js):
  // unpacking takes longer than drawing the markup, which must not wait.
  const compiled = MarkupDrawn.then(() => {
    const bytes = coreBytes(document.getElementById('core-wasm').textContent);
    // A stream of the bytes themselves, where a Blob's stream would have
    // the browser carry them to its own process and back.
    const packed = new ReadableStream({ start(c) { c.enqueue(bytes); c.close(); } });
    const inflated = packed.pipeThrough(new DecompressionStream('gzip'));
    return WebAssembly.compileStreaming(new Response(inflated, { headers: { 'Content-Type': 'application/wasm' } }));
  });
  // Answered by the page once it has run; not an error before then.
  compiled.catch(() => {});
  return { compiled };
})();
