#include "ui/DataEntry.h"

#include <QTextBoundaryFinder>

#include "core/Conversions.h"

namespace {

// The first `count` grapheme clusters of text.
QString FirstCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int n = 0; n < count; ++n) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0) break;
        end = next;
    }
    return text.left(end);
}

}  // namespace

DataEntry InterpretDataEntry(const QString& answer) {
    const QString shortened = FirstCharacters(answer.toUpper(), 4);
    if (shortened.isEmpty()) return {};
    if (!bitwell::IsValidHex(shortened.toStdString()))
        return {DataEntry::Kind::Invalid,
                QStringLiteral("Error: '") + shortened +
                    QStringLiteral("' is not a valid hexadecimal value.")};
    return {DataEntry::Kind::Word, shortened.rightJustified(4, QLatin1Char('0'))};
}
