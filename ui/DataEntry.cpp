#include "ui/DataEntry.h"

#include <QList>
#include <QStringView>
#include <QTextBoundaryFinder>

namespace {

bool IsDirectional(char32_t c) {
    switch (QChar::direction(c)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirPDF:
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirPDI:
            return true;
        default:
            // The implicit marks steer their neighbours just the same.
            return c == 0x200E || c == 0x200F || c == 0x061C;
    }
}

bool HoldsDirectional(QStringView text) {
    for (const char32_t c : text.toUcs4())
        if (IsDirectional(c)) return true;
    return false;
}

}  // namespace

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
        characters.push_back({piece.toString().toStdU16String(), HoldsDirectional(piece)});
        start = next;
    }
    return characters;
}

DataEntry InterpretDataEntry(const QString& answer) {
    const bitwell::TypedEntry entry = bitwell::InterpretTypedEntry(TypedCharacters(answer));
    return {entry.kind, QString::fromStdU16String(entry.text)};
}
