#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "core/Attempt.h"
#include "core/Catalogue.h"
#include "core/CourseExport.h"
#include "core/Exercise.h"
#include "core/WindowDescription.h"
#include "ui/BuiltPage.h"
#include "ui/Layout.h"
#include "ui/Translation.h"
#include "ui/frmMain.h"

namespace {

// What the command line asks for beyond the toolkit's own options.
struct Request {
    QString language;  // a code the catalogue has, or empty
    QString exercise;  // the exercise file named as the one argument, or empty
};

// --check-exercise FILE, for a teacher writing one: "FILE: ok, 1 goal" or
// "FILE: ok, N goals" on standard output and status 0, or every problem as
// "FILE:LINE: message" on standard error and status 1. Always in English,
// whatever the desktop's language.
int CheckExercise(const QString& file) {
    bitwell::SetLanguage("en");
    const std::string path = file.toStdString();
    std::string bytes;
    bitwell::Exercise exercise;
    bitwell::ExerciseError error;
    std::vector<bitwell::ExerciseError> problems;
    if (!bitwell::ReadExerciseFile(path, bytes, error)) problems.push_back(error);
    if (!problems.empty() || !bitwell::CheckExercise(bytes, path, exercise, problems)) {
        for (const bitwell::ExerciseError& problem : problems)
            std::fprintf(stderr, "%s\n", problem.Text(path).c_str());
        return 1;
    }
    const std::size_t n = exercise.goals.size();
    std::printf("%s: ok, %zu goal%s\n", path.c_str(), n, n == 1 ? "" : "s");
    return 0;
}

// --export FILE OUT [--scorm VERSION] (the kind already known from OUT):
// the exercise checked as --check-exercise checks it, then OUT written from
// the built page, "OUT: KIND, N bytes" on standard output and status 0.
int ExportForCourse(const QString& file, const QString& out, bitwell::ExportKind kind) {
    bitwell::SetLanguage("en");
    const std::string path = file.toStdString();
    std::string bytes, page, written;
    bitwell::ExerciseError error;
    bitwell::Exercise exercise;
    if (!bitwell::ReadExerciseFile(path, bytes, error) ||
        !bitwell::ParseExercise(bytes, path, exercise, error)) {
        std::fprintf(stderr, "%s\n", error.Text(path).c_str());
        return 1;
    }
    if (!ReadBuiltPage(page)) {
        std::fprintf(stderr, "bitwell: %s\n", bitwell::Text(bitwell::CourseCommandLine().noPage).c_str());
        return 1;
    }
    written = bitwell::ExportExercise(page, bytes, exercise, kind);
    const std::string target = out.toStdString();
    std::FILE* f = std::fopen(QFile::encodeName(out).constData(), "wb");
    const bool wrote = f && std::fwrite(written.data(), 1, written.size(), f) == written.size();
    if ((f && std::fclose(f) != 0) || !wrote) {
        std::fprintf(stderr, "bitwell: %s\n",
                     bitwell::Text(bitwell::CourseCommandLine().cannotWrite, target).c_str());
        return 1;
    }
    std::printf("%s: %s, %zu bytes\n", target.c_str(), std::string(bitwell::ExportKindName(kind)).c_str(),
                written.size());
    return 0;
}

// --grade FILE…: each attempt replayed, one CSV row each after the header
// on standard output; "FILE:LINE: message" on standard error for a file
// that cannot be read, and status 1 if there was one.
int GradeAttempts(const QStringList& files) {
    bitwell::SetLanguage("en");
    std::printf("%s\r\n", std::string(bitwell::kGradeHeader).c_str());
    int status = 0;
    for (const QString& file : files) {
        const std::string path = file.toStdString();
        std::string bytes;
        bitwell::Attempt attempt;
        bitwell::AttemptGrade grade;
        bitwell::ExerciseError error;
        if (!bitwell::ReadAttemptFile(path, bytes, error) || !bitwell::ReadAttempt(bytes, attempt, error) ||
            !bitwell::GradeAttempt(attempt, grade, error)) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", error.Text(path).c_str());
            status = 1;
            continue;
        }
        std::fputs(bitwell::GradeCsvRow(path, attempt.learner, grade).c_str(), stdout);
    }
    return status;
}

// The exercise named on the command line, once the window is up. A bad
// file is shown in a message box ("NAME:LINE: message", the file's name
// only) and the program goes on without an exercise.
void OpenExerciseFromCommandLine(frmMain& window, const QString& path) { window.OpenExercise(path); }

// --help, --version, --language and --check-exercise, answered before any
// window exists so that they work in a terminal without a display. The usage
// is written in the language the program would start in. Returns the exit
// status to end with, or -1 to go on and open the window.
int AnswerCommandLine(int argc, char* argv[], Request& request) {
    if (argc <= 1) return -1;
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bitwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BITWELL_VERSION));
    const bitwell::CommandLineTexts& say = bitwell::CommandLine();
    const QString codes = LanguageCodes().join(QStringLiteral(", "));

    // The options, described in the language the window would speak once
    // that is known: the usage is written in it.
    const auto options = [&](QCommandLineParser& parser, bool describe) {
        const auto text = [&](const bitwell::Message& m) { return describe ? Translated(m) : QString(); };
        if (describe) parser.setApplicationDescription(text(say.description));
        parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, text(say.help)});
        parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, text(say.version)});
        parser.addOption({QStringLiteral("language"), describe ? Translated(say.language).arg(codes) : QString(),
                          QStringLiteral("code")});
        parser.addOption({QStringLiteral("check-exercise"), text(say.checkExercise), QStringLiteral("file")});
        const bitwell::CourseCommandLineTexts& course = bitwell::CourseCommandLine();
        parser.addOption({QStringLiteral("export"), text(course.exportFile), QStringLiteral("file")});
        parser.addOption({QStringLiteral("scorm"), text(course.scorm), QStringLiteral("version")});
        parser.addOption({QStringLiteral("grade"), text(course.grade)});
        parser.addPositionalArgument(QStringLiteral("file"), text(say.file), QStringLiteral("[file]"));
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
    };
    QCommandLineParser parser;
    options(parser, false);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    const QString asked = parsed ? parser.value(QStringLiteral("language")) : QString();
    if (!asked.isEmpty() && !LanguageCodes().contains(asked)) {
        std::fprintf(stderr, "bitwell: %s\n", qPrintable(Translated(say.unknownLanguage).arg(asked, codes)));
        return 1;
    }
    ApplyLanguage(StartLanguage(asked));
    QCommandLineParser usage;
    options(usage, true);

    const bool grading = parsed && parser.isSet(QStringLiteral("grade"));
    if (!parsed || (parser.positionalArguments().size() > 1 && !grading)) {
        const QString error = parser.errorText().isEmpty()
                                  ? Translated(say.unexpected).arg(parser.positionalArguments().at(1))
                                  : parser.errorText();
        std::fprintf(stderr, "bitwell: %s\n\n%s", qPrintable(error), qPrintable(usage.helpText()));
        return 1;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(usage.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("bitwell %s\n", BITWELL_VERSION);
        return 0;
    }
    if (parser.isSet(QStringLiteral("check-exercise")))
        return CheckExercise(parser.value(QStringLiteral("check-exercise")));
    // Exporting and grading take their own arguments; anything else with
    // them is answered with the usage.
    const bool exporting = parser.isSet(QStringLiteral("export"));
    const QStringList arguments = parser.positionalArguments();
    const auto usageError = [&] {
        std::fputs(qPrintable(usage.helpText()), stderr);
        return 1;
    };
    const bool scormSet = parser.isSet(QStringLiteral("scorm"));
    if (grading) return exporting || scormSet || arguments.isEmpty() ? usageError() : GradeAttempts(arguments);
    if (exporting || scormSet) {
        const std::string version = parser.value(QStringLiteral("scorm")).toStdString();
        const std::string_view scorm = version;
        bitwell::ExportKind kind;
        if (!exporting || arguments.size() != 1 ||
            !bitwell::ExportKindFor(arguments.constFirst().toStdString(),
                                    scormSet ? &scorm : nullptr, kind))
            return usageError();
        return ExportForCourse(parser.value(QStringLiteral("export")), arguments.constFirst(), kind);
    }
    request.language = asked;
    if (!parser.positionalArguments().isEmpty()) request.exercise = parser.positionalArguments().constFirst();
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    Request request;
    if (const int status = AnswerCommandLine(argc, argv, request); status >= 0) return status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin Bitwell"));
    QApplication::setApplicationVersion(QStringLiteral(BITWELL_VERSION));
    QApplication::setFont(DialogFont());
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.bitwell.Bitwell"));

    frmMain window;
    // Only the program's entry picks the language; a new window speaks English.
    window.SetLanguage(StartLanguage(request.language));
    window.Form_Load();
    window.show();
    if (!request.exercise.isEmpty()) OpenExerciseFromCommandLine(window, request.exercise);
    return QApplication::exec();
}
