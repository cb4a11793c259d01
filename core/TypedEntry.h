#pragma once

// What a typed data word comes to. Standard C++ knows neither Unicode case
// mapping nor character segmentation, so the front end hands over the answer
// already upper-cased and split into user-perceived characters, and says of
// each whether it holds a bidirectional formatting character or a
// right-to-left letter. Text is UTF-16, as both front ends hold it, so that
// whatever the user pasted (lone surrogates included) is quoted unchanged.

#include <string>
#include <vector>

namespace bitwell {

struct TypedCharacter {
    std::u16string text;       // one user-perceived character, never empty
    bool directional = false;  // holds a bidi formatting char or an RTL letter
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

// Keeps the first four characters, then accepts one to four hexadecimal
// digits padded with leading zeros, or builds the error message quoting the
// shortened answer. The quote keeps to its own place: C0 controls and DEL
// show as their Control Pictures, and a quote with a directional character
// is wrapped in FIRST STRONG ISOLATE … POP DIRECTIONAL ISOLATE.
TypedEntry InterpretTypedEntry(const std::vector<TypedCharacter>& answer);

}  // namespace bitwell
