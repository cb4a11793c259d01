#include "ui/TimingDiagram.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

using bitwell::TimingPrimitive;
using bitwell::TimingRole;
using bitwell::TimingShape;
using bitwell::TimingView;

namespace {

QColor Colour(TimingRole role) {
    QColor c(QLatin1String(bitwell::RoleColour(role).data(), static_cast<int>(bitwell::RoleColour(role).size())));
    c.setAlphaF(static_cast<float>(bitwell::RoleOpacity(role)));
    return c;
}

}  // namespace

TimingDiagram::TimingDiagram(const bitwell::Trace& trace, QWidget* parent) : QWidget(parent), m_trace(trace), m_view(trace) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumHeight(bitwell::TimingBaseHeight());
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(bitwell::kFontPixels);
    setFont(font);
}

void TimingDiagram::changed(int selected) {
    update();
    emit ViewChanged();
    if (selected != m_view.Selected()) emit SelectionChanged(m_view.Selected());
}

void TimingDiagram::SetZoom(int pixels) {
    const int selected = m_view.Selected();
    m_view.SetZoom(pixels);
    changed(selected);
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
    TimingView::Key key;
    switch (event->key()) {
        case Qt::Key_Left: key = TimingView::Key::Left; break;
        case Qt::Key_Right: key = TimingView::Key::Right; break;
        case Qt::Key_Home: key = TimingView::Key::Home; break;
        case Qt::Key_End: key = TimingView::Key::End; break;
        case Qt::Key_Plus:
        case Qt::Key_Equal: key = TimingView::Key::ZoomIn; break;
        case Qt::Key_Minus: key = TimingView::Key::ZoomOut; break;
        default: QWidget::keyPressEvent(event); return;
    }
    const int selected = m_view.Selected();
    if (!m_view.Press(key)) {
        QWidget::keyPressEvent(event);
        return;
    }
    changed(selected);
}

void TimingDiagram::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y() + event->angleDelta().x();
    if (event->modifiers() & Qt::ControlModifier)
        SetZoom(delta > 0 ? Zoom() * 2 : Zoom() / 2);
    else
        SetFirstStep(FirstStep() + (delta > 0 ? -4 : 4));
    event->accept();
}

void TimingDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    Paint(p, m_view.Draw());
    if (hasFocus()) {
        p.setPen(palette().color(QPalette::Highlight));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TimingDiagram::Paint(QPainter& p, const std::vector<TimingPrimitive>& primitives) {
    const QFontMetrics fm(p.font());
    p.setBrush(Qt::NoBrush);
    for (const TimingPrimitive& d : primitives) {
        const QColor colour = Colour(d.role);
        switch (d.shape) {
            case TimingShape::Line: {
                QPen pen(colour, 1);
                if (bitwell::RoleDashed(d.role)) pen.setDashPattern({3, 3});
                p.setPen(pen);
                p.drawLine(d.x, d.y, d.x2, d.y2);
                break;
            }
            case TimingShape::Rect:
                if (bitwell::RoleOutlined(d.role)) {
                    p.setPen(QPen(colour, 1));
                    p.drawRect(d.x, d.y, d.x2, d.y2);
                } else {
                    p.fillRect(d.x, d.y, d.x2, d.y2, colour);
                }
                break;
            case TimingShape::Polygon: {
                QPolygon polygon;
                for (std::size_t k = 0; k + 1 < d.points.size(); k += 2) polygon << QPoint(d.points[k], d.points[k + 1]);
                p.setPen(QPen(colour, 1));
                p.drawPolygon(polygon);
                break;
            }
            case TimingShape::Text: {
                const QString text = QString::fromStdString(d.text);
                const int x = d.anchor == bitwell::TextAnchor::Middle ? d.x - fm.horizontalAdvance(text) / 2 : d.x;
                p.setPen(colour);
                p.drawText(QPoint(x, d.y), text);
                break;
            }
        }
    }
}
