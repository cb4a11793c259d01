#include "ui/HoverHelp.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

HoverHelp::HoverHelp(std::function<void(const QString&)> show, QObject* parent)
    : QObject(parent), m_show(std::move(show)) {}

void HoverHelp::AddTarget(QWidget* target, const QString& text) {
    target->setMouseTracking(true);
    // The target answers for the move: its parent, a target too, keeps out.
    target->setAttribute(Qt::WA_NoMousePropagation);
    m_texts.insert(target, text);
    target->installEventFilter(this);
}

void HoverHelp::Quieten(QWidget* root) {
    // A plain move over such a widget already stops there, as it does not
    // track the mouse; a move with a button held is delivered to it and,
    // ignored, would climb to the nearest target.
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (m_texts.contains(w) || w->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
        w->setAttribute(Qt::WA_NoMousePropagation);
    }
}

void HoverHelp::AddTip(QWidget* host, const QRect& area, const QString& tip) {
    if (!m_tips.contains(host) && !m_texts.contains(host)) host->installEventFilter(this);
    m_tips[host].append({area, tip});
}

bool HoverHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (const auto text = m_texts.constFind(watched); text != m_texts.cend()) m_show(*text);
        return false;
    }
    if (event->type() == QEvent::ToolTip) {
        const auto tips = m_tips.constFind(watched);
        if (tips == m_tips.cend()) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        for (const auto& [area, tip] : *tips) {
            if (area.contains(help->pos())) {
                QToolTip::showText(help->globalPos(), tip, static_cast<QWidget*>(watched), area);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return false;
}
