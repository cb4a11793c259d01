#pragma once

#include <QWidget>
#include <functional>

#include "core/Timing.h"

class QCheckBox;
class QLabel;
class QAbstractButton;
class QScrollBar;
class TimingDiagram;

// The timing diagram window: a non-modal top-level window that draws the
// panel's trace live, explains the step under the pointer (or walked to with
// Left and Right) in its status line, and saves the steps in view (or, with
// chkAllSteps, every kept step) as SVG, PNG or WaveDrom, and every kept step
// as CSV, with the controls and shortcuts the core describes. Opens with the focus
// on the diagram. The trace must outlive the window; call TraceChanged()
// whenever it grows or is cleared.
class frmTiming : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Csv READ Csv)
    Q_PROPERTY(QString Svg READ Svg)
    Q_PROPERTY(QString WaveJson READ WaveJson)

public:
    // `clear` empties the trace and `undo` brings the cleared steps back (the
    // window owns neither the trace nor these).
    frmTiming(const bitwell::Trace& trace, std::function<void()> clear, std::function<void()> undo,
              QWidget* parent = nullptr);

    // Exactly what Save as CSV, Save as SVG and Save as WaveDrom write.
    QString Csv() const;
    QString Svg() const;
    QString WaveJson() const;
    void TraceChanged();
    // Every text again, in the catalogue's current language.
    void Retranslate();
    // Moves and sizes the window into the free space of `main`'s screen
    // beside `main`, covering neither it nor `other` (may be null) where
    // there is room.
    void PlaceBeside(const QWidget* main, const QWidget* other);

    // Each returns false, having said why in a message box, when the file
    // cannot be written.
    bool SaveSvg(const QString& path);
    bool SavePng(const QString& path);
    bool SaveCsv(const QString& path);
    bool SaveWaveJson(const QString& path);

    TimingDiagram* diagram() const { return m_diagram; }

signals:
    void Hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showStep(int index);
    void syncScrollBar();
    // Does what the core's control `c` stands for.
    void run(const bitwell::TimingControl& c);
    void saveAs(const bitwell::TimingControl& c, bool (frmTiming::*save)(const QString&));
    bool saveText(const QString& path, const QString& text);
    bool failed(const QString& path);
    bool allSteps() const;

    const bitwell::Trace& m_trace;
    std::function<void()> m_clear;
    std::function<void()> m_undo;
    TimingDiagram* m_diagram = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLabel* m_status = nullptr;
    QAbstractButton* m_undoButton = nullptr;
    QCheckBox* m_all = nullptr;
};
