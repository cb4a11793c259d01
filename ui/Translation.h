#pragma once

#include <QString>
#include <QStringList>

#include "core/WindowDescription.h"

// The desktop's side of the catalogue. Qt asks for texts through
// QCoreApplication::translate (and so through tr()); an installed
// translator answers from the core's catalogue, so that the desktop says
// exactly what the page says. Qt's own dialogs (the file dialogs) take Qt's
// own translations, loaded for the same language where Debian has them.

// Chooses `code` ("en", "de", "fr", "es", "pt_BR") for the core's lookups
// and Qt's, and sends every widget a LanguageChange event. False, and
// nothing changes, for a code the catalogue lacks.
bool ApplyLanguage(const QString& code);

// The language the program starts in: `asked` (the command line) if given,
// else the one remembered from the menu, else the first of the system's
// languages that the catalogue has, else English. `asked` must be a code the
// catalogue has (never checked).
QString StartLanguage(const QString& asked);

// What a choice from the menu leaves for the next start (QSettings,
// organisation and application "bitwell", key "language").
void RememberLanguage(const QString& code);

// The catalogue's codes, "en" first.
QStringList LanguageCodes();

// A text of the description in the current language, asked for the way Qt
// asks for every text (so through the installed translator), with %1
// filled by `arg` when it is 0 or more. Empty for an empty message.
QString Translated(const bitwell::Message& m, int arg = -1);
