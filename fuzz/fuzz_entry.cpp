// Feeds arbitrary text to the typed-entry interpreter and the conversions.
// Properties: nothing crashes; an accepted word is four upper-case hex
// digits; an error quotes the upper-cased answer's first four characters,
// as the user sees them, exactly (controls as their pictures, isolated when
// directional), and never cuts a surrogate pair;
// HexToBin undoes BinToHex on every binary digit string.

#include <QString>
#include <QTextBoundaryFinder>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Conversions.h"
#include "ui/DataEntry.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// A grapheme boundary that does not fall inside a surrogate pair: Qt's
// finder sees one there after lone surrogates, but half a pair is no
// character the user can see.
bool IsCharacterBoundary(const QString& s, qsizetype at) {
    if (at > 0 && at < s.size() && s.at(at - 1).isHighSurrogate() && s.at(at).isLowSurrogate())
        return false;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    finder.setPosition(at);
    return finder.isAtBoundary();
}

// Character boundaries of `s` after its start and up to `end`.
int BoundariesUpTo(const QString& s, qsizetype end) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    int n = 0;
    for (qsizetype next; (next = finder.toNextBoundary()) >= 0 && next <= end;)
        if (IsCharacterBoundary(s, next)) ++n;
    return n;
}

void CheckEntry(const QString& answer) {
    const DataEntry entry = InterpretDataEntry(answer);
    const QString upper = answer.toUpper();
    switch (entry.kind) {
        case DataEntry::Kind::Nothing:
            Check(upper.isEmpty());
            break;
        case DataEntry::Kind::Word:
            Check(entry.text.size() == 4);
            for (const QChar c : entry.text)
                Check((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                      (c >= QLatin1Char('A') && c <= QLatin1Char('F')));
            break;
        case DataEntry::Kind::Invalid: {
            const QString head = QStringLiteral("Error: '");
            const QString tail = QStringLiteral("' is not a valid hexadecimal value.");
            Check(entry.text.startsWith(head) && entry.text.endsWith(tail));
            QString quoted = entry.text.mid(head.size(), entry.text.size() - head.size() - tail.size());
            // The quote keeps to its place: no control character inside it,
            // and an isolate around it exactly when it steers direction.
            for (const QChar c : quoted) Check(c.unicode() >= 0x20 && c.unicode() != 0x7F);
            if (quoted.startsWith(QChar(0x2068))) {
                Check(quoted.endsWith(QChar(0x2069)) && quoted.size() >= 3);
                quoted = quoted.mid(1, quoted.size() - 2);
            }
            // Each control character stands as its picture, in its place.
            Check(quoted.size() <= upper.size());
            for (qsizetype i = 0; i < quoted.size(); ++i) {
                const char16_t u = upper.at(i).unicode();
                if (u < 0x20 || u == 0x7F)
                    Check(quoted.at(i).unicode() == (u == 0x7F ? 0x2421 : 0x2400 + u));
                else
                    Check(quoted.at(i) == upper.at(i));
                quoted[i] = upper.at(i);
            }
            Check(!quoted.isEmpty() && upper.startsWith(quoted));
            // Cut where the whole answer has a character boundary, after at
            // most four characters as the user sees them.
            Check(IsCharacterBoundary(upper, quoted.size()));
            Check(BoundariesUpTo(upper, quoted.size()) ==
                  std::min(4, BoundariesUpTo(upper, upper.size())));
            Check(quoted.size() == upper.size() || !quoted.back().isHighSurrogate() ||
                  !upper.at(quoted.size()).isLowSurrogate());
            Check(!bitwell::IsValidHex(quoted.toStdString()));
            break;
        }
    }
}

void CheckConversions(const std::string& raw) {
    (void)bitwell::HexToInt(raw);
    (void)bitwell::IsValidHex(raw);
    const std::string bin = bitwell::HexToBin(raw);
    if (bitwell::IsValidHex(raw)) Check(bin.size() == raw.size() * 4);

    std::string digits;
    for (const char c : raw) digits += (static_cast<unsigned char>(c) & 1) ? '1' : '0';
    std::string padded = digits;
    const std::string hex = bitwell::BinToHex(padded);
    Check(padded.size() % 4 == 0 && padded.size() - digits.size() < 4);
    Check(padded.compare(padded.size() - digits.size(), digits.size(), digits) == 0);
    Check(hex.size() == padded.size() / 4);
    Check(bitwell::HexToBin(hex) == padded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) return 0;
    const char* text = reinterpret_cast<const char*>(data) + 1;
    const auto length = static_cast<qsizetype>(size - 1);
    // The first byte picks how the rest is read: UTF-8, or raw UTF-16 that
    // may hold lone surrogates, as a pasted answer can.
    if (data[0] & 1)
        CheckEntry(QString(reinterpret_cast<const QChar*>(text), length / 2));
    else
        CheckEntry(QString::fromUtf8(text, length));
    CheckConversions(std::string(text, static_cast<std::size_t>(length)));
    return 0;
}
