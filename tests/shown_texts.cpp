// Prints, as JSON, what the desktop shows in every language: each named
// control's caption, hover help (read from the status line after a pointer
// move over it), accessible name and description and tooltip; each menu's
// and item's text; and the texts of the four dialogs as they open. The web
// test compares it, control by control, with what the page shows for the
// same data-name, with the course's first exercise open on both. Reads only
// what the user (or a screen reader) sees.
//
// Given a JSON list of typed answers, it also prints what the desktop makes
// of each (the word, or the error message), for the page to make the same.
//
//   QT_QPA_PLATFORM=offscreen shown_texts [answers.json] > texts.json

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "tests/WindowHelpers.h"
#include "ui/DataEntry.h"
#include "ui/Translation.h"

namespace {

using namespace wintest;

QString ButtonText(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        return box->button(static_cast<QMessageBox::StandardButton>(which))->text();
    return dialog->findChild<QDialogButtonBox*>()->button(which)->text();
}

// Opens each dialog as the user would and reads it before it is answered.
QJsonObject Dialogs(frmMain& window) {
    QJsonObject out;
    const auto read = [&out](const QString& key, QDialogButtonBox::StandardButton accept,
                             QDialogButtonBox::StandardButton other) {
        return [=, &out](QWidget* dialog) {
            QJsonObject d;
            d[QStringLiteral("title")] = dialog->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) d[QStringLiteral("text")] = box->text();
            if (auto* input = qobject_cast<QInputDialog*>(dialog)) d[QStringLiteral("text")] = input->labelText();
            d[QStringLiteral("accept")] = ButtonText(dialog, accept);
            if (other != QDialogButtonBox::NoButton) d[QStringLiteral("other")] = ButtonText(dialog, other);
            out[key] = d;
            // Typed text that is no word, so that the error follows.
            if (auto* edit = dialog->findChild<QLineEdit*>()) edit->setText(QStringLiteral("xyz"));
            Press(other != QDialogButtonBox::NoButton && key == QLatin1String("exit") ? other : accept)(dialog);
        };
    };
    const auto about = [&out](QWidget* dialog) {
        QJsonObject d;
        d[QStringLiteral("title")] = dialog->windowTitle();
        for (const char* name : {"Label1", "Label2", "Label3", "cmdOK"})
            d[QLatin1String(name)] = ShownText(dialog->findChild<QWidget*>(QLatin1String(name)));
        out[QStringLiteral("about")] = d;
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    };
    ModalAnswerer answers({read(QStringLiteral("input"), QDialogButtonBox::Ok, QDialogButtonBox::Cancel),
                           read(QStringLiteral("error"), QDialogButtonBox::Ok, QDialogButtonBox::NoButton),
                           read(QStringLiteral("exit"), QDialogButtonBox::Yes, QDialogButtonBox::No),
                           about});
    window.findChild<QAction*>(QStringLiteral("mnuEditEnter"))->trigger();
    window.close();
    window.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
    return out;
}

}  // namespace

// What the desktop makes of each typed answer: the answer upper-cased and
// split by Qt, the rest by the core.
QJsonArray Typed(const QString& path) {
    QFile file(path);
    QJsonArray out;
    if (!file.open(QIODevice::ReadOnly)) return out;
    for (const QJsonValue& answer : QJsonDocument::fromJson(file.readAll()).array()) {
        const DataEntry entry = InterpretDataEntry(answer.toString());
        out.append(QJsonObject{{QStringLiteral("kind"), int(entry.kind)}, {QStringLiteral("text"), entry.text}});
    }
    return out;
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QJsonObject all;
    if (argc > 1) all[QStringLiteral("typed")] = Typed(QString::fromLocal8Bit(argv[1]));
    for (const QString& code : LanguageCodes()) {
        auto window = PoweredWindow(Show::Exposed);
        if (!window->SetLanguage(code)) return 1;
        // The exercise window's controls too: the course's first exercise open.
        window->findChild<QAction*>(QStringLiteral("mnuExerciseBuiltin(0)"))->trigger();
        QJsonObject language;
        language[QStringLiteral("controls")] = ShownControls(*window);
        language[QStringLiteral("menus")] = ShownMenus(*window);
        language[QStringLiteral("dialogs")] = Dialogs(*window);
        all[code] = language;
    }
    std::fputs(QJsonDocument(all).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
