#include "core/Listings.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/Conversions.h"

namespace bitwell {

std::string ContentsListing(const WordStore& words) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(120);
    for (int i = 0; i < 16; i += 2) {
        text += '0';
        text += kDigits[i];
        text += ": ";
        text += words[static_cast<std::size_t>(i)];
        text += ' ';
        text += words[static_cast<std::size_t>(i) + 1];
        text += "\r\n";
    }
    return text;
}

namespace {

// The texts every path shares: special values keep their sign bit.
const char* SpecialText(float value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return negative ? "-NaN" : "NaN";
    if (std::isinf(value)) return negative ? "-Infinity" : "Infinity";
    if (value == 0.0f) return negative ? "-0" : "0";
    return nullptr;
}

float FloatFromBits(std::uint32_t bits) {
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<float>(bits);
#else
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
#endif
}

}  // namespace

std::string FormatFloatPortable(float value) {
    if (const char* special = SpecialText(value)) return special;
    // %.7G of the exact value rounds as to_chars does, with an upper-case
    // exponent of at least two digits.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(value));
    return buf;
}

std::string FormatFloat(float value) {
#if defined(__cpp_lib_to_chars)
    if (const char* special = SpecialText(value)) return special;
    // to_chars ignores the C locale, so a comma-decimal desktop still shows
    // a point, and it keeps the sign of every finite value.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 7);
    std::string text(buf, res.ptr);
    if (const auto e = text.find('e'); e != std::string::npos) text[e] = 'E';
    return text;
#else
    // Without floating-point to_chars (the WebAssembly build), where the C
    // locale is always "C".
    return FormatFloatPortable(value);
#endif
}

std::string TypesListing(const WordStore& words, int address, const std::string& addressText,
                         bool bigEndian) {
    const auto a = static_cast<std::size_t>(address);
    std::string data;
    if (address >= 15)
        data = "0000" + words[15];
    else if (bigEndian)
        data = words[a] + words[a + 1];
    else
        data = words[a + 1] + words[a];

    // Bit 31 is the first character; anything but "1" leaves a bit clear.
    const std::string bits = HexToBin(data);
    std::uint32_t pattern = 0;
    for (std::size_t p = 0; p < bits.size() && p < 32; ++p)
        if (bits[p] == '1') pattern |= std::uint32_t{1} << (31 - p);

    const std::uint32_t ubyte = pattern & 0xFFu;
    const int sbyte = static_cast<std::int8_t>(ubyte);
    const std::uint32_t ushort = pattern & 0xFFFFu;
    const int sshort = static_cast<std::int16_t>(ushort);

    std::string text;
    text.reserve(200);
    text += "Starting Address: 0x" + addressText + "\r\n";
    text += "Data: 0x" + (address >= 15 ? data.substr(4) : data) + "\r\n\r\n";
    text += "Byte (unsigned): " + std::to_string(ubyte) + "\r\n";
    text += "Byte (signed): " + std::to_string(sbyte) + "\r\n";
    text += "Short (unsigned): " + std::to_string(ushort) + "\r\n";
    text += "Short (signed): " + std::to_string(sshort) + "\r\n";
    if (address >= 15) {
        text += "Integer (unsigned): N/A\r\nInteger (signed): N/A\r\nFloat: N/A\r\n";
    } else {
        text += "Integer (unsigned): " + std::to_string(pattern) + "\r\n";
        text += "Integer (signed): " + std::to_string(static_cast<std::int32_t>(pattern)) + "\r\n";
        text += "Float: " + FormatFloat(FloatFromBits(pattern)) + "\r\n";
    }
    return text;
}

}  // namespace bitwell
