#pragma once

#include <QString>

// What a typed data word comes to. Pure: no dialog, no state.
struct DataEntry {
    enum class Kind {
        Nothing,   // empty answer or Cancel: change nothing, say nothing
        Word,      // text is exactly four upper-case hexadecimal digits
        Invalid,   // text is the complete error message to show
    };
    Kind kind = Kind::Nothing;
    QString text;
};

// Upper-cases the answer, keeps its first four characters as the user sees
// them (a surrogate pair or a combining sequence is never split), then
// accepts one to four hexadecimal digits, padded with leading zeros, or
// builds the error message quoting the shortened answer exactly.
DataEntry InterpretDataEntry(const QString& answer);
