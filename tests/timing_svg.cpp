// Prints what the desktop's timing window saves as SVG (its Svg property)
// after the given switch moves, with the diagram at the given size, for the
// browser test to compare byte for byte with the page's file.
//   timing_svg WIDTH HEIGHT [CONTROL=VALUE]...

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>

#include "tests/WindowHelpers.h"
#include "ui/TimingDiagram.h"
#include "ui/frmTiming.h"

using namespace wintest;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietOffscreenWarnings();
    if (argc < 3) return 2;
    frmMain w;
    w.Form_Load();
    w.show();
    for (int i = 3; i < argc; ++i) {
        const QStringList move = QString::fromLocal8Bit(argv[i]).split(QLatin1Char('='));
        if (move.size() != 2) return 2;
        SetValue(w, move[0], move[1].toInt());
    }
    w.findChild<QAction*>(QStringLiteral("mnuViewTiming"))->trigger();
    frmTiming* timing = w.timing();
    if (!timing) return 1;
    timing->diagram()->setFixedSize(std::atoi(argv[1]), std::atoi(argv[2]));
    timing->adjustSize();
    QApplication::processEvents();
    const QByteArray svg = timing->property("Svg").toString().toUtf8();
    std::fwrite(svg.constData(), 1, static_cast<std::size_t>(svg.size()), stdout);
    return 0;
}
