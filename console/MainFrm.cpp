#include "console/MainFrm.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "console/BlockPanel.h"
#include "console/ClockRandom.h"
#include "console/CommandBar.h"
#include "console/DevicePanel.h"
#include "console/DiagramPage.h"
#include "console/DiagramScreen.h"
#include "console/Fonts.h"
#include "console/InfoPanel.h"
#include "console/Journal.h"
#include "console/MessageWindow.h"
#include "console/ModbusLink.h"
#include "console/ParamPanel.h"
#include "console/RouteList.h"
#include "console/SetupPanel.h"
#include "console/SiloPage.h"
#include "console/Sound.h"
#include "console/StateKeeper.h"
#include "console/StatusBar.h"
#include "console/WagonsScreen.h"
#include "console/WidgetColours.h"
#include "plant/Controller.h"
#include "plant/Wagons.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/PointerConfinement.h"
#include "platform/services/WavePlayer.h"
#include "symbols/GraphicControl.h"
#include "symbols/Title.h"

// The pictures are compiled into the console library; a static library's
// resources are registered by hand. Outside any namespace, as the macro needs.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace console {

namespace {

constexpr QSize kClientSize(1016, 721);
const char* const kCaption = "Автоматизированная система управления зерновым терминалом (демо)";

constexpr Look kNotice = Look().Size(19).Bold().Ink(palette::Navy).Centre();
constexpr Look kPage = Look().Bevel(TPanel::Bevel::Lowered);

constexpr Control kLayout[] = {
    // The notice lies under the upper pages; showing the diagram covers it.
    {"LabelStartInit",
     Kind::Label,
     {328, 184, 361, 48},
     "Идет первоначальный сбор данных.\nПожалуйста ждите...",
     kNotice},
    Hidden({"PanelVisual", Kind::Panel, {0, 0, 1016, 500}, "", kPage}),
    Hidden({"PanelTanks", Kind::Panel, {0, 0, 1016, 500}, "", kPage}),
    // The lower band: three sections, the middle one taking the rest.
    {"PanelOfWindow", Kind::Panel, {0, 500, 1016, 178}, "", Look().Bevel(TPanel::Bevel::None)},
    In("PanelOfWindow", {"PanelInfo", Kind::Panel, {0, 0, 338, 178}}),
    In("PanelOfWindow", {"PanelParamAndSetup", Kind::Panel, {338, 0, 340, 178}}),
    In("PanelOfWindow", {"PanelMessage", Kind::Panel, {678, 0, 338, 178}}),
    {"PanelOfButton", Kind::Panel, {0, 678, 1016, 24}},
    {"StatusBar", Kind::StatusBar, {0, 702, 1016, 19}},
};

using Handler = void (TFrmMain::*)();

// The operator's buttons and the handlers their clicks are known by.
struct Click {
    const char* control;
    Handler handler;
};

constexpr Click kClicks[] = {
    {"BtnSilosDetail", &TFrmMain::BtnSilosDetailClick},
    {"BtnVisualization", &TFrmMain::BtnVisualizationClick},
    {"BtnBlockSilos", &TFrmMain::BtnNotWorklClick},
    {"BtnBlockMove", &TFrmMain::BtnNotWorklClick},
    {"BtnOn", &TFrmMain::BtnOnClick},
    {"BtnOff", &TFrmMain::BtnOffClick},
    {"BtnReset", &TFrmMain::BtnResetClick},
    {"BtnStop", &TFrmMain::BtnStopClick},
    {"BtnLocal", &TFrmMain::BtnLocalClick},
    {"BtnRemote", &TFrmMain::BtnRemoteClick},
    {"BtnRepair", &TFrmMain::BtnRepairClick},
    {"BtnDiscretClose", &TFrmMain::BtnDiscretCloseClick},
    {"BtnInitPLC", &TFrmMain::BtnNotWorklClick},
    {"BtnOptions", &TFrmMain::BtnNotWorklClick},
    {"BtnCalibr", &TFrmMain::BtnNotWorklClick},
    {"BtnSetupClose", &TFrmMain::BtnSetupCloseClick},
    {"Button1", &TFrmMain::Button1Click},
    {"BtnBlock", &TFrmMain::BtnBlockClick},
    {"BtnRegistration", &TFrmMain::BtnNotWorklClick},
    {"BtnJournal", &TFrmMain::BtnNotWorklClick},
    {"BtnSetup", &TFrmMain::BtnSetupClick},
    {"BtnExit", &TFrmMain::BtnExitClick},
    {"BtnResetCount", &TFrmMain::BtnResetCountClick},
    {"BtnEnabledSound", &TFrmMain::BtnEnabledSoundClick},
    {"BtnDisabledSound", &TFrmMain::BtnDisabledSoundClick},
    {"BtnWhatTis", &TFrmMain::BtnWhatTisClick},
};

// A click on a button, a panel or a symbol goes to `handler`.
void OnClick(QWidget* control, TFrmMain* form, Handler handler) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, form, handler);
    } else if (auto* panel = qobject_cast<TPanel*>(control)) {
        QObject::connect(panel, &TPanel::clicked, form, handler);
    } else if (auto* symbol = qobject_cast<symbols::TGraphicControl*>(control)) {
        QObject::connect(symbol, &symbols::TGraphicControl::clicked, form, handler);
    }
}

class SilentMessages : public platform::MessageBoxes {
public:
    platform::MsgResult Show(const std::string&, const std::string&, platform::MsgButtons buttons,
                             platform::MsgIcon) override {
        return buttons == platform::MsgButtons::YesNo ? platform::MsgResult::No
                                                      : platform::MsgResult::Ok;
    }
};

class SilentPlayer : public platform::WavePlayer {
public:
    void Play(const std::string&) override {}
};

class NoConfinement : public platform::PointerConfinement {
public:
    void Confine(QWidget*) override {}
    void Release() override {}
};

}  // namespace

TFrmMain::TFrmMain(FrmMainServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    RegisterPictures();
    if (!services_.messages) {
        ownMessages_ = std::make_unique<SilentMessages>();
        services_.messages = ownMessages_.get();
    }
    if (!services_.player) {
        ownPlayer_ = std::make_unique<SilentPlayer>();
        services_.player = ownPlayer_.get();
    }
    if (!services_.confinement) {
        ownConfinement_ = std::make_unique<NoConfinement>();
        services_.confinement = ownConfinement_.get();
    }
    if (!services_.now) services_.now = [] { return QDateTime::currentDateTime(); };

    SetUpWindow();
    BuildTimers();
    const Controls window = BuildControls(*this, Layout());
    auto panel = [&window](const char* name) -> TPanel& {
        return *qobject_cast<TPanel*>(window.value(name));
    };
    PanelVisual = &panel("PanelVisual");
    PanelTanks = &panel("PanelTanks");
    StatusBar = qobject_cast<TStatusBar*>(window.value("StatusBar"));

    // Creation order is stacking order, region by region.
    diagramPage_ = std::make_unique<DiagramPage>(*PanelVisual, services_.decimalSeparator);
    routeList_ = std::make_unique<RouteList>(*PanelVisual, plant_, *services_.messages);
    siloPage_ = std::make_unique<SiloPage>(*PanelTanks);
    infoPanel_ = std::make_unique<InfoPanel>(panel("PanelInfo"));
    QWidget& middle = panel("PanelParamAndSetup");
    paramPanel_ = std::make_unique<ParamPanel>(middle);
    auto overlay = [&middle](const char* name) -> TPanel& {
        return *middle.findChild<TPanel*>(name, Qt::FindDirectChildrenOnly);
    };
    devicePanel_ = std::make_unique<DevicePanel>(overlay("PanelDiscret"), *this, plant_,
                                                 *TimerReadState, services_.decimalSeparator);
    setupPanel_ = std::make_unique<SetupPanel>(overlay("PanelSetup"));
    blockPanel_ = std::make_unique<BlockPanel>(overlay("PanelBlock"), *services_.confinement);
    messageWindow_ = std::make_unique<MessageWindow>(panel("PanelMessage"), services_.now);
    commandBar_ = std::make_unique<CommandBar>(panel("PanelOfButton"), *services_.messages);
    StatusBar->AddPanel("Имя пользователя:", 200);
    StatusBar->AddPanel("Статус:", 150);
    StatusBar->AddPanel("    ", 50);
    state_ = std::make_unique<StateKeeper>(plant_, services_.statePath, services_.decimalSeparator,
                                           *services_.messages, services_.now);

    BuildPlant();
    Wire();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

// The children outlive this part of the window: a help-text pass still running
// ends in the title's destructor and must not call back into a half-destroyed form.
TFrmMain::~TFrmMain() {
    diagramPage_->Help().disconnect(this);
}

std::span<const Control> TFrmMain::Layout() {
    return kLayout;
}

void TFrmMain::SetUpWindow() {
    setObjectName("FrmMain");
    setWindowTitle(kCaption);
    // A fixed dialog frame without system menu, minimise, maximise or close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientSize);
    setFont(SansFont(11));
    // The classic face colour throughout; every control inherits it.
    setPalette(QPalette(Colour(palette::BtnFace)));
    setAutoFillBackground(true);
}

void TFrmMain::BuildTimers() {
    auto makeTimer = [this](const char* name, int interval, Handler handler) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, handler);
        return timer;
    };
    TimerSysTime = makeTimer("TimerSysTime", 1000, &TFrmMain::TimerSysTimeTimer);
    TimerInitialize = makeTimer("TimerInitialize", 1000, &TFrmMain::TimerInitializeTimer);
    TimerReadState = makeTimer("TimerReadState", 500, &TFrmMain::TimerReadStateTimer);
    TimerEmulCPU =
        makeTimer("TimerEmulCPU", plant::kEmulatorIntervalMs, &TFrmMain::TimerEmulCPUTimer);
    TimerVagonOn = makeTimer("TimerVagonOn", 1000, &TFrmMain::TimerVagonOnTimer);
    TimerSaveState = makeTimer("TimerSaveState", static_cast<int>(services_.saveInterval.count()),
                               &TFrmMain::TimerSaveStateTimer);
    TimerSysTime->start();
}

void TFrmMain::BuildPlant() {
    Journal& journal = messageWindow_->journal();
    sound_ = std::make_unique<Sound>(*services_.player, [this] { return SoundOn(); });
    random_ = std::make_unique<ClockRandom>();
    diagram_ = std::make_unique<DiagramScreen>(*this, plant_);
    controller_ = std::make_unique<plant::Controller>(
        plant_, plant::Outlets{*diagram_, journal, *sound_, *random_}, services_.decimalSeparator);
    wagonsScreen_ = std::make_unique<WagonsScreen>(*this);
    wagons_ = std::make_unique<plant::Wagons>(plant_, *wagonsScreen_, journal, *sound_, *random_);
    modbus_ = std::make_unique<ModbusLink>(plant_, journal, this);
}

// A click on a valve opens the device panel as a valve's, on a drive as a
// drive's; a click on a route entry asks about that route.
void TFrmMain::Wire() {
    Controls all;
    for (QWidget* control : findChildren<QWidget*>()) all.insert(control->objectName(), control);
    for (const Click& click : kClicks) OnClick(all.value(click.control), this, click.handler);
    for (const Control& row : DiagramPage::Layout()) {
        if (row.kind == Kind::Latch) {
            OnClick(all.value(row.name), this, &TFrmMain::LatchControlClick);
        } else if (row.kind == Kind::Noria || row.kind == Kind::Conveyor || row.kind == Kind::Fan) {
            OnClick(all.value(row.name), this, &TFrmMain::DeviceControlClick);
        }
    }
    for (const Control& row : RouteList::Layout()) {
        if (row.kind == Kind::RouteEntry) {
            OnClick(all.value(row.name), this, &TFrmMain::RouteControlClick);
        }
    }
    connect(&diagramPage_->Help(), &symbols::TTitle::done, this, &TFrmMain::Title1Done);
}

bool TFrmMain::SoundOn() const {
    return diagramPage_->SoundOn();
}

// --- Start-up and the running clocks ----------------------------------------

void TFrmMain::FormActivate() {
    // Activation comes once in this one-window program; the start-up runs once.
    if (activated_) return;
    activated_ = true;
    initStep_ = 0;
    TimerInitialize->start();
}

void TFrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

void TFrmMain::TimerInitializeTimer() {
    Journal& journal = messageWindow_->journal();
    switch (initStep_) {
        case 0:
            journal.Append(" Запуск системы", plant::JournalColour::Default);
            plant::FillDefinitions(plant_);
            LoadStateAtStartup();
            break;
        case 1:
            journal.Append(" Пользователь Зернов (оператор)\r\tзарегистрирован.",
                           plant::JournalColour::Default);
            StatusBar->setPanelText(0, "Имя пользователя: Зернов");
            StatusBar->setPanelText(1, "Статус: Оператор");
            break;
        case 2:
            break;
        case 3:
            journal.Append(" Установлена связь с контроллером", plant::JournalColour::Default);
            TimerEmulCPU->start();
            TimerVagonOn->start();
            modbus_->Start(state_->Modbus());
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

void TFrmMain::LoadStateAtStartup() {
    const std::optional<std::string> failure = state_->Load();
    if (!failure) {
        TimerSaveState->start();
        return;
    }
    // Start-up waits for the operator's answer (the box dispatches timer
    // events, and this step must not run twice).
    const bool starting = TimerInitialize->isActive();
    TimerInitialize->stop();
    state_->ReportUnreadable(windowTitle().toStdString(), *failure);
    if (starting && !state_->Finished()) TimerInitialize->start();
}

void TFrmMain::TimerSysTimeTimer() {
    paramPanel_->ShowTime(services_.now());
}

void TFrmMain::TimerEmulCPUTimer() {
    modbus_->TakeCommands();
    controller_->EmulatorTick();
    modbus_->Publish();
}

// Each second: a fresh seed from the clock, then one step of the wagons and
// the silo temperatures.
void TFrmMain::TimerVagonOnTimer() {
    random_->Reseed();
    if (wagons_) wagons_->Tick();
    modbus_->Publish();
}

void TFrmMain::TimerSaveStateTimer() {
    state_->SaveIfChanged();
}

// --- Device control panel ---------------------------------------------------

void TFrmMain::LatchControlClick() {
    OpenDevicePanel(true);
}

void TFrmMain::DeviceControlClick() {
    OpenDevicePanel(false);
}

void TFrmMain::OpenDevicePanel(bool valve) {
    const int dev = sender() ? sender()->property("Tag").toInt() : 0;
    if (!plant_.Dev.Contains(dev)) return;
    setupPanel_->Close();
    devicePanel_->Open(dev, valve);
}

void TFrmMain::TimerReadStateTimer() {
    devicePanel_->Refresh();
}

void TFrmMain::BtnDiscretCloseClick() {
    devicePanel_->Close();
}

void TFrmMain::BtnOnClick() {
    devicePanel_->Post(plant::kCmdOpen);
}
void TFrmMain::BtnOffClick() {
    devicePanel_->Post(plant::kCmdClose);
}
void TFrmMain::BtnStopClick() {
    devicePanel_->Post(plant::kCmdStop);
}
void TFrmMain::BtnResetClick() {
    devicePanel_->Post(plant::kCmdReset);
}
void TFrmMain::BtnLocalClick() {
    devicePanel_->Post(plant::kCmdLocal);
}
void TFrmMain::BtnRemoteClick() {
    devicePanel_->Post(plant::kCmdRemote);
}
void TFrmMain::BtnRepairClick() {
    devicePanel_->Post(plant::kCmdRepair);
}

// --- Route list ---------------------------------------------------------------

void TFrmMain::RouteControlClick() {
    if (const auto* entry = qobject_cast<const TPanel*>(sender())) routeList_->Click(*entry);
}

// --- System commands ----------------------------------------------------------

void TFrmMain::BtnBlockClick() {
    blockPanel_->Block(messageWindow_->journal());
}

void TFrmMain::Button1Click() {
    blockPanel_->Unblock(messageWindow_->journal());
}

void TFrmMain::BtnEnabledSoundClick() {
    diagramPage_->SetSoundOn(false);
}

void TFrmMain::BtnDisabledSoundClick() {
    diagramPage_->SetSoundOn(true);
}

// Closing saves the state file; if that fails the window stays open, and the
// next "Выход" offers to close without saving.
void TFrmMain::BtnExitClick() {
    if (state_->CloseSaveFailed()) {
        if (!commandBar_->AskExitUnsaved(services_.statePath, state_->SavedAt())) return;
        state_->LeaveUnsaved();
    } else if (!commandBar_->AskExit()) {
        return;
    }
    close();
}

void TFrmMain::BtnSetupClick() {
    BtnDiscretCloseClick();
    setupPanel_->Open();
}

void TFrmMain::BtnSetupCloseClick() {
    setupPanel_->Close();
}

void TFrmMain::BtnNotWorklClick() {
    commandBar_->ShowNotAvailable();
}

void TFrmMain::BtnSilosDetailClick() {
    PanelTanks->show();
    PanelVisual->hide();
}

void TFrmMain::BtnVisualizationClick() {
    PanelVisual->show();
    PanelTanks->hide();
}

void TFrmMain::BtnWhatTisClick() {
    diagramPage_->PlayHelp();
}

void TFrmMain::Title1Done() {
    diagramPage_->HelpDone();
}

// The board shows 0.0 from the next controller tick.
void TFrmMain::BtnResetCountClick() {
    plant_.ShippingMassa = 0;
}

// --- Close and shutdown -------------------------------------------------------

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TFrmMain::FormClose() {
    return state_->SaveOnClose(windowTitle().toStdString());
}

bool TFrmMain::SaveForShutdown() {
    return state_->SaveForShutdown();
}

}  // namespace console
