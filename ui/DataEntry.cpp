#include "ui/DataEntry.h"

#include <QStringView>
#include <QTextBoundaryFinder>

std::vector<bitwell::TypedCharacter> TypedCharacters(const QString& answer) {
    const QString upper = answer.toUpper();
    std::vector<bitwell::TypedCharacter> characters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, upper);
    qsizetype start = 0;
    for (qsizetype next; (next = finder.toNextBoundary()) >= 0;) {
        // After lone surrogates the finder can see a boundary inside a valid
        // pair; half a pair is no character of its own.
        if (next < upper.size() && upper.at(next - 1).isHighSurrogate() &&
            upper.at(next).isLowSurrogate())
            continue;
        if (next <= start) continue;
        const QStringView piece = QStringView(upper).mid(start, next - start);
        characters.push_back({piece.toString().toStdU16String()});
        start = next;
    }
    return characters;
}

DataEntry InterpretDataEntry(const QString& answer) {
    const bitwell::TypedEntry entry = bitwell::InterpretTypedEntry(TypedCharacters(answer));
    return {entry.kind, QString::fromStdU16String(entry.text)};
}
