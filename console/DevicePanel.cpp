#include "console/DevicePanel.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "console/Access.h"
#include "console/NumberLabels.h"
#include "console/OnClick.h"
#include "console/Services.h"
#include "console/WidgetColours.h"
#include "plant/Plant.h"
#include "platform/core/NumberFormat.h"

namespace console {

namespace {

constexpr Look kHeading = Look().Paper(palette::Silver).Centre();
constexpr Look kValue = Look().Bold().Ink(palette::Navy).Paper(palette::White).Centre();

// Cell frames first, so the cells lie on top of them.
constexpr Control kLayout[] = {
    {"TitleDiscret", Kind::Label, {0, 0, 338, 16}, "Управление устройством", kOverlayTitleLook},
    {"ShapeDiscret1", Kind::Frame, {3, 18, 171, 15}},
    {"ShapeDiscret2", Kind::Frame, {171, 18, 83, 15}},
    {"ShapeDiscret3", Kind::Frame, {251, 18, 83, 15}},
    {"ShapeDiscret4", Kind::Frame, {3, 34, 171, 15}},
    {"ShapeDiscret5", Kind::Frame, {171, 34, 83, 15}},
    {"ShapeDiscret6", Kind::Frame, {251, 34, 83, 15}},
    {"ShapeDiscret7", Kind::Frame, {3, 50, 331, 15}},
    {"LabelDevName", Kind::Label, {4, 19, 169, 13}, "Устройство", kHeading},
    {"LabelMode", Kind::Label, {172, 19, 81, 13}, "Режим", kHeading},
    {"LabelState", Kind::Label, {252, 19, 81, 13}, "Состояние", kHeading},
    {"CurrentDevName", Kind::Label, {4, 35, 169, 13}, "", kValue},
    {"CurrentMode", Kind::Label, {172, 35, 81, 13}, "", kValue},
    {"CurrentState", Kind::Label, {252, 35, 81, 13}, "", kValue},
    {"CurrentError", Kind::Label, {4, 51, 329, 13}, "", kValue.Ink(palette::Red)},
    {"CurrentUngle", Kind::Label, {253, 51, 79, 13}, "", kValue},
    {"BtnOn", Kind::Button, {8, 88, 80, 20}, "Открыть"},
    {"BtnOff", Kind::Button, {8, 117, 80, 20}, "Закрыть"},
    {"BtnReset", Kind::Button, {93, 88, 80, 20}, "Сброс аварии"},
    {"BtnStop", Kind::Button, {93, 117, 80, 20}, "Остановить"},
    {"BtnLocal", Kind::Button, {178, 72, 80, 20}, "Местный"},
    {"BtnRemote", Kind::Button, {178, 101, 80, 20}, "Дистанц."},
    {"BtnRepair", Kind::Button, {178, 130, 80, 20}, "Ремонтный"},
    {"BtnDiscretClose", Kind::Button, {269, 113, 65, 41}, "Выход"},
};

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

// Opening of a valve in percent of its travel, one decimal. A whole
// angle never gives an exact tie at the second decimal (that would need
// 200 x Ungle to be an odd multiple of 9), so the inexact quotient rounds right.
QString ValveOpeningText(int32_t ungle, char decimalSeparator) {
    const long double percent = static_cast<long double>(ungle) / plant::kValveOpenAngle * 100.0L;
    return QString::fromStdString(platform::FormatFixed(percent, 15, 1, decimalSeparator)) + "%";
}

}  // namespace

DevicePanel::DevicePanel(TPanel& panel, const RegionServices& services, const NumberLabels& labels)
    : panel_(panel),
      plant_(services.plant),
      access_(services.access),
      labels_(labels),
      decimalSeparator_(services.decimalSeparator) {
    const Controls made = BuildControls(panel, Layout());
    name_ = qobject_cast<QLabel*>(made.value("CurrentDevName"));
    mode_ = qobject_cast<QLabel*>(made.value("CurrentMode"));
    state_ = qobject_cast<QLabel*>(made.value("CurrentState"));
    error_ = qobject_cast<QLabel*>(made.value("CurrentError"));
    opening_ = qobject_cast<QLabel*>(made.value("CurrentUngle"));
    on_ = qobject_cast<QPushButton*>(made.value("BtnOn"));
    off_ = qobject_cast<QPushButton*>(made.value("BtnOff"));
    stop_ = qobject_cast<QPushButton*>(made.value("BtnStop"));

    OnClick(on_, this, &DevicePanel::BtnOnClick);
    OnClick(off_, this, &DevicePanel::BtnOffClick);
    OnClick(stop_, this, &DevicePanel::BtnStopClick);
    OnClick(made.value("BtnReset"), this, &DevicePanel::BtnResetClick);
    OnClick(made.value("BtnLocal"), this, &DevicePanel::BtnLocalClick);
    OnClick(made.value("BtnRemote"), this, &DevicePanel::BtnRemoteClick);
    OnClick(made.value("BtnRepair"), this, &DevicePanel::BtnRepairClick);
    OnClick(made.value("BtnDiscretClose"), this, &DevicePanel::BtnDiscretCloseClick);

    TimerReadState = new QTimer(this);
    TimerReadState->setObjectName("TimerReadState");
    TimerReadState->setInterval(500);
    connect(TimerReadState, &QTimer::timeout, this, &DevicePanel::TimerReadStateTimer);
}

std::span<const Control> DevicePanel::Layout() {
    return kLayout;
}

void DevicePanel::DeviceControlClick(int dev) {
    // The tables name a device's symbol from start-up's fill on; before it
    // they hold no device, not even its kind.
    if (!plant_.Dev.Contains(dev) || plant_.Dev[dev].Symbol.empty()) return;
    // The previous device's label stops blinking, whatever phase it was in.
    if (plant_.SelectedDev != 0) SetNameLabelColour(plant_.SelectedDev, palette::Black);
    plant_.SelectedDev = dev;

    const bool valve = plant_.Dev[dev].Kind == plant::kKindValve;
    on_->setText(valve ? "Открыть" : "Включить");
    off_->setText(valve ? "Закрыть" : "Выключить");
    stop_->setEnabled(valve);

    panel_.show();
    if (!TimerReadState->isActive()) TimerReadState->start();  // an open panel keeps its rhythm
    emit Opened();
}

void DevicePanel::BtnDiscretCloseClick() {
    if (plant_.SelectedDev > 0) SetNameLabelColour(plant_.SelectedDev, palette::Black);
    plant_.SelectedDev = 0;
    TimerReadState->stop();
    panel_.hide();
}

void DevicePanel::TimerReadStateTimer() {
    const int dev = plant_.SelectedDev;
    if (!plant_.Dev.Contains(dev)) return;
    const plant::TDiscret& d = plant_.Dev[dev];

    name_->setText(QString::fromStdString(d.Name));
    mode_->setText(ModeName(d.Mode));
    state_->setText(StateName(d.Kind, d.State));
    if (d.Kind == plant::kKindValve) {
        opening_->setText(ValveOpeningText(d.Ungle, decimalSeparator_));
        opening_->show();
    } else {
        opening_->hide();
    }
    error_->setText(QString::fromStdString(d.ErrorText));

    // The device's number label flashes white and black while its panel is open.
    if (QWidget* label = NameLabel(dev)) {
        SetFontColour(label, FontColour(label) == palette::White ? palette::Black : palette::White);
    }
}

QWidget* DevicePanel::NameLabel(int dev) const {
    if (!plant_.Dev.Contains(dev)) return nullptr;
    return labels_.NumberLabel(plant_.Dev[dev].NameLabel);
}

void DevicePanel::SetNameLabelColour(int dev, palette::Colour colour) {
    if (QWidget* label = NameLabel(dev)) SetFontColour(label, colour);
}

void DevicePanel::Post(int32_t code) {
    // The command buttons exist only on the open panel; a stray press with no
    // device selected has nothing to command.
    if (!plant_.Dev.Contains(plant_.SelectedDev)) return;
    if (!access_.Allows(users::Action::DeviceCommand,
                        plant::EntrySubject::Device(plant_.SelectedDev), code)) {
        return;
    }
    plant::PostCommand(plant_, plant_.SelectedDev, code, plant::kSourceOperator,
                       plant::Origin(access_.UserName()));
}

void DevicePanel::BtnOnClick() {
    Post(plant::kCmdOpen);
}
void DevicePanel::BtnOffClick() {
    Post(plant::kCmdClose);
}
void DevicePanel::BtnStopClick() {
    Post(plant::kCmdStop);
}
void DevicePanel::BtnResetClick() {
    Post(plant::kCmdReset);
}
void DevicePanel::BtnLocalClick() {
    Post(plant::kCmdLocal);
}
void DevicePanel::BtnRemoteClick() {
    Post(plant::kCmdRemote);
}
void DevicePanel::BtnRepairClick() {
    Post(plant::kCmdRepair);
}

}  // namespace console
