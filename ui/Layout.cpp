#include "ui/Layout.h"

#include <QStringList>

QFont DialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    return font;
}

QFont ListingFont(qreal points) {
    QFont font;
    // Courier New where installed, its metric twin otherwise.
    font.setFamilies(QStringList{QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QIcon AppIcon() { return QIcon(QStringLiteral(":/bitwell/io.github.bitwell.Bitwell.svg")); }
