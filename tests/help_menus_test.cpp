#include <QAction>
#include <QCheckBox>
#include <QRegularExpression>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "core/Attempt.h"
#include "tests/WindowHelpers.h"
#include "ui/Caption.h"
#include "core/Timing.h"
#include "core/TimingPlacement.h"
#include "ui/TimingDiagram.h"
#include "ui/frmAbout.h"
#include "ui/frmExercise.h"
#include "ui/frmTiming.h"
#include "ui/frmMain.h"

using namespace wintest;

namespace {

const QString kDefault =
    QStringLiteral("Hover your mouse over a control signal label to see a description.");
const QString kWriteEnable = QStringLiteral("Write Enable signal. Active LOW.");


// Moves the pointer to a point of a control, given in the control's own
// coordinates, the way the window system would.
void HoverOver(const frmMain& w, const QString& name, QPoint at = {-1, -1}) {
    QWidget* c = Control(w, name);
    const QPoint local = at.x() < 0 ? c->rect().center() : at;
    QTest::mouseMove(w.windowHandle(), c->mapTo(&w, local));
}

// Presses the left button on one control, drags to a point of another (or
// the same) and releases there, each step through the window system.
void Drag(const frmMain& w, const QString& from, QPoint fromAt, const QString& to, QPoint toAt) {
    QWidget* a = Control(w, from);
    QWidget* b = Control(w, to);
    const QPoint start = a->mapTo(&w, fromAt.x() < 0 ? a->rect().center() : fromAt);
    const QPoint end = b->mapTo(&w, toAt.x() < 0 ? b->rect().center() : toAt);
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, start);
    QTest::mouseMove(w.windowHandle(), start + QPoint(1, 1));
    QTest::mouseMove(w.windowHandle(), (start + end) / 2);
    QTest::mouseMove(w.windowHandle(), end);
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, end);
}

std::vector<std::string> Words(const frmMain& w) {
    return {w.device().memWords.begin(), w.device().memWords.begin() + 16};
}

// Everything the user can see change on the panel.
QStringList PanelState(const frmMain& w) {
    QStringList state;
    for (const char* name : {"lblAddr", "lblData", "lblRead", "lblContents", "lblTypes", "lblStatus"})
        state << Caption(w, name);
    for (const char* name : {"sigWE", "sigCE", "sigOE", "sigLB", "sigUB"})
        state << QString::number(Value(w, name));
    state << DataSwitchWord(w) << LampWord(w);
    return state;
}

// Runs a student's script on the switches and captions: "A0=1" an address
// switch, "D=BEEF" the data caption, "order=little" the word-order option,
// "CE=0" a control switch.
void Play(const frmMain& w, const QString& script) {
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = step.section(QLatin1Char('='), 0, 0), value = step.section(QLatin1Char('='), 1);
        if (key == QLatin1String("D"))
            SetCaption(w, "lblData", value);
        else if (key == QLatin1String("order"))
            qobject_cast<QAbstractButton*>(Control(w, value == QLatin1String("big") ? "optBig" : "optLittle"))->click();
        else if (key.startsWith(QLatin1Char('A')))
            SetValue(w, Indexed("sigAddr", key.mid(1).toInt()), value.toInt());
        else
            SetValue(w, QLatin1String("sig") + key, value.toInt());
    }
}

// The goal items as the student sees them: "[x] text" while a goal holds.
QStringList GoalItems(const frmMain& w) {
    QStringList items;
    auto* list = qobject_cast<QListWidget*>(Control(*w.exerciseWindow(), "lstGoals"));
    for (int i = 0; i < list->count(); ++i)
        items << (list->item(i)->checkState() == Qt::Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) +
                     list->item(i)->text();
    return items;
}

QStringList SessionGoals(const frmMain& w) {
    QStringList items;
    for (const auto& goal : w.exercise().Goals())
        items << (goal.holds ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + QString::fromStdString(goal.text);
    return items;
}

QString Done(const frmMain& w) { return Caption(w, "lblExerciseResult"); }

}  // namespace

class HelpMenusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    // No built-in exercise is done before a test.
    void init() { QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")).remove(QStringLiteral("exercisesDone")); }
    void hoverTexts_data();
    void hoverTexts();
    void hoverKeepsText_data();
    void hoverKeepsText();
    void hoverSignalThenBackground();
    void dragKeepsText_data();
    void dragKeepsText();
    void menus();
    void editMenuMatchesDoubleClicks_data();
    void editMenuMatchesDoubleClicks();
    void timingDiagram();
    void timingOpensOnTheDiagram_data();
    void timingOpensOnTheDiagram();
    void timingUndoClear();
    void timingExports_data();
    void timingExports();
    void exitAnsweredNo_data();
    void exitAnsweredNo();
    void aboutOpensModallyEachTime_data();
    void aboutOpensModallyEachTime();
    void aboutBlocksTheMainWindow();
    void exerciseSolvedFromTheMenu_data();
    void exerciseSolvedFromTheMenu();
    void badExerciseFileChangesNothing_data();
    void badExerciseFileChangesNothing();
    void fileRestart_data();
    void fileRestart();
    void exerciseSpeaksTheChosenLanguage();
    void attemptSavedAndGraded();
};

void HelpMenusTest::hoverTexts_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("text");
    const QPoint centre(-1, -1);
    const QString address = QStringLiteral("Address range: 0x0 - 0xF (0 - 15).");
    QTest::newRow("lblCE") << "lblCE" << centre << "Chip Enable signal. Active LOW.";
    QTest::newRow("lblOE") << "lblOE" << centre << "Output Enable signal. Active LOW.";
    QTest::newRow("lblWE") << "lblWE" << centre << kWriteEnable;
    QTest::newRow("lblLB") << "lblLB" << centre << "Lower Byte Enable signal. Active LOW.";
    QTest::newRow("lblUB") << "lblUB" << centre << "Upper Byte Enable signal. Active LOW.";
    QTest::newRow("lblAddr") << "lblAddr" << centre << address;
    QTest::newRow("lblAddrTitle") << "lblAddrTitle" << QPoint(2, 2) << address;
    QTest::newRow("lblDataTitle") << "lblDataTitle" << QPoint(2, 2) << "Data to be written: 16 bits.";
    QTest::newRow("lblData") << "lblData" << centre << "Double click here to enter the data textually.";
    QTest::newRow("lblReadTitle") << "lblReadTitle" << QPoint(2, 2)
                                  << "Data from the last read operation: 16 bits.";
    QTest::newRow("lblRead") << "lblRead" << centre
                             << "Double click here to copy the read data to the input data above.";
    QTest::newRow("optBig") << "optBig" << centre
                            << "Selecting this option will treat the word at the starting address as the high word.";
    QTest::newRow("optLittle") << "optLittle" << centre
                               << "Selecting this option will treat the word at the starting address as the low word.";
    // Targets that show the default text, and shapes that count as Frame3.
    QTest::newRow("Frame1") << "Frame1" << QPoint(4, 200) << kDefault;
    QTest::newRow("Frame3") << "Frame3" << QPoint(4, 200) << kDefault;
    QTest::newRow("lblTypes") << "lblTypes" << centre << kDefault;
    QTest::newRow("background") << "Form" << QPoint(320, 100) << kDefault;
    QTest::newRow("lit lamp") << "sigRead(4)" << centre << kDefault;
    QTest::newRow("lamp background") << "backgroundRead(20)" << centre << kDefault;
    QTest::newRow("over-bar") << "Line1" << QPoint(5, 0) << kDefault;
    QTest::newRow("byte divider") << "Line5" << QPoint(0, 20) << kDefault;
}

void HelpMenusTest::hoverTexts() {
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(QString, text);
    auto w = PoweredWindow(Show::Exposed);
    // Start from a text that differs from every expected one.
    HoverOver(*w, "lblWE");
    if (text == kWriteEnable) HoverOver(*w, "lblCE");
    HoverOver(*w, target, at);
    QCOMPARE(Caption(*w, "lblStatus"), text);
}

void HelpMenusTest::hoverKeepsText_data() {
    QTest::addColumn<QString>("target");
    for (const char* name : {"sigWE", "sigCE", "sigData(3)", "sigAddr(2)", "lblContents", "Frame2",
                             "Label1", "Label2", "Label3", "Label9", "lblStatus"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void HelpMenusTest::hoverKeepsText() {
    QFETCH(QString, target);
    auto w = PoweredWindow(Show::Exposed);
    HoverOver(*w, "lblWE");
    HoverOver(*w, target, target == QLatin1String("Frame2") ? QPoint(4, 100) : QPoint(-1, -1));
    QCOMPARE(Caption(*w, "lblStatus"), kWriteEnable);
}

void HelpMenusTest::hoverSignalThenBackground() {
    auto w = PoweredWindow(Show::Exposed);
    HoverOver(*w, "lblCE");
    QCOMPARE(Caption(*w, "lblStatus"), QStringLiteral("Chip Enable signal. Active LOW."));
    HoverOver(*w, "Form", QPoint(320, 100));
    QCOMPARE(Caption(*w, "lblStatus"), kDefault);
}

// A press and drag inside a control without hover text is no hover either:
// the moves stay with that control, they do not reach the group or the
// background behind it. Inside a target, its own text shows.
void HelpMenusTest::dragKeepsText_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QPoint>("fromAt");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QPoint>("toAt");
    QTest::addColumn<QString>("text");
    const QPoint centre(-1, -1);
    for (const char* name : {"lblContents", "Label2", "Label1", "Label3", "Label9", "lblStatus"})
        QTest::newRow(name) << name << QPoint(2, 2) << name << centre << kWriteEnable;
    QTest::newRow("Frame2") << "Frame2" << QPoint(4, 100) << "Frame2" << QPoint(6, 150) << kWriteEnable;
    // The pressed control keeps every move until the release.
    QTest::newRow("lblContents onto lblCE") << "lblContents" << centre << "lblCE" << centre << kWriteEnable;
    QTest::newRow("Label2 onto the background") << "Label2" << centre << "Form" << QPoint(320, 100)
                                                << kWriteEnable;
    QTest::newRow("inside lblCE") << "lblCE" << QPoint(2, 2) << "lblCE" << centre
                                  << "Chip Enable signal. Active LOW.";
    QTest::newRow("inside Frame3") << "Frame3" << QPoint(4, 200) << "Frame3" << QPoint(6, 210) << kDefault;
}

void HelpMenusTest::dragKeepsText() {
    QFETCH(QString, from);
    QFETCH(QPoint, fromAt);
    QFETCH(QString, to);
    QFETCH(QPoint, toAt);
    QFETCH(QString, text);
    auto w = PoweredWindow(Show::Exposed);
    HoverOver(*w, "lblWE");
    Drag(*w, from, fromAt, to, toAt);
    QCOMPARE(Caption(*w, "lblStatus"), text);
}

void HelpMenusTest::menus() {
    frmMain w;
    auto* file = w.findChild<QMenu*>("mnuFile");
    auto* help = w.findChild<QMenu*>("mnuHelp");
    QVERIFY(file && help);
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(help->title(), QStringLiteral("&Help"));
    QCOMPARE(w.findChild<QAction*>("mnuFileExit")->text(), QStringLiteral("&Exit"));
    QCOMPARE(w.findChild<QAction*>("mnuHelpAbout")->text(), QStringLiteral("&About..."));
    QVERIFY(w.findChild<QAction*>("mnuFileExit")->shortcut().isEmpty());

    // Edit and View stand between File and Help, with their shortcuts shown.
    QStringList titles;
    for (QAction* a : w.menuBar()->actions()) titles << a->menu()->objectName();
    QCOMPARE(titles, QStringList({"mnuFile", "mnuEdit", "mnuView", "mnuExercise", "mnuHelp"}));
    // File, Restart stands above Exit; Exercises holds Open, the course, the
    // open exercise's items and its results, with a separator ("") between.
    QStringList fileItems, exerciseItems;
    for (QAction* a : file->actions()) fileItems << a->objectName();
    QCOMPARE(fileItems, QStringList({"mnuFileRestart", "mnuFileExit"}));
    for (QAction* a : w.findChild<QMenu*>("mnuExercise")->actions()) exerciseItems << a->objectName();
    QStringList course;
    for (std::size_t i = 0; i < bitwell::BuiltinExercises().size(); ++i)
        course << Indexed("mnuExerciseBuiltin", static_cast<int>(i));
    QCOMPARE(exerciseItems, QStringList({"mnuExerciseOpen", ""}) + course +
                                QStringList({"", "mnuExerciseRestart", "mnuExerciseClose", "", "mnuExerciseExport",
                                             "mnuExerciseSaveAttempt"}));
    // Each item its own access key in every language, the course's items past the tenth too.
    for (const char* code : {"de", "fr", "es", "pt_BR", "en"}) {
        QStringList keys;
        QVERIFY(w.SetLanguage(QLatin1String(code)));
        for (QAction* a : w.findChild<QMenu*>("mnuExercise")->actions())
            if (!a->isSeparator()) keys << QKeySequence::mnemonic(a->text()).toString();
        QVERIFY2(keys.removeDuplicates() == 0, code);
    }
    QCOMPARE(w.findChild<QAction*>("mnuExerciseBuiltin(0)")->text(), QStringLiteral("&1 Read a word"));
    QCOMPARE(w.findChild<QAction*>("mnuExerciseBuiltin(9)")->text().left(3), QStringLiteral("1&0"));
    QVERIFY(w.findChild<QAction*>("mnuExerciseBuiltin(0)")->isCheckable());
    // Nothing to restart, close, export or save before an exercise opens.
    for (const char* item : {"mnuExerciseRestart", "mnuExerciseClose", "mnuExerciseExport", "mnuExerciseSaveAttempt"})
        QVERIFY(!w.findChild<QAction*>(item)->isEnabled());
    const struct {
        const char* name;
        const char* text;
        QKeySequence keys;
    } items[] = {{"mnuEditEnter", "&Enter Data Word...", QKeySequence(Qt::Key_F2)},
                 {"mnuEditCopyRead", "&Copy Read to Input", QKeySequence(Qt::CTRL | Qt::Key_R)},
                 {"mnuViewTiming", "&Timing Diagram", QKeySequence(Qt::CTRL | Qt::Key_T)},
                 {"mnuFileRestart", "&Restart", QKeySequence()},
                 {"mnuExercise", "E&xercises", QKeySequence()},
                 {"mnuExerciseOpen", "&Open Exercise File...", QKeySequence(Qt::CTRL | Qt::Key_O)},
                 {"mnuExerciseRestart", "&Restart Exercise", QKeySequence(Qt::Key_F5)},
                 {"mnuExerciseClose", "&Close Exercise", QKeySequence()},
                 {"mnuExerciseExport", "&Export for Course Site...", QKeySequence()},
                 {"mnuExerciseSaveAttempt", "Save &Attempt...", QKeySequence()}};
    for (const auto& item : items) {
        if (auto* menu = w.findChild<QMenu*>(item.name)) {
            QCOMPARE(menu->title(), QLatin1String(item.text));
            continue;
        }
        auto* action = w.findChild<QAction*>(item.name);
        QVERIFY2(action, item.name);
        QCOMPARE(action->text(), QLatin1String(item.text));
        QCOMPARE(action->shortcut(), item.keys);
    }
    QVERIFY(w.findChild<QAction*>("mnuViewTiming")->isCheckable());
}

// The Edit items do what the double-clicks do: the same dialog, checks and
// evaluations, from the keyboard, on the main window or another of ours.
void HelpMenusTest::editMenuMatchesDoubleClicks_data() {
    QTest::addColumn<QString>("keysFrom");  // "" for the double clicks
    QTest::newRow("double clicks") << QString();
    QTest::newRow("F2 and Ctrl+R") << "main";
    QTest::newRow("F2 and Ctrl+R from the timing window") << "timing";
}

void HelpMenusTest::editMenuMatchesDoubleClicks() {
    QFETCH(QString, keysFrom);
    const bool fromMenu = !keysFrom.isEmpty();
    auto w = PoweredWindow(Show::Exposed);
    if (keysFrom == QLatin1String("timing")) w->findChild<QAction*>("mnuViewTiming")->trigger();
    QWidget* keys = keysFrom == QLatin1String("timing") ? static_cast<QWidget*>(w->timing()) : w.get();
    EnterWriteCycle(*w);
    const auto enter = [&] {
        if (fromMenu) {
            // A closed dialog may leave no window active; shortcuts need one.
            QApplication::setActiveWindow(keys);
            QTest::keyClick(keys, Qt::Key_F2);
        }
        else
            QTest::mouseDClick(Control(*w, "lblData"), Qt::LeftButton);
    };
    const long runs = w->device().updateMemoryRuns();
    {
        ModalAnswerer answers({Type(QStringLiteral("00ff"))});
        enter();
        QTRY_COMPARE(answers.seen().size(), size_t(1));
        QCOMPARE(answers.seen()[0].title, QStringLiteral("Memory Input Data"));
    }
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("00FF"));
    QCOMPARE(w->device().updateMemoryRuns() - runs, 8L);
    QCOMPARE(w->device().memWords[0], std::string("00FF"));
    {
        ModalAnswerer answers({Type(QStringLiteral("\u202EABCD")), Press(QDialogButtonBox::Ok)});
        enter();
        QTRY_COMPARE(answers.seen().size(), size_t(2));
        QCOMPARE(answers.seen()[1].text,
                 QStringLiteral("Error: '\u2068\u202EABC\u2069' is not a valid hexadecimal value."));
    }
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("00FF"));

    // Read word 0 back into the read register, then copy it to the input.
    SetValue(*w, "sigOE", 0);
    SetValue(*w, "sigWE", 1);
    SetCaption(*w, "lblData", QStringLiteral("1234"));
    QCOMPARE(Caption(*w, "lblRead"), QStringLiteral("00FF"));
    if (fromMenu) {
        QApplication::setActiveWindow(keys);
        QTest::keyClick(keys, Qt::Key_R, Qt::ControlModifier);
    }
    else
        QTest::mouseDClick(Control(*w, "lblRead"), Qt::LeftButton);
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("00FF"));
    QCOMPARE(DataSwitchWord(*w), QStringLiteral("00FF"));
}

// The diagram opens from View, follows every step live, and exports the
// same CSV as its property says.
void HelpMenusTest::timingDiagram() {
    auto w = PoweredWindow(Show::Exposed);
    auto* view = w->findChild<QAction*>("mnuViewTiming");
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(view->isChecked());
    frmTiming* timing = w->timing();
    QVERIFY(timing && timing->isVisible());
    QVERIFY(!timing->isModal());
    QVERIFY(timing->isWindow());
    QCOMPARE(timing->objectName(), QStringLiteral("frmTiming"));

    const QString start = timing->property("Csv").toString();
    QCOMPARE(start.count(QLatin1Char('\n')), 6);
    EnterWriteCycle(*w);
    SetValue(*w, "sigAddr(0)", 1);
    const QString csv = timing->property("Csv").toString();
    QVERIFY(csv.startsWith(start));
    QVERIFY(csv.endsWith(QStringLiteral(",A0,0,1,0,0,0,1,0000,FFFF,write,both,0000\n")));
    // It follows: the newest step is in view, and walking to it explains it.
    auto* diagram = timing->diagram();
    QVERIFY(diagram->Following());
    QTest::keyClick(diagram, Qt::Key_End);
    QCOMPARE(timing->findChild<QLabel*>("lblStatus")->text(),
             QStringLiteral("Step 10, action 5: write 0000 to address 1, both bytes (A0 changed to 1)"));
    QCOMPARE(diagram->accessibleDescription(), timing->findChild<QLabel*>("lblStatus")->text());
    QTest::keyClick(diagram, Qt::Key_Left);
    QVERIFY(timing->findChild<QLabel*>("lblStatus")->text().startsWith(QStringLiteral("Step 9, action 4: write")));

    QTemporaryDir dir;
    // Ctrl+C in the diagram copies the same CSV, for a spreadsheet.
    QApplication::setActiveWindow(timing);
    QTest::keyClick(diagram, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), csv);
    QVERIFY(timing->SaveCsv(dir.filePath("t.csv")));
    QFile file(dir.filePath("t.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), csv);
    QVERIFY(timing->SaveSvg(dir.filePath("t.svg")));
    QFile svg(dir.filePath("t.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));
    QVERIFY(timing->SavePng(dir.filePath("t.png")));
    QCOMPARE(QImage(dir.filePath("t.png")).size(), diagram->size());

    // Clear empties it; the next step keeps counting.
    QTest::mouseClick(timing->findChild<QPushButton*>("cmdClear"), Qt::LeftButton);
    QCOMPARE(timing->Csv(), QStringLiteral("step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n"));
    SetValue(*w, "sigCE", 1);
    QVERIFY(timing->Csv().endsWith(QStringLiteral("word\n11,6,CE,1,1,0,0,0,1,0000,FFFF,none,,0000\n")));

    QTest::keyClick(timing, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(!timing->isVisible());
    QVERIFY(!view->isChecked());
    // The main window is as it was: same size, same controls.
    QCOMPARE(w->centralWidget()->size(), QSize(593, 451));
    // Closed with the diagram open, the program takes both windows down:
    // the diagram goes with the main window, and no window is left showing.
    view->trigger();
    QVERIFY(timing->isVisible());
    const QPointer<frmTiming> diagramWindow(timing);
    w.reset();
    QVERIFY(diagramWindow.isNull());
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
}

void HelpMenusTest::timingOpensOnTheDiagram_data() {
    QTest::addColumn<QStringList>("clicks");  // buttons clicked after opening
    QTest::newRow("opened") << QStringList();
    QTest::newRow("after a click on Clear") << QStringList{"cmdClear"};
    QTest::newRow("after a click on Undo Clear") << QStringList{"cmdClear", "cmdUndo"};
}

// Opened, and after a click on Clear or Undo Clear, the window holds the
// focus on the diagram, beside the main window and at least its minimum
// size; Space cannot wipe the trace.
void HelpMenusTest::timingOpensOnTheDiagram() {
    QFETCH(QStringList, clicks);
    auto w = PoweredWindow(Show::Exposed);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    frmTiming* timing = w->timing();
    QApplication::setActiveWindow(timing);
    QVERIFY(QTest::qWaitForWindowActive(timing, 2000));
    for (const QString& name : clicks) QTest::mouseClick(timing->findChild<QPushButton*>(name), Qt::LeftButton);
    QCOMPARE(timing->focusWidget(), static_cast<QWidget*>(timing->diagram()));
    const QString csv = timing->Csv();
    QTest::keyClick(timing->focusWidget(), Qt::Key_Space);
    QCOMPARE(timing->Csv(), csv);
    QTest::keyClick(timing->focusWidget(), Qt::Key_Left);
    // Left selects the newest step, if any: one line for the header, one per step.
    QCOMPARE(timing->diagram()->Selected(), static_cast<int>(csv.count(QLatin1Char('\n'))) - 2);
    QVERIFY(timing->width() >= bitwell::kTimingMinWidth);
    QVERIFY(timing->height() >= bitwell::kTimingMinHeight);

    // Extra width shows more steps.
    const int visible = timing->diagram()->VisibleSteps();
    timing->resize(timing->width() + 200, timing->height());
    QTRY_VERIFY_WITH_TIMEOUT(timing->diagram()->VisibleSteps() > visible, 2000);
}

// Undo Clear brings the cleared steps back, from a Clear until the next step.
void HelpMenusTest::timingUndoClear() {
    auto w = PoweredWindow(Show::Exposed);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    frmTiming* timing = w->timing();
    auto* undo = timing->findChild<QPushButton*>("cmdUndo");
    QVERIFY(undo);
    QCOMPARE(undo->text(), QStringLiteral("&Undo Clear"));
    QVERIFY(!undo->isEnabled());
    const QString csv = timing->Csv();
    QTest::mouseClick(timing->findChild<QPushButton*>("cmdClear"), Qt::LeftButton);
    QVERIFY(undo->isEnabled());
    QApplication::setActiveWindow(timing);
    QTest::keyClick(timing->diagram(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(timing->Csv(), csv);
    QVERIFY(!undo->isEnabled());
    QVERIFY(timing->diagram()->Following());

    QTest::mouseClick(timing->findChild<QPushButton*>("cmdClear"), Qt::LeftButton);
    SetValue(*w, "sigCE", 0);
    QVERIFY(!undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(timing->Csv().count(QLatin1Char('\n')), 2);
}

void HelpMenusTest::timingExports_data() {
    QTest::addColumn<bool>("all");
    QTest::newRow("steps in view") << false;
    QTest::newRow("all kept steps") << true;
}

// Svg and WaveJson are exactly what their saves write, for the steps in view
// or every kept step; the PNG has the SVG's size.
void HelpMenusTest::timingExports() {
    QFETCH(bool, all);
    auto w = PoweredWindow(Show::Exposed);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    frmTiming* timing = w->timing();
    for (int i = 0; i < 40; ++i) SetValue(*w, "sigData(3)", (i + 1) % 2);
    auto* check = timing->findChild<QCheckBox*>("chkAllSteps");
    QVERIFY(check && !check->isChecked());
    check->setChecked(all);
    const bitwell::TimingFrame frame = timing->diagram()->View().ExportFrame(all);
    QCOMPARE(frame.count, all ? 45 : timing->diagram()->VisibleSteps());

    QTemporaryDir dir;
    const auto read = [&](const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QVERIFY(timing->SaveSvg(dir.filePath("t.svg")));
    QCOMPARE(read("t.svg"), timing->property("Svg").toString());
    QVERIFY(read("t.svg").contains(QStringLiteral("width=\"%1\"").arg(frame.width)));
    QVERIFY(timing->SaveWaveJson(dir.filePath("t.json")));
    QCOMPARE(read("t.json"), timing->property("WaveJson").toString());
    // One period per step in every lane.
    const QRegularExpression wave(QStringLiteral("\"wave\": \"([^\"]*)\""));
    int lanes = 0;
    for (auto it = wave.globalMatch(read("t.json")); it.hasNext(); ++lanes)
        QCOMPARE(it.next().captured(1).size(), frame.count);
    QCOMPARE(lanes, 9);
    QVERIFY(timing->SavePng(dir.filePath("t.png")));
    QCOMPARE(QImage(dir.filePath("t.png")).size(), QSize(frame.width, frame.height));
    // The CSV holds every kept step either way.
    QCOMPARE(timing->Csv().count(QLatin1Char('\n')), 46);
}

void HelpMenusTest::exitAnsweredNo_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<ModalAnswerer::Answer>("answer");
    QTest::newRow("File, Exit; No") << true << Press(QDialogButtonBox::No);
    QTest::newRow("File, Exit; Esc") << true << Key(Qt::Key_Escape);
    QTest::newRow("close control; No") << false << Press(QDialogButtonBox::No);
}

void HelpMenusTest::exitAnsweredNo() {
    QFETCH(bool, fromMenu);
    QFETCH(ModalAnswerer::Answer, answer);
    auto w = PoweredWindow(Show::Exposed);
    SetCaption(*w, "lblData", QStringLiteral("BEEF"));
    EnterWriteCycle(*w);
    HoverOver(*w, "lblLB");
    const QStringList before = PanelState(*w);
    const auto words = Words(*w);

    QString defaultButton;
    ModalAnswerer answerer({[&](QWidget* d) {
        if (QPushButton* b = qobject_cast<QMessageBox*>(d)->defaultButton()) defaultButton = b->text();
        answer(d);
    }});
    if (fromMenu)
        w->findChild<QAction*>("mnuFileExit")->trigger();
    else
        QVERIFY(!w->close());

    QCOMPARE(answerer.seen().size(), size_t(1));
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("Exit Confirmation"));
    QCOMPARE(answerer.seen()[0].text, QStringLiteral("Are you sure that you want to exit?"));
    QCOMPARE(answerer.seen()[0].icon, int(QMessageBox::Question));
    QCOMPARE(defaultButton, QStringLiteral("&Yes"));
    QVERIFY(w->isVisible());
    QCOMPARE(PanelState(*w), before);
    QCOMPARE(Words(*w), words);
}

void HelpMenusTest::aboutOpensModallyEachTime_data() {
    QTest::addColumn<ModalAnswerer::Answer>("close");
    QTest::newRow("Esc") << Key(Qt::Key_Escape);
    QTest::newRow("Enter") << Key(Qt::Key_Return);
    QTest::newRow("OK clicked") << ModalAnswerer::Answer([](QWidget* d) {
        QTest::mouseClick(d->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
}

void HelpMenusTest::aboutOpensModallyEachTime() {
    QFETCH(ModalAnswerer::Answer, close);
    auto w = PoweredWindow(Show::Exposed);
    struct Look {
        QRect geometry;
        QString focus;
        bool modal = false;
        bool ownWindowFrame = false;
        QStringList texts;
    };
    std::vector<Look> looks;
    const auto inspect = [&](QWidget* d) {
        Look look;
        look.geometry = d->geometry();
        look.focus = d->focusWidget() ? d->focusWidget()->objectName() : QString();
        look.modal = d->isModal() && QApplication::activeModalWidget() == d;
        // A dialog owned by the main window (so no task-bar entry of its own)
        // with a close button only, and a size the user cannot change.
        const Qt::WindowFlags f = d->windowFlags();
        look.ownWindowFrame = d->parentWidget() == w.get() && (f & Qt::Dialog) == Qt::Dialog &&
                              (f & Qt::WindowCloseButtonHint) && !(f & Qt::WindowMinimizeButtonHint) &&
                              !(f & Qt::WindowMaximizeButtonHint) && d->minimumSize() == d->maximumSize();
        for (const char* name : {"Label1", "Label2", "Label3"}) look.texts << Caption(*d, name);
        looks.push_back(look);
        close(d);
    };
    ModalAnswerer answerer({inspect, inspect});
    auto* about = w->findChild<QAction*>("mnuHelpAbout");
    about->trigger();
    QVERIFY(w->findChildren<frmAbout*>().isEmpty());
    about->trigger();
    QVERIFY(w->findChildren<frmAbout*>().isEmpty());

    QCOMPARE(answerer.seen().size(), size_t(2));
    QCOMPARE(looks.size(), size_t(2));
    for (const Look& look : looks) {
        // Centred over the main window.
        QCOMPARE(look.geometry.size(), QSize(401, 178));
        QVERIFY2((look.geometry.center() - w->frameGeometry().center()).manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(look.geometry.x()).arg(look.geometry.y())));
        QCOMPARE(look.focus, QStringLiteral("cmdOK"));
        QVERIFY(look.modal);
        QVERIFY(look.ownWindowFrame);
        QCOMPARE(look.texts.value(0), QStringLiteral("Quorin Bitwell"));
        QVERIFY(look.texts.value(1).startsWith(QStringLiteral("This program is used to demonstrate")));
        QVERIFY(!look.texts.value(2).isEmpty());
    }
    QCOMPARE(answerer.seen()[0].className, QStringLiteral("frmAbout"));
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("About Quorin Bitwell"));
    QVERIFY(!QApplication::activeModalWidget());
}

void HelpMenusTest::aboutBlocksTheMainWindow() {
    auto w = PoweredWindow(Show::Exposed);
    const QStringList before = PanelState(*w);
    const long runs = w->device().updateMemoryRuns();
    bool maker = false;
    ModalAnswerer answerer({[&](QWidget* d) {
        // The notice line fits its two-line box.
        auto* notice = d->findChild<CaptionLabel*>("Label3");
        maker = notice->heightForWidth(notice->width()) <= notice->height();
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {},
                          Control(*w, "sigCE")->mapTo(w.get(), QPoint(8, 75)));
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                           Control(*w, "lblRead")->mapTo(w.get(), QPoint(5, 5)));
        QTest::keyClick(d, Qt::Key_Escape);
    }});
    w->findChild<QAction*>("mnuHelpAbout")->trigger();
    QCOMPARE(answerer.seen().size(), size_t(1));
    QVERIFY(maker);
    QCOMPARE(PanelState(*w), before);
    QCOMPARE(w->device().updateMemoryRuns(), runs);
}

// A built-in exercise opens from its menu item in its own window, ticks
// its goals off live, is done once the script has run, is remembered as done,
// and starts afresh on F5 without asking.
void HelpMenusTest::exerciseSolvedFromTheMenu_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("actions");
    QTest::newRow("01 read") << 0 << "A0=1 A1=1 UB=0 LB=0 OE=0 CE=0" << 6;
    QTest::newRow("02 write a word") << 1 << "A0=1 A2=1 D=BEEF LB=0 UB=0 CE=0 WE=0" << 7;
    QTest::newRow("08 word order") << 7 << "order=little D=0001 LB=0 UB=0 CE=0 WE=0" << 6;
}

void HelpMenusTest::exerciseSolvedFromTheMenu() {
    QFETCH(int, index);
    QFETCH(QString, script);
    QFETCH(int, actions);
    auto w = PoweredWindow(Show::Exposed);
    const auto powerOnWords = Words(*w);
    QAction* item = w->findChild<QAction*>(Indexed("mnuExerciseBuiltin", index));
    item->trigger();
    frmExercise* window = w->exerciseWindow();
    QVERIFY(window && window->isVisible() && window->isWindow() && !window->isModal());
    QCOMPARE(window->objectName(), QStringLiteral("frmExercise"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Exercise"));
    QVERIFY(!item->isChecked());
    QCOMPARE(window->property("Done").toBool(), false);
    QCOMPARE(Done(*w), QString());
    QCOMPARE(qobject_cast<QLabel*>(Control(*window, "lblExerciseTitle"))->text(),
             QString::fromStdString(w->exercise().exercise().Title()));
    QCOMPARE(qobject_cast<QLabel*>(Control(*window, "lblExerciseTitle"))->textFormat(), Qt::PlainText);
    const QStringList start = GoalItems(*w);
    QCOMPARE(start, SessionGoals(*w));
    QVERIFY(start.size() >= 1);
    QVERIFY(start.filter(QStringLiteral("[ ] ")).size() >= 1);
    // The student reads the goals; only the exercise checks them.
    auto* list = qobject_cast<QListWidget*>(Control(*window, "lstGoals"));
    QVERIFY(!(list->item(0)->flags() & Qt::ItemIsUserCheckable));

    Play(*w, script);
    QCOMPARE(window->property("Done").toBool(), true);
    QCOMPARE(qobject_cast<QLabel*>(Control(*window, "lblExerciseResult"))->text(),
             QStringLiteral("Done in %1 actions.").arg(actions));
    QCOMPARE(GoalItems(*w).filter(QStringLiteral("[x] ")).size(), start.size());
    QVERIFY(item->isChecked());
    // Remembered for the next start, like the language.
    QVERIFY(frmMain().findChild<QAction*>(Indexed("mnuExerciseBuiltin", index))->isChecked());

    // F5 starts it afresh, never asking; the item stays checked.
    ModalAnswerer none({});
    QApplication::setActiveWindow(w.get());
    QTest::keyClick(w.get(), Qt::Key_F5);
    QCOMPARE(window->property("Done").toBool(), false);
    QCOMPARE(GoalItems(*w), start);
    QCOMPARE(qobject_cast<QLabel*>(Control(*window, "lblExerciseResult"))->text(), QString());
    QVERIFY(item->isChecked());
    QTest::qWait(20);
    QCOMPARE(none.seen().size(), size_t(0));

    // Closing keeps the chip as it is.
    const QStringList state = PanelState(*w);
    w->findChild<QAction*>("mnuExerciseClose")->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!w->exercise().isOpen());
    QCOMPARE(PanelState(*w), state);
    QVERIFY(!w->findChild<QAction*>("mnuExerciseRestart")->isEnabled());

    // Closing the window itself ends the exercise too. Opening it again asks
    // first when the words it left are not power-on.
    ModalAnswerer yes({Press(QDialogButtonBox::Yes)});
    const bool changed = Words(*w) != powerOnWords;
    item->trigger();
    QCOMPARE(yes.seen().size(), size_t(changed ? 1 : 0));
    QVERIFY(window->isVisible() && w->exercise().isOpen());
    QVERIFY(window->close());
    QVERIFY(!w->exercise().isOpen());
    QVERIFY(!w->findChild<QAction*>("mnuExerciseClose")->isEnabled());
}

// A bad file is refused with every problem ("LINE: message", the message
// alone for line 0) in a plain-text box
// titled "Exercise", and neither the open exercise nor the chip changes.
void HelpMenusTest::badExerciseFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unknown goal") << QByteArray("title: T\ntext: X\ngoal memroy 5 = BEEF\n")
                                  << QStringLiteral("3: unknown goal \"memroy\"; did you mean \"memory\"?");
    QTest::newRow("no goal") << QByteArray("title: T\ntext: X\n") << QStringLiteral("the file has no goal");
    QTest::newRow("markup in the file") << QByteArray("title: <b>T</b>\ntext: X\ngoal read = <i>\n")
                                        << QStringLiteral("3: ");
    QTest::newRow("not UTF-8") << QByteArray("title: T\ntext: \xff\n") << QStringLiteral("2: the line is not UTF-8 text");
    QTest::newRow("no such file") << QByteArray() << QStringLiteral("the file cannot be read");
}

void HelpMenusTest::badExerciseFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.bwx"));
    if (!bytes.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    auto w = PoweredWindow(Show::Exposed);
    w->findChild<QAction*>("mnuExerciseBuiltin(1)")->trigger();
    Play(*w, QStringLiteral("A0=1 D=1234"));
    const QStringList state = PanelState(*w);
    const auto words = Words(*w);
    const QStringList goals = GoalItems(*w);
    const QString title = qobject_cast<QLabel*>(Control(*w->exerciseWindow(), "lblExerciseTitle"))->text();

    ModalAnswerer answers({Press(QDialogButtonBox::Ok)});
    QVERIFY(!w->OpenExercise(path));
    QCOMPARE(answers.seen().size(), size_t(1));
    QCOMPARE(answers.seen()[0].title, QStringLiteral("Exercise"));
    QVERIFY2(answers.seen()[0].text.startsWith(expected), qPrintable(answers.seen()[0].text));
    QCOMPARE(answers.seen()[0].textFormat, int(Qt::PlainText));
    QCOMPARE(PanelState(*w), state);
    QCOMPARE(Words(*w), words);
    QCOMPARE(GoalItems(*w), goals);
    QCOMPARE(qobject_cast<QLabel*>(Control(*w->exerciseWindow(), "lblExerciseTitle"))->text(), title);
}

// File, Restart powers the chip up afresh, or restarts the open exercise;
// it and opening an exercise ask first only when the memory holds words the
// student changed: from power-on, or inside an exercise from its start.
void HelpMenusTest::fileRestart_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("exercise");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("yes");
    const QString restart = QStringLiteral("mnuFileRestart"), open = QStringLiteral("mnuExerciseBuiltin(0)");
    const QString write = QStringLiteral("D=1234 WE=0 LB=0 UB=0 CE=0");
    QTest::newRow("power-on words: no question") << restart << "D=1234 A0=1" << false << false << true;
    QTest::newRow("written word, No keeps it") << restart << write << false << true << false;
    QTest::newRow("written word, Yes") << restart << write << false << true << true;
    QTest::newRow("exercise with givens, Yes restarts it") << restart << "A2=1 A0=1 D=BEEF" << true << true << true;
    QTest::newRow("exercise's own words: no question") << restart << "A0=1" << true << false << true;
    QTest::newRow("open over a written word, No") << open << write << false << true << false;
    QTest::newRow("open over a written word, Yes") << open << write << false << true << true;
    QTest::newRow("open over an exercise's own words") << open << "A0=1" << true << false << true;
    QTest::newRow("open over an exercise's written word") << open << "A0=1 D=BEEF" << true << true << true;
    QTest::newRow("drop over a written word, Yes") << "drop" << write << false << true << true;
}

void HelpMenusTest::fileRestart() {
    QFETCH(QString, item);
    QFETCH(QString, script);
    QFETCH(bool, exercise);
    QFETCH(bool, asked);
    QFETCH(bool, yes);
    auto w = PoweredWindow(Show::Exposed);
    const QStringList powerOn = PanelState(*w);
    const auto powerOnWords = Words(*w);
    QStringList start;
    std::vector<std::string> startWords;
    if (exercise) {
        w->findChild<QAction*>("mnuExerciseBuiltin(5)")->trigger();  // the write on the way: memory givens
        start = PanelState(*w);
        startWords = Words(*w);
    }
    Play(*w, script);
    const QStringList before = PanelState(*w);
    const auto words = Words(*w);

    ModalAnswerer answers({Press(yes ? QDialogButtonBox::Yes : QDialogButtonBox::No)});
    QTemporaryDir dir;
    if (item == QLatin1String("drop")) {
        QFile file(dir.filePath(QStringLiteral("first.bwx")));
        const std::string_view bytes = bitwell::BuiltinExercises()[0].bytes;
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) && file.flush());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file.fileName())});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w.get(), &enter);
        QApplication::sendEvent(w.get(), &drop);
    } else {
        w->findChild<QAction*>(item)->trigger();
    }
    QTest::qWait(asked ? 0 : 20);
    QCOMPARE(answers.seen().size(), size_t(asked ? 1 : 0));
    if (asked) {
        QCOMPARE(answers.seen()[0].text, QStringLiteral("Power the chip up afresh? The memory's words will be lost."));
        QCOMPARE(answers.seen()[0].icon, int(QMessageBox::Question));
    }
    if (!yes) {
        QCOMPARE(PanelState(*w), before);
        QCOMPARE(Words(*w), words);
        QCOMPARE(w->exercise().isOpen(), exercise);
    } else if (item != QLatin1String("mnuFileRestart")) {
        QCOMPARE(QString::fromStdString(w->exercise().exercise().Title()), QStringLiteral("Read a word"));
        QCOMPARE(w->exercise().actions(), 0UL);
    } else if (exercise) {
        QCOMPARE(PanelState(*w), start);
        QCOMPARE(Words(*w), startWords);
        QVERIFY(w->exercise().isOpen());
        QCOMPARE(w->exercise().actions(), 0UL);
    } else {
        QCOMPARE(PanelState(*w), powerOn);
        QCOMPARE(Words(*w), powerOnWords);
    }
}

// A language switch redraws the open exercise in the file's own lines and
// the course's titles in the menu.
void HelpMenusTest::exerciseSpeaksTheChosenLanguage() {
    auto w = PoweredWindow(Show::Exposed);
    w->findChild<QAction*>("mnuExerciseBuiltin(0)")->trigger();
    const QStringList english = GoalItems(*w);
    QVERIFY(w->SetLanguage(QStringLiteral("de")));
    auto* title = qobject_cast<QLabel*>(Control(*w->exerciseWindow(), "lblExerciseTitle"));
    QCOMPARE(title->text(), QStringLiteral("Ein Wort lesen"));
    QCOMPARE(w->findChild<QAction*>("mnuExerciseBuiltin(0)")->text(), QStringLiteral("&1 Ein Wort lesen"));
    QCOMPARE(GoalItems(*w), SessionGoals(*w));
    QVERIFY(GoalItems(*w) != english);
    QVERIFY(w->SetLanguage(QStringLiteral("en")));
    QCOMPARE(GoalItems(*w), english);
    QCOMPARE(title->text(), QStringLiteral("Read a word"));
}

// Save Attempt asks the learner's name once, and the file it writes grades
// as done by replay.
void HelpMenusTest::attemptSavedAndGraded() {
    QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")).remove(QStringLiteral("learnerName"));
    QTemporaryDir dir;
    const auto saveAs = [](const QString& path) -> ModalAnswerer::Answer {
        return [path](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        };
    };
    auto w = PoweredWindow(Show::Exposed);
    w->findChild<QAction*>("mnuExerciseBuiltin(1)")->trigger();
    Play(*w, QStringLiteral("A0=1 A2=1 D=BEEF LB=0 UB=0 CE=0 WE=0"));
    for (const bool first : {true, false}) {
        const QString path = dir.filePath(first ? QStringLiteral("first") : QStringLiteral("second"));
        ModalAnswerer answers(first ? std::vector{Type("Ada Lovelace"), saveAs(path)} : std::vector{saveAs(path)});
        w->findChild<QAction*>("mnuExerciseSaveAttempt")->trigger();
        QFile file(path + QStringLiteral(".bwa"));
        bitwell::Attempt attempt;
        bitwell::AttemptGrade grade;
        bitwell::ExerciseError error;
        QVERIFY(file.open(QIODevice::ReadOnly) && bitwell::ReadAttempt(file.readAll().toStdString(), attempt, error));
        QVERIFY(bitwell::GradeAttempt(attempt, grade, error) && grade.done && grade.actions == 7);
        QCOMPARE(attempt.learner, std::string("Ada Lovelace"));
    }
}

QTEST_MAIN(HelpMenusTest)
#include "help_menus_test.moc"
