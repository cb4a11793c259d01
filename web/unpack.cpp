// The page carries its core as text, seven bits a character (web/pack.py).
// This turns that text back into the core's bytes, ahead of the core, as a
// module of a few hundred bytes of its own (load.js): the same loop in
// script takes milliseconds of the page's start.
//
// `in` holds `length` bytes, the text in UTF-8: each character is one
// seven-bit value, and a value pack.py holds back is written as U+0100 plus
// itself (two bytes, C4 or C5 then 80 to BF). The values' bits go to `out`,
// eight a byte, most significant first; the last bits, fewer than eight,
// are padding and are dropped. Returns the number of bytes written. The
// text is not checked: any other character gives wrong bytes, which the
// inflater then refuses.
extern "C" unsigned unpack(const unsigned char* in, unsigned length, unsigned char* out) {
    unsigned n = 0, acc = 0, bits = 0;
    for (unsigned i = 0; i < length; ++i) {
        unsigned value = in[i];
        if (value >= 0x80 && i + 1 < length) value = (value & 1) << 6 | (in[++i] & 0x3F);
        acc = acc << 7 | value;  // the bits above the ones kept are already written
        bits += 7;
        if (bits >= 8) {
            bits -= 8;
            out[n++] = static_cast<unsigned char>(acc >> bits);
        }
    }
    return n;
}
