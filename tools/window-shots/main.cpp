// Writes pictures of the console window in fixed states, so that a change to
// the window's inside can be checked to leave every pixel as it was:
//   window-shots OUTDIR [STATEFILE]
// The clock stands still, the wagon timer and the dice are left out, and the
// timers are driven by hand; the same program and state file give the same
// pictures. Pictures: startup.png (the diagram after start-up and 40 controller
// cycles), silos.png (the silo page), panel.png (valve М1's panel open),
// block.png (the block panel), setup.png (the setup panel).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "console/DevicePanel.h"
#include "console/MainFrm.h"

namespace {

bool Save(QWidget& window, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(name);
    if (window.grab().save(path)) return true;
    std::fprintf(stderr, "window-shots: cannot write %s\n", qPrintable(path));
    return false;
}

void Press(QWidget& window, const char* name) {
    if (auto* button = window.findChild<QPushButton*>(name)) button->click();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setStyle("Fusion");
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: window-shots OUTDIR [STATEFILE]\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    QTemporaryDir scratch;
    const QString state = scratch.filePath("GrainTerminal.INI");
    if (argc == 3 && !QFile::copy(QString::fromLocal8Bit(argv[2]), state)) {
        std::fprintf(stderr, "window-shots: cannot read %s\n", argv[2]);
        return 2;
    }

    console::FrmMainServices services;
    const QDateTime moment(QDate(2026, 12, 8), QTime(10, 15, 30));
    services.now = [moment] { return moment; };
    services.statePath = state.toStdString();
    services.decimalSeparator = ',';

    console::TFrmMain window(services);
    window.show();
    for (int i = 0; i < 5; ++i) window.TimerInitializeTimer();
    window.TimerSysTimeTimer();
    for (int i = 0; i < 40; ++i) window.TimerEmulCPUTimer();

    bool ok = Save(window, out, "startup.png");
    Press(window, "BtnSilosDetail");
    ok = Save(window, out, "silos.png") && ok;
    Press(window, "BtnVisualization");

    if (QWidget* valve = window.findChild<QWidget*>("Latch_1")) {
        QTest::mouseClick(valve, Qt::LeftButton);
    }
    window.devicePanel().TimerReadStateTimer();
    ok = Save(window, out, "panel.png") && ok;
    Press(window, "BtnSetup");
    ok = Save(window, out, "setup.png") && ok;
    Press(window, "BtnSetupClose");
    Press(window, "BtnBlock");
    ok = Save(window, out, "block.png") && ok;
    Press(window, "Button1");
    return ok ? 0 : 1;
}
