#include "ui/Controls.h"

#include <QPainter>

Group::Group(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setAutoFillBackground(true);
}

void Group::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    const QRect frame(0, top, width() - 2, height() - top - 2);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.translated(1, 1));

    const QRect caption(6, 0, fm.horizontalAdvance(title()) + 4, fm.height());
    p.fillRect(caption, palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}
