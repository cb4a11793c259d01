#include "ui/Caption.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include "core/WindowDescription.h"

namespace {

// QLabel breaks lines at "\n"; a lone "\r" would show as a glyph.
QString Shown(const QString& caption) {
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

}  // namespace

CaptionLabel::CaptionLabel(const QString& name, const QString& caption, const QRect& geometry,
                           QWidget* parent)
    : QWidget(parent), m_caption(caption), m_shown(Shown(caption)) {
    setObjectName(name);
    setGeometry(geometry);
    setAutoFillBackground(true);
}

void CaptionLabel::SetCaption(const QString& caption) {
    if (caption == m_caption) return;
    const QString old = m_caption;
    m_caption = caption;
    const QString shown = Shown(caption);
    if (shown != m_shown) {
        m_shown = shown;
        update();
        // Without a name of its own, a caption is named by its text.
        if (accessibleName().isEmpty() && QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, old, m_caption);
        QAccessible::updateAccessibility(&event);
    }
    emit Change();
}

void CaptionLabel::SetTextLimit(int pixels) {
    m_textLimit = pixels;
    update();
}

void CaptionLabel::SetWordWrap(bool on) {
    m_wordWrap = on;
    update();
}

// As a plain-text label lays out wrapped text: the direction is the text's.
int CaptionLabel::wrapFlags() const {
    const Qt::LayoutDirection direction = m_shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    return int(QStyle::visualAlignment(direction, Qt::AlignLeft | Qt::AlignTop)) |
           Qt::TextExpandTabs | Qt::TextWordWrap;
}

int CaptionLabel::heightForWidth(int width) const {
    return fontMetrics().boundingRect(0, 0, width, 2000, wrapFlags(), m_shown).height();
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit DblClick();
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_wordWrap) {
        // Exactly as a plain-text label draws wrapped text.
        const int direction = m_shown.isRightToLeft() ? Qt::TextForceRightToLeft
                                                      : Qt::TextForceLeftToRight;
        style()->drawItemText(&p, contentsRect(), wrapFlags() | direction, palette(), isEnabled(),
                              m_shown, QPalette::WindowText);
        return;
    }
    // Lines stand exactly one line spacing apart from the top-left corner,
    // so a listing of n lines needs n line spacings and no more. A line a
    // pixel or two wider than the box is drawn a little tighter rather than
    // cut off.
    p.setPen(palette().color(QPalette::WindowText));
    const QStringList lines = m_shown.split(QLatin1Char('\n'));
    const QFontMetricsF plain(font());
    const int limit = m_textLimit < 0 ? width() : qMin(m_textLimit, width());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QFont f = font();
        const qreal overflow = plain.horizontalAdvance(lines[i]) - limit;
        if (overflow > 0 && lines[i].size() > 1)
            f.setLetterSpacing(QFont::AbsoluteSpacing, -overflow / qreal(lines[i].size() - 1));
        p.setFont(f);
        const QFontMetricsF m(f);
        // A translated title ends at its limit, right up to its value.
        const qreal x = m_textLimit >= 0 && bitwell::TextEndsAtLimit()
                            ? qMax(qreal(0), limit - m.horizontalAdvance(lines[i])) : 0;
        p.drawText(QPointF(x, m.ascent() + qreal(i) * m.lineSpacing()), lines[i]);
    }
}
