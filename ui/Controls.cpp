#include "ui/Controls.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
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

void Group::mouseMoveEvent(QMouseEvent* event) {
    QGroupBox::mouseMoveEvent(event);
    event->accept();
    emit MouseMove();
}

void OptionButton::mouseMoveEvent(QMouseEvent* event) {
    QRadioButton::mouseMoveEvent(event);
    event->accept();
    emit MouseMove();
}

void Surface::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit MouseMove();
}

AreaTips::AreaTips(QWidget* host) : QObject(host) { host->installEventFilter(this); }

void AreaTips::Add(const QRect& area, const QString& tip) { m_tips.append({area, tip}); }

bool AreaTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    for (const auto& [area, tip] : std::as_const(m_tips)) {
        if (area.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), tip, static_cast<QWidget*>(watched), area);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
