#include "ui/MessageBoxes.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/Layout.h"
#include "ui/Translation.h"

bool AskYesNo(QWidget* parent, const bitwell::Message& title, const bitwell::Message& question,
              bool yesByDefault) {
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    QMessageBox box(QMessageBox::Question, Translated(title), Translated(question),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(Translated(say.yes));
    box.button(QMessageBox::No)->setText(Translated(say.no));
    box.setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    // A translated title may be wider than the question under it.
    if (parent) FitTitle(box, parent->window());
    return box.exec() == QMessageBox::Yes;
}

void ShowWarning(QWidget* parent, const bitwell::Message& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, Translated(title), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(Translated(bitwell::Dialogs().ok));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString AskDataWord(QWidget* parent, const QString& current) {
    return AskText(parent, bitwell::Dialogs().inputTitle, bitwell::Dialogs().inputPrompt, current);
}

QString AskText(QWidget* parent, const bitwell::Message& title, const bitwell::Message& prompt,
                const QString& current) {
    const bitwell::DialogTexts& say = bitwell::Dialogs();
    QInputDialog input(parent);
    input.setWindowTitle(Translated(title));
    input.setLabelText(Translated(prompt));
    input.setTextValue(current);
    input.setOkButtonText(Translated(say.ok));
    input.setCancelButtonText(Translated(say.cancel));
    return input.exec() == QDialog::Accepted ? input.textValue() : QString();
}
