#include "ui/frmMain.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "core/WindowDescription.h"

#include "ui/Accessibles.h"
#include "ui/Caption.h"
#include "ui/Controls.h"
#include "ui/DataEntry.h"
#include "ui/HoverHelp.h"
#include "ui/Layout.h"
#include "ui/MessageBoxes.h"
#include "ui/Shapes.h"
#include "ui/Switch.h"
#include "ui/Translation.h"
#include "ui/frmExercise.h"
#include "ui/frmTiming.h"

using bitwell::Control;

namespace {

const QColor kBlue(0, 0, 255);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QRect Place(const bitwell::ControlSpec& c) { return Twips(c.left, c.top, c.width, c.height); }

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_panel(this) {
    // A new window speaks English; the program's entry chooses for the user.
    ApplyLanguage(QStringLiteral("en"));
    const bitwell::WindowSpec& window = bitwell::MainWindow();
    setObjectName(QLatin1String(window.name));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setWindowIcon(AppIcon());
    InstallAccessibles();

    m_surface = new QWidget(this);
    m_surface->setObjectName(QStringLiteral("Form"));
    m_surface->setFixedSize(Px(window.width), Px(window.height));
    setCentralWidget(m_surface);
    setAcceptDrops(true);

    buildControls();
    // Says what each action did to assistive technology, never on screen:
    // it takes the sentence as its name and is shown again, since Qt 6.4
    // has no announcement of its own on AT-SPI.
    m_announce = new QWidget(m_surface);
    m_announce->setObjectName(QStringLiteral("lblAnnounce"));
    m_announce->setGeometry(0, 0, 1, 1);
    m_announce->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_announce->setFocusPolicy(Qt::NoFocus);
    m_announce->hide();
    buildMenus();
    connectHandlers();
    retranslate();
    setFocusOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// The diagram reads the panel's trace and the exercise window the session:
// they go first, while the panel, the session and the menus still stand.
frmMain::~frmMain() {
    delete m_timing;
    delete m_exercise;
    m_session.setListener(nullptr);
}

// Every control of the description, lowest first, in its design-time state.
void frmMain::buildControls() {
    using bitwell::ControlKind;
    const QColor text = palette().color(QPalette::WindowText);
    const QBrush highlight = palette().brush(QPalette::Highlight);
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls()) {
        QWidget* parent = c.parent.empty() ? m_surface : named(c.parent);
        const QColor colour = c.colour == bitwell::Colour::Blue    ? kBlue
                              : c.colour == bitwell::Colour::Black ? QColor(0, 0, 0)
                                                                   : text;
        QWidget* made = nullptr;
        switch (c.kind) {
            case ControlKind::Group: made = new Group(QString(), parent); break;
            case ControlKind::LampBorder: made = new Shape(Qt::NoBrush, text, parent); break;
            case ControlKind::LampBack: made = new Shape(highlight, Qt::black, parent); break;
            case ControlKind::Lamp: {
                auto* lamp = new Shape(highlight, text, parent);
                lamp->SetLamp(c.value != 0);
                made = lamp;
                break;
            }
            case ControlKind::Switch: made = new Switch(parent); break;
            case ControlKind::Button: made = new QPushButton(parent); break;
            case ControlKind::Line:
                made = new Line(QPoint(Px(c.left), Px(c.top)), QPoint(Px(c.width), Px(c.height)),
                                colour, parent);
                break;
            case ControlKind::Option: {
                auto* option = new QRadioButton(parent);
                option->setChecked(c.value != 0);
                made = option;
                break;
            }
            case ControlKind::Caption: {
                auto* label = new CaptionLabel(Text(c.name), Translated(c.caption), Place(c), parent);
                if (c.colour != bitwell::Colour::Default) {
                    QPalette pal = label->palette();
                    pal.setColor(QPalette::WindowText, colour);
                    label->setPalette(pal);
                }
                if (c.face == bitwell::Face::Listing12) label->setFont(ListingFont(12));
                if (c.face == bitwell::Face::Listing8) label->setFont(ListingFont(8.25));
                // Each value caption starts where its title's box still runs:
                // keep the title's text clear of it so that "0x" is never covered.
                if (c.textLimit >= 0) label->SetTextLimit(Px(c.textLimit));
                made = label;
                break;
            }
        }
        made->setObjectName(Text(c.name));
        if (c.kind != ControlKind::Line) made->setGeometry(Place(c));
        m_named.emplace(c.name, made);
    }
}

// What the user does to a control reaches the panel; one helper per family.
void frmMain::connectHandlers() {
    const auto onSwitch = [this](Switch* sw, auto handler) { connect(sw, &Switch::Change, this, handler); };
    for (std::size_t i = 0; i < bitwell::kControlCount; ++i) {
        const auto c = static_cast<Control>(i);
        onSwitch(levelSwitch(c), [this, c] { levelSwitch_Change(c); });
    }
    for (int i = 0; i < 4; ++i) onSwitch(named<Switch>("sigAddr", i), [this, i] { sigAddr_Change(i); });
    for (int i = 0; i < 16; ++i) onSwitch(named<Switch>("sigData", i), [this, i] { sigData_Change(i); });
    const auto onCaption = [this](const char* name, void (frmMain::*change)(), void (frmMain::*dblClick)()) {
        connect(named<CaptionLabel>(name), &CaptionLabel::Change, this, change);
        if (dblClick) connect(named<CaptionLabel>(name), &CaptionLabel::DblClick, this, dblClick);
    };
    onCaption("lblAddr", &frmMain::lblAddr_Change, nullptr);
    onCaption("lblData", &frmMain::lblData_Change, &frmMain::lblData_DblClick);
    onCaption("lblRead", &frmMain::lblRead_Change, &frmMain::lblRead_DblClick);
    connect(named<QRadioButton>("optBig"), &QAbstractButton::clicked, this, &frmMain::optBig_Click);
    connect(named<QRadioButton>("optLittle"), &QAbstractButton::clicked, this, &frmMain::optLittle_Click);

    // Hover help: each target replaces the status line on every pointer
    // move. The switches, the memory listing, the plain labels and the
    // status line have no text: the pointer there leaves the status line alone.
    m_hover = new HoverHelp([this](const QString& text) { showStatus(text); }, this);
    m_hover->AddTarget(m_surface, QString());
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls()) {
        if (!c.help.empty()) m_hover->AddTarget(named(c.name), QString());
        // The lamp's whole column, lit or dark: shapes take no input, so its
        // tip belongs to the group beneath it.
        if (c.kind == bitwell::ControlKind::Lamp)
            m_hover->AddTip(named(c.parent), Place(c), Translated(c.tooltip, c.arg));
    }
    m_hover->Quieten(m_surface);
}

// Every text the description gives, in the current language: captions,
// titles, hover help, accessible names and descriptions, tooltips and
// menus. The panel's own texts (address, data, read, listings) stay.
void frmMain::retranslate() {
    setWindowTitle(Translated(bitwell::MainWindow().title));
    const QString defaultHelp = Translated(bitwell::MainWindow().defaultHelp);
    m_hover->AddTarget(m_surface, defaultHelp);
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls()) {
        QWidget* w = named(c.name);
        const QString caption = Translated(c.caption, c.arg);
        switch (c.kind) {
            case bitwell::ControlKind::Group: static_cast<Group*>(w)->setTitle(caption); break;
            case bitwell::ControlKind::Option: static_cast<QRadioButton*>(w)->setText(caption); break;
            case bitwell::ControlKind::Caption:
                if (!c.caption.empty() && c.caption.context) static_cast<CaptionLabel*>(w)->SetCaption(caption);
                break;
            default: break;
        }
        if (!c.help.empty()) m_hover->AddTarget(w, Translated(c.help, c.arg));
        if (!c.accessibleName.empty()) w->setAccessibleName(Translated(c.accessibleName, c.arg));
        if (!c.accessibleDescription.empty())
            w->setAccessibleDescription(Translated(c.accessibleDescription, c.arg));
        if (!c.tooltip.empty() && c.kind != bitwell::ControlKind::Lamp) w->setToolTip(Translated(c.tooltip, c.arg));
    }
    showStatus(defaultHelp);
    retranslateMenus();
    if (m_exercise) m_exercise->Refresh();
}

void frmMain::setFocusOrder() {
    QList<QPair<int, QWidget*>> order;
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls())
        if (c.tab >= 0) order.append({c.tab, named(c.name)});
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1].second, order[i].second);
    order.first().second->setFocus();
}

bool frmMain::SetLanguage(const QString& code) {
    if (!ApplyLanguage(code)) return false;
    // Qt sends its LanguageChange events only once the event loop runs, and
    // the language must change at once: each window is told here.
    retranslate();
    m_panel.Retranslate();
    if (m_timing) m_timing->Retranslate();
    return true;
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
    return named<Switch>(bitwell::LevelSwitchName(c));
}

template <class F>
void frmMain::setSilently(F&& set) {
    const bool outer = std::exchange(m_silent, true);
    set();
    m_silent = outer;
}

template <class F>
void frmMain::setCarrying(bitwell::Cascade& then, F&& set) {
    bitwell::Cascade* const outer = std::exchange(m_then, &then);
    set();
    // A control that did not notify leaves the rest to the panel.
    m_then = outer;
}

bool frmMain::carriedFromPanel() {
    bitwell::Cascade* const then = std::exchange(m_then, nullptr);
    if (then) (*then)();
    return then != nullptr || m_silent;
}

void frmMain::levelChanged(Control c, int value, bitwell::Cascade& then) {
    setCarrying(then, [&] { levelSwitch(c)->SetValue(value); });
}
void frmMain::addressBitChanged(int bit, int value, bitwell::Cascade& then) {
    setCarrying(then, [&] { named<Switch>("sigAddr", bit & 3)->SetValue(value); });
}
void frmMain::dataBitChanged(int bit, int value, bitwell::Cascade& then) {
    setCarrying(then, [&] { named<Switch>("sigData", bit & 15)->SetValue(value); });
}
void frmMain::addressTextChanged(const std::string& text) {
    setSilently([&] { named<CaptionLabel>("lblAddr")->SetCaption(Text(text)); });
}
void frmMain::dataTextChanged(const std::string& text, bitwell::Cascade& then) {
    setCarrying(then, [&] { named<CaptionLabel>("lblData")->SetCaption(Text(text)); });
}
void frmMain::readTextChanged(const std::string& text, bitwell::Cascade& then) {
    setCarrying(then, [&] { named<CaptionLabel>("lblRead")->SetCaption(Text(text)); });
}
void frmMain::lampChanged(int bit, bool lit) {
    Shape* lamp = named<Shape>("sigRead", bit & 15);
    lamp->setVisible(lit);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(lamp, changed);
        QAccessible::updateAccessibility(&event);
    }
}
void frmMain::contentsChanged(const std::string& text) {
    named<CaptionLabel>("lblContents")->SetCaption(Text(text));
}
void frmMain::typesChanged(const std::string& text) { named<CaptionLabel>("lblTypes")->SetCaption(Text(text)); }
void frmMain::orderChanged(bool bigEndian) {
    setSilently([&] { named<QRadioButton>(bigEndian ? "optBig" : "optLittle")->setChecked(true); });
}
void frmMain::stepRecorded(const bitwell::TraceStep& step) {
    m_record.Step(step);
    if (m_timing && m_timing->isVisible()) m_timing->TraceChanged();
}
void frmMain::actionEnded(const bitwell::TraceStep& last) {
    m_record.ActionEnded(m_panel);
    QString sentence = QString::fromStdString(bitwell::Trace::DescribeCycle(last));
    if (!m_done.sentence.isEmpty() && m_done.step == last.step)
        sentence = Translated(bitwell::kActionAndDone).arg(sentence, m_done.sentence);
    announce(sentence);
    if (!m_undone.isEmpty()) announce(std::exchange(m_undone, QString()));
    if (!m_undone.isEmpty()) announce(std::exchange(m_undone, QString()));
}

void frmMain::announce(const QString& sentence) {
    m_announce->hide();
    m_announce->setAccessibleName(sentence);
    m_announce->show();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(m_announce, sentence);
    QAccessible::updateAccessibility(&event);
#endif
}

void frmMain::traceCleared() {
    if (m_timing) m_timing->TraceChanged();
}

// ---- What the user does, forwarded to the panel ----

void frmMain::levelSwitch_Change(Control c) {
    if (!carriedFromPanel()) m_panel.MoveLevel(c, levelSwitch(c)->Value());
}
void frmMain::sigAddr_Change(int index) {
    if (!carriedFromPanel()) m_panel.MoveAddressBit(index, named<Switch>("sigAddr", index)->Value());
}
void frmMain::sigData_Change(int index) {
    if (!carriedFromPanel()) m_panel.MoveDataBit(index, named<Switch>("sigData", index)->Value());
}
// A caption set from outside the panel (a tool or a test writing the
// property) is a change like any other.
void frmMain::lblAddr_Change() {
    if (!carriedFromPanel()) m_panel.EditAddressText(named<CaptionLabel>("lblAddr")->Caption().toStdString());
}
void frmMain::lblData_Change() {
    if (!carriedFromPanel()) m_panel.EditDataText(named<CaptionLabel>("lblData")->Caption().toStdString());
}
void frmMain::lblRead_Change() {
    if (!carriedFromPanel()) m_panel.EditReadText(named<CaptionLabel>("lblRead")->Caption().toStdString());
}
void frmMain::optBig_Click() { m_panel.ChooseOrder(true); }
void frmMain::optLittle_Click() { m_panel.ChooseOrder(false); }

// ---- Data entry and copy ----

void frmMain::lblData_DblClick() {
    const QString answer = AskDataWord(this, Text(m_panel.dataText()));
    const bitwell::TypedEntry entry = m_panel.EnterTypedWord(TypedCharacters(answer));
    if (entry.kind == bitwell::TypedEntry::Kind::Invalid)
        ShowWarning(this, bitwell::Dialogs().errorTitle, QString::fromStdU16String(entry.text));
}

void frmMain::lblRead_DblClick() { m_panel.CopyReadToData(); }

void frmMain::showStatus(const QString& text) { named<CaptionLabel>("lblStatus")->SetCaption(text); }

// ---- Exit ----

void frmMain::closeEvent(QCloseEvent* event) { Form_Unload(event); }

void frmMain::Form_Unload(QCloseEvent* event) {
    // A second close request while the question is open adds no second box.
    if (m_askingToExit) {
        event->ignore();
        return;
    }
    m_askingToExit = true;
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    const bool yes = AskYesNo(this, say.exitTitle, say.exitQuestion, true);
    m_askingToExit = false;
    if (!yes) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}
