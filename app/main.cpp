#include <QApplication>

#include "ui/Layout.h"
#include "ui/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorin Bitwell"));
    QApplication::setFont(DialogFont());
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.bitwell.Bitwell"));

    frmMain window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
