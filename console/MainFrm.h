#pragma once

#include <QDateTime>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "plant/Plant.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QTabWidget;

namespace platform {
class MessageBoxes;
class PointerConfinement;
class WavePlayer;
}  // namespace platform

namespace symbols {
class TTitle;
}

namespace plant {
class Controller;
class Wagons;
class WagonsOutlet;
}  // namespace plant

namespace console {

class ClockRandom;
class DiagramScreen;
class Journal;
class JournalView;
class Sound;
class TPanel;
class TStatusBar;

// What the main window needs from the desktop. The program wires the real ones;
// tests pass fakes, a fixed clock and a state file in a scratch folder.
struct FrmMainServices {
    platform::MessageBoxes* messages = nullptr;
    platform::WavePlayer* player = nullptr;
    platform::PointerConfinement* confinement = nullptr;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::string statePath;
    char decimalSeparator = '.';
    // While running, the plant is saved this often (when a saved value has
    // changed), so a crash or a power cut loses at most this much.
    std::chrono::milliseconds saveInterval{60000};
};

// The console's one window: the diagram, the silo page, the lower band with its
// overlay panels, the journal, the button bar, the status bar and every timer.
// It owns the plant tables and the emulated controller for the life of the
// program. Controls carry their names as objectName.
class TFrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TFrmMain(FrmMainServices services, QWidget* parent = nullptr);
    ~TFrmMain() override;

    plant::Plant& plant() { return plant_; }
    const plant::Plant& plant() const { return plant_; }

    // Sound is on while the "sound off" button is hidden.
    bool SoundOn() const;

    // Start-up counter: the step the next TimerInitialize tick performs.
    int32_t InitStep() const { return initStep_; }

    // Saves the plant as a close does, without a question or a message, for a
    // shutdown (a signal, a lost display); after it nothing is saved again and
    // the window closes without saving. Before start-up has read the state
    // file, and for a file that could not be read, nothing is written. False
    // when the save failed.
    bool SaveForShutdown();

public slots:
    // Activation: starts the five-step start-up (runs once).
    void FormActivate();

    // Timers.
    void TimerSysTimeTimer();
    void TimerInitializeTimer();
    void TimerEmulCPUTimer();
    void TimerReadStateTimer();
    void TimerVagonOnTimer();
    void TimerSaveStateTimer();

    // Device control panel.
    void LatchControlClick();
    void DeviceControlClick();
    void BtnDiscretCloseClick();
    void BtnOnClick();
    void BtnOffClick();
    void BtnStopClick();
    void BtnResetClick();
    void BtnLocalClick();
    void BtnRemoteClick();
    void BtnRepairClick();

    // Route list.
    void RouteControlClick();

    // System commands.
    void BtnBlockClick();
    void Button1Click();
    void BtnEnabledSoundClick();
    void BtnDisabledSoundClick();
    void BtnExitClick();
    void BtnSetupClick();
    void BtnSetupCloseClick();
    void BtnNotWorklClick();
    void BtnSilosDetailClick();
    void BtnVisualizationClick();
    void BtnWhatTisClick();
    void Title1Done();
    void BtnResetCountClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout, one function per region (MainFrmLayout.cpp and friends).
    void BuildWindow();
    void BuildTimers();
    void BuildDiagram();
    void BuildDiagramDecor(QWidget* page);
    void BuildDiagramPictures(QWidget* page);
    void BuildDiagramDevices(QWidget* page);
    void BuildDiagramSilos(QWidget* page);
    void BuildDiagramPipes(QWidget* page);
    void BuildDiagramBoards(QWidget* page);
    void BuildRouteList(QWidget* page);
    void BuildHelpTitle(QWidget* page);
    void BuildLoadingTable(QWidget* page);
    void BuildPanelTanks();
    void BuildLowerBand();
    void BuildPanelInfo(QWidget* parent);
    void BuildPanelParamAndSetup(QWidget* parent);
    void BuildPanelMessage(QWidget* parent);
    void BuildPanelDiscret(QWidget* parent);
    void BuildPanelSetup(QWidget* parent);
    void BuildPanelBlock(QWidget* parent);
    void BuildButtonBar();
    void BuildStatusBar();
    // The journal, sound, dice, diagram outlet, controller and wagon timer.
    void BuildPlant();

    // A control of the window by name; null for an empty or unknown name.
    QWidget* Control(const std::string& name) const;

    // Start-up step 0's reading of the state file (MainFrmState.cpp).
    void LoadStateAtStartup();
    // Saves the plant on close; false keeps the window open.
    bool FormClose();
    // The exit question after a failed save: close without saving?
    bool ConfirmExitWithoutSaving();
    // Posts a device command code for the device whose panel is open.
    void PostDeviceCommand(int32_t code);
    // Opens the device panel for the sender's device.
    void OpenDevicePanel(bool valve);
    void SetNameLabelColour(int dev, uint32_t colour);

    FrmMainServices services_;
    // Stand-ins for services a test leaves out: silent, answering "no".
    std::unique_ptr<platform::MessageBoxes> ownMessages_;
    std::unique_ptr<platform::WavePlayer> ownPlayer_;
    std::unique_ptr<platform::PointerConfinement> ownConfinement_;

    plant::Plant plant_;
    int32_t initStep_ = 0;
    bool activated_ = false;

    // The state file: read at step 0 (until then the tables hold nothing worth
    // saving), found unreadable (then never written), the saved values as the
    // file last received them and when, a close whose save failed, the
    // operator's choice to close without saving, and the last save done.
    bool stateLoaded_ = false;
    bool stateUnreadable_ = false;
    std::string savedValues_;
    QDateTime savedAt_;
    bool exitSaveFailed_ = false;
    bool leaveUnsaved_ = false;
    bool finalSaveDone_ = false;

    // Outlets of the controller and the wagon timer, then the two of them; the
    // controller goes first on destruction.
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<ClockRandom> random_;
    std::unique_ptr<DiagramScreen> diagram_;
    std::unique_ptr<plant::WagonsOutlet> wagonsScreen_;
    std::unique_ptr<plant::Controller> controller_;
    std::unique_ptr<plant::Wagons> wagons_;

    // Timers.
    QTimer* TimerSysTime = nullptr;
    QTimer* TimerInitialize = nullptr;
    QTimer* TimerReadState = nullptr;
    QTimer* TimerEmulCPU = nullptr;
    QTimer* TimerVagonOn = nullptr;
    QTimer* TimerSaveState = nullptr;

    // Upper view and start-up notice.
    TPanel* PanelVisual = nullptr;
    TPanel* PanelTanks = nullptr;
    QLabel* LabelStartInit = nullptr;

    // Lower band.
    TPanel* PanelOfWindow = nullptr;
    TPanel* PanelInfo = nullptr;
    TPanel* PanelParamAndSetup = nullptr;
    TPanel* PanelMessage = nullptr;
    QLabel* SysTime = nullptr;
    JournalView* RichMessage = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;

    // Overlay panels of the middle section.
    TPanel* PanelDiscret = nullptr;
    TPanel* PanelSetup = nullptr;
    TPanel* PanelBlock = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;

    // Device panel cells and buttons.
    QLabel* CurrentDevName = nullptr;
    QLabel* CurrentMode = nullptr;
    QLabel* CurrentState = nullptr;
    QLabel* CurrentError = nullptr;
    QLabel* CurrentUngle = nullptr;
    QPushButton* BtnOn = nullptr;
    QPushButton* BtnOff = nullptr;
    QPushButton* BtnStop = nullptr;
    QPushButton* BtnReset = nullptr;
    QPushButton* BtnLocal = nullptr;
    QPushButton* BtnRemote = nullptr;
    QPushButton* BtnRepair = nullptr;
    QPushButton* BtnDiscretClose = nullptr;

    // Diagram controls the system commands use.
    symbols::TTitle* Title1 = nullptr;
    QPushButton* BtnWhatTis = nullptr;
    QToolButton* BtnEnabledSound = nullptr;
    QToolButton* BtnDisabledSound = nullptr;

    // Button bar and status bar.
    TPanel* PanelOfButton = nullptr;
    TStatusBar* StatusBar = nullptr;
};

}  // namespace console
