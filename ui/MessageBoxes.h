#pragma once

#include <QString>

#include "core/WindowDescription.h"

class QWidget;

// The main window's modal questions and notices, with the description's own
// button texts so that the desktop and the page say the same. Each runs its
// own event loop and returns once it is answered.

// Asks `question` under `title` with Yes and No, Yes or No the default
// button; true for Yes.
bool AskYesNo(QWidget* parent, const bitwell::Message& title, const bitwell::Message& question,
              bool yesByDefault);

// Tells `text` under `title` with OK. The text is shown as it is, never as
// markup: it may hold the user's answer or a stranger's file.
void ShowWarning(QWidget* parent, const bitwell::Message& title, const QString& text);

// Asks for a line of text under `title` with `prompt`, offering `current`;
// the answer, or an empty string when cancelled.
QString AskText(QWidget* parent, const bitwell::Message& title, const bitwell::Message& prompt,
                const QString& current);
// Asks for a data word, offering `current`, as AskText does.
QString AskDataWord(QWidget* parent, const QString& current);
