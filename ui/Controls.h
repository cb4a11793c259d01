#pragma once

#include <QGroupBox>

// A framed group. Children are placed from the frame's outer corner.
class Group : public QGroupBox {
    Q_OBJECT

public:
    Group(const QString& caption, QWidget* parent);

protected:
    // A flat etched frame with the caption standing on its top line.
    void paintEvent(QPaintEvent* event) override;
};
