#include "ui/frmTiming.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>

#include "core/Catalogue.h"
#include "core/Timing.h"
#include "core/TimingPlacement.h"
#include "core/TimingSave.h"
#include "ui/Layout.h"
#include "ui/TimingAccessible.h"
#include "ui/TimingDiagram.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
// One of the window's texts, from the core.
QString T(const char* name) { return Q(bitwell::TimingText(name)); }

}  // namespace

frmTiming::frmTiming(const bitwell::Trace& trace, std::function<void()> clear, QWidget* parent,
                     std::function<void()> undo)
    : QWidget(parent, Qt::Window), m_trace(trace), m_clear(std::move(clear)), m_undo(std::move(undo)) {
    InstallTimingAccessibles();
    setObjectName(QStringLiteral("frmTiming"));
    setWindowTitle(T("frmTiming"));
    setWindowIcon(AppIcon());
    resize(720, 340);

    // The view's buttons above the diagram, the exports below it.
    auto* viewRow = new QHBoxLayout;
    auto* exportRow = new QHBoxLayout;
    QHBoxLayout* buttons = viewRow;
    const auto button = [&](const char* name, const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button("cmdClear", T("cmdClear"), [this] { m_clear(); });
    m_undoButton = button("cmdUndo", T("cmdUndo"), [this] {
        if (m_undo && m_trace.CanUndoClear()) m_undo();
    });
    button("cmdZoomIn", T("cmdZoomIn"), [this] { m_diagram->SetZoom(m_diagram->Zoom() * 2); });
    button("cmdZoomOut", T("cmdZoomOut"), [this] { m_diagram->SetZoom(m_diagram->Zoom() / 2); });
    viewRow->addStretch();
    buttons = exportRow;
    m_all = new QCheckBox(T("chkAllSteps"), this);
    m_all->setObjectName(QStringLiteral("chkAllSteps"));
    buttons->addWidget(m_all);
    buttons->addStretch();
    button("cmdSaveSvg", T("cmdSaveSvg"), [this] {
        saveAs(T("filterSvg"), QStringLiteral("svg"), &frmTiming::SaveSvg);
    });
    button("cmdSavePng", T("cmdSavePng"), [this] {
        saveAs(T("filterPng"), QStringLiteral("png"), &frmTiming::SavePng);
    });
    button("cmdSaveWaveJson", T("cmdSaveWaveJson"), [this] {
        saveAs(T("filterWaveJson"), QStringLiteral("json"), &frmTiming::SaveWaveJson);
    });
    button("cmdSaveCsv", T("cmdSaveCsv"), [this] {
        saveAs(T("filterCsv"), QStringLiteral("csv"), &frmTiming::SaveCsv);
    });

    m_diagram = new TimingDiagram(trace, this);
    m_diagram->setObjectName(QStringLiteral("diagram"));
    m_diagram->setAccessibleName(T("diagram"));
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("scroll"));
    m_scroll->setAccessibleName(T("scroll"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setText(T("lblStatus"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(viewRow);
    layout->addWidget(m_diagram, 1);
    layout->addWidget(m_scroll);
    layout->addLayout(exportRow);
    layout->addWidget(m_status);
    // The diagram first: Tab from it reaches the buttons.
    setTabOrder(m_diagram, findChild<QPushButton*>(QStringLiteral("cmdClear")));

    connect(m_diagram, &TimingDiagram::SelectionChanged, this, &frmTiming::showStep);
    connect(m_diagram, &TimingDiagram::ViewChanged, this, &frmTiming::syncScrollBar);
    connect(m_scroll, &QScrollBar::valueChanged, m_diagram, &TimingDiagram::SetFirstStep);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { QApplication::clipboard()->setText(Csv()); });
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, m_undoButton, &QPushButton::click);
    setFocusProxy(m_diagram);
    m_undoButton->setEnabled(false);
    syncScrollBar();
}

bool frmTiming::allSteps() const { return m_all->isChecked(); }

QString frmTiming::Csv() const { return Q(m_trace.Csv()); }
QString frmTiming::Svg() const { return Q(m_diagram->View().Svg(allSteps())); }
QString frmTiming::WaveJson() const { return Q(m_diagram->View().WaveJson(allSteps())); }

void frmTiming::Retranslate() {
    setWindowTitle(T("frmTiming"));
    for (QPushButton* b : findChildren<QPushButton*>()) b->setText(T(b->objectName().toLatin1().constData()));
    m_all->setText(T("chkAllSteps"));
    m_diagram->setAccessibleName(T("diagram"));
    m_scroll->setAccessibleName(T("scroll"));
    const int selected = m_diagram->Selected();
    showStep(selected);
    if (selected < 0) m_status->setText(T("lblStatus"));
}

void frmTiming::TraceChanged() {
    m_diagram->TraceChanged();
    m_undoButton->setEnabled(m_trace.CanUndoClear() && m_undo);
}

void frmTiming::PlaceBeside(const QWidget* main, const QWidget* other) {
    ::PlaceBeside(this, main, other, SideWindowKind::Timing);
}

void frmTiming::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Left and Right work at once; Space can never reach Clear unasked.
    m_diagram->setFocus(Qt::OtherFocusReason);
}

void frmTiming::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised is still open; only a real hide unchecks the menu.
    if (!isVisible()) emit Hidden();
}

void frmTiming::showStep(int index) {
    const QString line = index < 0 ? QString() : Q(bitwell::Trace::Describe(m_trace[static_cast<std::size_t>(index)]));
    m_status->setText(line);
    // A screen reader hears the same sentence as the status line shows.
    m_diagram->setAccessibleDescription(line);
    QAccessibleEvent event(m_diagram, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    // The step table's selected row follows; its first cell takes the focus.
    if (index < 0 || !QAccessible::isActive()) return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(m_diagram);
    if (QAccessibleInterface* cell = table && table->tableInterface() ? table->tableInterface()->cellAt(index, 0) : nullptr) {
        QAccessibleEvent selection(cell, QAccessible::Selection);
        QAccessible::updateAccessibility(&selection);
        if (m_diagram->hasFocus()) {
            QAccessibleEvent focus(cell, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void frmTiming::syncScrollBar() {
    const QSignalBlocker block(m_scroll);
    m_scroll->setRange(0, m_diagram->View().LastFirst());
    m_scroll->setPageStep(m_diagram->VisibleSteps());
    m_scroll->setValue(m_diagram->FirstStep());
}

void frmTiming::saveAs(const QString& filter, const QString& suffix, bool (frmTiming::*save)(const QString&)) {
    QString path = QFileDialog::getSaveFileName(this, Q(bitwell::TimingSaveTitle(suffix.toStdString())),
                                                QStringLiteral("timing.") + suffix, filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive)) path += QLatin1Char('.') + suffix;
    (this->*save)(path);
}

bool frmTiming::failed(const QString& path) {
    QMessageBox::warning(this, T("frmTiming"),
                         Q(bitwell::Arg(bitwell::TimingText("saveFailed"),
                                        {path.toStdString()})));
    return false;
}

bool frmTiming::saveText(const QString& path, const QString& text) {
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) return failed(path);
    return true;
}

bool frmTiming::SaveSvg(const QString& path) { return saveText(path, Svg()); }
bool frmTiming::SaveCsv(const QString& path) { return saveText(path, Csv()); }
bool frmTiming::SaveWaveJson(const QString& path) { return saveText(path, WaveJson()); }

bool frmTiming::SavePng(const QString& path) {
    const bitwell::TimingFrame frame = m_diagram->View().ExportFrame(allSteps());
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setFont(m_diagram->font());
    TimingDiagram::Paint(p, bitwell::LayoutTiming(m_trace, frame));
    p.end();
    return image.save(path, "PNG") || failed(path);
}
