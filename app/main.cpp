#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "ui/Layout.h"
#include "ui/frmMain.h"

namespace {

// --help and --version, answered before any window exists so that they work
// in a terminal without a display. Returns the exit status to end with, or
// -1 to go on and open the window.
int AnswerCommandLine(int argc, char* argv[]) {
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

    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
                                  ? QCoreApplication::translate("main", "Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().constFirst())
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
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const int status = AnswerCommandLine(argc, argv); status >= 0) return status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin Bitwell"));
    QApplication::setApplicationVersion(QStringLiteral(BITWELL_VERSION));
    QApplication::setFont(DialogFont());
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.bitwell.Bitwell"));

    frmMain window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
