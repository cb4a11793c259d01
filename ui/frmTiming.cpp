#include "ui/frmTiming.h"

#include <QAbstractButton>
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
QString L(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
QString T(const QString& name) { return Q(bitwell::TimingText(name.toStdString())); }

}  // namespace

frmTiming::frmTiming(const bitwell::Trace& trace, std::function<void()> clear, std::function<void()> undo,
                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_trace(trace), m_clear(std::move(clear)), m_undo(std::move(undo)) {
    InstallTimingAccessibles();
    setObjectName(QStringLiteral("frmTiming"));
    setWindowTitle(T("frmTiming"));
    setWindowIcon(AppIcon());
    resize(720, 340);

    // The core's controls, in their bars above and below the diagram; a bar
    // without free room keeps its controls at its start.
    auto* viewRow = new QHBoxLayout;
    auto* exportRow = new QHBoxLayout;
    QAbstractButton* first = nullptr;
    for (const bitwell::TimingControl& c : bitwell::TimingControls()) {
        QAbstractButton* b = nullptr;
        if (c.bar != bitwell::TimingBar::KeyOnly) {
            const QString name = L(c.name);
            if (c.checkBox) {
                b = new QCheckBox(T(name), this);
            } else {
                auto* push = new QPushButton(T(name), this);
                push->setAutoDefault(false);
                b = push;
            }
            b->setObjectName(name);
            if (!c.checkBox)
                connect(b, &QAbstractButton::clicked, this, [this, &c] {
                    run(c);
                    if (c.backToDiagram) m_diagram->setFocus(Qt::OtherFocusReason);
                });
            QHBoxLayout* row = c.bar == bitwell::TimingBar::View ? viewRow : exportRow;
            row->addWidget(b);
            if (c.roomAfter) row->addStretch();
            if (!first) first = b;
        }
        if (c.command == bitwell::TimingCommand::UndoClear) m_undoButton = b;
        if (c.command == bitwell::TimingCommand::AllSteps) m_all = static_cast<QCheckBox*>(b);
        if (!c.shortcut.empty()) {
            auto* key = new QShortcut(QKeySequence(L(c.shortcut)), this);
            // A shortcut does what its control does, and nothing while it is disabled.
            connect(key, &QShortcut::activated, this, [b, this, &c] { b ? b->click() : run(c); });
        }
    }
    for (QHBoxLayout* row : {viewRow, exportRow}) {
        bool room = false;
        for (int i = 0; i < row->count(); ++i) room = room || row->itemAt(i)->spacerItem();
        if (!room) row->addStretch();
    }

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
    // The diagram first: Tab from it reaches the controls.
    setTabOrder(m_diagram, first);

    connect(m_diagram, &TimingDiagram::SelectionChanged, this, &frmTiming::showStep);
    connect(m_diagram, &TimingDiagram::ViewChanged, this, &frmTiming::syncScrollBar);
    connect(m_scroll, &QScrollBar::valueChanged, m_diagram, &TimingDiagram::SetFirstStep);
    setFocusProxy(m_diagram);
    m_undoButton->setEnabled(false);
    syncScrollBar();
}

bool frmTiming::allSteps() const { return m_all->isChecked(); }

QString frmTiming::Csv() const { return Q(m_trace.Csv()); }
QString frmTiming::Svg() const { return Q(m_diagram->View().Svg(allSteps())); }
QString frmTiming::WaveJson() const { return Q(m_diagram->View().WaveJson(allSteps())); }

void frmTiming::run(const bitwell::TimingControl& c) {
    using C = bitwell::TimingCommand;
    switch (c.command) {
        case C::Clear: m_clear(); break;
        case C::UndoClear: if (m_undo && m_trace.CanUndoClear()) m_undo(); break;
        case C::ZoomIn: m_diagram->ZoomBy(1); break;
        case C::ZoomOut: m_diagram->ZoomBy(-1); break;
        case C::AllSteps: break;
        case C::SaveSvg: saveAs(c, &frmTiming::SaveSvg); break;
        case C::SavePng: saveAs(c, &frmTiming::SavePng); break;
        case C::SaveWaveJson: saveAs(c, &frmTiming::SaveWaveJson); break;
        case C::SaveCsv: saveAs(c, &frmTiming::SaveCsv); break;
        case C::CopyCsv: QApplication::clipboard()->setText(Csv()); break;
    }
}

void frmTiming::Retranslate() {
    setWindowTitle(T("frmTiming"));
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) b->setText(T(b->objectName()));
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

void frmTiming::saveAs(const bitwell::TimingControl& c, bool (frmTiming::*save)(const QString&)) {
    const QString file = L(c.file);
    const QString suffix = file.section(QLatin1Char('.'), -1);
    QString path = QFileDialog::getSaveFileName(this, Q(bitwell::TimingSaveTitle(suffix.toStdString())), file,
                                                T(L(c.filter)));
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
    TimingDiagram::Paint(p, bitwell::LayoutTiming(m_trace, frame));
    p.end();
    return image.save(path, "PNG") || failed(path);
}
