#include "ui/Switch.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOptionSlider>

#include "ui/Accessibles.h"

Switch::Switch(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    InstallAccessibles();
    // A vertical bar's top end is its minimum in every style, so the bar's
    // own position is the inverse of the switch value.
    setRange(0, 1);
    setSingleStep(1);
    setPageStep(1);
    setValue(1);
    setFocusPolicy(Qt::StrongFocus);
    // The stock "Scroll here / Top / Bottom" menu means nothing on a switch.
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        emit Change();
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    });
}

void Switch::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    // The stock thumb is barely lighter than its track; fill it solid so the
    // position reads at a glance from the back of a classroom.
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect thumb =
        style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
    QPainter p(this);
    p.fillRect(thumb.adjusted(1, 1, -1, -1), palette().color(QPalette::Dark));
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(thumb.adjusted(0, 0, -1, -1));
    // The stock bar shows no keyboard focus at all.
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
