// The window in every language: View, Language switches every text at once
// and leaves the chip, the trace and the focus as they were; the choice is
// remembered (in a settings folder of the test's own); a German round trip
// leaves every English text exactly as it was; and every text fits its
// control, measured with the control's own font.

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QJsonObject>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QStyleOptionButton>

#include "core/WindowDescription.h"
#include "tests/WindowHelpers.h"
#include "ui/Caption.h"
#include "ui/Layout.h"
#include "ui/Translation.h"
#include "ui/frmAbout.h"
#include "ui/frmTiming.h"

using namespace wintest;

namespace {

// Everything of the chip a student can see change.
struct ChipState {
    QStringList values;
    QString addr, data, read, contents;
    bool big = true;
    int steps = 0;
    long runs = 0;
    bool operator==(const ChipState&) const = default;
};

ChipState StateOf(const frmMain& w) {
    ChipState s;
    for (QWidget* sw : w.findChildren<QWidget*>())
        if (sw->property("Value").isValid()) s.values << sw->objectName() + QString::number(Value(w, sw->objectName()));
    s.addr = Caption(w, QStringLiteral("lblAddr"));
    s.data = Caption(w, QStringLiteral("lblData"));
    s.read = Caption(w, QStringLiteral("lblRead"));
    s.contents = Caption(w, QStringLiteral("lblContents"));
    s.big = static_cast<QRadioButton*>(Control(w, QStringLiteral("optBig")))->isChecked();
    s.steps = static_cast<int>(w.panel().trace().size());
    s.runs = w.device().updateMemoryRuns();
    return s;
}

QAction* LanguageItem(const frmMain& w, const QString& code) {
    return w.findChild<QAction*>(QStringLiteral("mnuLanguage(%1)").arg(code));
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void menuSwitchesEverythingAndKeepsTheChip_data();
    void menuSwitchesEverythingAndKeepsTheChip();
    void germanRoundTripLeavesEnglishAsItWas();
    void unknownCodeChangesNothing();
    void newWindowStartsInEnglish();
    void openTimingWindowFollows();
    void everyCaptionFits_data();
    void everyCaptionFits();

private:
    QTemporaryDir m_config;
};

void LanguageTest::initTestCase() {
    QuietOffscreenWarnings();
    // Never the user's own settings.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void LanguageTest::menuSwitchesEverythingAndKeepsTheChip_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("named");  // the item's own name for its language
    QTest::newRow("de") << "de" << "&Deutsch";
    QTest::newRow("fr") << "fr" << "&Fran\u00E7ais";
    QTest::newRow("es") << "es" << "E&spa\u00F1ol";
    QTest::newRow("pt_BR") << "pt_BR" << "&Portugu\u00EAs (Brasil)";
    QTest::newRow("en") << "en" << "&English";
}

void LanguageTest::menuSwitchesEverythingAndKeepsTheChip() {
    QFETCH(QString, code);
    QFETCH(QString, named);
    auto w = PoweredWindow(Show::Active);
    EnterWriteCycle(*w);
    SetCaption(*w, QStringLiteral("lblData"), QStringLiteral("BEEF"));
    SetValue(*w, QStringLiteral("sigAddr(1)"), 1);
    Control(*w, QStringLiteral("sigAddr(2)"))->setFocus();
    const ChipState before = StateOf(*w);
    const QJsonObject english = ShownControls(*w);

    // Each item is labelled in its own language, whatever the window speaks.
    QCOMPARE(LanguageItem(*w, code)->text(), named);
    QVERIFY(LanguageItem(*w, code)->actionGroup()->isExclusive());
    LanguageItem(*w, code)->trigger();

    for (const QString& other : LanguageCodes())
        QCOMPARE(LanguageItem(*w, other)->isChecked(), other == code);
    QCOMPARE(LanguageItem(*w, code)->text(), named);
    QCOMPARE(StateOf(*w), before);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("sigAddr(2)"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quorin Bitwell"));
    const QJsonObject shown = ShownControls(*w);
    const QString title = shown[QStringLiteral("Frame3")].toObject()[QStringLiteral("caption")].toString();
    QCOMPARE(title == QLatin1String("Memory Signals"), code == QLatin1String("en"));
    if (code == QLatin1String("en")) QCOMPARE(shown, english);
    // The listing speaks the language too.
    QCOMPARE(Caption(*w, QStringLiteral("lblTypes")).startsWith(QLatin1String("Starting Address: 0x")),
             code == QLatin1String("en"));
    QCOMPARE(QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")).value(QStringLiteral("language")).toString(),
             code);
    QCOMPARE(StartLanguage(QString()), code);
    QCOMPARE(StartLanguage(QStringLiteral("fr")), QStringLiteral("fr"));
}

void LanguageTest::germanRoundTripLeavesEnglishAsItWas() {
    auto w = PoweredWindow(Show::Exposed);
    const QJsonObject controls = ShownControls(*w);
    const QJsonObject menus = ShownMenus(*w);
    const QString types = Caption(*w, QStringLiteral("lblTypes"));
    const ChipState before = StateOf(*w);
    QVERIFY(w->SetLanguage(QStringLiteral("de")));
    QVERIFY(ShownControls(*w) != controls);
    QVERIFY(Caption(*w, QStringLiteral("lblTypes")) != types);
    QVERIFY(w->SetLanguage(QStringLiteral("en")));
    QCOMPARE(ShownControls(*w), controls);
    QCOMPARE(ShownMenus(*w), menus);
    QCOMPARE(Caption(*w, QStringLiteral("lblTypes")), types);
    QCOMPARE(StateOf(*w), before);
}

void LanguageTest::unknownCodeChangesNothing() {
    auto w = PoweredWindow(Show::Exposed);
    QVERIFY(w->SetLanguage(QStringLiteral("fr")));
    const QJsonObject french = ShownControls(*w);
    for (const char* code : {"xx", "pt", "de-AT", "", "EN"}) {
        QVERIFY2(!w->SetLanguage(QLatin1String(code)), code);
        QCOMPARE(ShownControls(*w), french);
    }
}

void LanguageTest::newWindowStartsInEnglish() {
    {
        auto first = PoweredWindow();
        QVERIFY(first->SetLanguage(QStringLiteral("es")));
    }
    auto w = PoweredWindow();
    QCOMPARE(static_cast<QGroupBox*>(Control(*w, QStringLiteral("Frame3")))->title(),
             QStringLiteral("Memory Signals"));
    QVERIFY(Caption(*w, QStringLiteral("lblTypes")).startsWith(QLatin1String("Starting Address: 0x")));
}

// The timing window speaks the new language at once, and back.
void LanguageTest::openTimingWindowFollows() {
    auto w = PoweredWindow(Show::Exposed);
    w->findChild<QAction*>(QStringLiteral("mnuViewTiming"))->trigger();
    QWidget* timing = w->timing();
    QVERIFY(timing);
    const auto texts = [timing] {
        QStringList out{timing->windowTitle()};
        for (QAbstractButton* b : timing->findChildren<QAbstractButton*>()) out << b->text();
        return out;
    };
    const QStringList english = texts();
    QVERIFY(w->SetLanguage(QStringLiteral("fr")));
    const QStringList french = texts();
    for (qsizetype i = 0; i < english.size(); ++i) QVERIFY2(french[i] != english[i], qPrintable(english[i]));
    QVERIFY(w->SetLanguage(QStringLiteral("en")));
    QCOMPARE(texts(), english);
}

void LanguageTest::everyCaptionFits_data() {
    QTest::addColumn<QString>("code");
    for (const QString& code : LanguageCodes()) QTest::newRow(qPrintable(code)) << code;
}

// Every caption within its box in the control's own font at 96 dpi: a line
// of a single-line caption (or of a listing) no wider than its box (or
// than where the value after it starts), a wrapped caption no taller; group
// titles and option texts within their controls; the About window's texts
// too.
void LanguageTest::everyCaptionFits() {
    QFETCH(QString, code);
    auto w = PoweredWindow(Show::Exposed);
    QVERIFY(w->SetLanguage(code));
    // The widest values the listing can hold: -2147483648 and a float of
    // thirteen characters.
    EnterWriteCycle(*w);
    SetCaption(*w, QStringLiteral("lblData"), QStringLiteral("8080"));

    const auto fits = [&](QWidget* c, const QString& text, int width, int height, bool wrap) {
        const QFontMetrics m(c->font());
        if (wrap) {
            const QRect r = m.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text);
            QVERIFY2(r.height() <= height, qPrintable(QStringLiteral("%1: %2 px high in %3: %4").arg(
                                                c->objectName()).arg(r.height()).arg(height).arg(text)));
            return;
        }
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            // A caption sets a line that runs over a little closer, as the
            // English "Data Read: 0x" is: up to a third of a pixel a letter.
            const int closer = qobject_cast<CaptionLabel*>(c) ? int(line.size() - 1) / 3 : 0;
            const int need = m.horizontalAdvance(line) - closer;
            QVERIFY2(need <= width, qPrintable(QStringLiteral("%1: %2 px wide in %3: %4").arg(
                                         c->objectName()).arg(need).arg(width).arg(line)));
        }
    };
    const auto check = [&](QWidget* root, const std::vector<bitwell::ControlSpec>& specs) {
        for (const bitwell::ControlSpec& spec : specs) {
            QWidget* c = root->findChild<QWidget*>(QString::fromStdString(spec.name));
            QVERIFY(c);
            // A title whose value covers the end of its box is drawn within
            // the limit, closer set if need be, as in English: its text still
            // has the whole box.
            const int width = Px(spec.width);
            if (auto* caption = qobject_cast<CaptionLabel*>(c)) {
                fits(c, caption->Caption(), width, Px(spec.height), spec.wrap);
                // A translated title's text ends right up to its value, as
                // drawn: its last inked column at most 2 px before the limit.
                if (spec.textLimit >= 0 && code != QLatin1String("en")) {
                    const QImage drawn = c->grab().toImage();
                    int last = -1;
                    for (int x = 0; x < drawn.width(); ++x)
                        for (int y = 0; y < drawn.height(); ++y)
                            if (qGray(drawn.pixel(x, y)) < 128) last = x;
                    QVERIFY2(Px(spec.textLimit) - (last + 1) <= 2, qPrintable(c->objectName()));
                }
            } else if (auto* group = qobject_cast<QGroupBox*>(c)) {
                // The title stands on the frame, clear of its corners.
                fits(c, group->title(), width - 16, Px(spec.height), false);
            } else if (auto* option = qobject_cast<QRadioButton*>(c)) {
                QStyleOptionButton o;
                o.initFrom(option);
                o.text = option->text();
                const QRect label = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &o, option);
                fits(c, option->text(), label.width(), Px(spec.height), false);
            } else if (auto* button = qobject_cast<QPushButton*>(c)) {
                fits(c, button->text(), width - 8, Px(spec.height), false);
            }
        }
    };
    check(w.get(), bitwell::MainWindowControls());
    frmAbout about(w.get());
    check(&about, bitwell::AboutWindowControls());
}

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
