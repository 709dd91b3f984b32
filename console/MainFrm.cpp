#include "console/MainFrm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "console/ClockRandom.h"
#include "console/DiagramScreen.h"
#include "console/Journal.h"
#include "console/Sound.h"
#include "console/WagonsScreen.h"
#include "plant/Controller.h"
#include "plant/Wagons.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/PointerConfinement.h"
#include "platform/services/WavePlayer.h"
#include "symbols/Title.h"

// The pictures are compiled into the console library; a static library's
// resources are registered by hand. Outside any namespace, as the macro needs.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace console {

namespace {

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

    // Creation order is stacking order: the start-up notice lies under the pages.
    BuildWindow();
    BuildDiagram();
    BuildPanelTanks();
    BuildLowerBand();
    BuildButtonBar();
    BuildStatusBar();
    BuildPlant();
    BuildTimers();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

// The children outlive this part of the window: a help-text pass still running
// ends in the title's destructor and must not call back into a half-destroyed form.
TFrmMain::~TFrmMain() {
    if (Title1 != nullptr) Title1->disconnect(this);
}

void TFrmMain::BuildPlant() {
    RichMessage = new JournalView(TabSheet1);
    RichMessage->setObjectName("RichMessage");
    auto* fill = new QVBoxLayout(TabSheet1);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(RichMessage);

    journal_ = std::make_unique<Journal>(*RichMessage, services_.now);
    sound_ = std::make_unique<Sound>(*services_.player, [this] { return SoundOn(); });
    random_ = std::make_unique<ClockRandom>();
    diagram_ = std::make_unique<DiagramScreen>(*this, plant_);
    controller_ = std::make_unique<plant::Controller>(
        plant_, plant::Outlets{*diagram_, *journal_, *sound_, *random_},
        services_.decimalSeparator);
    wagonsScreen_ = std::make_unique<WagonsScreen>(*this);
    wagons_ = std::make_unique<plant::Wagons>(plant_, *wagonsScreen_, *journal_, *sound_, *random_);
}

QWidget* TFrmMain::Control(const std::string& name) const {
    if (name.empty()) return nullptr;
    return findChild<QWidget*>(QString::fromStdString(name));
}

bool TFrmMain::SoundOn() const {
    return BtnDisabledSound->isHidden();
}

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

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace console
