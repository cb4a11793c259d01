#include "core/Listings.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/Catalogue.h"
#include "core/Conversions.h"

namespace bitwell {

namespace {

// The listing's labels in one language, looked up once per language rather
// than on every evaluation.
struct TypeLabels {
    std::string language;
    std::string address, data, byteUnsigned, byteSigned, shortUnsigned, shortSigned,
        integerUnsigned, integerSigned, floatValue;
};

const TypeLabels& CurrentTypeLabels() {
    static TypeLabels labels{"", "", "", "", "", "", "", "", "", ""};
    if (labels.language != CurrentLanguage() || labels.address.empty()) {
        labels = {CurrentLanguage(),
                  Tr("lblTypes", "Starting Address: 0x"),
                  Tr("lblTypes", "Data: 0x"),
                  Tr("lblTypes", "Byte (unsigned): "),
                  Tr("lblTypes", "Byte (signed): "),
                  Tr("lblTypes", "Short (unsigned): "),
                  Tr("lblTypes", "Short (signed): "),
                  Tr("lblTypes", "Integer (unsigned): "),
                  Tr("lblTypes", "Integer (signed): "),
                  Tr("lblTypes", "Float: ")};
    }
    return labels;
}

const std::string& ValueLabel(const TypeLabels& label, int k) {
    const std::string* lines[] = {&label.byteUnsigned,    &label.byteSigned,    &label.shortUnsigned,
                                  &label.shortSigned,     &label.integerUnsigned, &label.integerSigned,
                                  &label.floatValue};
    return *lines[k];
}

}  // namespace

std::string TypesLabel(int k) {
    std::string label = ValueLabel(CurrentTypeLabels(), k);
    // Without the colon and the spaces around it (French sets a no-break
    // space before it, two bytes in UTF-8).
    for (;;) {
        if (!label.empty() && (label.back() == ' ' || label.back() == ':'))
            label.pop_back();
        else if (label.size() >= 2 && label.compare(label.size() - 2, 2, "\xC2\xA0") == 0)
            label.resize(label.size() - 2);
        else
            break;
    }
    return label;
}

std::string_view TypesValue(std::string_view listing, int k) {
    const std::string& label = ValueLabel(CurrentTypeLabels(), k);
    // The value lines follow the address, the data and an empty line.
    for (int line = 0; !listing.empty(); ++line) {
        const std::size_t end = std::min(listing.find("\r\n"), listing.size());
        if (line == 3 + k) {
            const std::string_view text = listing.substr(0, end);
            return text.substr(0, label.size()) == label ? text.substr(label.size()) : std::string_view();
        }
        listing.remove_prefix(std::min(end + 2, listing.size()));
    }
    return {};
}

std::string ContentsListing(const WordStore& words) {
    std::string text;
    ContentsListing(words, text);
    return text;
}

void ContentsListing(const WordStore& words, std::string& text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text.clear();
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

namespace {

template <class Int>
void AppendNumber(std::string& out, Int value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

// The 32 bits of eight hex digits, bit 31 first. Text that is not eight
// digits goes through the binary digit string, where anything but "1"
// leaves a bit clear.
std::uint32_t Pattern(const std::string& data) {
    std::uint32_t pattern = 0;
    bool digits = data.size() == 8;
    for (std::size_t i = 0; digits && i < 8; ++i) {
        const int v = DigitValue(data[i]);
        digits = v >= 0;
        pattern = pattern << 4 | static_cast<std::uint32_t>(v & 0xF);
    }
    if (digits) return pattern;
    const std::string bits = HexToBin(data);
    pattern = 0;
    for (std::size_t p = 0; p < bits.size() && p < 32; ++p)
        if (bits[p] == '1') pattern |= std::uint32_t{1} << (31 - p);
    return pattern;
}

}  // namespace

std::string TypesListing(const WordStore& words, int address, const std::string& addressText,
                         bool bigEndian) {
    std::string text;
    TypesListing(words, address, addressText, bigEndian, text);
    return text;
}

void TypesListing(const WordStore& words, int address, const std::string& addressText,
                  bool bigEndian, std::string& text) {
    const auto a = static_cast<std::size_t>(address);
    const bool last = address >= 15;
    const std::string& high = last ? words[15] : bigEndian ? words[a] : words[a + 1];
    const std::string& low = last ? words[15] : bigEndian ? words[a + 1] : words[a];
    std::string data = last ? std::string("0000") : high;
    data += low;

    const std::uint32_t pattern = Pattern(data);
    const std::uint32_t ubyte = pattern & 0xFFu;
    const std::uint32_t ushort = pattern & 0xFFFFu;

    const TypeLabels& label = CurrentTypeLabels();
    text.clear();
    text.reserve(256);
    text += label.address;
    text += addressText;
    text += "\r\n";
    text += label.data;
    text.append(data, last ? 4 : 0);
    text += "\r\n\r\n";
    text += label.byteUnsigned;
    AppendNumber(text, ubyte);
    text += "\r\n";
    text += label.byteSigned;
    AppendNumber(text, static_cast<int>(static_cast<std::int8_t>(ubyte)));
    text += "\r\n";
    text += label.shortUnsigned;
    AppendNumber(text, ushort);
    text += "\r\n";
    text += label.shortSigned;
    AppendNumber(text, static_cast<int>(static_cast<std::int16_t>(ushort)));
    text += "\r\n";
    text += label.integerUnsigned;
    if (last) {
        text += "N/A\r\n";
        text += label.integerSigned;
        text += "N/A\r\n";
        text += label.floatValue;
        text += "N/A\r\n";
        return;
    }
    AppendNumber(text, pattern);
    text += "\r\n";
    text += label.integerSigned;
    AppendNumber(text, static_cast<std::int32_t>(pattern));
    text += "\r\n";
    text += label.floatValue;
    text += FormatFloat(FloatFromBits(pattern));
    text += "\r\n";
}

}  // namespace bitwell
