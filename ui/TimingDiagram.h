#pragma once

#include <QWidget>
#include <vector>

#include "core/Timing.h"

// The trace's timing diagram on screen: draws what the core's TimingView
// lays out and forwards the pointer, the wheel, the keys (by their names,
// which the core knows) and its size to it. Holds no layout of its own; the trace must
// outlive it.
class TimingDiagram : public QWidget {
    Q_OBJECT

public:
    TimingDiagram(const bitwell::Trace& trace, QWidget* parent);

    const bitwell::TimingView& View() const { return m_view; }
    const bitwell::Trace& Trace() const { return m_trace; }
    int Zoom() const { return m_view.Zoom(); }
    // Zooms in by `steps` of the core's zoom step, out when negative.
    void ZoomBy(int steps);
    int VisibleSteps() const { return m_view.VisibleSteps(); }
    int FirstStep() const { return m_view.First(); }
    void SetFirstStep(int index);
    bool Following() const { return m_view.Following(); }
    // The trace grew or was cleared.
    void TraceChanged();
    // Index of the selected step, or -1.
    int Selected() const { return m_view.Selected(); }
    void Select(int index);

    // Draws primitives in their role's style; the same for the screen and
    // for PNG.
    static void Paint(QPainter& p, const std::vector<bitwell::TimingPrimitive>& primitives);

signals:
    void SelectionChanged(int index);
    void ViewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Repaints and tells the window what changed since `selected`.
    void changed(int selected);

    const bitwell::Trace& m_trace;
    bitwell::TimingView m_view;
};
