#include "ui/TimingDiagram.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

using bitwell::Bytes;
using bitwell::Cycle;
using bitwell::TraceStep;

namespace {

constexpr int kLabels = 56;  // the names' column
constexpr int kTop = 8;
constexpr int kRow = 26;     // one lane, with its gap
constexpr int kLane = 16;    // a waveform's height within its lane
constexpr int kRows = 9;     // CE OE WE LB UB, A D Q, cycle

const QColor kRead(0x1F, 0x5F, 0xC8);
const QColor kWrite(0xC8, 0x32, 0x1E);
const QColor kMark(0x99, 0x99, 0x99);

const char* const kNames[kRows] = {"CE", "OE", "WE", "LB", "UB", "A", "D", "Q", "Cycle"};

int RowTop(int row) { return kTop + row * kRow; }

const std::string& Bus(const TraceStep& s, int row) {
    return row == 5 ? s.address : row == 6 ? s.data : s.read;
}

}  // namespace

TimingDiagram::TimingDiagram(const bitwell::Trace& trace, QWidget* parent)
    : QWidget(parent), m_trace(trace) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumHeight(RowTop(kRows) + 4);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
}

int TimingDiagram::VisibleSteps() const { return qMax(1, (width() - kLabels - 4) / m_zoom); }

int TimingDiagram::lastFirst() const {
    return qMax(0, static_cast<int>(m_trace.size()) - VisibleSteps());
}

void TimingDiagram::SetZoom(int pixels) {
    const int zoom = qBound(4, pixels, 96);
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    if (m_following) m_first = lastFirst();
    m_first = qMin(m_first, lastFirst());
    update();
    emit ViewChanged();
}

void TimingDiagram::SetFirstStep(int index) {
    m_first = qBound(0, index, lastFirst());
    m_following = m_first == lastFirst();
    update();
    emit ViewChanged();
}

void TimingDiagram::TraceChanged() {
    if (m_selected >= static_cast<int>(m_trace.size())) select(-1);
    if (m_following) m_first = lastFirst();
    m_first = qMin(m_first, lastFirst());
    update();
    emit ViewChanged();
}

void TimingDiagram::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_following) m_first = lastFirst();
    m_first = qMin(m_first, lastFirst());
    emit ViewChanged();
}

void TimingDiagram::select(int index) {
    if (index == m_selected) return;
    m_selected = index;
    if (index >= 0) {
        if (index < m_first) SetFirstStep(index);
        if (index >= m_first + VisibleSteps()) SetFirstStep(index - VisibleSteps() + 1);
    }
    update();
    emit SelectionChanged(index);
}

void TimingDiagram::mouseMoveEvent(QMouseEvent* event) {
    const int x = qRound(event->position().x()) - kLabels;
    if (x < 0) return;
    const int index = m_first + x / m_zoom;
    if (index < static_cast<int>(m_trace.size())) select(index);
}

void TimingDiagram::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(m_trace.size()) - 1;
    switch (event->key()) {
        case Qt::Key_Left:
            if (last >= 0) select(m_selected < 0 ? last : qMax(0, m_selected - 1));
            return;
        case Qt::Key_Right:
            if (last >= 0) select(m_selected < 0 ? last : qMin(last, m_selected + 1));
            return;
        case Qt::Key_Home:
            if (last >= 0) select(0);
            return;
        case Qt::Key_End:
            if (last >= 0) select(last);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            SetZoom(m_zoom * 2);
            return;
        case Qt::Key_Minus:
            SetZoom(m_zoom / 2);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TimingDiagram::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y() + event->angleDelta().x();
    if (event->modifiers() & Qt::ControlModifier)
        SetZoom(delta > 0 ? m_zoom * 2 : m_zoom / 2);
    else
        SetFirstStep(m_first + (delta > 0 ? -4 : 4));
    event->accept();
}

void TimingDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int count = qMin(VisibleSteps(), static_cast<int>(m_trace.size()) - m_first);
    Paint(p, size(), m_first, count);
    if (m_selected >= m_first && m_selected < m_first + count) {
        const int x = kLabels + (m_selected - m_first) * m_zoom;
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlpha(50);
        p.fillRect(QRect(x, kTop - 4, m_zoom, RowTop(kRows) - kTop + 4), shade);
    }
    if (hasFocus()) {
        p.setPen(palette().color(QPalette::Highlight));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TimingDiagram::Paint(QPainter& p, QSize size, int first, int count) const {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QColor ink = Qt::black;
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetrics fm(font);

    // Names; the five controls carry the active-LOW over-bar as on the panel.
    for (int row = 0; row < kRows; ++row) {
        const QRect box(4, RowTop(row), kLabels - 8, kLane);
        p.setPen(ink);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kNames[row]));
        if (row < 5) {
            const int w = fm.horizontalAdvance(QString::fromLatin1(kNames[row]));
            const int y = box.center().y() - fm.ascent() / 2 - 2;
            p.drawLine(box.left(), y, box.left() + w, y);
        }
    }
    if (count <= 0) return;

    const auto xOf = [&](int i) { return kLabels + (i - first) * m_zoom; };
    const TraceStep* previous = first > 0 ? &m_trace[static_cast<std::size_t>(first) - 1] : nullptr;
    for (int i = first; i < first + count; ++i) {
        const TraceStep& s = m_trace[static_cast<std::size_t>(i)];
        const int x = xOf(i);
        const int x2 = x + m_zoom;

        // A new user action starts here.
        if (previous && previous->action != s.action) {
            p.setPen(QPen(kMark, 1, Qt::DashLine));
            p.drawLine(x, kTop - 4, x, RowTop(kRows));
        }

        p.setPen(QPen(ink, 1));
        for (int row = 0; row < 5; ++row) {
            const int top = RowTop(row);
            const int y = s.levels[row] ? top : top + kLane;
            p.drawLine(x, y, x2, y);
            if (previous && previous->levels[row] != s.levels[row]) p.drawLine(x, top, x, top + kLane);
        }

        for (int row = 5; row < 8; ++row) {
            const int top = RowTop(row);
            const std::string& value = Bus(s, row);
            const bool changed = !previous || Bus(*previous, row) != value;
            const int slant = qMin(3, m_zoom / 4);
            if (changed && previous) {
                p.drawLine(x - slant, top, x + slant, top + kLane);
                p.drawLine(x - slant, top + kLane, x + slant, top);
            }
            const int from = changed && previous ? x + slant : x;
            p.drawLine(from, top, x2 - (i + 1 < first + count ? 0 : slant), top);
            p.drawLine(from, top + kLane, x2 - (i + 1 < first + count ? 0 : slant), top + kLane);
            if (changed) {
                // The value where it changes, as far as the next change allows.
                int room = m_zoom;
                for (int j = i + 1; j < first + count &&
                                    Bus(m_trace[static_cast<std::size_t>(j)], row) == value;
                     ++j)
                    room += m_zoom;
                const QString text = QString::fromStdString(value);
                if (fm.horizontalAdvance(text) + 2 * slant + 2 <= room)
                    p.drawText(QRect(from + 1, top, room, kLane), Qt::AlignLeft | Qt::AlignVCenter, text);
            }
        }

        if (s.cycle != Cycle::None) {
            const int top = RowTop(8);
            const QColor colour = s.cycle == Cycle::Read ? kRead : kWrite;
            const QRect box(x + 1, top, m_zoom - 2, kLane);
            p.setPen(colour);
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(0, 0, -1, -1));
            // Filled over the bytes moved: the upper half for the upper byte.
            QRect fill = box;
            if (s.bytes == Bytes::Upper) fill.setBottom(box.center().y());
            if (s.bytes == Bytes::Lower) fill.setTop(box.center().y() + 1);
            QColor light = colour;
            light.setAlpha(90);
            p.fillRect(fill, light);
            if (m_zoom >= 10) {
                p.setPen(ink);
                p.drawText(box, Qt::AlignCenter,
                           s.cycle == Cycle::Read ? QStringLiteral("R") : QStringLiteral("W"));
            }
        }
        previous = &s;
    }
}
