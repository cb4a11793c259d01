#pragma once

#include <QString>
#include <vector>

#include "core/TypedEntry.h"

// A typed answer as the panel's rule takes it: upper-cased by Qt's full
// Unicode case mapping and split into user-perceived characters (a
// surrogate pair or a combining sequence is never split). The rest of the
// rule is the core's.
std::vector<bitwell::TypedCharacter> TypedCharacters(const QString& answer);

// What a typed data word comes to, for callers that hold a QString. Pure: no
// dialog, no state.
struct DataEntry {
    using Kind = bitwell::TypedEntry::Kind;
    Kind kind = Kind::Nothing;
    QString text;  // the word, or the complete error message
};
DataEntry InterpretDataEntry(const QString& answer);
