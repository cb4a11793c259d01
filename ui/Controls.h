#pragma once

#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

// Containers and buttons that forward pointer moves once mouse tracking is
// switched on for them, and keep the move from reaching their parent.

// A framed group. Children are placed from the frame's outer corner.
class Group : public QGroupBox {
    Q_OBJECT

public:
    Group(const QString& caption, QWidget* parent);

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    // A flat etched frame with the caption standing on its top line.
    void paintEvent(QPaintEvent* event) override;
};

class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The bare client area of a window.
class Surface : public QWidget {
    Q_OBJECT

public:
    explicit Surface(QWidget* parent) : QWidget(parent) {}

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
