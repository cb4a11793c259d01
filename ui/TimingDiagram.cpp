#include "ui/TimingDiagram.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

using bitwell::TimingPrimitive;
using bitwell::TimingRole;
using bitwell::TimingShape;
using bitwell::TimingView;

namespace {

QColor Colour(std::string_view rgb, double opacity) {
    QColor c(QLatin1String(rgb.data(), static_cast<int>(rgb.size())));
    c.setAlphaF(static_cast<float>(opacity));
    return c;
}

QFont Font(int pixels) {
    QFont font;
    font.setFamilies(QString::fromUtf8(bitwell::kTimingFontFamily.data(), static_cast<int>(bitwell::kTimingFontFamily.size()))
                         .split(QStringLiteral(", ")));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

TimingDiagram::TimingDiagram(const bitwell::Trace& trace, QWidget* parent) : QWidget(parent), m_trace(trace), m_view(trace) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumHeight(bitwell::TimingBaseHeight());
}

void TimingDiagram::changed(int selected) {
    update();
    emit ViewChanged();
    if (selected != m_view.Selected()) emit SelectionChanged(m_view.Selected());
}

void TimingDiagram::SetFirstStep(int index) {
    const int selected = m_view.Selected();
    m_view.SetFirst(index);
    changed(selected);
}

void TimingDiagram::TraceChanged() {
    const int selected = m_view.Selected();
    m_view.TraceChanged();
    changed(selected);
}

void TimingDiagram::Select(int index) {
    const int selected = m_view.Selected();
    m_view.Select(index);
    changed(selected);
}

void TimingDiagram::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view.SetSize(width(), height());
    emit ViewChanged();
}

void TimingDiagram::mouseMoveEvent(QMouseEvent* event) {
    const int index = m_view.StepAt(qRound(event->position().x()));
    if (index >= 0 && index != m_view.Selected()) Select(index);
}

void TimingDiagram::keyPressEvent(QKeyEvent* event) {
    const std::optional<TimingView::Key> key =
        TimingView::KeyNamed(QKeySequence(event->key()).toString(QKeySequence::PortableText).toStdString());
    const int selected = m_view.Selected();
    if (!key || !m_view.Press(*key)) {
        QWidget::keyPressEvent(event);
        return;
    }
    changed(selected);
}

void TimingDiagram::ZoomBy(int steps) {
    const int selected = m_view.Selected();
    m_view.ZoomBy(steps);
    changed(selected);
}

void TimingDiagram::wheelEvent(QWheelEvent* event) {
    const int selected = m_view.Selected();
    m_view.Wheel(event->angleDelta().y() + event->angleDelta().x(), event->modifiers() & Qt::ControlModifier);
    changed(selected);
    event->accept();
}

void TimingDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Paint(p, m_view.Draw());
    if (hasFocus()) {
        p.setPen(palette().color(QPalette::Highlight));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TimingDiagram::Paint(QPainter& p, const std::vector<TimingPrimitive>& primitives) {
    int fontPixels = 0;  // the painter's font, made again only when a role asks another size
    for (const TimingPrimitive& d : primitives) {
        const bitwell::RoleStyle& style = bitwell::StyleOf(d.role);
        if (style.stroke.empty()) {
            p.setPen(Qt::NoPen);
        } else {
            QPen pen(Colour(style.stroke, style.opacity), style.width);
            if (style.dash > 0) pen.setDashPattern({qreal(style.dash) / style.width, qreal(style.dash) / style.width});
            p.setPen(pen);
        }
        const QColor fill = style.fill.empty() ? QColor() : Colour(style.fill, style.opacity);
        p.setBrush(style.fill.empty() ? QBrush(Qt::NoBrush) : QBrush(fill));
        switch (d.shape) {
            case TimingShape::Line: p.drawLine(d.x, d.y, d.x2, d.y2); break;
            case TimingShape::Rect: p.drawRect(d.x, d.y, d.x2, d.y2); break;
            case TimingShape::Polygon: {
                QPolygon polygon;
                for (std::size_t k = 0; k + 1 < d.points.size(); k += 2) polygon << QPoint(d.points[k], d.points[k + 1]);
                p.drawPolygon(polygon);
                break;
            }
            case TimingShape::Text: {
                // A text is written in its fill.
                if (style.fontPixels != fontPixels) p.setFont(Font(fontPixels = style.fontPixels));
                p.setPen(fill);
                const QString text = QString::fromStdString(d.text);
                const int x = d.anchor == bitwell::TextAnchor::Middle
                                  ? d.x - QFontMetrics(p.font()).horizontalAdvance(text) / 2
                                  : d.x;
                p.drawText(QPoint(x, d.y), text);
                break;
            }
        }
    }
}
