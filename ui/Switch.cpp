#include "ui/Switch.h"

Switch::Switch(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // A vertical bar's top end is its minimum in every style, so the bar's
    // own position is the inverse of the switch value.
    setRange(0, 1);
    setSingleStep(1);
    setPageStep(1);
    setValue(1);
    setFocusPolicy(Qt::StrongFocus);
    // The stock "Scroll here / Top / Bottom" menu means nothing on a switch.
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QAbstractSlider::valueChanged, this, &Switch::Change);
}
