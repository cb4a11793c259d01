#include "ui/Switch.h"

#include <QAccessible>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>

#include "ui/Accessibles.h"

// The stock bar, filled solid and showing its switch's keyboard focus.
class Switch::Bar : public QScrollBar {
public:
    explicit Bar(Switch* owner) : QScrollBar(Qt::Vertical, owner) {}

    // A key pressed on the switch, handled as the bar's own. Not sent
    // through the application: a key the bar ignores would climb back to
    // the switch.
    void Key(QKeyEvent* event) { keyPressEvent(event); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        // The stock thumb is barely lighter than its track; fill it solid so
        // the position reads at a glance from the back of a classroom.
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        const QRect thumb =
            style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
        QPainter p(this);
        p.fillRect(thumb.adjusted(1, 1, -1, -1), palette().color(QPalette::Dark));
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(thumb.adjusted(0, 0, -1, -1));
        // The stock bar shows no keyboard focus at all.
        if (parentWidget()->hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 1));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

Switch::Switch(QWidget* parent) : QWidget(parent), m_bar(new Bar(this)) {
    InstallAccessibles();
    // A vertical bar's top end is its minimum in every style, so the bar's
    // own position is the inverse of the switch value.
    m_bar->setRange(0, 1);
    m_bar->setSingleStep(1);
    m_bar->setPageStep(1);
    m_bar->setValue(1);
    // A click on the bar focuses the switch, the nearest ancestor that takes
    // the focus; the bar itself never has it.
    m_bar->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    // The stock "Scroll here / Top / Bottom" menu means nothing on a switch.
    m_bar->setContextMenuPolicy(Qt::PreventContextMenu);
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_bar, &QAbstractSlider::valueChanged, this, [this] {
        emit Change();
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    });
}

int Switch::Value() const { return 1 - m_bar->value(); }

void Switch::SetValue(int v) { m_bar->setValue(1 - v); }

void Switch::keyPressEvent(QKeyEvent* event) { m_bar->Key(event); }

void Switch::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    m_bar->update();
}

void Switch::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_bar->update();
}

void Switch::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_bar->setGeometry(rect());
}
