// The main window's menus: built and named from the description, retold
// in each language, and what their items do outside the exercises.

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <functional>
#include <utility>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/WindowDescription.h"

#include "ui/MessageBoxes.h"
#include "ui/Translation.h"
#include "ui/frmAbout.h"
#include "ui/frmExercise.h"
#include "ui/frmMain.h"
#include "ui/frmTiming.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The course's items by the place of the key on the keyboard's top row, 1
// to 9 and then 0, whatever character the layout puts there (on a French
// keyboard "&" is the first key): `choose` gets 0 to 9 and says whether it
// took the key. Where the platform gives no key codes of its own, the
// items' access keys do the work alone.
class TopRowKeys : public QObject {
public:
    TopRowKeys(QObject* parent, std::function<bool(int)> choose) : QObject(parent), m_choose(std::move(choose)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        // XKB key codes, on X11 and Wayland alike: the top row's "1" is 10, "0" is 19.
        static const bool xkb = QGuiApplication::platformName() == QLatin1String("xcb") ||
                                QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        constexpr quint32 kFirst = 10, kLast = 19;
        const quint32 code = key->nativeScanCode();
        if (!xkb || code < kFirst || code > kLast ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return QObject::eventFilter(watched, event);
        return m_choose(static_cast<int>(code - kFirst));
    }

private:
    std::function<bool(int)> m_choose;
};

}  // namespace

// Every menu and item of the description but the page's own, named, with
// its shortcut and check; texts come with retranslate().
void frmMain::buildMenus() {
    const auto add = [this](QMenu* menu, const bitwell::MenuItemSpec& spec, auto& self) -> void {
        if (spec.pageOnly) return;
        if (!spec.items.empty()) {
            QMenu* sub = menu->addMenu(QString());
            sub->setObjectName(Text(spec.name));
            auto* group = new QActionGroup(sub);
            for (const bitwell::MenuItemSpec& item : spec.items) {
                self(sub, item, self);
                if (item.exclusive) group->addAction(named<QAction>(item.name));
            }
            m_named.emplace(spec.name, sub);
            return;
        }
        if (spec.startsGroup) menu->addSeparator();
        QAction* action = menu->addAction(QString());
        action->setObjectName(Text(spec.name));
        action->setCheckable(spec.checkable);
        if (!spec.shortcut.empty()) {
            action->setShortcut(QKeySequence(Text(spec.shortcut), QKeySequence::PortableText));
            // The keys act on this window from the exercise and timing
            // windows too (a modal dialog still blocks them).
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        m_named.emplace(spec.name, action);
    };
    for (const bitwell::MenuSpec& spec : bitwell::MainWindowMenus()) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(Text(spec.name));
        m_named.emplace(spec.name, menu);
        for (const bitwell::MenuItemSpec& item : spec.items) add(menu, item, add);
    }
    named<QMenu>("mnuExercise")->installEventFilter(new TopRowKeys(this, [this](int index) {
        const auto item = named<QAction>("mnuExerciseBuiltin", index);
        if (!item) return false;
        named<QMenu>("mnuExercise")->close();
        // Once the menu has gone, as a chosen item would be.
        QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
        return true;
    }));

    const auto onItem = [this](const char* name, auto slot) {
        connect(named<QAction>(name), &QAction::triggered, this, slot);
    };
    for (int i = 0; i < static_cast<int>(bitwell::BuiltinExercises().size()); ++i)
        connect(named<QAction>("mnuExerciseBuiltin", i), &QAction::triggered, this,
                [this, i] { mnuExerciseBuiltin_Click(i); });
    updateExerciseMenu();
    for (const QString& code : LanguageCodes())
        connect(named<QAction>("mnuLanguage(" + code.toStdString() + ")"), &QAction::triggered, this,
                [this, code] { mnuLanguage_Click(code); });
    onItem("mnuFileRestart", &frmMain::mnuFileRestart_Click);
    onItem("mnuFileExit", &frmMain::mnuFileExit_Click);
    onItem("mnuEditEnter", &frmMain::lblData_DblClick);
    onItem("mnuEditCopyRead", &frmMain::lblRead_DblClick);
    onItem("mnuViewTiming", &frmMain::mnuViewTiming_Click);
    onItem("mnuExerciseOpen", &frmMain::mnuExerciseOpen_Click);
    onItem("mnuExerciseRestart", &frmMain::mnuExerciseRestart_Click);
    onItem("mnuExerciseClose", &frmMain::mnuExerciseClose_Click);
    onItem("mnuExerciseExport", &frmMain::mnuExerciseExport_Click);
    onItem("mnuExerciseSaveAttempt", &frmMain::mnuExerciseSaveAttempt_Click);
    onItem("mnuHelpAbout", &frmMain::mnuHelpAbout_Click);
}

void frmMain::retranslateMenus() {
    const auto item = [this](const bitwell::MenuItemSpec& spec, auto& self) -> void {
        if (spec.pageOnly) return;
        if (!spec.items.empty()) {
            named<QMenu>(spec.name)->setTitle(Translated(spec.caption));
            for (const bitwell::MenuItemSpec& i : spec.items) self(i, self);
        } else {
            // A built-in exercise's title comes from its file, in the file's languages.
            named<QAction>(spec.name)
                ->setText(spec.builtin >= 0 ? Text(bitwell::MenuText(spec)) : Translated(spec.caption));
        }
    };
    for (const bitwell::MenuSpec& spec : bitwell::MainWindowMenus()) {
        named<QMenu>(spec.name)->setTitle(Translated(spec.caption));
        for (const bitwell::MenuItemSpec& i : spec.items) item(i, item);
    }
    const QString current = Text(bitwell::CurrentLanguage());
    for (const QString& code : LanguageCodes())
        named<QAction>("mnuLanguage(" + code.toStdString() + ")")->setChecked(code == current);
}

void frmMain::mnuFileRestart_Click() {
    if (!mayLoseMemory()) return;
    if (m_session.isOpen())
        restartExercise();
    else
        m_panel.PowerUpAfresh();
}

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::mnuViewTiming_Click(bool checked) {
    if (!checked) {
        if (m_timing) m_timing->hide();
        return;
    }
    if (!m_timing) {
        m_timing = new frmTiming(m_panel.trace(), [this] { m_panel.ClearTrace(); },
                                 [this] { m_panel.UndoClearTrace(); }, this);
        connect(m_timing, &frmTiming::Hidden, this,
                [this] { named<QAction>("mnuViewTiming")->setChecked(false); });
        m_timing->PlaceBeside(this, findChild<QWidget*>(QStringLiteral("frmExercise")));
    }
    m_timing->TraceChanged();
    m_timing->show();
    m_timing->raise();
}

void frmMain::mnuLanguage_Click(const QString& code) {
    if (SetLanguage(code)) RememberLanguage(code);
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}
