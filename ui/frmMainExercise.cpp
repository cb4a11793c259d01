// The main window's side of the exercises: opening one from a file or the
// course, its window, its menu items' checks, what the session tells, and
// the open exercise's export and attempt file.

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>
#include <algorithm>
#include <utility>

#include "core/CourseExport.h"
#include "core/Exercise.h"
#include "core/WindowDescription.h"

#include "ui/BuiltPage.h"
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
const QString kLearner = QStringLiteral("learnerName");

// The exercise file's name without its ending, for a name to save under.
QString BaseName(const std::string& name) { return QFileInfo(Text(name)).completeBaseName(); }
// `path` ending as the file type `filter` ("Web page (*.html)") says.
QString WithEnding(const QString& path, const QString& filter) {
    const QString ending = filter.section(QStringLiteral("(*"), 1).chopped(1);
    return path.endsWith(ending, Qt::CaseInsensitive) ? path : path + ending;
}

// The one local file of a drop, or "" for anything else.
QString DroppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

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

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Once the drop has ended: the file's sender is not kept waiting on a question.
    QMetaObject::invokeMethod(this, [this, path] { OpenExercise(path); }, Qt::QueuedConnection);
}

bool frmMain::startExercise(std::string_view bytes, const std::string& name, int builtin) {
    bitwell::Exercise parsed;
    std::vector<bitwell::ExerciseError> problems;
    if (!bitwell::CheckExercise(bytes, name, parsed, problems)) {
        showExerciseError(problems);
        return false;
    }
    if (!mayLoseMemory()) return false;
    // Known before it starts, for an exercise done at its start to count as itself.
    m_builtin = builtin;
    m_record.Starting();
    m_session.Start(parsed);
    m_record.Open(std::string(bytes));
    m_exerciseBytes = bytes;
    m_exerciseName = name;
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
    for (const char* item : {"mnuExerciseRestart", "mnuExerciseClose", "mnuExerciseExport", "mnuExerciseSaveAttempt"})
        named<QAction>(item)->setEnabled(m_session.isOpen());
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
void frmMain::mnuExerciseRestart_Click() { restartExercise(); }

void frmMain::restartExercise() {
    if (!m_session.isOpen()) return;
    m_record.Starting();
    m_session.Restart();
    m_record.Restarted();
}

void frmMain::mnuExerciseExport_Click() {
    const bitwell::CourseSiteTexts& say = bitwell::CourseSite();
    std::string page;
    if (!ReadBuiltPage(page)) {
        ShowWarning(this, say.exportTitle, Translated(say.noPage));
        return;
    }
    // The file types in the order offered, each with the kind it makes.
    const std::pair<bitwell::ExportKind, const bitwell::Message*> kinds[] = {
        {bitwell::ExportKind::Scorm12, &say.scorm12},
        {bitwell::ExportKind::Scorm2004, &say.scorm2004},
        {bitwell::ExportKind::WebPage, &say.webPage}};
    QStringList filters;
    for (const auto& kind : kinds) filters << Translated(*kind.second);
    QString chosen = filters.front();
    const QString path = QFileDialog::getSaveFileName(
        this, Translated(say.exportTitle), WithEnding(BaseName(m_exerciseName), chosen), filters.join(";;"), &chosen);
    if (path.isEmpty()) return;
    const auto kind = kinds[std::max<qsizetype>(0, filters.indexOf(chosen))].first;
    writeFile(WithEnding(path, chosen), bitwell::ExportExercise(page, m_exerciseBytes, m_session.exercise(), kind),
              say.exportTitle);
}

// The learner's name is asked once and kept for every later attempt.
void frmMain::mnuExerciseSaveAttempt_Click() {
    const bitwell::CourseSiteTexts& say = bitwell::CourseSite();
    QSettings settings = Settings();
    QString learner = settings.value(kLearner).toString();
    if (learner.isEmpty()) {
        learner = AskText(this, say.learnerTitle, say.learnerPrompt, QString()).trimmed();
        if (learner.isEmpty()) return;
        settings.setValue(kLearner, learner);
    }
    const QString filter = Translated(say.attemptFilter);
    const QString path = QFileDialog::getSaveFileName(this, Translated(say.attemptTitle),
                                                      WithEnding(BaseName(m_exerciseName), filter), filter);
    if (!path.isEmpty()) writeFile(WithEnding(path, filter), m_record.Write(learner.toStdString()), say.attemptTitle);
}

void frmMain::writeFile(const QString& path, const std::string& bytes, const bitwell::Message& title) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit())
        return;
    ShowWarning(this, title, Translated(bitwell::CourseSite().cannotWrite).arg(QDir::toNativeSeparators(path)));
}

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

