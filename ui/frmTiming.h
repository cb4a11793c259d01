#pragma once

#include <QWidget>
#include <functional>

#include "core/Trace.h"

class QLabel;
class QScrollBar;
class TimingDiagram;

// The timing diagram window: a non-modal top-level window that draws the
// panel's trace live, explains the step under the pointer (or walked to with
// Left and Right) in its status line, and saves the diagram as SVG or PNG
// (the steps in view) and the whole kept trace as CSV. Ctrl+C copies the
// CSV. The trace must outlive the window; call TraceChanged() whenever it
// grows or is cleared.
class frmTiming : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Csv READ Csv)

public:
    // `clear` empties the trace (the window does not own it).
    frmTiming(const bitwell::Trace& trace, std::function<void()> clear, QWidget* parent = nullptr);

    // Exactly what Save as CSV writes.
    QString Csv() const;
    void TraceChanged();

    // Each returns false, having said why in a message box, when the file
    // cannot be written.
    bool SaveSvg(const QString& path);
    bool SavePng(const QString& path);
    bool SaveCsv(const QString& path);

    TimingDiagram* diagram() const { return m_diagram; }

signals:
    void Hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showStep(int index);
    void syncScrollBar();
    void saveAs(const QString& filter, const QString& suffix, bool (frmTiming::*save)(const QString&));
    bool failed(const QString& path);

    const bitwell::Trace& m_trace;
    std::function<void()> m_clear;
    TimingDiagram* m_diagram = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLabel* m_status = nullptr;
};
