#pragma once

// A second, independent model of the chip for cross-checking the core: it
// keeps every value as an integer, decides cycles with bit masks and formats
// the listings with the C library rather than with the core's text routines.

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace bitwell::test {

struct ReferenceChip {
    std::array<std::uint16_t, 16> words{};
    std::uint16_t read = 0;
    std::uint16_t data = 0;
    unsigned address = 0;
    // Bit set = HIGH. Bits: 0 CE, 1 OE, 2 WE, 3 LB, 4 UB.
    unsigned levels = 0;
    bool big = true;

    enum : unsigned { CE = 1, OE = 2, WE = 4, LB = 8, UB = 16 };

    // The chip right after power-up: every word and the read register FFFF,
    // the five controls high, address 0, data 0000, Big Endian.
    static ReferenceChip PoweredUp() {
        ReferenceChip chip;
        chip.words.fill(0xFFFF);
        chip.read = 0xFFFF;
        chip.levels = CE | OE | WE | LB | UB;
        return chip;
    }

    // What one evaluation did: the cycle and the bit mask of the bytes it
    // moved (0 without a cycle).
    struct Done {
        enum Kind { None, Read, Write } kind = None;
        std::uint16_t mask = 0;
    };

    Done evaluate() {
        if (levels & CE) return {};
        if ((levels & (OE | WE)) == (OE | WE)) return {};
        if ((levels & (LB | UB)) == (LB | UB)) return {};
        const std::uint16_t mask = static_cast<std::uint16_t>(((levels & UB) ? 0 : 0xFF00) |
                                                              ((levels & LB) ? 0 : 0x00FF));
        std::uint16_t& w = words[address];
        if (levels & WE) {
            read = static_cast<std::uint16_t>((read & ~mask) | (w & mask));
            return {Done::Read, mask};
        }
        w = static_cast<std::uint16_t>((w & ~mask) | (data & mask));
        return {Done::Write, mask};
    }

    static std::string hex(unsigned value, int digits) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%0*X", digits, value);
        return buf;
    }

    std::string contents() const {
        std::string out;
        for (unsigned i = 0; i < 16; i += 2)
            out += hex(i, 2) + ": " + hex(words[i], 4) + " " + hex(words[i + 1], 4) + "\r\n";
        return out;
    }

    static std::string floatText(std::uint32_t bits) {
        const bool neg = bits >> 31;
        const std::uint32_t exponent = (bits >> 23) & 0xFF;
        const std::uint32_t fraction = bits & 0x7FFFFF;
        if (exponent == 0xFF) return std::string(neg ? "-" : "") + (fraction ? "NaN" : "Infinity");
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(std::bit_cast<float>(bits)));
        return buf;
    }

    std::string types() const {
        std::string out = "Starting Address: 0x" + hex(address, 1) + "\r\n";
        std::uint32_t v;
        if (address == 15) {
            v = words[15];
            out += "Data: 0x" + hex(v, 4) + "\r\n\r\n";
        } else {
            const std::uint32_t first = words[address], second = words[address + 1];
            v = big ? (first << 16 | second) : (second << 16 | first);
            out += "Data: 0x" + hex(v, 8) + "\r\n\r\n";
        }
        char buf[256];
        std::snprintf(buf, sizeof buf,
                      "Byte (unsigned): %u\r\nByte (signed): %d\r\nShort (unsigned): %u\r\n"
                      "Short (signed): %d\r\n",
                      v & 0xFF, static_cast<int>(static_cast<std::int8_t>(v & 0xFF)), v & 0xFFFF,
                      static_cast<int>(static_cast<std::int16_t>(v & 0xFFFF)));
        out += buf;
        if (address == 15) return out + "Integer (unsigned): N/A\r\nInteger (signed): N/A\r\nFloat: N/A\r\n";
        std::snprintf(buf, sizeof buf, "Integer (unsigned): %u\r\nInteger (signed): %d\r\n", v,
                      static_cast<std::int32_t>(v));
        return out + buf + "Float: " + floatText(v) + "\r\n";
    }

    // What the data-type listing shows after "LABEL: ", or "" without such
    // a line.
    std::string typesValue(const std::string& label) const {
        const std::string listing = types();
        const std::string key = "\n" + label + ": ";
        const auto at = listing.find(key);
        if (at == std::string::npos) return {};
        const auto from = at + key.size();
        return listing.substr(from, listing.find('\r', from) - from);
    }

    // The cycles seen by a run of evaluate(), kept by kind (0 read, 1
    // write), address and moved-byte mask (0 both, 1 upper, 2 lower), and
    // the run's actions: each call of the same action counts once.
    struct Tally {
        unsigned long cycles[2][16][3] = {};
        unsigned long actions = 0;

        void note(const Done& done, unsigned at) {
            if (done.kind == Done::None) return;
            const int bytes = done.mask == 0xFFFF ? 0 : done.mask == 0xFF00 ? 1 : 2;
            ++cycles[done.kind == Done::Write][at][bytes];
        }
        // kind 0 read, 1 write; bytes -1 for any, else as above.
        unsigned long count(int kind, unsigned first, unsigned last, int bytes) const {
            unsigned long n = 0;
            for (unsigned a = first; a <= last; ++a)
                for (int b = 0; b < 3; ++b)
                    if (bytes < 0 || bytes == b) n += cycles[kind][a][b];
            return n;
        }
    };
    Tally tally;
    // evaluate(), noted in the tally.
    Done evaluateNoted() {
        const unsigned at = address;
        const Done done = evaluate();
        tally.note(done, at);
        return done;
    }
};

// One move of a student on the panel, as the seeded random tests make them.
struct Move {
    enum Kind { Level, Address, Data, Order } kind = Level;
    // The control (0 CE, 1 OE, 2 WE, 3 LB, 4 UB), the address or data bit;
    // for Order, 1 for Big Endian and 0 for Little Endian.
    int index = 0;
};

// A random move: `level`, `address` and `data` percent of the picks go to
// the control, address and data switches, the rest to the word-order
// options; within each kind every switch (or option) is equally likely.
inline Move PickMove(std::mt19937& rng, unsigned level = 40, unsigned address = 20,
                     unsigned data = 35) {
    const auto pick = static_cast<unsigned>(rng() % 100);
    if (pick < level) return {Move::Level, static_cast<int>(rng() % 5)};
    if (pick < level + address) return {Move::Address, static_cast<int>(rng() % 4)};
    if (pick < level + address + data) return {Move::Data, static_cast<int>(rng() % 16)};
    return {Move::Order, rng() % 2 == 0 ? 1 : 0};
}

// Where the model's switch for `m` stands (for Order, 1 when Big Endian).
inline int Position(const ReferenceChip& chip, const Move& m) {
    switch (m.kind) {
        case Move::Level: return static_cast<int>((chip.levels >> m.index) & 1);
        case Move::Address: return static_cast<int>((chip.address >> m.index) & 1);
        case Move::Data: return (chip.data >> m.index) & 1;
        case Move::Order: return chip.big ? 1 : 0;
    }
    return 0;
}

// Puts the model's switch for `m` at `v` (0 or 1), or chooses the order
// `v` names; nothing is evaluated.
inline void Set(ReferenceChip& chip, const Move& m, int v) {
    const unsigned bit = 1u << m.index;
    const unsigned on = v ? bit : 0u;
    switch (m.kind) {
        case Move::Level: chip.levels = (chip.levels & ~bit) | on; break;
        case Move::Address: chip.address = (chip.address & ~bit) | on; break;
        case Move::Data: chip.data = static_cast<std::uint16_t>((chip.data & ~bit) | on); break;
        case Move::Order: chip.big = v != 0; break;
    }
}

// Makes `m` on the model as a click would: a switch goes to its other
// position, an option is chosen. Returns the new position.
inline int Make(ReferenceChip& chip, const Move& m) {
    Set(chip, m, m.kind == Move::Order ? m.index : 1 - Position(chip, m));
    return Position(chip, m);
}

// The object name of the control `m` moves ("sigCE", "sigAddr(2)",
// "sigData(15)", "optBig" or "optLittle").
inline std::string ControlName(const Move& m) {
    static const char* const kLevels[] = {"sigCE", "sigOE", "sigWE", "sigLB", "sigUB"};
    switch (m.kind) {
        case Move::Level: return kLevels[m.index];
        case Move::Address: return "sigAddr(" + std::to_string(m.index) + ")";
        case Move::Data: return "sigData(" + std::to_string(m.index) + ")";
        case Move::Order: return m.index ? "optBig" : "optLittle";
    }
    return {};
}

}  // namespace bitwell::test
