#pragma once

#include <QWidget>

// Rectangles and lines of the signal panel. They paint themselves and take no
// input: the pointer over them is over their group.

// A rectangle filling its whole geometry, with a one-pixel border. A fill of
// Qt::NoBrush leaves the inside transparent.
class Shape : public QWidget {
    Q_OBJECT

public:
    Shape(const QBrush& fill, const QColor& border, QWidget* parent);

    // A lamp is a read bit: assistive technology hears it, lit or dark.
    // Every other rectangle only draws the panel.
    void SetLamp(bool lamp) { m_lamp = lamp; }
    bool IsLamp() const { return m_lamp; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBrush m_fill;
    QColor m_border;
    bool m_lamp = false;
};

// A one-pixel horizontal or vertical line between two points of the parent.
class Line : public QWidget {
    Q_OBJECT

public:
    Line(QPoint from, QPoint to, const QColor& colour, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};
