#include "ui/frmMain.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/TimingPlacement.h"
#include "core/WindowDescription.h"

#include "ui/Accessibles.h"
#include "ui/Caption.h"
#include "ui/Controls.h"
#include "ui/HoverHelp.h"
#include "ui/DataEntry.h"
#include "ui/Layout.h"
#include "ui/Shapes.h"
#include "ui/Switch.h"
#include "ui/Translation.h"
#include "ui/frmAbout.h"
#include "ui/frmExercise.h"
#include "ui/frmTiming.h"

using bitwell::Control;

namespace {

const QColor kBlue(0, 0, 255);

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QRect Place(const bitwell::ControlSpec& c) { return Twips(c.left, c.top, c.width, c.height); }

// The built-in exercises done so far, by file name, remembered like the
// language choice.
QSettings Settings() { return QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")); }
const QString kExercisesDone = QStringLiteral("exercisesDone");
QString BuiltinName(int index) {
    return QString::fromUtf8(bitwell::BuiltinExercises()[static_cast<std::size_t>(index)].name.data(),
                             static_cast<qsizetype>(bitwell::BuiltinExercises()[static_cast<std::size_t>(index)].name.size()));
}

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
        QWidget* parent = c.parent.empty() ? m_surface : m_controls.value(Text(c.parent));
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
        m_controls.insert(Text(c.name), made);
    }

    const auto control = [this](auto*& member, const QString& name) {
        member = static_cast<std::remove_reference_t<decltype(*member)>*>(m_controls.value(name));
    };
    control(Frame1, QStringLiteral("Frame1"));
    control(Frame2, QStringLiteral("Frame2"));
    control(Frame3, QStringLiteral("Frame3"));
    control(sigWE, QStringLiteral("sigWE"));
    control(sigCE, QStringLiteral("sigCE"));
    control(sigOE, QStringLiteral("sigOE"));
    control(sigLB, QStringLiteral("sigLB"));
    control(sigUB, QStringLiteral("sigUB"));
    for (int i = 0; i < 4; ++i) control(sigAddr[i], Indexed("sigAddr", i));
    for (int i = 0; i < 16; ++i) {
        control(sigData[i], Indexed("sigData", i));
        control(sigRead[i], Indexed("sigRead", i));
        control(backgroundRead[i], Indexed("backgroundRead", 16 + i));
        control(borderRead[i], Indexed("borderRead", 16 + i));
    }
    for (auto [member, name] : {std::pair{&lblWE, "lblWE"}, {&lblCE, "lblCE"}, {&lblOE, "lblOE"},
                                {&lblLB, "lblLB"}, {&lblUB, "lblUB"}, {&lblAddrTitle, "lblAddrTitle"},
                                {&lblAddr, "lblAddr"}, {&lblDataTitle, "lblDataTitle"},
                                {&lblData, "lblData"}, {&lblReadTitle, "lblReadTitle"},
                                {&lblRead, "lblRead"}, {&lblContents, "lblContents"},
                                {&lblTypes, "lblTypes"}, {&lblStatus, "lblStatus"}})
        control(*member, QLatin1String(name));
    control(optBig, QStringLiteral("optBig"));
    control(optLittle, QStringLiteral("optLittle"));
}

void frmMain::buildMenus() {
    const auto add = [this](QMenu* menu, const bitwell::MenuItemSpec& spec, auto& self) -> void {
        if (spec.pageOnly) return;
        if (!spec.items.empty()) {
            QMenu* sub = menu->addMenu(QString());
            sub->setObjectName(Text(spec.name));
            auto* group = new QActionGroup(sub);
            for (const bitwell::MenuItemSpec& item : spec.items) {
                self(sub, item, self);
                if (item.exclusive) group->addAction(m_actions.value(Text(item.name)));
            }
            m_submenus.insert(Text(spec.name), sub);
            return;
        }
        if (spec.pageOnly) return;
        QAction* action = menu->addAction(QString());
        action->setObjectName(Text(spec.name));
        action->setCheckable(spec.checkable);
        if (!spec.shortcut.empty())
            action->setShortcut(QKeySequence(Text(spec.shortcut), QKeySequence::PortableText));
        m_actions.insert(Text(spec.name), action);
    };
    for (const bitwell::MenuSpec& spec : bitwell::MainWindowMenus()) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(Text(spec.name));
        m_submenus.insert(Text(spec.name), menu);
        for (const bitwell::MenuItemSpec& item : spec.items) add(menu, item, add);
    }
    mnuFile = m_submenus.value(QStringLiteral("mnuFile"));
    mnuEdit = m_submenus.value(QStringLiteral("mnuEdit"));
    mnuView = m_submenus.value(QStringLiteral("mnuView"));
    mnuHelp = m_submenus.value(QStringLiteral("mnuHelp"));
    mnuFileExit = m_actions.value(QStringLiteral("mnuFileExit"));
    mnuEditEnter = m_actions.value(QStringLiteral("mnuEditEnter"));
    mnuEditCopyRead = m_actions.value(QStringLiteral("mnuEditCopyRead"));
    mnuViewTiming = m_actions.value(QStringLiteral("mnuViewTiming"));
    mnuHelpAbout = m_actions.value(QStringLiteral("mnuHelpAbout"));
    // Ctrl+T hides the diagram from its own window too.
    mnuViewTiming->setShortcutContext(Qt::ApplicationShortcut);
    // The exercise's keys work from the exercise window too.
    for (const char* name : {"mnuExerciseOpen", "mnuExerciseRestart"})
        m_actions.value(QLatin1String(name))->setShortcutContext(Qt::ApplicationShortcut);
    for (std::size_t i = 0; i < bitwell::BuiltinExercises().size(); ++i) {
        const int index = static_cast<int>(i);
        connect(m_actions.value(Indexed("mnuExerciseBuiltin", index)), &QAction::triggered, this,
                [this, index] { mnuExerciseBuiltin_Click(index); });
    }
    updateExerciseMenu();
    for (const QString& code : LanguageCodes())
        connect(m_actions.value(QStringLiteral("mnuLanguage(%1)").arg(code)),
                &QAction::triggered, this, [this, code] { mnuLanguage_Click(code); });
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
    const auto menuItem = [this](const char* name, void (frmMain::*slot)()) {
        connect(m_actions.value(QLatin1String(name)), &QAction::triggered, this, slot);
    };
    menuItem("mnuFileRestart", &frmMain::mnuFileRestart_Click);
    menuItem("mnuExerciseOpen", &frmMain::mnuExerciseOpen_Click);
    menuItem("mnuExerciseRestart", &frmMain::mnuExerciseRestart_Click);
    menuItem("mnuExerciseClose", &frmMain::mnuExerciseClose_Click);

    // Hover help: each target replaces the status line on every pointer
    // move. The switches, the memory listing, the plain labels and the
    // status line have no text: the pointer there leaves the status line alone.
    m_hover = new HoverHelp([this](const QString& text) { showStatus(text); }, this);
    m_hover->AddTarget(m_surface, QString());
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls()) {
        if (!c.help.empty()) m_hover->AddTarget(m_controls.value(Text(c.name)), QString());
        // The lamp's whole column, lit or dark: shapes take no input, so its
        // tip belongs to the group beneath it.
        if (c.kind == bitwell::ControlKind::Lamp)
            m_hover->AddTip(m_controls.value(Text(c.parent)), Place(c), Translated(c.tooltip, c.arg));
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
        QWidget* w = m_controls.value(Text(c.name));
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

    const auto item = [this](const bitwell::MenuItemSpec& spec, auto& self) -> void {
        if (spec.pageOnly) return;
        if (!spec.items.empty()) {
            m_submenus.value(Text(spec.name))->setTitle(Translated(spec.caption));
            for (const bitwell::MenuItemSpec& i : spec.items) self(i, self);
        } else if (!spec.pageOnly) {
            // A built-in exercise's title comes from its file, in the file's languages.
            m_actions.value(Text(spec.name))
                ->setText(spec.builtin >= 0 ? Text(bitwell::MenuText(spec)) : Translated(spec.caption));
        }
    };
    for (const bitwell::MenuSpec& spec : bitwell::MainWindowMenus()) {
        m_submenus.value(Text(spec.name))->setTitle(Translated(spec.caption));
        for (const bitwell::MenuItemSpec& i : spec.items) item(i, item);
    }
    const QString current = Text(bitwell::CurrentLanguage());
    for (const QString& code : LanguageCodes())
        m_actions.value(QStringLiteral("mnuLanguage(%1)").arg(code))->setChecked(code == current);
    if (m_exercise) m_exercise->Refresh();
}

void frmMain::setFocusOrder() {
    QList<QPair<int, QWidget*>> order;
    for (const bitwell::ControlSpec& c : bitwell::MainWindowControls())
        if (c.tab >= 0) order.append({c.tab, m_controls.value(Text(c.name))});
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

bool frmMain::OpenExercise(const QString& path) {
    std::string bytes;
    bitwell::ExerciseError error;
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (!bitwell::ReadExerciseFile(path.toStdString(), bytes, error)) {
        showExerciseError({error});
        return false;
    }
    return startExercise(bytes, name, -1);
}

bool frmMain::startExercise(std::string_view bytes, const std::string& name, int builtin) {
    std::vector<bitwell::ExerciseError> problems;
    if (!mayLoseMemory()) return false;
    // Known before it starts, for an exercise done at its start to count as itself.
    const int before = std::exchange(m_builtin, builtin);
    if (!m_session.Open(bytes, name, problems)) {
        m_builtin = before;
        showExerciseError(problems);
        return false;
    }
    if (!m_exercise) {
        m_exercise = new frmExercise(
            m_session, [this] { mnuExerciseRestart_Click(); }, [this] { mnuExerciseClose_Click(); }, this);
    }
    // Each time it opens: beside the main window wherever that stands now.
    if (!m_exercise->isVisible()) m_exercise->PlaceBeside(this, m_timing);
    m_exercise->Refresh();
    m_exercise->show();
    m_exercise->raise();
    updateExerciseMenu();
    return true;
}

void frmMain::showExerciseError(const std::vector<bitwell::ExerciseError>& problems) {
    QMessageBox box(QMessageBox::Warning, Translated(bitwell::ExerciseWindow().title),
                    QString::fromStdString(bitwell::ProblemsText(problems)), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(Translated(bitwell::Dialogs().ok));
    // The file's name and words are a stranger's: never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmMain::updateExerciseMenu() {
    const QStringList done = Settings().value(kExercisesDone).toStringList();
    for (std::size_t i = 0; i < bitwell::BuiltinExercises().size(); ++i) {
        const int index = static_cast<int>(i);
        m_actions.value(Indexed("mnuExerciseBuiltin", index))->setChecked(done.contains(BuiltinName(index)));
    }
    m_actions.value(QStringLiteral("mnuExerciseRestart"))->setEnabled(m_session.isOpen());
    m_actions.value(QStringLiteral("mnuExerciseClose"))->setEnabled(m_session.isOpen());
}

void frmMain::exerciseChanged() {
    if (m_exercise) m_exercise->Refresh();
}
void frmMain::goalsChecked() {
    if (m_exercise) m_exercise->Refresh();
}
void frmMain::exerciseDone() {
    if (m_exercise) m_exercise->Refresh();
    if (m_builtin >= 0) {
        QSettings settings = Settings();
        QStringList done = settings.value(kExercisesDone).toStringList();
        if (!done.contains(BuiltinName(m_builtin))) done << BuiltinName(m_builtin);
        settings.setValue(kExercisesDone, done);
        m_actions.value(Indexed("mnuExerciseBuiltin", m_builtin))->setChecked(true);
    }
    // Heard at once; an action that made it done says it again after what
    // the chip did, in one announcement.
    m_done = {Text(m_session.DoneText()), m_panel.trace().empty() ? 0 : m_panel.trace().back().step};
    announce(m_done.sentence);
}

void frmMain::exerciseUndone() {
    if (m_exercise) m_exercise->Refresh();
    m_undone = Text(m_session.DoneText());
}

void frmMain::mnuExerciseOpen_Click() {
    const QString path = QFileDialog::getOpenFileName(this, Translated(bitwell::ExerciseWindow().title), QString(),
                                                      Translated(bitwell::ExerciseWindow().filter));
    if (!path.isEmpty()) OpenExercise(path);
}

void frmMain::mnuExerciseBuiltin_Click(int index) {
    const bitwell::BuiltinExercise& b = bitwell::BuiltinExercises()[static_cast<std::size_t>(index)];
    startExercise(b.bytes, std::string(b.name), index);
    // The item's check says done, not open.
    updateExerciseMenu();
}

// F5 never asks: an exercise always starts afresh.
void frmMain::mnuExerciseRestart_Click() { m_session.Restart(); }

void frmMain::mnuExerciseClose_Click() {
    m_session.Close();
    m_builtin = -1;
    if (m_exercise) m_exercise->hide();
    updateExerciseMenu();
}

bool frmMain::mayLoseMemory() {
    if (!m_session.MemoryChanged()) return true;
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    QMessageBox box(QMessageBox::Question, Translated(bitwell::ExerciseWindow().restartTitle),
                    Translated(bitwell::ExerciseWindow().restartQuestion), QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(Translated(say.yes));
    box.button(QMessageBox::No)->setText(Translated(say.no));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void frmMain::mnuFileRestart_Click() {
    if (!mayLoseMemory()) return;
    if (m_session.isOpen())
        m_session.Restart();
    else
        m_panel.PowerUpAfresh();
}

void frmMain::mnuLanguage_Click(const QString& code) {
    if (SetLanguage(code)) RememberLanguage(code);
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
    setCarrying(then, [&] { sigAddr[static_cast<std::size_t>(bit) & 3]->SetValue(value); });
}
void frmMain::dataBitChanged(int bit, int value, bitwell::Cascade& then) {
    setCarrying(then, [&] { sigData[static_cast<std::size_t>(bit) & 15]->SetValue(value); });
}
void frmMain::addressTextChanged(const std::string& text) {
    setSilently([&] { lblAddr->SetCaption(Text(text)); });
}
void frmMain::dataTextChanged(const std::string& text, bitwell::Cascade& then) {
    setCarrying(then, [&] { lblData->SetCaption(Text(text)); });
}
void frmMain::readTextChanged(const std::string& text, bitwell::Cascade& then) {
    setCarrying(then, [&] { lblRead->SetCaption(Text(text)); });
}
void frmMain::lampChanged(int bit, bool lit) {
    Shape* lamp = sigRead[static_cast<std::size_t>(bit) & 15];
    lamp->setVisible(lit);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(lamp, changed);
        QAccessible::updateAccessibility(&event);
    }
}
void frmMain::contentsChanged(const std::string& text) { lblContents->SetCaption(Text(text)); }
void frmMain::typesChanged(const std::string& text) { lblTypes->SetCaption(Text(text)); }
void frmMain::orderChanged(bool bigEndian) {
    setSilently([&] { (bigEndian ? optBig : optLittle)->setChecked(true); });
}
void frmMain::stepRecorded(const bitwell::TraceStep&) {
    if (m_timing && m_timing->isVisible()) m_timing->TraceChanged();
}
void frmMain::actionEnded(const bitwell::TraceStep& last) {
    QString sentence = QString::fromStdString(bitwell::Trace::DescribeCycle(last));
    if (!m_done.sentence.isEmpty() && m_done.step == last.step)
        sentence = Translated(bitwell::kActionAndDone).arg(sentence, m_done.sentence);
    announce(sentence);
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

void frmMain::sigCE_Change() {
    if (!carriedFromPanel()) m_panel.MoveLevel(Control::CE, sigCE->Value());
}
void frmMain::sigOE_Change() {
    if (!carriedFromPanel()) m_panel.MoveLevel(Control::OE, sigOE->Value());
}
void frmMain::sigWE_Change() {
    if (!carriedFromPanel()) m_panel.MoveLevel(Control::WE, sigWE->Value());
}
void frmMain::sigLB_Change() {
    if (!carriedFromPanel()) m_panel.MoveLevel(Control::LB, sigLB->Value());
}
void frmMain::sigUB_Change() {
    if (!carriedFromPanel()) m_panel.MoveLevel(Control::UB, sigUB->Value());
}
void frmMain::sigAddr_Change(int index) {
    if (!carriedFromPanel()) m_panel.MoveAddressBit(index, sigAddr[static_cast<std::size_t>(index)]->Value());
}
void frmMain::sigData_Change(int index) {
    if (!carriedFromPanel()) m_panel.MoveDataBit(index, sigData[static_cast<std::size_t>(index)]->Value());
}
// A caption set from outside the panel (a tool or a test writing the
// property) is a change like any other.
void frmMain::lblAddr_Change() {
    if (!carriedFromPanel()) m_panel.EditAddressText(lblAddr->Caption().toStdString());
}
void frmMain::lblData_Change() {
    if (!carriedFromPanel()) m_panel.EditDataText(lblData->Caption().toStdString());
}
void frmMain::lblRead_Change() {
    if (!carriedFromPanel()) m_panel.EditReadText(lblRead->Caption().toStdString());
}
void frmMain::optBig_Click() { m_panel.ChooseOrder(true); }
void frmMain::optLittle_Click() { m_panel.ChooseOrder(false); }

// ---- Data entry and copy ----

void frmMain::lblData_DblClick() {
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    QInputDialog input(this);
    input.setWindowTitle(Translated(say.inputTitle));
    input.setLabelText(Translated(say.inputPrompt));
    input.setTextValue(Text(m_panel.dataText()));
    // Our own button texts, so that the desktop and the page say the same.
    input.setOkButtonText(Translated(say.ok));
    input.setCancelButtonText(Translated(say.cancel));
    const QString answer = input.exec() == QDialog::Accepted ? input.textValue() : QString();

    const bitwell::TypedEntry entry = m_panel.EnterTypedWord(TypedCharacters(answer));
    if (entry.kind != bitwell::TypedEntry::Kind::Invalid) return;
    QMessageBox box(QMessageBox::Warning, Translated(say.errorTitle),
                    QString::fromStdU16String(entry.text), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(Translated(say.ok));
    // The answer is the user's text: never let it be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmMain::lblRead_DblClick() { m_panel.CopyReadToData(); }

// ---- Hover help, menus and exit ----

void frmMain::showStatus(const QString& text) { lblStatus->SetCaption(text); }

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
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    QMessageBox box(QMessageBox::Question, Translated(say.exitTitle), Translated(say.exitQuestion),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(Translated(say.yes));
    box.button(QMessageBox::No)->setText(Translated(say.no));
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
