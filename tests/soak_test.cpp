// A random class of students at the real window: tens of thousands of
// seeded clicks, key presses, option changes, copies and typed answers, each
// followed by a check of the panel's invariants and of every word, the read
// register and both listings against the independent model of the chip.

#include <QRadioButton>
#include <QTest>
#include <random>

#include "tests/ReferenceChip.h"
#include "tests/WindowHelpers.h"

using namespace wintest;
using namespace bitwell::test;

namespace {

// A typed answer and what it must come to: a word, an error, or nothing.
struct Answer {
    QString text;
    bool cancel = false;
    QString word;   // expected data word when accepted
    bool error = false;
};

Answer RandomAnswer(std::mt19937& rng) {
    static const QString hex = QStringLiteral("0123456789ABCDEFabcdef");
    // Whole characters that are not hex digits, non-ASCII and emoji among them.
    static const QStringList junk = QString::fromUtf8(
        "G Z x y z - _ . < > & ' \" \xC3\xA9 \xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD")
        .split(QLatin1Char(' '));
    const auto digit = [&] { return hex.at(int(rng() % hex.size())); };
    const auto foreign = [&] { return junk.at(int(rng() % junk.size())); };
    Answer a;
    switch (rng() % 6) {
        case 0:
        case 1: {  // one to four digits, any case, maybe with a tail
            const int n = 1 + int(rng() % 4);
            for (int i = 0; i < n; ++i) a.text += digit();
            a.word = a.text.toUpper().rightJustified(4, QLatin1Char('0'));
            if (n == 4 && rng() % 2)
                for (int i = 0, t = 1 + int(rng() % 8); i < t; ++i) a.text += foreign();
            return a;
        }
        case 2: {  // a foreign character among the first four
            for (int i = 0, n = int(rng() % 6); i < n; ++i) a.text += digit();
            a.text.insert(int(rng() % (std::min<qsizetype>(3, a.text.size()) + 1)), foreign());
            a.error = true;
            return a;
        }
        case 3:  // an empty answer
            return a;
        case 4:  // Cancel
            a.cancel = true;
            a.text = QStringLiteral("FFFF");
            return a;
        default:  // only foreign text
            for (int i = 0, n = 1 + int(rng() % 6); i < n; ++i) a.text += foreign();
            a.error = true;
            return a;
    }
}

class Soak {
public:
    Soak(frmMain& w, unsigned seed) : m_w(w), m_rng(seed), m_ref(ReferenceChip::PoweredUp()) {}

    // One random action; returns what went wrong, or an empty text.
    QString step() {
        const unsigned kind = m_rng() % 100;
        if (kind < 80) move(PickMove(m_rng));
        else if (kind < 88) copyAction();
        else if (auto fault = typedAction(); !fault.isEmpty()) return fault;
        m_ref.evaluate();
        return check();
    }

private:
    // A switch operated through a random part of it, which may leave it
    // where it stood, or an option clicked.
    void move(const Move& m) {
        const QString name = QString::fromStdString(ControlName(m));
        if (m.kind == Move::Order) {
            Make(m_ref, m);
            QTest::mouseClick(m_w.findChild<QRadioButton*>(name), Qt::LeftButton);
            return;
        }
        const Part part = static_cast<Part>(m_rng() % 6);
        QWidget* sw = Control(m_w, name);
        if (part == Part::KeyUp || part == Part::KeyDown) sw->setFocus();
        Operate(sw, part);
        Set(m_ref, m, (part == Part::UpperArrow || part == Part::UpperTrack || part == Part::KeyUp) ? 1 : 0);
    }

    void copyAction() {
        QTest::mouseDClick(Control(m_w, "lblRead"), Qt::LeftButton);
        m_ref.data = m_ref.read;
    }

    QString typedAction() {
        const Answer a = RandomAnswer(m_rng);
        ModalAnswerer answerer({a.cancel ? Press(QDialogButtonBox::Cancel) : Type(a.text),
                                Press(QDialogButtonBox::Ok)},
                               0);
        QTest::mouseDClick(Control(m_w, "lblData"), Qt::LeftButton);
        const size_t dialogs = a.error ? 2 : 1;
        if (answerer.seen().size() != dialogs)
            return QStringLiteral("answer '%1' opened %2 dialogs").arg(a.text).arg(answerer.seen().size());
        if (!a.word.isEmpty()) m_ref.data = std::uint16_t(a.word.toUInt(nullptr, 16));
        return {};
    }

    QString check() const {
        if (QApplication::activeModalWidget()) return QStringLiteral("a modal window stayed open");
        for (int c = 0; c < 5; ++c) {
            const Move level{Move::Level, c};
            const QString name = QString::fromStdString(ControlName(level));
            if (Value(m_w, name) != Position(m_ref, level)) return name + QStringLiteral(" position");
        }
        const QString address = Caption(m_w, "lblAddr");
        int bits = 0;
        for (int k = 0; k < 4; ++k) bits |= Value(m_w, Indexed("sigAddr", k)) << k;
        if (address != QString::number(bits, 16).toUpper()) return QStringLiteral("address caption ") + address;
        if (address != QString::fromStdString(ReferenceChip::hex(m_ref.address, 1)))
            return QStringLiteral("address ") + address;
        if (Caption(m_w, "lblData") != DataSwitchWord(m_w)) return QStringLiteral("data caption vs switches");
        if (Caption(m_w, "lblData") != QString::fromStdString(ReferenceChip::hex(m_ref.data, 4)))
            return QStringLiteral("data ") + Caption(m_w, "lblData");
        if (LampWord(m_w) != Caption(m_w, "lblRead")) return QStringLiteral("lamps vs read caption");
        if (Caption(m_w, "lblRead") != QString::fromStdString(ReferenceChip::hex(m_ref.read, 4)))
            return QStringLiteral("read ") + Caption(m_w, "lblRead");
        for (unsigned i = 0; i < 16; ++i)
            if (m_w.device().memWords[i] != ReferenceChip::hex(m_ref.words[i], 4))
                return QStringLiteral("word %1").arg(i);
        if (Caption(m_w, "lblContents") != QString::fromStdString(m_ref.contents())) return QStringLiteral("contents");
        if (Caption(m_w, "lblTypes") != QString::fromStdString(m_ref.types())) return QStringLiteral("types");
        return {};
    }

    frmMain& m_w;
    std::mt19937 m_rng;
    ReferenceChip m_ref;
};

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    void randomUser_data();
    void randomUser();
};

void SoakTest::randomUser_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("actions");
    const int actions = qEnvironmentVariableIntValue("BITWELL_SOAK_ACTIONS");
    for (const unsigned seed : {1u, 20261208u, 777u})
        QTest::addRow("seed %u", seed) << seed << (actions > 0 ? actions : 7000);
}

void SoakTest::randomUser() {
    QFETCH(unsigned, seed);
    QFETCH(int, actions);
    const auto w = PoweredWindow(Show::Exposed);
    Soak soak(*w, seed);
    for (int i = 0; i < actions; ++i) {
        const QString fault = soak.step();
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("seed %1, action %2: %3").arg(seed).arg(i).arg(fault)));
    }
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
