#include "ui/frmMain.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <QMessageBox>
#include <QScreen>
#include <utility>

#include "ui/Accessibles.h"
#include "ui/Caption.h"
#include "ui/Controls.h"
#include "ui/HoverHelp.h"
#include "ui/DataEntry.h"
#include "ui/Layout.h"
#include "ui/Shapes.h"
#include "ui/Switch.h"
#include "ui/frmAbout.h"
#include "ui/frmTiming.h"

using bitwell::Control;

namespace {

QString DefaultStatus() {
    return QCoreApplication::translate(
        "frmMain", "Hover your mouse over a control signal label to see a description.");
}
const QColor kBlue(0, 0, 255);

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

template <class W>
W* Named(W* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

CaptionLabel* MakeCaption(QWidget* parent, const char* name, const QString& caption,
                          const QRect& geometry, const QColor& colour = QColor()) {
    auto* label = new CaptionLabel(QLatin1String(name), caption, geometry, parent);
    if (colour.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
    }
    return label;
}

void MakeLine(QWidget* parent, const char* name, int x1, int y1, int x2, int y2,
              const QColor& colour) {
    auto* line = new Line(QPoint(Px(x1), Px(y1)), QPoint(Px(x2), Px(y2)), colour, parent);
    line->setObjectName(QLatin1String(name));
}

Switch* MakeSwitch(QWidget* parent, const QString& name, const QRect& geometry) {
    return Named(new Switch(parent), name, geometry);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_panel(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Quorin Bitwell"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setWindowIcon(AppIcon());
    InstallAccessibles();

    m_surface = new QWidget(this);
    m_surface->setObjectName(QStringLiteral("Form"));
    m_surface->setFixedSize(Px(8895), Px(6765));
    setCentralWidget(m_surface);

    buildSignalPanel();
    buildListings();
    buildMenus();
    connectHandlers();
    nameForAssistiveTechnology();
    setFocusOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// The diagram reads the panel's trace: it goes first, while the panel and
// the menu it unchecks still stand.
frmMain::~frmMain() { delete m_timing; }

void frmMain::buildSignalPanel() {
    Frame3 = Named(new Group(tr("Memory Signals"), m_surface),
                   QStringLiteral("Frame3"), Twips(120, 120, 4575, 6255));
    QWidget* f = Frame3;
    const QColor text = palette().color(QPalette::WindowText);
    const QBrush highlight = palette().brush(QPalette::Highlight);

    // Lowest first: the outline, then the lower-half background, then the lamp.
    for (int k = 0; k < 16; ++k)
        borderRead[k] = Named(new Shape(Qt::NoBrush, text, f), Indexed("borderRead", 16 + k),
                              Twips(405 + 240 * k, 3960, 135, 1215));
    for (int k = 0; k < 16; ++k)
        backgroundRead[k] =
            Named(new Shape(highlight, Qt::black, f), Indexed("backgroundRead", 16 + k),
                  Twips(405 + 240 * k, 4560, 135, 615));
    for (int i = 0; i < 16; ++i) {
        sigRead[i] = Named(new Shape(highlight, text, f), Indexed("sigRead", i),
                           Twips(4005 - 240 * i, 3960, 135, 1215));
        sigRead[i]->SetLamp(true);
    }

    sigWE = MakeSwitch(f, QStringLiteral("sigWE"), Twips(405, 360, 255, 1215));
    sigCE = MakeSwitch(f, QStringLiteral("sigCE"), Twips(885, 360, 255, 1215));
    sigOE = MakeSwitch(f, QStringLiteral("sigOE"), Twips(1365, 360, 255, 1215));
    sigLB = MakeSwitch(f, QStringLiteral("sigLB"), Twips(1845, 360, 255, 1215));
    sigUB = MakeSwitch(f, QStringLiteral("sigUB"), Twips(2325, 360, 255, 1215));
    for (int i = 0; i < 4; ++i)
        sigAddr[i] = MakeSwitch(f, Indexed("sigAddr", i), Twips(3885 - 360 * i, 360, 255, 1215));
    for (int i = 0; i < 16; ++i)
        sigData[i] = MakeSwitch(f, Indexed("sigData", i), Twips(4005 - 240 * i, 2280, 135, 1215));

    const QColor black(0, 0, 0);
    lblWE = MakeCaption(f, "lblWE", tr("WE"), Twips(405, 1680, 375, 255), black);
    lblCE = MakeCaption(f, "lblCE", tr("CE"), Twips(915, 1680, 375, 255), black);
    lblOE = MakeCaption(f, "lblOE", tr("OE"), Twips(1395, 1680, 375, 255), black);
    lblLB = MakeCaption(f, "lblLB", tr("LB"), Twips(1890, 1680, 375, 255), black);
    lblUB = MakeCaption(f, "lblUB", tr("UB"), Twips(2340, 1680, 375, 255), black);
    lblAddrTitle = MakeCaption(f, "lblAddrTitle", tr("Address: 0x"),
                               Twips(3045, 1680, 915, 255));
    lblAddr = MakeCaption(f, "lblAddr", QStringLiteral("0"), Twips(3870, 1680, 315, 255));
    // Each value caption starts where its title's box still runs: keep the
    // title's text clear of it so that "0x" is never covered.
    lblAddrTitle->SetTextLimit(Px(3870 - 3045));

    // Over-bars mark the five signals as active LOW.
    const struct {
        const char* name;
        int x1, x2;
    } bars[] = {{"Line1", 390, 675}, {"Line2", 870, 1155}, {"Line4", 1365, 1650},
                {"Line7", 1845, 2130}, {"Line6", 2295, 2580}};
    for (const auto& bar : bars) MakeLine(f, bar.name, bar.x1, 1665, bar.x2, 1665, text);

    MakeCaption(f, "Label2", tr("High Byte"), Twips(1035, 1995, 765, 195), kBlue);
    MakeCaption(f, "Label1", tr("Low Byte"), Twips(2775, 1995, 765, 195), kBlue);
    MakeLine(f, "Line3", 2265, 2265, 2265, 3510, kBlue);
    MakeLine(f, "Line5", 2265, 3960, 2265, 5205, kBlue);

    lblDataTitle = MakeCaption(f, "lblDataTitle", tr("Data Input: 0x"),
                               Twips(1515, 3600, 1065, 255));
    lblData = MakeCaption(f, "lblData", QStringLiteral("0000"), Twips(2520, 3600, 450, 255));
    lblDataTitle->SetTextLimit(Px(2520 - 1515));
    lblReadTitle = MakeCaption(f, "lblReadTitle", tr("Data Read: 0x"),
                               Twips(1530, 5280, 1035, 255));
    lblRead = MakeCaption(f, "lblRead", QStringLiteral("0000"), Twips(2565, 5280, 435, 255));

    const struct {
        const char* name;
        const char* mark;
        int top;
    } marks[] = {{"Label9", "1", 480},  {"Label10", "0", 1200}, {"Label6", "1", 2400},
                 {"Label5", "0", 3120}, {"Label7", "1", 4080},  {"Label8", "0", 4800}};
    for (const auto& m : marks)
        MakeCaption(f, m.name, QLatin1String(m.mark), Twips(240, m.top, 135, 255), kBlue);
}

void frmMain::buildListings() {
    Frame2 = Named(new Group(tr("Memory Contents"), m_surface),
                   QStringLiteral("Frame2"), Twips(4920, 120, 3855, 2775));
    lblContents = MakeCaption(Frame2, "lblContents", QString(), Twips(240, 360, 2655, 2175));
    lblContents->setFont(ListingFont(12));

    Frame1 = Named(new Group(tr("Data Type Representation"), m_surface),
                   QStringLiteral("Frame1"), Twips(4920, 3000, 3855, 3375));
    MakeCaption(Frame1, "Label3", tr("Treat representation as:"),
                Twips(240, 360, 1815, 255));
    optBig = Named(new QRadioButton(tr("Big Endian"), Frame1), QStringLiteral("optBig"),
                   Twips(240, 600, 1095, 255));
    optLittle = Named(new QRadioButton(tr("Little Endian"), Frame1),
                      QStringLiteral("optLittle"), Twips(1680, 600, 1215, 255));
    optBig->setChecked(true);
    lblTypes = MakeCaption(Frame1, "lblTypes", QString(), Twips(240, 960, 3255, 2265));
    lblTypes->setFont(ListingFont(8.25));

    lblStatus = MakeCaption(m_surface, "lblStatus", DefaultStatus(), Twips(0, 6480, 8895, 255));
}

void frmMain::buildMenus() {
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileExit = mnuFile->addAction(tr("&Exit"));
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    // Keyboard parity for the two double-click gestures.
    mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditEnter = mnuEdit->addAction(tr("&Enter Data Word..."));
    mnuEditEnter->setObjectName(QStringLiteral("mnuEditEnter"));
    mnuEditEnter->setShortcut(QKeySequence(Qt::Key_F2));
    mnuEditCopyRead = mnuEdit->addAction(tr("&Copy Read to Input"));
    mnuEditCopyRead->setObjectName(QStringLiteral("mnuEditCopyRead"));
    mnuEditCopyRead->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuView = menuBar()->addMenu(tr("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewTiming = mnuView->addAction(tr("&Timing Diagram"));
    mnuViewTiming->setObjectName(QStringLiteral("mnuViewTiming"));
    mnuViewTiming->setCheckable(true);
    mnuViewTiming->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    // Ctrl+T hides the diagram from its own window too.
    mnuViewTiming->setShortcutContext(Qt::ApplicationShortcut);
    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = mnuHelp->addAction(tr("&About..."));
    mnuHelpAbout->setObjectName(QStringLiteral("mnuHelpAbout"));
}

void frmMain::connectHandlers() {
    connect(sigCE, &Switch::Change, this, &frmMain::sigCE_Change);
    connect(sigOE, &Switch::Change, this, &frmMain::sigOE_Change);
    connect(sigWE, &Switch::Change, this, &frmMain::sigWE_Change);
    connect(sigLB, &Switch::Change, this, &frmMain::sigLB_Change);
    connect(sigUB, &Switch::Change, this, &frmMain::sigUB_Change);
    for (int i = 0; i < 4; ++i)
        connect(sigAddr[i], &Switch::Change, this, [this, i] { sigAddr_Change(i); });
    for (int i = 0; i < 16; ++i)
        connect(sigData[i], &Switch::Change, this, [this, i] { sigData_Change(i); });
    connect(lblAddr, &CaptionLabel::Change, this, &frmMain::lblAddr_Change);
    connect(lblData, &CaptionLabel::Change, this, &frmMain::lblData_Change);
    connect(lblRead, &CaptionLabel::Change, this, &frmMain::lblRead_Change);
    connect(optBig, &QAbstractButton::clicked, this, &frmMain::optBig_Click);
    connect(optLittle, &QAbstractButton::clicked, this, &frmMain::optLittle_Click);
    connect(lblData, &CaptionLabel::DblClick, this, &frmMain::lblData_DblClick);
    connect(lblRead, &CaptionLabel::DblClick, this, &frmMain::lblRead_DblClick);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(mnuEditEnter, &QAction::triggered, this, &frmMain::lblData_DblClick);
    connect(mnuEditCopyRead, &QAction::triggered, this, &frmMain::lblRead_DblClick);
    connect(mnuViewTiming, &QAction::triggered, this, &frmMain::mnuViewTiming_Click);

    // Hover help: each target replaces the status line on every pointer move.
    const QString addressHelp = tr("Address range: 0x0 - 0xF (0 - 15).");
    m_hover = new HoverHelp([this](const QString& text) { SetStatus(text); }, this);
    const auto hover = [this](QWidget* target, const QString& text) {
        m_hover->AddTarget(target, text);
        // What the pointer explains, a screen reader reads out.
        if (text != DefaultStatus()) target->setAccessibleDescription(text);
    };
    hover(m_surface, DefaultStatus());
    hover(Frame1, DefaultStatus());
    hover(Frame3, DefaultStatus());
    hover(lblTypes, DefaultStatus());
    hover(lblCE, tr("Chip Enable signal. Active LOW."));
    hover(lblOE, tr("Output Enable signal. Active LOW."));
    hover(lblWE, tr("Write Enable signal. Active LOW."));
    hover(lblLB, tr("Lower Byte Enable signal. Active LOW."));
    hover(lblUB, tr("Upper Byte Enable signal. Active LOW."));
    hover(lblAddr, addressHelp);
    hover(lblAddrTitle, addressHelp);
    hover(lblDataTitle, tr("Data to be written: 16 bits."));
    hover(lblData, tr("Double click here to enter the data textually."));
    hover(lblReadTitle, tr("Data from the last read operation: 16 bits."));
    hover(lblRead,
          tr("Double click here to copy the read data to the input data above."));
    hover(optBig, tr("Selecting this option will treat the word at the starting "
                     "address as the high word."));
    hover(optLittle, tr("Selecting this option will treat the word at the starting "
                        "address as the low word."));
}

void frmMain::nameForAssistiveTechnology() {
    const struct {
        Switch* sw;
        const char* name;
        CaptionLabel* caption;
    } levels[] = {{sigCE, "Chip enable, active low", lblCE},
                  {sigOE, "Output enable, active low", lblOE},
                  {sigWE, "Write enable, active low", lblWE},
                  {sigLB, "Lower byte enable, active low", lblLB},
                  {sigUB, "Upper byte enable, active low", lblUB}};
    for (const auto& l : levels) {
        l.sw->setAccessibleName(QLatin1String(l.name));
        l.sw->setAccessibleDescription(l.caption->accessibleDescription());
        // What the pointer cannot tell: which signal a switch drives.
        l.sw->setToolTip(l.caption->Caption());
    }
    for (int i = 0; i < 4; ++i) {
        sigAddr[i]->setAccessibleName(tr("Address bit %1").arg(i));
        sigAddr[i]->setToolTip(QStringLiteral("A%1").arg(i));
    }
    for (int i = 0; i < 16; ++i) {
        sigData[i]->setAccessibleName(tr("Data bit %1").arg(i));
        sigData[i]->setToolTip(QStringLiteral("D%1").arg(i));
        sigRead[i]->setAccessibleName(tr("Read bit %1").arg(i));
        // The lamp's whole column, lit or dark.
        m_hover->AddTip(Frame3, sigRead[i]->geometry(), QStringLiteral("Q%1").arg(i));
    }
    // The keyboard way to the two double-click gestures.
    lblData->setAccessibleDescription(
        tr("Double click here or press F2 to enter the data textually."));
    lblRead->setAccessibleDescription(
        tr("Double click here or press Ctrl+R to copy the read data to the input data above."));
    lblAddr->setAccessibleName(tr("Address"));
    lblData->setAccessibleName(tr("Data input"));
    lblRead->setAccessibleName(tr("Data read"));
    lblContents->setAccessibleName(tr("Memory contents"));
    lblTypes->setAccessibleName(tr("Data type representation"));
    lblStatus->setAccessibleName(tr("Status"));
}

void frmMain::setFocusOrder() {
    QList<QWidget*> order{sigUB};
    for (const int first : {3, 7, 11, 15})
        for (int i = first; i > first - 4; --i) order << sigData[i];
    for (int i = 0; i < 4; ++i) order << sigAddr[i];
    order << sigOE << sigLB << sigCE << sigWE << optBig << optLittle;
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    sigUB->setFocus();
}

void frmMain::Form_Load() { m_panel.Form_Load(); }

void frmMain::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

// ---- What the panel tells the window ----

Switch* frmMain::levelSwitch(Control c) const {
    switch (c) {
        case Control::CE: return sigCE;
        case Control::OE: return sigOE;
        case Control::WE: return sigWE;
        case Control::LB: return sigLB;
        case Control::UB: return sigUB;
    }
    return sigCE;
}

template <class F>
void frmMain::Draw(F&& draw) {
    const bool outer = std::exchange(m_drawing, true);
    draw();
    m_drawing = outer;
}

template <class F>
void frmMain::Carry(bitwell::Cascade& then, F&& set) {
    bitwell::Cascade* const outer = std::exchange(m_then, &then);
    set();
    // A control that did not notify leaves the rest to the panel.
    m_then = outer;
}

bool frmMain::CarryOn() {
    bitwell::Cascade* const then = std::exchange(m_then, nullptr);
    if (then) (*then)();
    return then != nullptr || m_drawing;
}

void frmMain::levelChanged(Control c, int value, bitwell::Cascade& then) {
    Carry(then, [&] { levelSwitch(c)->SetValue(value); });
}
void frmMain::addressBitChanged(int bit, int value, bitwell::Cascade& then) {
    Carry(then, [&] { sigAddr[static_cast<std::size_t>(bit) & 3]->SetValue(value); });
}
void frmMain::dataBitChanged(int bit, int value, bitwell::Cascade& then) {
    Carry(then, [&] { sigData[static_cast<std::size_t>(bit) & 15]->SetValue(value); });
}
void frmMain::addressTextChanged(const std::string& text) {
    Draw([&] { lblAddr->SetCaption(Text(text)); });
}
void frmMain::dataTextChanged(const std::string& text, bitwell::Cascade& then) {
    Carry(then, [&] { lblData->SetCaption(Text(text)); });
}
void frmMain::readTextChanged(const std::string& text, bitwell::Cascade& then) {
    Carry(then, [&] { lblRead->SetCaption(Text(text)); });
}
void frmMain::lampChanged(int bit, bool lit) {
    Shape* lamp = sigRead[static_cast<std::size_t>(bit) & 15];
    lamp->setVisible(lit);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(lamp, lit ? 1 : 0);
        QAccessible::updateAccessibility(&event);
    }
}
void frmMain::contentsChanged(const std::string& text) { lblContents->SetCaption(Text(text)); }
void frmMain::typesChanged(const std::string& text) { lblTypes->SetCaption(Text(text)); }
void frmMain::orderChanged(bool bigEndian) {
    Draw([&] { (bigEndian ? optBig : optLittle)->setChecked(true); });
}
void frmMain::stepRecorded(const bitwell::TraceStep&) {
    if (m_timing && m_timing->isVisible()) m_timing->TraceChanged();
}
void frmMain::traceCleared() {
    if (m_timing) m_timing->TraceChanged();
}

// ---- What the user does, forwarded to the panel ----

void frmMain::sigCE_Change() {
    if (!CarryOn()) m_panel.MoveLevel(Control::CE, sigCE->Value());
}
void frmMain::sigOE_Change() {
    if (!CarryOn()) m_panel.MoveLevel(Control::OE, sigOE->Value());
}
void frmMain::sigWE_Change() {
    if (!CarryOn()) m_panel.MoveLevel(Control::WE, sigWE->Value());
}
void frmMain::sigLB_Change() {
    if (!CarryOn()) m_panel.MoveLevel(Control::LB, sigLB->Value());
}
void frmMain::sigUB_Change() {
    if (!CarryOn()) m_panel.MoveLevel(Control::UB, sigUB->Value());
}
void frmMain::sigAddr_Change(int index) {
    if (!CarryOn()) m_panel.MoveAddressBit(index, sigAddr[static_cast<std::size_t>(index)]->Value());
}
void frmMain::sigData_Change(int index) {
    if (!CarryOn()) m_panel.MoveDataBit(index, sigData[static_cast<std::size_t>(index)]->Value());
}
// A caption set from outside the panel (a tool or a test writing the
// property) is a change like any other.
void frmMain::lblAddr_Change() {
    if (!CarryOn()) m_panel.SetAddressText(lblAddr->Caption().toStdString());
}
void frmMain::lblData_Change() {
    if (!CarryOn()) m_panel.SetDataText(lblData->Caption().toStdString());
}
void frmMain::lblRead_Change() {
    if (!CarryOn()) m_panel.SetReadText(lblRead->Caption().toStdString());
}
void frmMain::optBig_Click() { m_panel.ChooseOrder(true); }
void frmMain::optLittle_Click() { m_panel.ChooseOrder(false); }

// ---- Data entry and copy ----

void frmMain::lblData_DblClick() {
    bool ok = false;
    QString answer = QInputDialog::getText(
        this, tr("Memory Input Data"),
        tr("Please enter a hexadecimal value (truncated to 4 digits):"),
        QLineEdit::Normal, Text(m_panel.dataText()), &ok);
    if (!ok) answer.clear();

    const bitwell::TypedEntry entry = m_panel.EnterTypedWord(TypedCharacters(answer));
    if (entry.kind != bitwell::TypedEntry::Kind::Invalid) return;
    QMessageBox box(QMessageBox::Warning, tr("Data Input Error"),
                    QString::fromStdU16String(entry.text), QMessageBox::Ok, this);
    // The answer is the user's text: never let it be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmMain::lblRead_DblClick() { m_panel.CopyReadToData(); }

// ---- Hover help, menus and exit ----

void frmMain::SetStatus(const QString& text) { lblStatus->SetCaption(text); }

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::mnuViewTiming_Click(bool checked) {
    if (!checked) {
        if (m_timing) m_timing->hide();
        return;
    }
    if (!m_timing) {
        m_timing = new frmTiming(m_panel.trace(), [this] { m_panel.ClearTrace(); }, this,
                                 [this] { m_panel.UndoClearTrace(); });
        connect(m_timing, &frmTiming::Hidden, this, [this] { mnuViewTiming->setChecked(false); });
        m_timing->PlaceBeside(this, findChild<QWidget*>(QStringLiteral("frmExercise")));
    }
    m_timing->TraceChanged();
    m_timing->show();
    m_timing->raise();
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmMain::closeEvent(QCloseEvent* event) { Form_Unload(event); }

void frmMain::Form_Unload(QCloseEvent* event) {
    // A second close request while the question is open adds no second box.
    if (m_askingToExit) {
        event->ignore();
        return;
    }
    m_askingToExit = true;
    QMessageBox box(QMessageBox::Question, tr("Exit Confirmation"),
                    tr("Are you sure that you want to exit?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    const bool yes = box.exec() == QMessageBox::Yes;
    m_askingToExit = false;
    if (!yes) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}
