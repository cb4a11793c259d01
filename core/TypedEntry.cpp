#include "core/TypedEntry.h"

#include <algorithm>

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

}  // namespace

TypedEntry InterpretTypedEntry(const std::vector<TypedCharacter>& answer) {
    const std::size_t kept = std::min(answer.size(), kKept);
    std::u16string shortened;
    bool directional = false;
    for (std::size_t i = 0; i < kept; ++i) {
        shortened += answer[i].text;
        directional = directional || answer[i].directional;
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
    return {TypedEntry::Kind::Invalid,
            u"Error: '" + quoted + u"' is not a valid hexadecimal value."};
}

}  // namespace bitwell
