// The device control panel: opened by a click on a device symbol, refreshed
// twice a second, posting the operator's command codes for the next controller
// tick to execute.
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "console/MainFrm.h"
#include "console/MainFrmControls.h"
#include "console/Panel.h"
#include "console/Shape.h"
#include "platform/core/NumberFormat.h"

namespace console {

namespace {

constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kNavy = 0x800000;
constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kSilver = 0xC0C0C0;

const std::array<QString, 4> kModeNames = {"Местный", "Дистанц.", "Автоматич.", "Ремонтн."};
const std::array<std::array<QString, 3>, 2> kStateNames = {{
    {"Откр.", "Промежут.", "Закр."},  // gate valve
    {"Вкл.", "Вкл./Выкл.", "Выкл."},  // drive
}};

QString ModeName(int32_t mode) {
    return mode >= 0 && mode < 4 ? kModeNames[static_cast<size_t>(mode)] : QString();
}

QString StateName(int32_t kind, int32_t state) {
    if (kind < 0 || kind > 1 || state < 0 || state > 2) return {};
    return kStateNames[static_cast<size_t>(kind)][static_cast<size_t>(state)];
}

// Opening of a valve in percent of its 90-degree travel, one decimal. A whole
// angle never gives an exact tie at the second decimal (that would need
// 200 x Ungle to be an odd multiple of 9), so the inexact quotient rounds right.
QString ValveOpeningText(int32_t ungle, char decimalSeparator) {
    const long double percent = static_cast<long double>(ungle) / 90.0L * 100.0L;
    return QString::fromStdString(platform::FormatFixed(percent, 15, 1, decimalSeparator)) + "%";
}

}  // namespace

void TFrmMain::BuildPanelDiscret(QWidget* parent) {
    PanelDiscret = AddPanel(parent, "PanelDiscret", "", QRect(1, 17, 338, 159));
    PanelDiscret->setBevel(TPanel::Bevel::None);
    PanelDiscret->hide();
    AddLabel(PanelDiscret, "TitleDiscret", "Управление устройством", QRect(0, 0, 338, 16),
             TextLook().Size(13).Bold().Back(0xFFFF80).Centre());

    // Cell frames first, so the cells lie on top of them.
    const std::array<QRect, 7> frames = {QRect(3, 18, 171, 15),  QRect(171, 18, 83, 15),
                                         QRect(251, 18, 83, 15), QRect(3, 34, 171, 15),
                                         QRect(171, 34, 83, 15), QRect(251, 34, 83, 15),
                                         QRect(3, 50, 331, 15)};
    for (size_t i = 0; i < frames.size(); ++i) {
        auto* frame = new TShape(TShape::Kind::Rectangle, PanelDiscret);
        frame->setObjectName(QString("ShapeDiscret%1").arg(i + 1));
        frame->setGeometry(frames[i]);
        frame->setPen(0x808080);
        frame->setNoBrush();
    }

    const TextLook heading = TextLook().Back(kSilver).Centre();
    AddLabel(PanelDiscret, "LabelDevName", "Устройство", QRect(4, 19, 169, 13), heading);
    AddLabel(PanelDiscret, "LabelMode", "Режим", QRect(172, 19, 81, 13), heading);
    AddLabel(PanelDiscret, "LabelState", "Состояние", QRect(252, 19, 81, 13), heading);

    const TextLook value = TextLook().Bold().Font(kNavy).Back(kWhite).Centre();
    CurrentDevName = AddLabel(PanelDiscret, "CurrentDevName", "", QRect(4, 35, 169, 13), value);
    CurrentMode = AddLabel(PanelDiscret, "CurrentMode", "", QRect(172, 35, 81, 13), value);
    CurrentState = AddLabel(PanelDiscret, "CurrentState", "", QRect(252, 35, 81, 13), value);
    CurrentError = AddLabel(PanelDiscret, "CurrentError", "", QRect(4, 51, 329, 13),
                            TextLook().Bold().Font(kRed).Back(kWhite).Centre());
    CurrentUngle = AddLabel(PanelDiscret, "CurrentUngle", "", QRect(253, 51, 79, 13), value);

    auto button = [this](const char* name, const QString& caption, QRect box,
                         void (TFrmMain::*handler)()) {
        QPushButton* b = AddButton(PanelDiscret, name, caption, box);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BtnOn = button("BtnOn", "Открыть", QRect(8, 88, 80, 20), &TFrmMain::BtnOnClick);
    BtnOff = button("BtnOff", "Закрыть", QRect(8, 117, 80, 20), &TFrmMain::BtnOffClick);
    BtnReset = button("BtnReset", "Сброс аварии", QRect(93, 88, 80, 20), &TFrmMain::BtnResetClick);
    BtnStop = button("BtnStop", "Остановить", QRect(93, 117, 80, 20), &TFrmMain::BtnStopClick);
    BtnLocal = button("BtnLocal", "Местный", QRect(178, 72, 80, 20), &TFrmMain::BtnLocalClick);
    BtnRemote = button("BtnRemote", "Дистанц.", QRect(178, 101, 80, 20), &TFrmMain::BtnRemoteClick);
    BtnRepair =
        button("BtnRepair", "Ремонтный", QRect(178, 130, 80, 20), &TFrmMain::BtnRepairClick);
    BtnDiscretClose = button("BtnDiscretClose", "Выход", QRect(269, 113, 65, 41),
                             &TFrmMain::BtnDiscretCloseClick);
}

void TFrmMain::LatchControlClick() {
    OpenDevicePanel(true);
}

void TFrmMain::DeviceControlClick() {
    OpenDevicePanel(false);
}

void TFrmMain::OpenDevicePanel(bool valve) {
    const int dev = sender() ? sender()->property("Tag").toInt() : 0;
    if (!plant_.Dev.Contains(dev)) return;

    // The previous device's label stops blinking, whatever phase it was in.
    if (plant_.SelectedDev != 0) SetNameLabelColour(plant_.SelectedDev, kBlack);
    plant_.SelectedDev = dev;

    BtnOn->setText(valve ? "Открыть" : "Включить");
    BtnOff->setText(valve ? "Закрыть" : "Выключить");
    BtnStop->setEnabled(valve);

    PanelSetup->hide();
    PanelDiscret->show();
    if (!TimerReadState->isActive()) TimerReadState->start();  // an open panel keeps its rhythm
}

void TFrmMain::BtnDiscretCloseClick() {
    if (plant_.SelectedDev > 0) SetNameLabelColour(plant_.SelectedDev, kBlack);
    plant_.SelectedDev = 0;
    TimerReadState->stop();
    PanelDiscret->hide();
}

void TFrmMain::TimerReadStateTimer() {
    const int dev = plant_.SelectedDev;
    if (!plant_.Dev.Contains(dev)) return;
    const plant::TDiscret& d = plant_.Dev[dev];

    CurrentDevName->setText(QString::fromStdString(d.Name));
    CurrentMode->setText(ModeName(d.Mode));
    CurrentState->setText(StateName(d.Kind, d.State));
    if (d.Kind == plant::kKindValve) {
        CurrentUngle->setText(ValveOpeningText(d.Ungle, services_.decimalSeparator));
        CurrentUngle->show();
    } else {
        CurrentUngle->hide();
    }
    CurrentError->setText(QString::fromStdString(d.ErrorText));

    // The device's number label flashes white and black while its panel is open.
    if (QWidget* label = Control(d.NameLabel)) {
        SetFontColour(label, FontColour(label) == kWhite ? kBlack : kWhite);
    }
}

void TFrmMain::SetNameLabelColour(int dev, uint32_t colour) {
    if (!plant_.Dev.Contains(dev)) return;
    if (QWidget* label = Control(plant_.Dev[dev].NameLabel)) SetFontColour(label, colour);
}

void TFrmMain::PostDeviceCommand(int32_t code) {
    // The command buttons exist only on the open panel; a stray press with no
    // device selected has nothing to command.
    if (!plant_.Dev.Contains(plant_.SelectedDev)) return;
    plant_.Dev[plant_.SelectedDev].Command = code;
}

void TFrmMain::BtnOnClick() {
    PostDeviceCommand(plant::kCmdOpen);
}
void TFrmMain::BtnOffClick() {
    PostDeviceCommand(plant::kCmdClose);
}
void TFrmMain::BtnStopClick() {
    PostDeviceCommand(plant::kCmdStop);
}
void TFrmMain::BtnResetClick() {
    PostDeviceCommand(plant::kCmdReset);
}
void TFrmMain::BtnLocalClick() {
    PostDeviceCommand(plant::kCmdLocal);
}
void TFrmMain::BtnRemoteClick() {
    PostDeviceCommand(plant::kCmdRemote);
}
void TFrmMain::BtnRepairClick() {
    PostDeviceCommand(plant::kCmdRepair);
}

}  // namespace console
