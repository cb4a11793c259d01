#pragma once

#include <QWidget>

#include "core/Trace.h"

// The trace drawn as a datasheet draws a timing diagram: the five controls as
// logic waveforms, the address, data and read register as bus lanes with
// their value written where it changes, and a cycle row (R or W, filled over
// the bytes it moved), with a thin mark where a new user action begins. The
// newest step stands at the right while the view follows; otherwise the view
// starts at FirstStep(). Pointing at a step or walking with Left and Right
// selects it. Paints only; the trace must outlive it.
class TimingDiagram : public QWidget {
    Q_OBJECT

public:
    TimingDiagram(const bitwell::Trace& trace, QWidget* parent);

    // Pixels per step; clamped to 4 … 96.
    int Zoom() const { return m_zoom; }
    void SetZoom(int pixels);
    // How many steps fit the width at this zoom.
    int VisibleSteps() const;
    // Index in the trace of the leftmost step shown.
    int FirstStep() const { return m_first; }
    void SetFirstStep(int index);
    bool Following() const { return m_following; }
    // The trace grew or was cleared: follow the newest step if following.
    void TraceChanged();
    // Index of the selected step, or -1.
    int Selected() const { return m_selected; }

    // Draws steps [first, first + count) at the current zoom into `size`.
    void Paint(QPainter& p, QSize size, int first, int count) const;

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
    void select(int index);
    int lastFirst() const;

    const bitwell::Trace& m_trace;
    int m_zoom = 24;
    int m_first = 0;
    int m_selected = -1;
    bool m_following = true;
};
