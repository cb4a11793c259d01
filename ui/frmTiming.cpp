#include "ui/frmTiming.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QSvgGenerator>

#include "ui/Layout.h"
#include "ui/TimingDiagram.h"

frmTiming::frmTiming(const bitwell::Trace& trace, std::function<void()> clear, QWidget* parent)
    : QWidget(parent, Qt::Window), m_trace(trace), m_clear(std::move(clear)) {
    setObjectName(QStringLiteral("frmTiming"));
    setWindowTitle(tr("Timing Diagram"));
    setWindowIcon(AppIcon());
    resize(720, 340);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button("cmdClear", tr("C&lear"), [this] { m_clear(); });
    button("cmdZoomIn", tr("Zoom &In"), [this] { m_diagram->SetZoom(m_diagram->Zoom() * 2); });
    button("cmdZoomOut", tr("Zoom &Out"), [this] { m_diagram->SetZoom(m_diagram->Zoom() / 2); });
    buttons->addStretch();
    button("cmdSaveSvg", tr("Save as &SVG..."),
           [this] { saveAs(tr("SVG images (*.svg)"), QStringLiteral("svg"), &frmTiming::SaveSvg); });
    button("cmdSavePng", tr("Save as &PNG..."),
           [this] { saveAs(tr("PNG images (*.png)"), QStringLiteral("png"), &frmTiming::SavePng); });
    button("cmdSaveCsv", tr("Save as &CSV..."),
           [this] { saveAs(tr("CSV files (*.csv)"), QStringLiteral("csv"), &frmTiming::SaveCsv); });

    m_diagram = new TimingDiagram(trace, this);
    m_diagram->setObjectName(QStringLiteral("diagram"));
    m_diagram->setAccessibleName(tr("Timing diagram"));
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("scroll"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setText(tr("Point at a step, or use Left and Right, to see what it did."));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_diagram, 1);
    layout->addWidget(m_scroll);
    layout->addWidget(m_status);

    connect(m_diagram, &TimingDiagram::SelectionChanged, this, &frmTiming::showStep);
    connect(m_diagram, &TimingDiagram::ViewChanged, this, &frmTiming::syncScrollBar);
    connect(m_scroll, &QScrollBar::valueChanged, m_diagram, &TimingDiagram::SetFirstStep);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this,
            [this] { QApplication::clipboard()->setText(Csv()); });
    setFocusProxy(m_diagram);
    syncScrollBar();
}

QString frmTiming::Csv() const { return QString::fromStdString(m_trace.Csv()); }

void frmTiming::TraceChanged() { m_diagram->TraceChanged(); }

void frmTiming::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised is still open; only a real hide unchecks the menu.
    if (!isVisible()) emit Hidden();
}

void frmTiming::showStep(int index) {
    const QString line = index < 0 ? QString()
                                   : QString::fromStdString(bitwell::Trace::Describe(
                                         m_trace[static_cast<std::size_t>(index)]));
    m_status->setText(line);
    // A screen reader hears the same sentence as the status line shows.
    m_diagram->setAccessibleDescription(line);
    QAccessibleEvent event(m_diagram, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void frmTiming::syncScrollBar() {
    const QSignalBlocker block(m_scroll);
    const int visible = m_diagram->VisibleSteps();
    m_scroll->setRange(0, qMax(0, static_cast<int>(m_trace.size()) - visible));
    m_scroll->setPageStep(visible);
    m_scroll->setValue(m_diagram->FirstStep());
}

void frmTiming::saveAs(const QString& filter, const QString& suffix,
                       bool (frmTiming::*save)(const QString&)) {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Timing Diagram"),
                                                QStringLiteral("timing.") + suffix, filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        path += QLatin1Char('.') + suffix;
    (this->*save)(path);
}

bool frmTiming::failed(const QString& path) {
    QMessageBox::warning(this, tr("Save Timing Diagram"),
                         tr("The file %1 could not be written.").arg(path));
    return false;
}

namespace {

// The steps in view, drawn at their on-screen size.
struct View {
    int first;
    int count;
    QSize size;
};

View InView(const TimingDiagram& d, std::size_t steps) {
    return {d.FirstStep(), qMin(d.VisibleSteps(), static_cast<int>(steps) - d.FirstStep()), d.size()};
}

}  // namespace

bool frmTiming::SaveSvg(const QString& path) {
    const View v = InView(*m_diagram, m_trace.size());
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(v.size);
    svg.setViewBox(QRect(QPoint(0, 0), v.size));
    svg.setTitle(tr("Timing Diagram"));
    QPainter p;
    if (!p.begin(&svg)) return failed(path);
    m_diagram->Paint(p, v.size, v.first, v.count);
    if (!p.end()) return failed(path);
    return QFile::exists(path) || failed(path);
}

bool frmTiming::SavePng(const QString& path) {
    const View v = InView(*m_diagram, m_trace.size());
    QImage image(v.size, QImage::Format_RGB32);
    QPainter p(&image);
    m_diagram->Paint(p, v.size, v.first, v.count);
    p.end();
    return image.save(path, "PNG") || failed(path);
}

bool frmTiming::SaveCsv(const QString& path) {
    QSaveFile file(path);
    const QByteArray csv = Csv().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit())
        return failed(path);
    return true;
}
