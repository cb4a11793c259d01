#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "ui/Layout.h"
#include "ui/frmMain.h"

namespace {

// --check-exercise FILE, for a teacher writing one: "FILE: ok, N goals" on
// standard output and status 0, or "FILE:LINE: message" on standard error
// and status 1. Always in English, whatever the desktop's language.
int CheckExercise(const QString& file) {
    bitwell::SetLanguage("en");
    const std::string path = file.toStdString();
    std::string bytes;
    bitwell::Exercise exercise;
    bitwell::ExerciseError error;
    if (!bitwell::ReadExerciseFile(path, bytes, error) ||
        !bitwell::ParseExercise(bytes, path, exercise, error)) {
        std::fprintf(stderr, "%s\n", error.Text(path).c_str());
        return 1;
    }
    std::printf("%s: ok, %zu goals\n", path.c_str(), exercise.goals.size());
    return 0;
}

// The exercise named on the command line, once the window is up. A bad
// file is shown in a message box ("NAME:LINE: message", the file's name
// only) and the program goes on without an exercise.
// The window's own opening (frmMain::OpenExercise, with the exercise
// window) replaces the body below once it lands; until then a good file is
// only checked.
void OpenExerciseFromCommandLine(QWidget* window, const QString& path) {
    std::string bytes;
    bitwell::Exercise exercise;
    bitwell::ExerciseError error;
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (bitwell::ReadExerciseFile(path.toStdString(), bytes, error) &&
        bitwell::ParseExercise(bytes, name, exercise, error))
        return;
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(bitwell::Tr("exercise", "Exercise")),
                    QString::fromStdString(error.Text(name)), QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// --help, --version and --check-exercise, answered before any window exists
// so that they work in a terminal without a display. Returns the exit status
// to end with, or -1 to go on and open the window, with `exercise` set to
// the file named as the one argument, if any.
int AnswerCommandLine(int argc, char* argv[], QString& exercise) {
    if (argc <= 1) return -1;
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bitwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BITWELL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Drive a static memory chip by hand and watch it work."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("main", "Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption check(QStringLiteral("check-exercise"),
                                   QCoreApplication::translate("main", "Checks an exercise file and exits."),
                                   QStringLiteral("file"));
    parser.addOption(check);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QCoreApplication::translate("main", "An exercise file (.bwx) to open."),
                                 QStringLiteral("[file]"));
    // The toolkit's own options (-platform xcb, -style fusion, -reverse …)
    // are the toolkit's to take.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowtitle", "qwindowicon", "style",
                             "stylesheet", "session", "display", "name"}) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() > 1) {
        const QString error = parser.errorText().isEmpty()
                                  ? QCoreApplication::translate("main", "Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().at(1))
                                  : parser.errorText();
        std::fprintf(stderr, "bitwell: %s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return 1;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("bitwell %s\n", BITWELL_VERSION);
        return 0;
    }
    if (parser.isSet(check)) return CheckExercise(parser.value(check));
    if (!parser.positionalArguments().isEmpty()) exercise = parser.positionalArguments().constFirst();
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QString exercise;
    if (const int status = AnswerCommandLine(argc, argv, exercise); status >= 0) return status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin Bitwell"));
    QApplication::setApplicationVersion(QStringLiteral(BITWELL_VERSION));
    QApplication::setFont(DialogFont());
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.bitwell.Bitwell"));

    frmMain window;
    window.Form_Load();
    window.show();
    if (!exercise.isEmpty()) OpenExerciseFromCommandLine(&window, exercise);
    return QApplication::exec();
}
