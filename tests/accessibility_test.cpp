#include <QAccessible>
#include <QHelpEvent>
#include <QRadioButton>
#include <QToolTip>
#include <QTemporaryFile>
#include <QTest>
#include <memory>

#include "tests/WindowHelpers.h"
#include "core/Trace.h"
#include "ui/TimingDiagram.h"
#include "ui/frmMain.h"
#include "ui/frmTiming.h"

using namespace wintest;

namespace {

QAccessibleInterface* Accessible(const frmMain& w, const QString& name) {
    return QAccessible::queryAccessibleInterface(Control(w, name));
}


void Press(Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(QApplication::focusWidget(), key);
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    void namesAndDescriptions_data();
    void namesAndDescriptions();
    void switchReportsItsPosition();
    void keyboardAloneWritesAWord();
    void keyboardChoosesWordOrder();
    void captionsLampsAndDecorations();
    void eachActionIsAnnouncedOnce_data();
    void eachActionIsAnnouncedOnce();
    void doneIsHeardWithTheLastAction();
    void tooltips_data();
    void tooltips();
    void timingWindowAndItsSteps();
    void timingStepRows_data();
    void timingStepRows();
};

void AccessibilityTest::namesAndDescriptions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("sigCE") << "sigCE" << "Chip enable, active low" << "Chip Enable signal. Active LOW. LOW, active";
    QTest::newRow("sigOE") << "sigOE" << "Output enable, active low" << "Output Enable signal. Active LOW. LOW, active";
    QTest::newRow("sigWE") << "sigWE" << "Write enable, active low" << "Write Enable signal. Active LOW. LOW, active";
    QTest::newRow("sigLB") << "sigLB" << "Lower byte enable, active low" << "Lower Byte Enable signal. Active LOW. LOW, active";
    QTest::newRow("sigUB") << "sigUB" << "Upper byte enable, active low" << "Upper Byte Enable signal. Active LOW. LOW, active";
    // Without hover help, a switch's tooltip describes it.
    QTest::newRow("sigAddr(2)") << "sigAddr(2)" << "Address bit 2" << "A2";
    QTest::newRow("sigData(7)") << "sigData(7)" << "Data bit 7" << "D7";
    QTest::newRow("sigRead(0)") << "sigRead(0)" << "Read bit 0" << "lit, 1";
    QTest::newRow("lblAddr") << "lblAddr" << "Address" << "Address range: 0x0 - 0xF (0 - 15).";
    QTest::newRow("lblData") << "lblData" << "Data input"
                             << "Double click here or press F2 to enter the data textually.";
    QTest::newRow("lblRead") << "lblRead" << "Data read"
                             << "Double click here or press Ctrl+R to copy the read data to the input data above.";
    QTest::newRow("lblCE") << "lblCE" << "CE" << "Chip Enable signal. Active LOW.";
    QTest::newRow("optBig") << "optBig" << "Big Endian"
                            << "Selecting this option will treat the word at the starting address as the high word.";
    QTest::newRow("lblContents") << "lblContents" << "Memory contents" << "";
    QTest::newRow("lblStatus") << "lblStatus" << "Status" << "";
}

void AccessibilityTest::namesAndDescriptions() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    // At design time: every switch at 0, so a control switch says it is
    // LOW, active.
    frmMain w;
    QAccessibleInterface* a = Accessible(w, control);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), name);
    QCOMPARE(a->text(QAccessible::Description), description);
}

void AccessibilityTest::switchReportsItsPosition() {
    frmMain w;
    w.Form_Load();
    QAccessibleInterface* a = Accessible(w, "sigCE");
    QCOMPARE(a->role(), QAccessible::Slider);
    QAccessibleValueInterface* v = a->valueInterface();
    QVERIFY(v);
    QCOMPARE(v->currentValue().toInt(), 1);
    QCOMPARE(v->minimumValue().toInt(), 0);
    QCOMPARE(v->maximumValue().toInt(), 1);
    const long runs = w.device().updateMemoryRuns();
    v->setCurrentValue(0);
    QCOMPARE(Value(w, "sigCE"), 0);
    QCOMPARE(w.device().updateMemoryRuns() - runs, 1L);
    QCOMPARE(Accessible(w, "sigData(3)")->valueInterface()->currentValue().toInt(), 0);
    // A control switch says its level in words too; a data switch has none.
    QCOMPARE(a->text(QAccessible::Value), QStringLiteral("LOW, active"));
    QVERIFY(a->text(QAccessible::Description).endsWith(QStringLiteral(" LOW, active")));
    SetValue(w, "sigCE", 1);
    QCOMPARE(a->text(QAccessible::Value), QStringLiteral("HIGH, inactive"));
    QCOMPARE(Accessible(w, "sigData(3)")->text(QAccessible::Description), QStringLiteral("D3"));
}

void AccessibilityTest::keyboardAloneWritesAWord() {
    auto w = PoweredWindow(Show::Active);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("sigUB"));
    Press(Qt::Key_Down);               // UB low
    Press(Qt::Key_Tab, 9);             // sigData(3..0), (7..4), then sigData(11)
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("sigData(11)"));
    Press(Qt::Key_Up);
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("0800"));
    Press(Qt::Key_Tab, 11);            // the rest of the data bits and the address bits
    Press(Qt::Key_Tab, 3);             // sigOE, sigLB, sigCE
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("sigCE"));
    Press(Qt::Key_Down);               // CE low: WE is still high, OE high, no cycle
    QCOMPARE(w->device().memWords[0], std::string("FFFF"));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Down);               // WE low: write the upper byte
    QCOMPARE(w->device().memWords[0], std::string("08FF"));
    QCOMPARE(Caption(*w, "lblContents").left(13), QStringLiteral("00: 08FF FFFF"));
}

void AccessibilityTest::keyboardChoosesWordOrder() {
    auto w = PoweredWindow(Show::Active);
    // Two different words, 1234 at address 0 and 5678 at 1, so that the two
    // orders read differently.
    EnterWriteCycle(*w);
    SetCaption(*w, "lblData", QStringLiteral("1234"));
    SetValue(*w, "sigCE", 1);
    SetValue(*w, "sigAddr(0)", 1);
    SetCaption(*w, "lblData", QStringLiteral("5678"));
    SetValue(*w, "sigCE", 0);
    SetValue(*w, "sigCE", 1);
    SetValue(*w, "sigAddr(0)", 0);
    QVERIFY(Caption(*w, "lblTypes").contains(QStringLiteral("Data: 0x12345678\r\n")));

    auto* big = w->findChild<QRadioButton*>("optBig");
    auto* little = w->findChild<QRadioButton*>("optLittle");
    big->setFocus();
    Press(Qt::Key_Right);
    QVERIFY(little->isChecked());
    QVERIFY(Caption(*w, "lblTypes").contains(QStringLiteral("Data: 0x56781234\r\n")));
    const long runs = w->device().updateMemoryRuns();
    Press(Qt::Key_Left);
    QVERIFY(big->isChecked());
    QVERIFY(Caption(*w, "lblTypes").contains(QStringLiteral("Data: 0x12345678\r\n")));
    QCOMPARE(w->device().updateMemoryRuns() - runs, 1L);
}

// Captions read out their whole text, every read bit says whether it is
// lit while its lamp is dark, and the decorations stay out of the tree.
void AccessibilityTest::captionsLampsAndDecorations() {
    frmMain w;
    w.Form_Load();
    QAccessibleTextInterface* read = Accessible(w, "lblRead")->textInterface();
    QVERIFY(read);
    QCOMPARE(read->text(0, read->characterCount()), QStringLiteral("FFFF"));
    QAccessibleTextInterface* contents = Accessible(w, "lblContents")->textInterface();
    QVERIFY(contents);
    QVERIFY(contents->text(0, contents->characterCount()).startsWith(QStringLiteral("00: FFFF FFFF\n02:")));
    QCOMPARE(Accessible(w, "lblContents")->text(QAccessible::Name), QStringLiteral("Memory contents"));
    QVERIFY(Accessible(w, "lblStatus")->textInterface()->text(0, 5) == QStringLiteral("Hover"));

    SetCaption(w, "lblRead", QStringLiteral("0001"));
    QAccessibleInterface* dark = Accessible(w, "sigRead(1)");
    QVERIFY(Control(w, "sigRead(1)")->isHidden());
    // A read bit is a read-only check box, checked while lit, with no value
    // to change and no action: nothing a student could try and fail.
    QAccessibleInterface* lit = Accessible(w, "sigRead(0)");
    for (QAccessibleInterface* bit : {dark, lit}) {
        QCOMPARE(bit->role(), QAccessible::CheckBox);
        QVERIFY(!bit->valueInterface());
        QVERIFY(!bit->actionInterface());
        QVERIFY(bit->state().readOnly);
        QVERIFY(bit->state().checkable);
    }
    QVERIFY(!dark->state().checked);
    QCOMPARE(dark->text(QAccessible::Description), QStringLiteral("dark, 0"));
    QVERIFY(lit->state().checked);
    QCOMPARE(lit->text(QAccessible::Description), QStringLiteral("lit, 1"));

    QAccessibleInterface* panel = Accessible(w, "Frame3");
    QStringList names;
    int bits = 0;
    for (int i = 0; i < panel->childCount(); ++i) {
        QAccessibleInterface* child = panel->child(i);
        QCOMPARE(panel->indexOfChild(child), i);
        names << child->object()->objectName();
        if (child->text(QAccessible::Name).startsWith(QStringLiteral("Read bit "))) ++bits;
    }
    QCOMPARE(bits, 16);
    QVERIFY(names.contains(QStringLiteral("sigRead(1)")));
    for (const QString& name : std::as_const(names))
        QVERIFY2(!name.startsWith(QStringLiteral("borderRead")) &&
                     !name.startsWith(QStringLiteral("backgroundRead")) &&
                     !name.startsWith(QStringLiteral("Line")),
                 qPrintable(name));
}

// Counts how often lblAnnounce is shown: each showing is one announcement.
class ShowCounter : public QObject {
public:
    using QObject::QObject;
    int shown = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) ++shown;
        return false;
    }
};

void AccessibilityTest::eachActionIsAnnouncedOnce_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");  // a switch's 0 or 1, or a caption's text
    QTest::addColumn<QString>("heard");
    // From a write cycle of both bytes at address 0 with 0000 written.
    QTest::newRow("typed word, sixteen steps") << "lblData" << "BEEF" << "write BEEF to address 0, both bytes";
    QTest::newRow("one data bit") << "sigData(0)" << "1" << "write 0001 to address 0, both bytes";
    QTest::newRow("upper byte only") << "sigLB" << "1" << "write 0000 to address 0, upper byte";
    QTest::newRow("write ends") << "sigWE" << "1" << "no cycle";
    QTest::newRow("address") << "sigAddr(2)" << "1" << "write 0000 to address 4, both bytes";
    QTest::newRow("copy read") << "lblRead" << "" << "write FFFF to address 0, both bytes";
}

void AccessibilityTest::eachActionIsAnnouncedOnce() {
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, heard);
    auto shown = PoweredWindow(Show::Exposed);
    frmMain& w = *shown;
    EnterWriteCycle(w);
    QWidget* announcer = Control(w, "lblAnnounce");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(announcer);
    QCOMPARE(a->role(), QAccessible::Notification);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("write 0000 to address 0, both bytes"));
    ShowCounter counter;
    announcer->installEventFilter(&counter);
    const QString status = Caption(w, "lblStatus");
    if (control == QLatin1String("lblRead")) {
        QMetaObject::invokeMethod(&w, [&w] {
            for (QAction* action : w.findChildren<QAction*>())
                if (action->objectName() == QLatin1String("mnuEditCopyRead")) action->trigger();
        });
    } else if (control.startsWith(QLatin1String("lbl"))) {
        SetCaption(w, control, value);
    } else {
        SetValue(w, control, value.toInt());
    }
    QCOMPARE(counter.shown, 1);
    QCOMPARE(a->text(QAccessible::Name), heard);
    QCOMPARE(Caption(w, "lblStatus"), status);
}

// The action that finishes an exercise is heard with its "Done": one
// announcement, after what the chip did.
void AccessibilityTest::doneIsHeardWithTheLastAction() {
    auto shown = PoweredWindow(Show::Exposed);
    frmMain& w = *shown;
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("title: T\ntext: X\ngiven WE = 0\ngiven LB = 0\ngiven UB = 0\ngoal memory 0 = 0000\n");
    file.close();
    QVERIFY(w.OpenExercise(file.fileName()));
    QWidget* announcer = Control(w, "lblAnnounce");
    ShowCounter counter;
    announcer->installEventFilter(&counter);
    SetValue(w, "sigCE", 0);
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->text(QAccessible::Name),
             QStringLiteral("write 0000 to address 0, both bytes. Done in 1 action."));
    // The next action is heard alone.
    SetValue(w, "sigCE", 1);
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->text(QAccessible::Name), QStringLiteral("no cycle"));
}

void AccessibilityTest::tooltips_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("tip");
    QTest::newRow("sigWE") << "sigWE" << "WE";
    QTest::newRow("sigAddr(2)") << "sigAddr(2)" << "A2";
    QTest::newRow("sigData(0)") << "sigData(0)" << "D0";
    QTest::newRow("sigData(15)") << "sigData(15)" << "D15";
    QTest::newRow("lit lamp") << "sigRead(15)" << "Q15";
    QTest::newRow("dark lamp") << "sigRead(0)" << "Q0";
}

// Each switch names its signal and bit; each lamp's column its read bit,
// lit or dark.
void AccessibilityTest::tooltips() {
    QFETCH(QString, control);
    QFETCH(QString, tip);
    auto w = PoweredWindow(Show::Active);
    SetCaption(*w, "lblRead", QStringLiteral("8000"));
    QWidget* c = Control(*w, control);
    QWidget* target = c->testAttribute(Qt::WA_TransparentForMouseEvents) ? c->parentWidget() : c;
    const QPoint local = c->mapTo(target, c->rect().center());
    QHelpEvent help(QEvent::ToolTip, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &help);
    QTRY_COMPARE(QToolTip::text(), tip);
    QToolTip::hideText();
}

QTEST_MAIN(AccessibilityTest)
// To assistive technology the timing window is a window, and its diagram a
// table of the kept steps whose selected row follows Left and Right.
void AccessibilityTest::timingWindowAndItsSteps() {
    auto w = PoweredWindow(Show::Active);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    frmTiming* timing = w->timing();
    QVERIFY(timing);
    QCOMPARE(QAccessible::queryAccessibleInterface(timing)->role(), QAccessible::Window);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(timing->diagram());
    QCOMPARE(table->role(), QAccessible::Table);
    QAccessibleTableInterface* steps = table->tableInterface();
    QVERIFY(steps);
    QCOMPARE(steps->rowCount(), 5);
    QCOMPARE(steps->columnCount(), 14);
    QCOMPARE(steps->columnDescription(8), QStringLiteral("A"));
    QCOMPARE(steps->selectedRowCount(), 0);

    QTest::keyClick(timing->diagram(), Qt::Key_Left);
    QCOMPARE(steps->selectedRows(), QList<int>{4});
    QTest::keyClick(timing->diagram(), Qt::Key_Left);
    QCOMPARE(steps->selectedRows(), QList<int>{3});
    QVERIFY(steps->cellAt(3, 0)->tableCellInterface()->isSelected());
    QVERIFY(!steps->cellAt(4, 0)->tableCellInterface()->isSelected());
    QCOMPARE(table->focusChild(), steps->cellAt(3, 0));
    // A row chosen by assistive technology selects the step.
    QVERIFY(steps->selectRow(1));
    QCOMPARE(timing->diagram()->Selected(), 1);
    QVERIFY(steps->cellAt(5, 0) == nullptr);
}

void AccessibilityTest::timingStepRows_data() {
    QTest::addColumn<int>("toggles");
    QTest::addColumn<int>("row");
    QTest::newRow("power-up") << 0 << 0;
    QTest::newRow("newest") << 20 << 24;
    // The trace keeps 4,096 steps; the table reads any row by its index.
    QTest::newRow("full trace, oldest") << 4200 << 0;
    QTest::newRow("full trace, late") << 4200 << 4000;
}

// Each row reads as the step's CSV line, named by its description.
void AccessibilityTest::timingStepRows() {
    QFETCH(int, toggles);
    QFETCH(int, row);
    auto w = PoweredWindow(Show::Active);
    for (int i = 0; i < toggles; ++i) SetValue(*w, "sigData(5)", (i + 1) % 2);
    QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
    const bitwell::Trace& trace = w->timing()->diagram()->Trace();
    QAccessibleTableInterface* steps = QAccessible::queryAccessibleInterface(w->timing()->diagram())->tableInterface();
    QCOMPARE(steps->rowCount(), static_cast<int>(trace.size()));
    const bitwell::TraceStep& step = trace[static_cast<std::size_t>(row)];
    QCOMPARE(steps->rowDescription(row), QString::fromStdString(bitwell::Trace::Describe(step)));
    QStringList cells;
    for (int c = 0; c < steps->columnCount(); ++c) cells << steps->cellAt(row, c)->text(QAccessible::Name);
    QCOMPARE(cells.join(QLatin1Char(',')) + QLatin1Char('\n'), QString::fromStdString(bitwell::Trace::CsvLine(step)));
    QCOMPARE(steps->cellAt(row, 2)->tableCellInterface()->rowIndex(), row);
}

#include "accessibility_test.moc"
