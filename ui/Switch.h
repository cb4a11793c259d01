#pragma once

#include <QWidget>

// A two-position switch drawn as a vertical scroll bar: thumb up is 1, thumb
// down is 0. Clicks on an arrow or the track, the arrow keys, the wheel and
// dragging all move it; every real change of position emits Change() once,
// before the move (or SetValue) returns. The bar it draws is its own child
// and never reachable from outside: its position, the inverse of Value,
// cannot be set by mistake.
class Switch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY Change)

public:
    explicit Switch(QWidget* parent);

    int Value() const;
    // 0 or 1; anything else is clamped. Setting the present value does nothing.
    void SetValue(int v);

signals:
    void Change();

protected:
    // The switch holds the focus; its keys move the bar.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Bar;
    Bar* m_bar;
};
