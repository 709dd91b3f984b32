// The program entry: the application object, the lock beside the state file,
// the main window with the real desktop services, and the message loop until
// the window closes. Exit status: 0 after "Выход", 1 when another console holds
// the state file, 128 + the signal's number after SIGTERM, SIGINT or SIGHUP.
// "GrainTerminal --users …" manages the users file instead, without a display
// (app/UsersCommand.h).
#include <QApplication>
#include <QLocale>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/UsersCommand.h"
#include "console/LocalClock.h"
#include "console/MainFrm.h"
#include "console/StateLock.h"
#include "platform/services/PulseWavePlayer.h"
#include "platform/services/QtMessageBoxes.h"
#include "platform/services/QtPointerConfinement.h"
#include "platform/services/QuitSignals.h"
#include "platform/services/SaveFileDialog.h"
#include "state/StateFile.h"

namespace {

// Message boxes owned by the main window once it exists, so they centre on it.
class WindowMessages : public platform::MessageBoxes {
public:
    void Attach(QWidget* window) { boxes_ = std::make_unique<platform::QtMessageBoxes>(window); }

    platform::MsgResult Show(const std::string& title, const std::string& text,
                             platform::MsgButtons buttons, platform::MsgIcon icon) override {
        return boxes_->Show(title, text, buttons, icon);
    }

private:
    std::unique_ptr<platform::QtMessageBoxes> boxes_ =
        std::make_unique<platform::QtMessageBoxes>(nullptr);
};

// The decimal separator of the regional settings, as one character.
char SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
}

constexpr int kStateInUse = 1;
constexpr int kSignalBase = 128;

// What an exit() from inside the message loop saves and releases; cleared
// before main returns.
console::TFrmMain* windowToSave = nullptr;
console::StateLock* lockToRelease = nullptr;

// Qt ends the program with exit() when it loses the connection to the display
// server. The plant is saved then as on a shutdown, and the lock released.
void SaveAtExit() {
    if (windowToSave != nullptr) windowToSave->SaveForShutdown();
    if (lockToRelease != nullptr) lockToRelease->Release();
}

}  // namespace

int main(int argc, char** argv) {
    // Before any Qt object: the command needs neither a display nor a platform plugin.
    if (argc > 1 && std::string_view(argv[1]) == "--users") {
        return users::RunUsersCommand({argv + 2, argv + argc}, users::OwnUsersFilePath(argv[0]));
    }

    QApplication app(argc, argv);
    app.setStyle("Fusion");

    WindowMessages messages;
    platform::PulseWavePlayer player;
    platform::QtPointerConfinement confinement;

    console::FrmMainServices services;
    services.messages = &messages;
    services.player = &player;
    services.confinement = &confinement;
    platform::QtSaveFileDialog saveDialog;
    services.saveDialog = &saveDialog;
    services.statePath =
        state::StateFilePath(QCoreApplication::applicationFilePath().toStdString());
    services.decimalSeparator = SystemDecimalSeparator();
    services.now = console::LocalNow;

    console::StateLock lock(services.statePath);
    if (!lock.Take(messages)) return kStateInUse;

    console::TFrmMain window(services);
    messages.Attach(&window);

    // A shutdown or logout closes the console in order: the plant is saved
    // without a question and the exit status names the signal.
    platform::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &platform::QuitSignals::Received, &window, [&](int number) {
        if (!window.SaveForShutdown()) {
            std::cerr << "Unable to write to " << services.statePath << std::endl;
        }
        window.close();
        QCoreApplication::exit(kSignalBase + number);
    });

    windowToSave = &window;
    lockToRelease = &lock;
    std::atexit(SaveAtExit);
    window.show();
    const int status = app.exec();
    windowToSave = nullptr;
    lockToRelease = nullptr;
    return status;
}
