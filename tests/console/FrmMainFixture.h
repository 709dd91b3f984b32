#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/DevicePanel.h"
#include "console/DiagramPage.h"
#include "console/Journal.h"
#include "console/MainFrm.h"
#include "tests/console/FakeServices.h"
#include "tests/support/HeadlessMain.h"

// Shared set-up of the main-window tests: a window on fake services, a clock
// that moves only when told, and helpers to drive start-up and the controller.
namespace console_test {

class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        services.messages = &messages;
        services.now = [this] { return clock; };
        services.statePath = StatePath();
        services.decimalSeparator = '.';
    }

    // Created on first use, so a test can adjust the services first.
    console::TFrmMain& Form() {
        if (!form) form = std::make_unique<console::TFrmMain>(services);
        return *form;
    }

    std::string StatePath() const { return dir.filePath("GrainTerminal.INI").toStdString(); }

    // One start-up tick, then the clock moves on by a second.
    void StartupTick() {
        Form().TimerInitializeTimer();
        clock = clock.addSecs(1);
    }
    void RunStartup() {
        Form().FormActivate();
        for (int i = 0; i < 5; ++i) StartupTick();
    }
    void ControllerTicks(int n) {
        for (int i = 0; i < n; ++i) Form().TimerEmulCPUTimer();
    }
    // The device panel's refresh, as its timer would run it.
    void PanelRefresh() { Form().devicePanel().TimerReadStateTimer(); }
    QTimer* PanelTimer() { return Form().devicePanel().findChild<QTimer*>("TimerReadState"); }
    bool SoundOn() { return Form().diagramPage().SoundOn(); }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* w = Form().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // The journal's displayed lines (an entry's continuation is a line of its own).
    QStringList JournalLines() {
        return Find<console::JournalView>("RichMessage")->toPlainText().split('\n');
    }
    // Text colour of the first journal line that contains `needle`.
    QColor JournalColourOf(const QString& needle) {
        QTextDocument* doc = Find<console::JournalView>("RichMessage")->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            const int at = b.text().indexOf(needle);
            if (at < 0) continue;
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.position() + f.length() <= b.position() + at) continue;
                // No colour of its own is the view's default text colour.
                const QTextCharFormat fmt = f.charFormat();
                return fmt.hasProperty(QTextFormat::ForegroundBrush) ? fmt.foreground().color()
                                                                     : QColor(Qt::black);
            }
        }
        ADD_FAILURE() << "no journal line with " << needle.toStdString();
        return {};
    }

    QTemporaryDir dir;
    FakeMessages messages;
    QDateTime clock{QDate(2026, 12, 6), QTime(14, 5, 9)};
    console::FrmMainServices services;
    std::unique_ptr<console::TFrmMain> form;
};

}  // namespace console_test
