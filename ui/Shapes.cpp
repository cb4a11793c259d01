#include "ui/Shapes.h"

#include <QPainter>

Shape::Shape(const QBrush& fill, const QColor& border, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_border(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (fill.style() == Qt::SolidPattern) setAttribute(Qt::WA_OpaquePaintEvent);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Whole logical pixels, no antialiasing: crisp at any scale factor.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = rect();
    if (m_fill.style() != Qt::NoBrush) p.fillRect(r, m_fill);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), m_border);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), m_border);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), m_border);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), m_border);
}

Line::Line(QPoint from, QPoint to, const QColor& colour, QWidget* parent)
    : QWidget(parent), m_colour(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(QRect(from, to).normalized());
}

void Line::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), m_colour);
}
