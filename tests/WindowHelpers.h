#pragma once

// Shared by the window tests: controls found by object name and read through
// the properties the user sees, and modal dialogs answered from a timer.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "ui/Caption.h"
#include "ui/frmMain.h"

namespace wintest {

// The offscreen platform warns each time a fixed-size window is shown or a
// window is raised; drop those lines and pass every other message on to Qt
// Test. Call from
// initTestCase(), once Qt Test's own handler is in place.
inline void QuietOffscreenWarnings() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.contains(QLatin1String("does not support propagateSizeHints")) ||
                message.contains(QLatin1String("does not support raise()")))
                return;
            if (previous) previous(type, context, message);
        });
}

enum class Show { Hidden, Exposed, Active };

// A window powered up as the program starts it; shown and exposed, or also
// the active window (for keys and shortcuts), when asked. Aborts the test
// program when the window system never answers.
inline std::unique_ptr<frmMain> PoweredWindow(Show show = Show::Hidden) {
    auto w = std::make_unique<frmMain>();
    w->Form_Load();
    if (show == Show::Hidden) return w;
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not exposed");
    if (show == Show::Active) {
        QApplication::setActiveWindow(w.get());
        if (!QTest::qWaitForWindowActive(w.get())) qFatal("window not active");
    }
    return w;
}

inline QWidget* Control(const QWidget& w, const QString& name) {
    auto* c = w.findChild<QWidget*>(name);
    if (!c) qFatal("no control named %s", qPrintable(name));
    return c;
}

inline int Value(const QWidget& w, const QString& name) {
    return Control(w, name)->property("Value").toInt();
}

inline void SetValue(const QWidget& w, const QString& name, int v) {
    Control(w, name)->setProperty("Value", v);
}

inline QString Caption(const QWidget& w, const QString& name) {
    return Control(w, name)->property("Caption").toString();
}

inline void SetCaption(const QWidget& w, const QString& name, const QString& text) {
    Control(w, name)->setProperty("Caption", text);
}

// From power-up (CE high): WE, LB and UB to 0, then CE to 0. A write cycle
// of both bytes at the selected address, which now holds the data word and
// follows it.
inline void EnterWriteCycle(const QWidget& w) {
    for (const char* name : {"sigWE", "sigLB", "sigUB", "sigCE"}) SetValue(w, name, 0);
}

inline QString Indexed(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

// The word the sixteen data switches show, bit 15 first, as four hex digits.
inline QString DataSwitchWord(const QWidget& w) {
    int v = 0;
    for (int k = 0; k < 16; ++k) v |= Value(w, Indexed("sigData", k)) << k;
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}

// The word the sixteen read lamps show.
inline QString LampWord(const QWidget& w) {
    int v = 0;
    for (int k = 0; k < 16; ++k)
        v |= (Control(w, Indexed("sigRead", k))->isHidden() ? 0 : 1) << k;
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}

enum class Part { UpperArrow, UpperTrack, LowerArrow, LowerTrack, KeyUp, KeyDown };

// Where on a switch the user clicks for a part.
inline QPoint PointOf(QScrollBar* bar, Part part) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = Qt::Vertical;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    const auto rect = [&](QStyle::SubControl sc) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
    };
    switch (part) {
        case Part::UpperArrow: return rect(QStyle::SC_ScrollBarSubLine).center();
        case Part::LowerArrow: return rect(QStyle::SC_ScrollBarAddLine).center();
        case Part::UpperTrack: return rect(QStyle::SC_ScrollBarSubPage).center();
        case Part::LowerTrack: return rect(QStyle::SC_ScrollBarAddPage).center();
        default: return {};
    }
}

// Operates a switch the way the user would: keys go to the switch, which
// holds the focus, clicks to the bar it draws.
inline void Operate(QWidget* sw, Part part) {
    if (part == Part::KeyUp || part == Part::KeyDown) {
        QTest::keyClick(sw, part == Part::KeyUp ? Qt::Key_Up : Qt::Key_Down);
        return;
    }
    auto* bar = sw->findChild<QScrollBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, PointOf(bar, part));
}

// What a modal dialog looked like when it was answered.
struct SeenDialog {
    QString className;
    QString title;
    QString text;  // message box text, or input dialog label
    QString field; // input dialog's default text
    int textFormat = -1;
    int icon = -1;
};

// Answers the modal dialogs that open while it lives, one answer each, in
// order, from a timer that polls QApplication::activeModalWidget(). Each
// answer must close its dialog.
class ModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;

    explicit ModalAnswerer(std::vector<Answer> answers, int pollMs = 5)
        : m_answers(std::move(answers)) {
        m_timer.setInterval(pollMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    const std::vector<SeenDialog>& seen() const { return m_seen; }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || m_seen.size() >= m_answers.size()) return;
        m_last = modal;
        SeenDialog d;
        d.className = QString::fromLatin1(modal->metaObject()->className());
        d.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            d.text = box->text();
            d.textFormat = box->textFormat();
            d.icon = box->icon();
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            d.text = input->labelText();
            d.field = input->textValue();
        }
        m_seen.push_back(d);
        m_answers[m_seen.size() - 1](modal);
    }

    std::vector<Answer> m_answers;
    std::vector<SeenDialog> m_seen;
    QPointer<QWidget> m_last;
    QTimer m_timer;
};

// Answers an input dialog by typing `text` and pressing Enter.
inline ModalAnswerer::Answer Type(const QString& text) {
    return [text](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        edit->selectAll();
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

// Presses the button with the given standard role of a dialog's button box
// or message box.
inline ModalAnswerer::Answer Press(QDialogButtonBox::StandardButton which) {
    return [which](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            box->button(static_cast<QMessageBox::StandardButton>(which))->click();
            return;
        }
        dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    };
}

inline ModalAnswerer::Answer Key(Qt::Key key) {
    return [key](QWidget* dialog) {
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(target, key);
    };
}

// What a window shows, as a screen reader or a pointer finds it: each
// named control's caption (or group title, or button text), accessible name
// and description, tooltip and the status line's text after the pointer
// rests on it; each menu's title and each action's text.
inline QString ShownText(QWidget* w) {
    if (auto* caption = qobject_cast<CaptionLabel*>(w)) return caption->Caption();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

// The status line after the pointer rests on the middle of `w`, starting
// from a text no control shows; the status line is left as it was.
inline QString HelpOf(frmMain& window, QWidget* w) {
    const QString was = Caption(window, QStringLiteral("lblStatus"));
    SetCaption(window, QStringLiteral("lblStatus"), QStringLiteral("-"));
    const QPoint at = w->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    const QString text = Caption(window, QStringLiteral("lblStatus"));
    SetCaption(window, QStringLiteral("lblStatus"), was);
    return text == QLatin1String("-") ? QString() : text;
}

inline QJsonObject ShownControls(frmMain& window) {
    QJsonObject out;
    const QList<QWidget*> all = window.findChildren<QWidget*>();
    for (QWidget* w : all) {
        const QString name = w->objectName();
        // Named controls of the window itself, not Qt's inner parts.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || w->isWindow()) continue;
        if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) continue;
        QJsonObject c;
        c[QStringLiteral("caption")] = ShownText(w);
        c[QStringLiteral("accessibleName")] = w->accessibleName();
        c[QStringLiteral("accessibleDescription")] = w->accessibleDescription();
        c[QStringLiteral("tooltip")] = w->toolTip();
        out[name] = c;
    }
    // Then the hover help, once every caption has been read.
    for (QWidget* w : all) {
        if (!out.contains(w->objectName())) continue;
        QJsonObject c = out[w->objectName()].toObject();
        c[QStringLiteral("help")] = HelpOf(window, w);
        out[w->objectName()] = c;
    }
    return out;
}

inline QJsonObject ShownMenus(frmMain& window) {
    QJsonObject out;
    for (QMenu* menu : window.findChildren<QMenu*>())
        if (!menu->objectName().isEmpty()) out[menu->objectName()] = menu->title();
    for (QAction* action : window.findChildren<QAction*>())
        if (!action->objectName().isEmpty()) out[action->objectName()] = action->text();
    return out;
}

}  // namespace wintest
