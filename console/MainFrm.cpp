#include "console/MainFrm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "console/Access.h"
#include "console/ArchiveLink.h"
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
#include "platform/services/SaveFileDialog.h"
#include "platform/services/WavePlayer.h"
#include "users/UsersFile.h"

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

class CancelledSave : public platform::SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget*, const std::string&, const std::string&,
                                   const std::string&) override {
        return std::nullopt;
    }
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
    if (!services_.saveDialog) {
        ownSaveDialog_ = std::make_unique<CancelledSave>();
        services_.saveDialog = ownSaveDialog_.get();
    }
    if (!services_.now) services_.now = [] { return QDateTime::currentDateTime(); };
    if (!services_.steadyNow) services_.steadyNow = [] { return std::chrono::steady_clock::now(); };

    SetUpWindow();
    BuildTimers();
    const Controls window = BuildControls(*this, Layout());
    auto panel = [&window](const char* name) -> TPanel& {
        return *qobject_cast<TPanel*>(window.value(name));
    };
    PanelVisual = &panel("PanelVisual");
    PanelTanks = &panel("PanelTanks");
    StatusBar = qobject_cast<TStatusBar*>(window.value("StatusBar"));

    journal_ = std::make_unique<Journal>(services_.now);
    archive_ = std::make_unique<ArchiveLink>(*journal_, services_.now);
    journal_->RecordIn(archive_.get());
    state_ = std::make_unique<StateKeeper>(plant_, services_.statePath, services_.decimalSeparator,
                                           *services_.messages, services_.now);
    // The users file is read at once, so that no click before start-up finds
    // the door open; what is wrong with it is told at start-up.
    access_ = std::make_unique<Access>(*journal_);
    if (!services_.statePath.empty()) {
        std::string path = users::UsersFilePath(services_.statePath);
        users::UsersLoad users = users::LoadUsers(path);
        if (users.status != users::UsersLoad::Status::Off) {
            access_->Register(std::move(path), std::move(users), services_.steadyNow);
        }
    }
    connect(access_.get(), &Access::UserChanged, this, &TFrmMain::ShowUser);
    const RegionServices regions{plant_,
                                 *journal_,
                                 *services_.messages,
                                 *services_.confinement,
                                 *access_,
                                 services_.statePath,
                                 services_.decimalSeparator};

    // Creation order is stacking (and keyboard focus) order, region by region.
    diagramPage_ = std::make_unique<DiagramPage>(*PanelVisual, regions);
    routeList_ = std::make_unique<RouteList>(*PanelVisual, regions);
    siloPage_ = std::make_unique<SiloPage>(*PanelTanks);
    const ArchiveServices archive{*archive_, *services_.saveDialog, services_.now};
    infoPanel_ = std::make_unique<InfoPanel>(panel("PanelInfo"), regions, *PanelVisual, *PanelTanks,
                                             archive);
    QWidget& middle = panel("PanelParamAndSetup");
    paramPanel_ = std::make_unique<ParamPanel>(middle);
    auto overlay = [&middle](const char* name) -> TPanel& {
        return *middle.findChild<TPanel*>(name, Qt::FindDirectChildrenOnly);
    };
    devicePanel_ = std::make_unique<DevicePanel>(overlay("PanelDiscret"), regions, *diagramPage_);
    setupPanel_ = std::make_unique<SetupPanel>(overlay("PanelSetup"), regions);
    blockPanel_ = std::make_unique<BlockPanel>(overlay("PanelBlock"), regions);
    messageWindow_ = std::make_unique<MessageWindow>(panel("PanelMessage"), *journal_);
    commandBar_ = std::make_unique<CommandBar>(panel("PanelOfButton"), regions, *state_, archive);
    StatusBar->AddPanel("Имя пользователя:", 200);
    StatusBar->AddPanel("Статус:", 150);
    StatusBar->AddPanel("    ", 50);

    BuildPlant();
    WireRegions();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

// The regions are destroyed before the controls they wired, and their
// connections with them: a help-text pass still running ends in the title's
// destructor without calling back.
TFrmMain::~TFrmMain() {
    // What is journalled from here on is for no archive; the archive's writer
    // ends, writing what it holds, when the link goes after the regions.
    journal_->RecordIn(nullptr);
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
    TimerEmulCPU =
        makeTimer("TimerEmulCPU", plant::kEmulatorIntervalMs, &TFrmMain::TimerEmulCPUTimer);
    TimerVagonOn = makeTimer("TimerVagonOn", 1000, &TFrmMain::TimerVagonOnTimer);
    TimerSaveState = makeTimer("TimerSaveState", static_cast<int>(services_.saveInterval.count()),
                               &TFrmMain::TimerSaveStateTimer);
    TimerSysTime->start();
}

void TFrmMain::BuildPlant() {
    sound_ = std::make_unique<Sound>(*services_.player,
                                     [page = diagramPage_.get()] { return page->SoundOn(); });
    random_ = std::make_unique<ClockRandom>();
    diagram_ = std::make_unique<DiagramScreen>(*this, plant_);
    controller_ = std::make_unique<plant::Controller>(
        plant_, plant::Outlets{*diagram_, *journal_, *sound_, *random_},
        services_.decimalSeparator);
    wagonsScreen_ = std::make_unique<WagonsScreen>(*this);
    wagons_ = std::make_unique<plant::Wagons>(plant_, *wagonsScreen_, *journal_, *sound_, *random_);
    modbus_ = std::make_unique<ModbusLink>(plant_, *journal_, this);
}

void TFrmMain::WireRegions() {
    // A click on a device symbol opens the device panel. The device and setup
    // panels share their place: each one's opening puts the other away.
    connect(diagramPage_.get(), &DiagramPage::DeviceClicked, devicePanel_.get(),
            &DevicePanel::DeviceControlClick);
    connect(devicePanel_.get(), &DevicePanel::Opened, setupPanel_.get(),
            &SetupPanel::BtnSetupCloseClick);
    connect(setupPanel_.get(), &SetupPanel::Opening, devicePanel_.get(),
            &DevicePanel::BtnDiscretCloseClick);
    // The command bar's "Блокировка" and "Настройки" open panels of the middle section.
    connect(&commandBar_->BtnBlock(), &QPushButton::clicked, blockPanel_.get(),
            &BlockPanel::BtnBlockClick);
    connect(&commandBar_->BtnSetup(), &QPushButton::clicked, setupPanel_.get(),
            &SetupPanel::BtnSetupClick);
    // Blocking the console blocks the windows over the archive too.
    connect(blockPanel_.get(), &BlockPanel::Blocked, commandBar_.get(), &CommandBar::SetBlocked);
    connect(blockPanel_.get(), &BlockPanel::Blocked, infoPanel_.get(), &InfoPanel::SetBlocked);
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
    Journal& journal = *journal_;
    switch (initStep_) {
        case 0:
            // Marked as the program's start: the equipment figures count no
            // running or alarm time between the last run's end and this.
            journal.Append(" Запуск системы", plant::JournalColour::Default,
                           plant::SystemTag(plant::EntryKind::System, plant::kStartUp));
            plant::FillDefinitions(plant_);
            LoadStateAtStartup();
            archive_->Start(state_->Archive());
            break;
        case 1:
            RegisterAtStartup();
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
            devicePanel_->BtnDiscretCloseClick();
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

void TFrmMain::RegisterAtStartup() {
    if (!access_->On()) {
        journal_->Append(" Пользователь " + std::string(Access::kOpenUser) +
                             " (оператор)\r\tзарегистрирован.",
                         plant::JournalColour::Default);
    } else if (!access_->Problem().empty()) {
        journal_->Append(" Файл пользователей не прочитан -\r\tвход невозможен",
                         plant::JournalColour::Blue);
        // Start-up waits for the operator's answer, as for the state file.
        const bool starting = TimerInitialize->isActive();
        TimerInitialize->stop();
        services_.messages->Show(windowTitle().toStdString(),
                                 "Файл пользователей не может быть использован:\r" +
                                     access_->Problem() +
                                     "\r\rВойти в систему не сможет никто: команды управления\r"
                                     "отклоняются, пока файл не исправлен и программа\r"
                                     "не запущена снова.",
                                 platform::MsgButtons::Ok, platform::MsgIcon::Error);
        if (starting && !state_->Finished()) TimerInitialize->start();
    }
    ShowUser();
}

void TFrmMain::ShowUser() {
    const std::string name = access_->UserName();
    StatusBar->setPanelText(
        0, QString::fromStdString("Имя пользователя:" + (name.empty() ? "" : " " + name)));
    StatusBar->setPanelText(1, QString::fromStdString("Статус: " + access_->StatusText()));
}

void TFrmMain::TimerSysTimeTimer() {
    paramPanel_->ShowTime(services_.now());
    access_->SignOutWhenIdle();
}

void TFrmMain::TimerEmulCPUTimer() {
    modbus_->TakeCommands();
    controller_->EmulatorTick();
    modbus_->Publish();
    archive_->Cycle(plant_);
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
