#include "ui/Layout.h"

#include <QScreen>
#include <QWidget>

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

void PlaceBeside(QWidget* window, const QWidget* main, const QWidget* other, PlacementRule rule) {
    const QScreen* screen = main->screen();
    if (!screen) return;
    const auto rect = [](const QRect& r) { return bitwell::PlaceRect{r.x(), r.y(), r.width(), r.height()}; };
    std::optional<bitwell::PlaceRect> beside;
    if (other && other->isVisible()) beside = rect(other->frameGeometry());
    // The frame's margins, as far as they are known before the first show.
    const QSize margins = window->frameGeometry().size() - window->size();
    const bitwell::PlaceRect place = rule(rect(screen->availableGeometry()), rect(main->frameGeometry()), beside,
                                          rect(QRect(QPoint(), window->size() + margins)));
    window->resize(QSize(place.width, place.height) - margins);
    window->move(place.x, place.y);
}
