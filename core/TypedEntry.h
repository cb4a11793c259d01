#pragma once

// What a typed data word comes to. The rule is the core's: which characters
// steer text direction (a table made from the Unicode data, see
// IsDirectional), the cut after four characters, the check and the message.
// Standard C++ knows neither Unicode case mapping nor character
// segmentation, so for those two the front end hands over the answer
// upper-cased by its toolkit's full Unicode mapping and split into
// user-perceived characters (extended grapheme clusters); a test checks that
// both front ends agree on a table of answers. Text is UTF-16, as both front
// ends hold it, so that whatever the user pasted (lone surrogates included)
// is quoted unchanged.

#include <string>
#include <string_view>
#include <vector>

namespace bitwell {

struct TypedCharacter {
    std::u16string text;  // one user-perceived character, never empty
};

struct TypedEntry {
    enum class Kind {
        Nothing,  // empty answer or Cancel: change nothing, say nothing
        Word,     // text is exactly four upper-case hexadecimal digits
        Invalid,  // text is the complete error message to show
    };
    Kind kind = Kind::Nothing;
    std::u16string text;
};

// True for a character that steers the direction of the text around it: a
// right-to-left letter (bidi classes R and AL), an explicit embedding,
// override or isolate or their pop, and the marks LRM, RLM and ALM. Made from
// Unicode 14's assigned characters (scripts/directional_table.py).
bool IsDirectional(char32_t c);
// Whether any character of `text` does; lone surrogates never do.
bool HoldsDirectional(std::u16string_view text);

// Keeps the first four characters, then accepts one to four hexadecimal
// digits padded with leading zeros, or builds the error message quoting the
// shortened answer. The quote keeps to its own place: C0 controls and DEL
// show as their Control Pictures, and a quote with a directional character
// is wrapped in FIRST STRONG ISOLATE … POP DIRECTIONAL ISOLATE.
TypedEntry InterpretTypedEntry(const std::vector<TypedCharacter>& answer);

}  // namespace bitwell
