#include "ui/Caption.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

CaptionLabel::CaptionLabel(const QString& name, const QString& caption, const QRect& geometry,
                           QWidget* parent)
    : QLabel(parent), m_caption(caption) {
    setObjectName(name);
    setGeometry(geometry);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    showCaption();
}

void CaptionLabel::SetCaption(const QString& caption) {
    if (caption == m_caption) return;
    const QString old = m_caption;
    m_caption = caption;
    showCaption();
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

void CaptionLabel::showCaption() {
    // QLabel breaks lines at "\n"; a lone "\r" would show as a glyph.
    QString shown = m_caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setText(shown);
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit DblClick();
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    if (wordWrap()) {
        QLabel::paintEvent(event);
        return;
    }
    // Lines stand exactly one line spacing apart from the top-left corner,
    // so a listing of n lines needs n line spacings and no more. A line a
    // pixel or two wider than the box is drawn a little tighter rather than
    // cut off.
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QStringList lines = text().split(QLatin1Char('\n'));
    const QFontMetricsF plain(font());
    const int limit = m_textLimit < 0 ? width() : qMin(m_textLimit, width());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QFont f = font();
        const qreal overflow = plain.horizontalAdvance(lines[i]) - limit;
        if (overflow > 0 && lines[i].size() > 1)
            f.setLetterSpacing(QFont::AbsoluteSpacing, -overflow / qreal(lines[i].size() - 1));
        p.setFont(f);
        const QFontMetricsF m(f);
        p.drawText(QPointF(0, m.ascent() + qreal(i) * m.lineSpacing()), lines[i]);
    }
}
