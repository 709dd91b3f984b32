// Start-up and the running clocks: the five one-second start-up steps, the
// wall clock and the controller's own timer.
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include "console/Journal.h"
#include "console/MainFrm.h"
#include "console/Panel.h"
#include "console/StatusBar.h"
#include "plant/Controller.h"
#include "plant/JournalStamp.h"

namespace console {

namespace {

// The regional long time format without its time-zone part (14:05:09).
QString LongTimeText(const QDateTime& moment) {
    const QLocale locale;
    const std::string pattern =
        plant::WithoutTimeZone(locale.timeFormat(QLocale::LongFormat).toStdString());
    return locale.toString(moment.time(), QString::fromStdString(pattern));
}

}  // namespace

void TFrmMain::TimerSysTimeTimer() {
    SysTime->setText(LongTimeText(services_.now()));
}

void TFrmMain::TimerInitializeTimer() {
    switch (initStep_) {
        case 0:
            journal_->Append(" Запуск системы", plant::JournalColour::Default);
            plant::FillDefinitions(plant_);
            LoadStateAtStartup();
            break;
        case 1:
            journal_->Append(" Пользователь Зернов (оператор)\r\tзарегистрирован.",
                             plant::JournalColour::Default);
            StatusBar->setPanelText(0, "Имя пользователя: Зернов");
            StatusBar->setPanelText(1, "Статус: Оператор");
            break;
        case 2:
            break;
        case 3:
            journal_->Append(" Установлена связь с контроллером", plant::JournalColour::Default);
            TimerEmulCPU->start();
            TimerVagonOn->start();
            // A panel opened before the plant was live is closed with it, so no
            // command button is left without a device and no label blinking.
            BtnDiscretCloseClick();
            break;
        case 4:
            TimerInitialize->stop();
            PanelVisual->show();
            break;
        default:
            TimerInitialize->stop();
            return;
    }
    ++initStep_;
}

void TFrmMain::TimerEmulCPUTimer() {
    controller_->EmulatorTick();
}

}  // namespace console
