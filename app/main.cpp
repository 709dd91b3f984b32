// The program entry: the application object, the main window with the real
// desktop services, and the message loop until the window closes.
#include <QApplication>
#include <QLocale>
#include <memory>

#include "console/MainFrm.h"
#include "console/StateFile.h"
#include "platform/PulseWavePlayer.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPointerConfinement.h"

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setStyle("Fusion");

    WindowMessages messages;
    platform::PulseWavePlayer player;
    platform::QtPointerConfinement confinement;

    console::FrmMainServices services;
    services.messages = &messages;
    services.player = &player;
    services.confinement = &confinement;
    services.statePath =
        console::StateFilePath(QCoreApplication::applicationFilePath().toStdString());
    services.decimalSeparator = SystemDecimalSeparator();

    console::TFrmMain window(services);
    messages.Attach(&window);
    window.show();
    return app.exec();
}
