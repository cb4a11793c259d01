#pragma once

#include <QScrollBar>

// A two-position switch drawn as a vertical scroll bar: thumb up is 1, thumb
// down is 0. Clicks on an arrow or the track, the arrow keys, the wheel and
// dragging all move it; every real change of position emits Change() once,
// before the move (or SetValue) returns.
class Switch : public QScrollBar {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY Change)

public:
    explicit Switch(QWidget* parent);

    int Value() const { return 1 - value(); }
    // 0 or 1; anything else is clamped. Setting the present value does nothing.
    void SetValue(int v) { setValue(1 - v); }

signals:
    void Change();

protected:
    void paintEvent(QPaintEvent* event) override;
};
