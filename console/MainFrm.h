#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <span>

#include "console/Layout.h"
#include "console/Services.h"
#include "plant/Plant.h"

class QTimer;

namespace plant {
class Controller;
class Wagons;
class WagonsOutlet;
}  // namespace plant

namespace console {

class Access;
class ArchiveLink;
class BlockPanel;
class ClockRandom;
class CommandBar;
class DevicePanel;
class DiagramPage;
class DiagramScreen;
class InfoPanel;
class Journal;
class MessageWindow;
class ModbusLink;
class ParamPanel;
class RouteList;
class SetupPanel;
class SiloPage;
class Sound;
class StateKeeper;
class TStatusBar;

// The console's one window. It owns the plant tables, the emulated controller
// and every region for the life of the program: the diagram page with its
// route list, the silo page, the lower band (information panel, the middle
// section with the device, setup and block panels over the clock, the message
// window with the journal), the command bar and the status bar. It runs the
// start-up and its own timers (clock, start-up, controller, wagons, periodic
// save), and wires what a control of one region sets off in another; each
// region wires its own controls to its own handlers. Controls carry their
// names as objectName. A users file beside the state file switches
// registration on (Access); the status bar shows who is at the console.
class TFrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TFrmMain(FrmMainServices services, QWidget* parent = nullptr);
    ~TFrmMain() override;

    plant::Plant& plant() { return plant_; }
    const plant::Plant& plant() const { return plant_; }

    // Start-up counter: the step the next TimerInitialize tick performs.
    int32_t InitStep() const { return initStep_; }

    // The window's own layout: the upper pages, the start-up notice under
    // them, the lower band's three sections, the command bar and the status bar.
    static std::span<const Control> Layout();

    // Two regions, for tools and tests that look at them or drive their timer
    // by hand.
    DiagramPage& diagramPage() { return *diagramPage_; }
    DevicePanel& devicePanel() { return *devicePanel_; }
    // The event archive the journal writes to.
    ArchiveLink& archiveLink() { return *archive_; }

    // Saves the plant as a close does, without a question or a message, for a
    // shutdown (a signal, a lost display); after it nothing is saved again and
    // the window closes without saving. Before start-up has read the state
    // file, and for a file that could not be read, nothing is written. False
    // when the save failed.
    bool SaveForShutdown();

public slots:
    // Activation: starts the five-step start-up (runs once).
    void FormActivate();

    // The window's timers.
    void TimerSysTimeTimer();
    void TimerInitializeTimer();
    void TimerEmulCPUTimer();
    void TimerVagonOnTimer();
    void TimerSaveStateTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpWindow();
    void BuildTimers();
    // The sound, dice, diagram outlet, controller and wagon timer.
    void BuildPlant();
    // What a control of one region sets off in another.
    void WireRegions();
    // Start-up step 0's reading of the state file.
    void LoadStateAtStartup();
    // Start-up step 1: the fixed user of the open door, or the users file's
    // problem told once.
    void RegisterAtStartup();
    // The user at the console and the role in the status bar.
    void ShowUser();
    // Saves the plant on close; false keeps the window open.
    bool FormClose();

    FrmMainServices services_;
    // Stand-ins for services a test leaves out: silent, answering "no".
    std::unique_ptr<platform::MessageBoxes> ownMessages_;
    std::unique_ptr<platform::WavePlayer> ownPlayer_;
    std::unique_ptr<platform::PointerConfinement> ownConfinement_;
    std::unique_ptr<platform::SaveFileDialog> ownSaveDialog_;

    plant::Plant plant_;
    int32_t initStep_ = 0;
    bool activated_ = false;

    // Made before the regions that write to it; the message window shows it.
    std::unique_ptr<Journal> journal_;
    // The event archive: the journal hands it every entry; the archive window
    // of the command bar reads it. Goes after the regions that use it.
    std::unique_ptr<ArchiveLink> archive_;
    std::unique_ptr<StateKeeper> state_;
    // Who is at the console; every region asks it before a command.
    std::unique_ptr<Access> access_;

    // Regions of the window, in creation (and stacking) order.
    std::unique_ptr<DiagramPage> diagramPage_;
    std::unique_ptr<RouteList> routeList_;
    std::unique_ptr<SiloPage> siloPage_;
    std::unique_ptr<InfoPanel> infoPanel_;
    std::unique_ptr<ParamPanel> paramPanel_;
    std::unique_ptr<DevicePanel> devicePanel_;
    std::unique_ptr<SetupPanel> setupPanel_;
    std::unique_ptr<BlockPanel> blockPanel_;
    std::unique_ptr<MessageWindow> messageWindow_;
    std::unique_ptr<CommandBar> commandBar_;

    // Outlets of the controller and the wagon timer, then the two of them; the
    // controller goes first on destruction.
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<ClockRandom> random_;
    std::unique_ptr<DiagramScreen> diagram_;
    std::unique_ptr<plant::WagonsOutlet> wagonsScreen_;
    std::unique_ptr<plant::Controller> controller_;
    std::unique_ptr<plant::Wagons> wagons_;
    // Serves the plant over Modbus TCP when the state file asks for it;
    // destroyed (its thread stopped) before the controller and the wagon timer.
    std::unique_ptr<ModbusLink> modbus_;

    // Timers.
    QTimer* TimerSysTime = nullptr;
    QTimer* TimerInitialize = nullptr;
    QTimer* TimerEmulCPU = nullptr;
    QTimer* TimerVagonOn = nullptr;
    QTimer* TimerSaveState = nullptr;

    // The two upper pages and the status bar.
    TPanel* PanelVisual = nullptr;
    TPanel* PanelTanks = nullptr;
    TStatusBar* StatusBar = nullptr;
};

}  // namespace console
