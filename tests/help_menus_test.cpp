#include <QAction>
#include <QCheckBox>
#include <QRegularExpression>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "tests/WindowHelpers.h"
#include "ui/Caption.h"
#include "core/Timing.h"
#include "core/TimingPlacement.h"
#include "ui/TimingDiagram.h"
#include "ui/frmAbout.h"
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

}  // namespace

class HelpMenusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
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
    void timingOpensOnTheDiagram();
    void timingUndoClear();
    void timingExports_data();
    void timingExports();
    void exitAnsweredNo_data();
    void exitAnsweredNo();
    void aboutOpensModallyEachTime_data();
    void aboutOpensModallyEachTime();
    void aboutBlocksTheMainWindow();
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
    QCOMPARE(titles, QStringList({"mnuFile", "mnuEdit", "mnuView", "mnuHelp"}));
    const struct {
        const char* name;
        const char* text;
        QKeySequence keys;
    } items[] = {{"mnuEditEnter", "&Enter Data Word...", QKeySequence(Qt::Key_F2)},
                 {"mnuEditCopyRead", "&Copy Read to Input", QKeySequence(Qt::CTRL | Qt::Key_R)},
                 {"mnuViewTiming", "&Timing Diagram", QKeySequence(Qt::CTRL | Qt::Key_T)}};
    for (const auto& item : items) {
        auto* action = w.findChild<QAction*>(item.name);
        QVERIFY(action);
        QCOMPARE(action->text(), QLatin1String(item.text));
        QCOMPARE(action->shortcut(), item.keys);
    }
    QVERIFY(w.findChild<QAction*>("mnuViewTiming")->isCheckable());
}

// The Edit items do what the double-clicks do: the same dialog, checks and
// evaluations, from the keyboard.
void HelpMenusTest::editMenuMatchesDoubleClicks_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("double clicks") << false;
    QTest::newRow("F2 and Ctrl+R") << true;
}

void HelpMenusTest::editMenuMatchesDoubleClicks() {
    QFETCH(bool, fromMenu);
    auto w = PoweredWindow(Show::Exposed);
    EnterWriteCycle(*w);
    const auto enter = [&] {
        if (fromMenu) {
            // A closed dialog may leave no window active; shortcuts need one.
            QApplication::setActiveWindow(w.get());
            QTest::keyClick(w.get(), Qt::Key_F2);
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
        QApplication::setActiveWindow(w.get());
        QTest::keyClick(w.get(), Qt::Key_R, Qt::ControlModifier);
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

// Opened, the window holds the focus on the diagram, beside the main window
// and at least its minimum size; Space cannot wipe the trace.
void HelpMenusTest::timingOpensOnTheDiagram() {
    auto w = PoweredWindow(Show::Exposed);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    frmTiming* timing = w->timing();
    QApplication::setActiveWindow(timing);
    QVERIFY(QTest::qWaitForWindowActive(timing, 2000));
    QCOMPARE(timing->focusWidget(), static_cast<QWidget*>(timing->diagram()));
    const QString csv = timing->Csv();
    QTest::keyClick(timing->focusWidget(), Qt::Key_Space);
    QCOMPARE(timing->Csv(), csv);
    QTest::keyClick(timing->focusWidget(), Qt::Key_Left);
    QCOMPARE(timing->diagram()->Selected(), 4);
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
        QCOMPARE(look.geometry, QRect(156, 129, 401, 178));
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

QTEST_MAIN(HelpMenusTest)
#include "help_menus_test.moc"
