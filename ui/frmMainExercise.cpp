// The main window's side of the exercises: opening one from a file or the
// course, its window, its menu items' checks, and what the session tells.

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <utility>

#include "core/Exercise.h"
#include "core/WindowDescription.h"

#include "ui/MessageBoxes.h"
#include "ui/Translation.h"
#include "ui/frmExercise.h"
#include "ui/frmMain.h"
#include "ui/frmTiming.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The built-in exercises done so far, by file name, remembered like the
// language choice.
QSettings Settings() { return QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")); }
const QString kExercisesDone = QStringLiteral("exercisesDone");
QString BuiltinName(int index) {
    const std::string_view name = bitwell::BuiltinExercises()[static_cast<std::size_t>(index)].name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

bool frmMain::OpenExercise(const QString& path) {
    std::string bytes;
    bitwell::ExerciseError error;
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (!bitwell::ReadExerciseFile(path.toStdString(), bytes, error)) {
        showExerciseError({error});
        return false;
    }
    return startExercise(bytes, name, -1);
}

bool frmMain::startExercise(std::string_view bytes, const std::string& name, int builtin) {
    std::vector<bitwell::ExerciseError> problems;
    if (!mayLoseMemory()) return false;
    // Known before it starts, for an exercise done at its start to count as itself.
    const int before = std::exchange(m_builtin, builtin);
    if (!m_session.Open(bytes, name, problems)) {
        m_builtin = before;
        showExerciseError(problems);
        return false;
    }
    if (!m_exercise) {
        m_exercise = new frmExercise(
            m_session, [this] { mnuExerciseRestart_Click(); }, [this] { mnuExerciseClose_Click(); }, this);
    }
    // Each time it opens: beside the main window wherever that stands now.
    if (!m_exercise->isVisible()) m_exercise->PlaceBeside(this, m_timing);
    m_exercise->Refresh();
    m_exercise->show();
    m_exercise->raise();
    updateExerciseMenu();
    return true;
}

void frmMain::showExerciseError(const std::vector<bitwell::ExerciseError>& problems) {
    ShowWarning(this, bitwell::ExerciseWindow().title, QString::fromStdString(bitwell::ProblemsText(problems)));
}

void frmMain::updateExerciseMenu() {
    const QStringList done = Settings().value(kExercisesDone).toStringList();
    for (std::size_t i = 0; i < bitwell::BuiltinExercises().size(); ++i) {
        const int index = static_cast<int>(i);
        named<QAction>("mnuExerciseBuiltin", index)->setChecked(done.contains(BuiltinName(index)));
    }
    named<QAction>("mnuExerciseRestart")->setEnabled(m_session.isOpen());
    named<QAction>("mnuExerciseClose")->setEnabled(m_session.isOpen());
}

void frmMain::exerciseChanged() {
    if (m_exercise) m_exercise->Refresh();
}
void frmMain::goalsChecked() {
    if (m_exercise) m_exercise->Refresh();
}
void frmMain::exerciseDone() {
    if (m_exercise) m_exercise->Refresh();
    if (m_builtin >= 0) {
        QSettings settings = Settings();
        QStringList done = settings.value(kExercisesDone).toStringList();
        if (!done.contains(BuiltinName(m_builtin))) done << BuiltinName(m_builtin);
        settings.setValue(kExercisesDone, done);
        named<QAction>("mnuExerciseBuiltin", m_builtin)->setChecked(true);
    }
    // Heard at once; an action that made it done says it again after what
    // the chip did, in one announcement.
    m_done = {Text(m_session.DoneText()), m_panel.trace().empty() ? 0 : m_panel.trace().back().step};
    announce(m_done.sentence);
}

void frmMain::exerciseUndone() {
    if (m_exercise) m_exercise->Refresh();
    m_undone = Text(m_session.DoneText());
}

void frmMain::mnuExerciseOpen_Click() {
    const QString path = QFileDialog::getOpenFileName(this, Translated(bitwell::ExerciseWindow().title), QString(),
                                                      Translated(bitwell::ExerciseWindow().filter));
    if (!path.isEmpty()) OpenExercise(path);
}

void frmMain::mnuExerciseBuiltin_Click(int index) {
    const bitwell::BuiltinExercise& b = bitwell::BuiltinExercises()[static_cast<std::size_t>(index)];
    startExercise(b.bytes, std::string(b.name), index);
    // The item's check says done, not open.
    updateExerciseMenu();
}

// F5 never asks: an exercise always starts afresh.
void frmMain::mnuExerciseRestart_Click() { m_session.Restart(); }

bool frmMain::mayLoseMemory() {
    return !m_session.MemoryChanged() ||
           AskYesNo(this, bitwell::ExerciseWindow().restartTitle, bitwell::ExerciseWindow().restartQuestion, false);
}

void frmMain::mnuExerciseClose_Click() {
    m_session.Close();
    m_builtin = -1;
    if (m_exercise) m_exercise->hide();
    updateExerciseMenu();
}

