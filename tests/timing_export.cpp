// Prints what the desktop's timing window saves (its Svg, WaveJson or Csv
// property) after the given switch moves, with the diagram at the given
// size, and with All kept steps checked for --all; for the browser test to
// compare the page's SVG with byte for byte, and for WaveDrom to render.
//   timing_export svg|wavejson|csv WIDTH HEIGHT [--all] [CONTROL=VALUE]...

#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
    if (argc < 4) return 2;
    const QByteArray format = argv[1];
    bool all = false;
    frmMain w;
    w.Form_Load();
    w.show();
    for (int i = 4; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--all") {
            all = true;
            continue;
        }
        const QStringList move = QString::fromLocal8Bit(argv[i]).split(QLatin1Char('='));
        if (move.size() != 2) return 2;
        SetValue(w, move[0], move[1].toInt());
    }
    w.findChild<QAction*>(QStringLiteral("mnuViewTiming"))->trigger();
    frmTiming* timing = w.timing();
    if (!timing) return 1;
    timing->diagram()->setFixedSize(std::atoi(argv[2]), std::atoi(argv[3]));
    timing->findChild<QCheckBox*>(QStringLiteral("chkAllSteps"))->setChecked(all);
    timing->adjustSize();
    QApplication::processEvents();
    const char* property = format == "svg" ? "Svg" : format == "wavejson" ? "WaveJson" : "Csv";
    const QByteArray text = timing->property(property).toString().toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}
