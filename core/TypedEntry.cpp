#include "core/TypedEntry.h"

#include <algorithm>
#include <iterator>

#include "core/Catalogue.h"

namespace bitwell {
namespace {

constexpr std::size_t kKept = 4;

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

// A control character would break or hide the message; its picture shows it.
char16_t Visible(char16_t c) {
    if (c < 0x20) return static_cast<char16_t>(0x2400 + c);
    if (c == 0x7F) return 0x2421;
    return c;
}

struct Range {
    char32_t first, last;
};
constexpr Range kDirectional[] = {
#include "core/DirectionalTable.inc"
};

// Our own catalogue texts: well-formed UTF-8, written by msgfmt.
std::u16string Utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace

bool IsDirectional(char32_t c) {
    const Range* const end = std::end(kDirectional);
    const Range* r = std::lower_bound(std::begin(kDirectional), end, c,
                                      [](const Range& range, char32_t v) { return range.last < v; });
    return r != end && r->first <= c;
}

bool HoldsDirectional(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (IsDirectional(c)) return true;
    }
    return false;
}

TypedEntry InterpretTypedEntry(const std::vector<TypedCharacter>& answer) {
    const std::size_t kept = std::min(answer.size(), kKept);
    std::u16string shortened;
    bool directional = false;
    for (std::size_t i = 0; i < kept; ++i) {
        shortened += answer[i].text;
        directional = directional || HoldsDirectional(answer[i].text);
    }
    if (shortened.empty()) return {};

    if (std::all_of(shortened.begin(), shortened.end(), IsHexDigit)) {
        std::u16string word(kKept - shortened.size(), u'0');
        return {TypedEntry::Kind::Word, word + shortened};
    }

    std::u16string quoted;
    if (directional) quoted += u'\u2068';
    for (const char16_t c : shortened) quoted += Visible(c);
    if (directional) quoted += u'\u2069';
    // The message is translated around the quote, which stays as typed.
    const std::string message = Tr("MsgBox", "Error: '%1' is not a valid hexadecimal value.");
    const std::size_t at = message.find("%1");
    return {TypedEntry::Kind::Invalid,
            Utf16(message.substr(0, at)) + quoted +
                (at == std::string::npos ? std::u16string() : Utf16(message.substr(at + 2)))};
}

}  // namespace bitwell
