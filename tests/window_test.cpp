#include <QGlyphRun>
#include <QGroupBox>
#include <QRawFont>
#include <QTextLayout>
#include <QLabel>
#include <QMainWindow>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "core/TypedEntry.h"
#include "ui/DataEntry.h"
#include "tests/WindowHelpers.h"
#include "ui/Caption.h"
#include "ui/Switch.h"
#include "ui/frmMain.h"

using namespace wintest;

namespace {

QString ContentsLine(const QWidget& w, int line) {
    return Caption(w, "lblContents").split(QStringLiteral("\r\n")).value(line);
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    void designTimeState();
    void startUpState();
    void windowFrame();
    void geometry_data();
    void geometry();
    void listingsFitTheirBoxes();
    void titlesStayClearOfTheirValues_data();
    void titlesStayClearOfTheirValues();
    void switchNotifiesOnlyOnRealChange();
    void userMovesSwitch_data();
    void userMovesSwitch();
    void addressSwitchesSetTheAddress_data();
    void addressSwitchesSetTheAddress();
    void dataSwitchMovesTheCaption();
    void dataCaptionRunCounts_data();
    void dataCaptionRunCounts();
    void readCaptionDrivesLamps_data();
    void readCaptionDrivesLamps();
    void roadOfOneEvent();
    void byteEnabledCyclesThroughSwitches_data();
    void byteEnabledCyclesThroughSwitches();
    void writeCycleFollowsAddressSwitches();
    void wordOrderOptions();
    void typedEntry_data();
    void typedEntry();
    void typedEntryInWriteCycleCountsChangedBits();
    void directionalRuleMatchesTheToolkit();
    void controlPicturesHaveGlyphs();
    void copyOfTheReadWord();
    void lampRendering();
    void focusOrder();
};

void WindowTest::designTimeState() {
    frmMain w;
    for (const char* name : {"sigWE", "sigCE", "sigOE", "sigLB", "sigUB"}) QCOMPARE(Value(w, name), 0);
    for (int i = 0; i < 4; ++i) QCOMPARE(Value(w, Indexed("sigAddr", i)), 0);
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(Value(w, Indexed("sigData", i)), 0);
        QVERIFY(!Control(w, Indexed("sigRead", i))->isHidden());
    }
    QCOMPARE(Caption(w, "lblAddr"), QStringLiteral("0"));
    QCOMPARE(Caption(w, "lblData"), QStringLiteral("0000"));
    QCOMPARE(Caption(w, "lblRead"), QStringLiteral("0000"));
    QCOMPARE(Caption(w, "lblContents"), QString());
    QCOMPARE(Caption(w, "lblTypes"), QString());
    QCOMPARE(Caption(w, "lblStatus"),
             QStringLiteral("Hover your mouse over a control signal label to see a description."));
    QVERIFY(w.findChild<QRadioButton*>("optBig")->isChecked());
    QVERIFY(!w.findChild<QRadioButton*>("optLittle")->isChecked());
    QCOMPARE(w.device().updateMemoryRuns(), 0);
}

void WindowTest::startUpState() {
    auto w = PoweredWindow();
    for (const char* name : {"sigWE", "sigCE", "sigOE", "sigLB", "sigUB"}) QCOMPARE(Value(*w, name), 1);
    QCOMPARE(Caption(*w, "lblRead"), QStringLiteral("FFFF"));
    QCOMPARE(LampWord(*w), QStringLiteral("FFFF"));
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("0000"));
    QCOMPARE(ContentsLine(*w, 7), QStringLiteral("0E: FFFF FFFF"));
    QVERIFY(Caption(*w, "lblTypes").startsWith(QStringLiteral("Starting Address: 0x0\r\nData: 0xFFFFFFFF\r\n")));
    QCOMPARE(w->device().updateContentsRuns(), 2);
    QCOMPARE(w->device().updateTypesRuns(), 5);
}

void WindowTest::windowFrame() {
    auto w = PoweredWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quorin Bitwell"));
    QCOMPARE(w->centralWidget()->size(), QSize(593, 451));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
    const QPoint centre = w->screen()->availableGeometry().center();
    QVERIFY(qAbs(w->frameGeometry().center().x() - centre.x()) <= 1);
    QVERIFY(qAbs(w->frameGeometry().center().y() - centre.y()) <= 1);
}

void WindowTest::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    const QString frame3 = QStringLiteral("Frame3");
    QTest::newRow("Frame3") << "Frame3" << "Form" << QRect(8, 8, 305, 417);
    QTest::newRow("Frame2") << "Frame2" << "Form" << QRect(328, 8, 257, 185);
    QTest::newRow("Frame1") << "Frame1" << "Form" << QRect(328, 200, 257, 225);
    QTest::newRow("lblStatus") << "lblStatus" << "Form" << QRect(0, 432, 593, 17);
    QTest::newRow("sigWE") << "sigWE" << frame3 << QRect(27, 24, 17, 81);
    QTest::newRow("sigUB") << "sigUB" << frame3 << QRect(155, 24, 17, 81);
    QTest::newRow("sigAddr(0)") << "sigAddr(0)" << frame3 << QRect(259, 24, 17, 81);
    QTest::newRow("sigAddr(3)") << "sigAddr(3)" << frame3 << QRect(187, 24, 17, 81);
    QTest::newRow("sigData(0)") << "sigData(0)" << frame3 << QRect(267, 152, 9, 81);
    QTest::newRow("sigData(15)") << "sigData(15)" << frame3 << QRect(27, 152, 9, 81);
    QTest::newRow("sigRead(0)") << "sigRead(0)" << frame3 << QRect(267, 264, 9, 81);
    QTest::newRow("borderRead(16)") << "borderRead(16)" << frame3 << QRect(27, 264, 9, 81);
    QTest::newRow("backgroundRead(31)") << "backgroundRead(31)" << frame3 << QRect(267, 304, 9, 41);
    QTest::newRow("Line3") << "Line3" << frame3 << QRect(151, 151, 1, 84);
    QTest::newRow("Line6") << "Line6" << frame3 << QRect(153, 111, 20, 1);
    QTest::newRow("lblAddr") << "lblAddr" << frame3 << QRect(258, 112, 21, 17);
    QTest::newRow("lblData") << "lblData" << frame3 << QRect(168, 240, 30, 17);
    QTest::newRow("lblRead") << "lblRead" << frame3 << QRect(171, 352, 29, 17);
    QTest::newRow("Label8") << "Label8" << frame3 << QRect(16, 320, 9, 17);
    QTest::newRow("lblContents") << "lblContents" << "Frame2" << QRect(16, 24, 177, 145);
    QTest::newRow("optLittle") << "optLittle" << "Frame1" << QRect(112, 40, 81, 17);
    QTest::newRow("lblTypes") << "lblTypes" << "Frame1" << QRect(16, 64, 217, 151);
}

void WindowTest::geometry() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    frmMain w;
    QWidget* c = Control(w, name);
    QCOMPARE(c->parentWidget()->objectName(), parent);
    QCOMPARE(c->geometry(), rect);
}

void WindowTest::listingsFitTheirBoxes() {
    auto w = PoweredWindow();
    // The longest listing lines: ten-digit integers and the widest float.
    SetCaption(*w, "lblData", QStringLiteral("FF7F"));
    for (const char* name : {"lblContents", "lblTypes"}) {
        QWidget* label = Control(*w, name);
        const QFontMetrics m(label->font());
        const QString text = Caption(*w, name);
        QVERIFY(text.count(QStringLiteral("\r\n")) * m.lineSpacing() <= label->height());
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (const QString& line : lines) QVERIFY2(m.horizontalAdvance(line) <= label->width(), qPrintable(line));
    }
    const QFontMetrics types(Control(*w, "lblTypes")->font());
    QVERIFY(types.horizontalAdvance(QStringLiteral("Integer (unsigned): 4294967295")) <=
            Control(*w, "lblTypes")->width());
}

void WindowTest::titlesStayClearOfTheirValues_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("value");
    QTest::newRow("address") << "lblAddrTitle" << "lblAddr";
    QTest::newRow("data") << "lblDataTitle" << "lblData";
    QTest::newRow("read") << "lblReadTitle" << "lblRead";
}

// A title's text ends before the value caption that follows it begins, so
// "0x" is never covered, and it is drawn whole: its last glyph has ink.
void WindowTest::titlesStayClearOfTheirValues() {
    QFETCH(QString, title);
    QFETCH(QString, value);
    frmMain w;
    QWidget* t = Control(w, title);
    const int visible = Control(w, value)->x() - t->x();
    const QImage image = t->grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    const QRgb face = t->palette().color(QPalette::Window).rgb();
    int lastInk = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != face) lastInk = x;
    QVERIFY(lastInk >= 0);
    QVERIFY2(lastInk < qRound(visible * dpr), qPrintable(QString::number(lastInk)));
    QVERIFY(lastInk >= qRound((visible - 8) * dpr));
}

void WindowTest::switchNotifiesOnlyOnRealChange() {
    frmMain w;
    QSignalSpy spy(Control(w, "sigWE"), SIGNAL(Change()));
    SetValue(w, "sigWE", 1);
    QCOMPARE(spy.count(), 1);
    SetValue(w, "sigWE", 1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(Value(w, "sigWE"), 1);
}

void WindowTest::userMovesSwitch_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("start");
    QTest::addColumn<Part>("part");
    QTest::addColumn<int>("expected");
    for (const char* name : {"sigCE", "sigData(7)"}) {
        const QString n = QLatin1String(name);
        QTest::addRow("%s upper arrow from 0", name) << n << 0 << Part::UpperArrow << 1;
        QTest::addRow("%s upper arrow at 1", name) << n << 1 << Part::UpperArrow << 1;
        QTest::addRow("%s upper track from 0", name) << n << 0 << Part::UpperTrack << 1;
        QTest::addRow("%s lower arrow from 1", name) << n << 1 << Part::LowerArrow << 0;
        QTest::addRow("%s lower arrow at 0", name) << n << 0 << Part::LowerArrow << 0;
        QTest::addRow("%s lower track from 1", name) << n << 1 << Part::LowerTrack << 0;
        QTest::addRow("%s key up from 0", name) << n << 0 << Part::KeyUp << 1;
        QTest::addRow("%s key down from 1", name) << n << 1 << Part::KeyDown << 0;
    }
}

void WindowTest::userMovesSwitch() {
    QFETCH(QString, name);
    QFETCH(int, start);
    QFETCH(Part, part);
    QFETCH(int, expected);
    auto w = PoweredWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    SetValue(*w, name, start);
    QSignalSpy spy(Control(*w, name), SIGNAL(Change()));
    const long runs = w->device().updateMemoryRuns();
    Operate(Control(*w, name), part);
    QCOMPARE(Value(*w, name), expected);
    const int moved = start != expected ? 1 : 0;
    QCOMPARE(spy.count(), moved);
    QCOMPARE(w->device().updateMemoryRuns() - runs, long(moved));
}

void WindowTest::addressSwitchesSetTheAddress_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("caption");
    QTest::newRow("bit3") << 8 << "8";
    QTest::newRow("bit0") << 1 << "1";
    QTest::newRow("all") << 15 << "F";
    QTest::newRow("ten") << 10 << "A";
}

void WindowTest::addressSwitchesSetTheAddress() {
    QFETCH(int, bits);
    QFETCH(QString, caption);
    auto w = PoweredWindow();
    for (int k = 3; k >= 0; --k) SetValue(*w, Indexed("sigAddr", k), (bits >> k) & 1);
    QCOMPARE(Caption(*w, "lblAddr"), caption);
    QVERIFY(Caption(*w, "lblTypes").startsWith(QStringLiteral("Starting Address: 0x") + caption + "\r\n"));
}

void WindowTest::dataSwitchMovesTheCaption() {
    auto w = PoweredWindow();
    const long runs = w->device().updateMemoryRuns();
    SetValue(*w, "sigData(15)", 1);
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("8000"));
    QCOMPARE(w->device().updateMemoryRuns() - runs, 1L);
    SetValue(*w, "sigData(15)", 0);
    SetValue(*w, "sigData(0)", 1);
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("0001"));
}

void WindowTest::dataCaptionRunCounts_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("runs");
    QTest::addColumn<QStringList>("notified");
    QTest::newRow("0000 to FFFF")
        << "0000" << "FFFF" << 16
        << QStringList{"8000", "D15", "C000", "D14", "E000", "D13", "F000", "D12", "F800",
                       "D11", "FC00", "D10", "FE00", "D9", "FF00", "D8", "FF80", "D7", "FFC0",
                       "D6", "FFE0", "D5", "FFF0", "D4", "FFF8", "D3", "FFFC", "D2", "FFFE",
                       "D1", "FFFF", "D0", "FFFF"};
    QTest::newRow("0000 to 8001") << "0000" << "8001" << 2
                                  << QStringList{"8000", "D15", "8001", "D0", "8001"};
    QTest::newRow("same word") << "1234" << "1234" << 0 << QStringList{};
    // Falling bits run the same way down; a bit that rises and one that falls
    // alternate without changing the order.
    QTest::newRow("FFFF to 0000")
        << "FFFF" << "0000" << 16
        << QStringList{"7FFF", "D15", "3FFF", "D14", "1FFF", "D13", "0FFF", "D12", "07FF",
                       "D11", "03FF", "D10", "01FF", "D9", "00FF", "D8", "007F", "D7", "003F",
                       "D6", "001F", "D5", "000F", "D4", "0007", "D3", "0003", "D2", "0001",
                       "D1", "0000", "D0", "0000"};
    QTest::newRow("A5A5 to 5A5A")
        << "A5A5" << "5A5A" << 16
        << QStringList{"25A5", "D15", "65A5", "D14", "45A5", "D13", "55A5", "D12", "5DA5",
                       "D11", "59A5", "D10", "5BA5", "D9", "5AA5", "D8", "5A25", "D7", "5A65",
                       "D6", "5A45", "D5", "5A55", "D4", "5A5D", "D3", "5A59", "D2", "5A5B",
                       "D1", "5A5A", "D0", "5A5A"};
}

void WindowTest::dataCaptionRunCounts() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, runs);
    QFETCH(QStringList, notified);
    auto w = PoweredWindow();
    SetCaption(*w, "lblData", from);
    const long before = w->device().updateMemoryRuns();
    // Every notification in its order, as a listener after the window's own
    // handlers hears it: each moved switch's handler sets the caption to the
    // intermediate word before the switch's later listeners run, and the
    // outer change reaches this spy last.
    QStringList seen;
    auto* data = w->findChild<CaptionLabel*>("lblData");
    QObject::connect(data, &CaptionLabel::Change, w.get(), [&] { seen << data->Caption(); });
    for (int k = 0; k < 16; ++k)
        QObject::connect(w->findChild<Switch*>(Indexed("sigData", k)), &Switch::Change, w.get(),
                         [&seen, k] { seen << QStringLiteral("D%1").arg(k); });
    SetCaption(*w, "lblData", to);
    QCOMPARE(w->device().updateMemoryRuns() - before, long(runs));
    QCOMPARE(Caption(*w, "lblData"), to);
    QCOMPARE(DataSwitchWord(*w), to);
    QCOMPARE(seen, notified);
    QCOMPARE(seen.size(), (from == to ? 0 : 1) + 2 * runs);
}

void WindowTest::readCaptionDrivesLamps_data() {
    QTest::addColumn<QString>("word");
    QTest::newRow("0000") << "0000";
    QTest::newRow("8001") << "8001";
    QTest::newRow("FFFF") << "FFFF";
    QTest::newRow("1234") << "1234";
}

void WindowTest::readCaptionDrivesLamps() {
    QFETCH(QString, word);
    auto w = PoweredWindow();
    SetCaption(*w, "lblRead", QStringLiteral("5A5A"));
    SetCaption(*w, "lblRead", word);
    QCOMPARE(LampWord(*w), word);
}

void WindowTest::roadOfOneEvent() {
    auto w = PoweredWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // CE high (idle), WE, UB and LB low, OE high, address 5, data 1234.
    for (const char* name : {"sigWE", "sigUB", "sigLB"}) SetValue(*w, name, 0);
    SetValue(*w, "sigAddr(0)", 1);
    SetValue(*w, "sigAddr(2)", 1);
    SetCaption(*w, "lblData", QStringLiteral("1234"));
    QCOMPARE(w->device().memWords[5], std::string("FFFF"));
    const long runs = w->device().updateMemoryRuns();
    const long contents = w->device().updateContentsRuns();

    Operate(Control(*w, "sigCE"), Part::LowerArrow);

    QCOMPARE(Value(*w, "sigCE"), 0);
    QCOMPARE(w->device().updateMemoryRuns() - runs, 1L);
    QCOMPARE(w->device().updateContentsRuns() - contents, 1L);
    QCOMPARE(w->device().memWords[5], std::string("1234"));
    QCOMPARE(ContentsLine(*w, 2), QStringLiteral("04: FFFF 1234"));
    QCOMPARE(Caption(*w, "lblRead"), QStringLiteral("FFFF"));
    QVERIFY(Caption(*w, "lblTypes").startsWith(QStringLiteral("Starting Address: 0x5\r\nData: 0x1234FFFF\r\n")));
}

void WindowTest::byteEnabledCyclesThroughSwitches_data() {
    QTest::addColumn<int>("we");
    QTest::addColumn<int>("oe");
    QTest::addColumn<int>("ub");
    QTest::addColumn<int>("lb");
    QTest::addColumn<QString>("word3");
    QTest::addColumn<QString>("read");
    // Word 3 holds 12AB, the read register FFFF, the data input 5566.
    QTest::newRow("read low") << 1 << 0 << 1 << 0 << "12AB" << "FFAB";
    QTest::newRow("read high") << 1 << 0 << 0 << 1 << "12AB" << "12FF";
    QTest::newRow("read both") << 1 << 0 << 0 << 0 << "12AB" << "12AB";
    QTest::newRow("write high") << 0 << 1 << 0 << 1 << "55AB" << "FFFF";
    QTest::newRow("write low") << 0 << 1 << 1 << 0 << "1266" << "FFFF";
    QTest::newRow("write both, OE low") << 0 << 0 << 0 << 0 << "5566" << "FFFF";
    QTest::newRow("no output") << 1 << 1 << 0 << 0 << "12AB" << "FFFF";
    QTest::newRow("no bytes") << 0 << 0 << 1 << 1 << "12AB" << "FFFF";
}

void WindowTest::byteEnabledCyclesThroughSwitches() {
    QFETCH(int, we);
    QFETCH(int, oe);
    QFETCH(int, ub);
    QFETCH(int, lb);
    QFETCH(QString, word3);
    QFETCH(QString, read);
    auto w = PoweredWindow();
    // Store 12AB at address 3 with a full write, then go idle.
    SetValue(*w, "sigAddr(0)", 1);
    SetValue(*w, "sigAddr(1)", 1);
    SetCaption(*w, "lblData", QStringLiteral("12AB"));
    EnterWriteCycle(*w);
    QCOMPARE(w->device().memWords[3], std::string("12AB"));
    SetValue(*w, "sigCE", 1);
    SetCaption(*w, "lblData", QStringLiteral("5566"));

    SetValue(*w, "sigWE", we);
    SetValue(*w, "sigOE", oe);
    SetValue(*w, "sigUB", ub);
    SetValue(*w, "sigLB", lb);
    SetValue(*w, "sigCE", 0);
    QCOMPARE(QString::fromStdString(w->device().memWords[3]), word3);
    QCOMPARE(Caption(*w, "lblRead"), read);
    QCOMPARE(LampWord(*w), read);
}

void WindowTest::writeCycleFollowsAddressSwitches() {
    auto w = PoweredWindow();
    SetCaption(*w, "lblData", QStringLiteral("00C3"));
    EnterWriteCycle(*w);
    SetValue(*w, "sigAddr(0)", 1);
    SetValue(*w, "sigAddr(1)", 1);
    for (const int a : {0, 1, 3}) QCOMPARE(w->device().memWords[a], std::string("00C3"));
    QCOMPARE(w->device().memWords[2], std::string("FFFF"));
}

void WindowTest::wordOrderOptions() {
    auto w = PoweredWindow();
    SetCaption(*w, "lblData", QStringLiteral("4049"));
    EnterWriteCycle(*w);
    SetValue(*w, "sigAddr(0)", 1);
    SetCaption(*w, "lblData", QStringLiteral("0FDB"));
    SetValue(*w, "sigCE", 1);
    SetValue(*w, "sigAddr(0)", 0);
    const std::string words = w->device().memWords[0] + w->device().memWords[1];
    const QString read = Caption(*w, "lblRead");

    QTest::mouseClick(w->findChild<QRadioButton*>("optLittle"), Qt::LeftButton);
    QVERIFY(Caption(*w, "lblTypes").contains(QStringLiteral("Data: 0x0FDB4049\r\n")));
    QVERIFY(Caption(*w, "lblTypes").endsWith(QStringLiteral("Float: 2.161983E-29\r\n")));
    QTest::mouseClick(w->findChild<QRadioButton*>("optBig"), Qt::LeftButton);
    QVERIFY(Caption(*w, "lblTypes").contains(QStringLiteral("Data: 0x40490FDB\r\n")));
    QVERIFY(Caption(*w, "lblTypes").endsWith(QStringLiteral("Float: 3.141593\r\n")));
    QCOMPARE(w->device().memWords[0] + w->device().memWords[1], words);
    QCOMPARE(Caption(*w, "lblRead"), read);
}

void WindowTest::typedEntry_data() {
    QTest::addColumn<ModalAnswerer::Answer>("answer");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    const QString none;
    QTest::newRow("abc") << Type("abc") << "0ABC" << none;
    QTest::newRow("7") << Type("7") << "0007" << none;
    QTest::newRow("12345") << Type("12345") << "1234" << none;
    QTest::newRow("1234Z") << Type("1234Z") << "1234" << none;
    QTest::newRow("xyz12") << Type("xyz12") << "0000"
                           << "Error: 'XYZ1' is not a valid hexadecimal value.";
    QTest::newRow("12G") << Type("12G") << "0000" << "Error: '12G' is not a valid hexadecimal value.";
    QTest::newRow("markup") << Type("<b>1") << "0000"
                            << "Error: '<B>1' is not a valid hexadecimal value.";
    QTest::newRow("emoji") << Type(QString::fromUtf8("\xF0\x9F\x98\x80").repeated(5)) << "0000"
                           << QString::fromUtf8("Error: '%1' is not a valid hexadecimal value.")
                                  .arg(QString::fromUtf8("\xF0\x9F\x98\x80").repeated(4));
    QTest::newRow("accented") << Type(QString::fromUtf8("e\xCC\x81" "abcd")) << "0000"
                              << QString::fromUtf8("Error: 'E\xCC\x81" "ABC' is not a valid hexadecimal value.");
    QTest::newRow("blank inside") << Type("1 2") << "0000"
                                  << "Error: '1 2' is not a valid hexadecimal value.";
    QTest::newRow("empty") << Type("") << "0000" << none;
    QTest::newRow("cancel") << Press(QDialogButtonBox::Cancel) << "0000" << none;
    QTest::newRow("escape") << Key(Qt::Key_Escape) << "0000" << none;
    QTest::newRow("default unchanged") << Key(Qt::Key_Return) << "0000" << none;
}

void WindowTest::typedEntry() {
    QFETCH(ModalAnswerer::Answer, answer);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    auto w = PoweredWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const long runs = w->device().updateMemoryRuns();

    std::vector<ModalAnswerer::Answer> answers{answer};
    if (!message.isEmpty()) answers.push_back(Press(QDialogButtonBox::Ok));
    ModalAnswerer answerer(answers);
    QTest::mouseDClick(Control(*w, "lblData"), Qt::LeftButton);

    QCOMPARE(answerer.seen().size(), answers.size());
    const SeenDialog& input = answerer.seen()[0];
    QCOMPARE(input.title, QStringLiteral("Memory Input Data"));
    QCOMPARE(input.text, QStringLiteral("Please enter a hexadecimal value (truncated to 4 digits):"));
    QCOMPARE(input.field, QStringLiteral("0000"));
    if (!message.isEmpty()) {
        const SeenDialog& box = answerer.seen()[1];
        QCOMPARE(box.title, QStringLiteral("Data Input Error"));
        QCOMPARE(box.text, message);
        QCOMPARE(box.textFormat, int(Qt::PlainText));
        QCOMPARE(box.icon, int(QMessageBox::Warning));
    }
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(Caption(*w, "lblData"), caption);
    QCOMPARE(DataSwitchWord(*w), caption);
    if (caption == QStringLiteral("0000")) QCOMPARE(w->device().updateMemoryRuns(), runs);
}

// Every Control Picture a quoted answer can hold is drawn as a glyph, not
// as an empty box, in the message box's own font with Qt's fallbacks
// (QFontMetrics::inFont would look at the first face only).
void WindowTest::controlPicturesHaveGlyphs() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("m"));
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QString controls;
    for (char16_t c = 1; c < 0x20; ++c) controls += QChar(c);
    controls += QChar(0x7F);
    for (qsizetype at = 0; at < controls.size(); at += 4) {
        const DataEntry entry = InterpretDataEntry(controls.mid(at, 4));
        QCOMPARE(entry.kind, DataEntry::Kind::Invalid);
        QTextLayout layout(entry.text, label->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            for (const quint32 glyph : run.glyphIndexes())
                QVERIFY2(glyph != 0, qPrintable(QStringLiteral("no glyph in %1: %2")
                                                    .arg(run.rawFont().familyName(), entry.text)));
    }
}

// The core's table of characters that steer direction says what Qt's own
// Unicode data says, for every character both know.
void WindowTest::directionalRuleMatchesTheToolkit() {
    int differ = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        if (QChar::category(c) == QChar::Other_NotAssigned ||
            QChar::unicodeVersion(c) > QChar::Unicode_14_0)
            continue;
        const QChar::Direction d = QChar::direction(c);
        const bool qt = d == QChar::DirR || d == QChar::DirAL || d == QChar::DirLRE ||
                        d == QChar::DirLRO || d == QChar::DirRLE || d == QChar::DirRLO ||
                        d == QChar::DirPDF || d == QChar::DirLRI || d == QChar::DirRLI ||
                        d == QChar::DirFSI || d == QChar::DirPDI || c == 0x200E || c == 0x200F ||
                        c == 0x061C;
        if (qt != bitwell::IsDirectional(c) && ++differ <= 5)
            qWarning("U+%04X: Qt %d, core %d", unsigned(c), int(qt), int(!qt));
    }
    QCOMPARE(differ, 0);
}

void WindowTest::typedEntryInWriteCycleCountsChangedBits() {
    auto w = PoweredWindow();
    EnterWriteCycle(*w);
    const long runs = w->device().updateMemoryRuns();
    ModalAnswerer answerer({Type("8001")});
    QTest::mouseDClick(Control(*w, "lblData"), Qt::LeftButton);
    QCOMPARE(answerer.seen().size(), size_t(1));
    QCOMPARE(w->device().updateMemoryRuns() - runs, 2L);
    QCOMPARE(w->device().memWords[0], std::string("8001"));
    QCOMPARE(ContentsLine(*w, 0), QStringLiteral("00: 8001 FFFF"));
}

void WindowTest::copyOfTheReadWord() {
    auto w = PoweredWindow();
    const long runs = w->device().updateMemoryRuns();
    QTest::mouseDClick(Control(*w, "lblRead"), Qt::LeftButton);
    QCOMPARE(Caption(*w, "lblData"), QStringLiteral("FFFF"));
    QCOMPARE(DataSwitchWord(*w), QStringLiteral("FFFF"));
    QCOMPARE(w->device().updateMemoryRuns() - runs, 16L);
    QTest::mouseDClick(Control(*w, "lblRead"), Qt::LeftButton);
    QCOMPARE(w->device().updateMemoryRuns() - runs, 16L);
    QVERIFY(!QApplication::activeModalWidget());
}

void WindowTest::lampRendering() {
    auto w = PoweredWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    SetCaption(*w, "lblRead", QStringLiteral("8001"));
    QWidget* frame = Control(*w, "Frame3");
    const QImage image = frame->grab().toImage();
    // Logical points to device pixels, at whatever scale factor is in force.
    const qreal dpr = image.devicePixelRatio();
    const auto at = [&](QPoint p) { return image.pixel(QPointF(p * dpr).toPoint()); };
    const QRgb highlight = w->palette().color(QPalette::Highlight).rgb();
    const QRgb face = frame->palette().color(QPalette::Window).rgb();
    const QRgb text = w->palette().color(QPalette::WindowText).rgb();
    const QRgb blue = qRgb(0, 0, 255);
    for (int bit = 0; bit < 16; ++bit) {
        const QRect column = Control(*w, Indexed("sigRead", bit))->geometry();
        const QPoint upper(column.center().x(), column.top() + column.height() / 4);
        const QPoint lower(column.center().x(), column.bottom() - column.height() / 4);
        const bool lit = bit == 0 || bit == 15;
        QCOMPARE(at(lower), highlight);
        QCOMPARE(at(upper), lit ? highlight : face);
        // The outline stays visible around an unlit column's upper half.
        QCOMPARE(at(QPoint(column.left(), upper.y())), text);
    }
    // Crisp at any scale: across the upper half of the lamp row every device
    // pixel is exactly a lamp, outline, face or divider colour, never a blend.
    const int y = qRound((Control(*w, "sigRead(0)")->y() + 20) * dpr);
    const int left = qRound(Control(*w, "sigRead(15)")->x() * dpr);
    const int right = qRound((Control(*w, "sigRead(0)")->geometry().right() + 1) * dpr);
    for (int x = left; x < right; ++x) {
        const QRgb c = image.pixel(x, y);
        QVERIFY2(c == highlight || c == face || c == text || c == blue,
                 qPrintable(QStringLiteral("blended pixel at %1").arg(x)));
    }
}

void WindowTest::focusOrder() {
    auto w = PoweredWindow();
    w->show();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("sigUB"));
    QStringList expected;
    for (const int first : {3, 7, 11, 15})
        for (int i = first; i > first - 4; --i) expected << Indexed("sigData", i);
    for (int i = 0; i < 4; ++i) expected << Indexed("sigAddr", i);
    expected << "sigOE" << "sigLB" << "sigCE" << "sigWE" << "optBig";
    for (const QString& name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
