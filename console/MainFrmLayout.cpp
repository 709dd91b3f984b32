// The window itself and its lower part: the three sections of the lower band
// with their overlay panels, the button bar and the status bar.
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "console/Fonts.h"
#include "console/MainFrm.h"
#include "console/MainFrmControls.h"
#include "console/Panel.h"
#include "console/Picture.h"
#include "console/Shape.h"
#include "console/StatusBar.h"

namespace console {

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 721;
constexpr int kUpperHeight = 500;
constexpr int kBandTop = 500, kBandHeight = 178;
constexpr int kButtonBarTop = 678, kButtonBarHeight = 24;
constexpr int kStatusTop = 702, kStatusHeight = 19;
constexpr int kSectionWidth = 338;
// Overlay panels sit just below the section title and cover the rest of it.
const QRect kOverlayBox(1, 17, 338, 159);

constexpr platform::TColor kNavy = 0x800000;
constexpr platform::TColor kMaroon = 0x000080;
constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kYellow = 0x00FFFF;
constexpr platform::TColor kBlue = 0xFF0000;
constexpr platform::TColor kGreyText = 0xADADAD;
constexpr platform::TColor kSectionBack = 0xFFFF80;

const char* const kCaption = "Автоматизированная система управления зерновым терминалом (демо)";

}  // namespace

void TFrmMain::BuildWindow() {
    setObjectName("FrmMain");
    setWindowTitle(kCaption);
    // A fixed dialog frame without system menu, minimise, maximise or close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(SansFont(11));
    // The classic face colour throughout; every control inherits it.
    setPalette(QPalette(Colour(platform::kBtnFace)));
    setAutoFillBackground(true);

    // The notice lies under the upper view; showing the diagram covers it.
    LabelStartInit =
        AddLabel(this, "LabelStartInit", "Идет первоначальный сбор данных.\nПожалуйста ждите...",
                 QRect(328, 184, 361, 48), TextLook().Size(19).Bold().Font(kNavy).Centre());

    PanelVisual = AddPanel(this, "PanelVisual", "", QRect(0, 0, kClientWidth, kUpperHeight));
    PanelVisual->setBevel(TPanel::Bevel::Lowered);
    PanelVisual->hide();
    PanelTanks = AddPanel(this, "PanelTanks", "", QRect(0, 0, kClientWidth, kUpperHeight));
    PanelTanks->setBevel(TPanel::Bevel::Lowered);
    PanelTanks->hide();
}

void TFrmMain::BuildTimers() {
    auto makeTimer = [this](const char* name, int interval, void (TFrmMain::*handler)()) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, handler);
        return timer;
    };
    TimerSysTime = makeTimer("TimerSysTime", 1000, &TFrmMain::TimerSysTimeTimer);
    TimerInitialize = makeTimer("TimerInitialize", 1000, &TFrmMain::TimerInitializeTimer);
    TimerReadState = makeTimer("TimerReadState", 500, &TFrmMain::TimerReadStateTimer);
    TimerEmulCPU = makeTimer("TimerEmulCPU", 300, &TFrmMain::TimerEmulCPUTimer);
    TimerVagonOn = makeTimer("TimerVagonOn", 1000, &TFrmMain::TimerVagonOnTimer);
    TimerSaveState = makeTimer("TimerSaveState", static_cast<int>(services_.saveInterval.count()),
                               &TFrmMain::TimerSaveStateTimer);
    TimerSysTime->start();
}

void TFrmMain::BuildLowerBand() {
    PanelOfWindow =
        AddPanel(this, "PanelOfWindow", "", QRect(0, kBandTop, kClientWidth, kBandHeight));
    PanelOfWindow->setBevel(TPanel::Bevel::None);

    PanelInfo = AddPanel(PanelOfWindow, "PanelInfo", "", QRect(0, 0, kSectionWidth, kBandHeight));
    PanelParamAndSetup =
        AddPanel(PanelOfWindow, "PanelParamAndSetup", "",
                 QRect(kSectionWidth, 0, kClientWidth - 2 * kSectionWidth, kBandHeight));
    PanelMessage = AddPanel(PanelOfWindow, "PanelMessage", "",
                            QRect(kClientWidth - kSectionWidth, 0, kSectionWidth, kBandHeight));

    BuildPanelInfo(PanelInfo);
    BuildPanelParamAndSetup(PanelParamAndSetup);
    BuildPanelMessage(PanelMessage);
}

void TFrmMain::BuildPanelInfo(QWidget* parent) {
    AddTitle(parent, "TitleInfo", "Окно информации");

    // Alarm board: three lines, grey while inactive.
    AddSectionLabel(parent, "Label6", "Табло аварийной сигнализации", 17);
    TPanel* alarm = AddPanel(parent, "PanelAlarm", "", QRect(45, 36, 249, 52), 0xDDE1E3);
    alarm->setBevel(TPanel::Bevel::Lowered);
    const TextLook alarmLine = TextLook().Size(13).Bold().Font(kGreyText).Centre();
    AddLabel(alarm, "TabloFire", "Пожар", QRect(2, 1, 245, 16), alarmLine);
    AddLabel(alarm, "TabloTemperature", "Температура в силосе", QRect(2, 18, 245, 16), alarmLine);
    AddLabel(alarm, "TabloStop", "Аварийный останов", QRect(2, 35, 245, 16), alarmLine);

    AddSectionLabel(parent, "Label5", "Подробная информация", 90);
    auto* silos = AddButton(parent, "BtnSilosDetail", "Силосы", QRect(59, 110, 100, 20));
    auto* visual = AddButton(parent, "BtnVisualization", "Визуализация", QRect(179, 110, 100, 20));
    connect(silos, &QPushButton::clicked, this, &TFrmMain::BtnSilosDetailClick);
    connect(visual, &QPushButton::clicked, this, &TFrmMain::BtnVisualizationClick);

    AddSectionLabel(parent, "Label36", "Управление блокировками", 134);
    auto* blockSilos = AddButton(parent, "BtnBlockSilos", "Силосный парк", QRect(27, 153, 131, 20));
    auto* blockMove =
        AddButton(parent, "BtnBlockMove", "Трансп. оборудование", QRect(179, 153, 131, 20));
    connect(blockSilos, &QPushButton::clicked, this, &TFrmMain::BtnNotWorklClick);
    connect(blockMove, &QPushButton::clicked, this, &TFrmMain::BtnNotWorklClick);
}

void TFrmMain::BuildPanelParamAndSetup(QWidget* parent) {
    AddTitle(parent, "TitleParamAndSetup", "Окно параметров и настроек");

    // Clock, logo and contact line; a visible overlay panel covers all three.
    SysTime = AddLabel(parent, "SysTime", "00:00:00", QRect(1, 17, parent->width() - 2, 24),
                       TextLook().Size(19).Bold().Font(kNavy).Centre());
    auto* logo = new TPicture(":/pictures/logo.svg", parent);
    logo->setObjectName("Image1");
    logo->setGeometry(76, 44, 185, 80);
    AddLabel(parent, "Label1", "Демонстрационная версия\nсистемы управления зерновым терминалом",
             QRect(1, parent->height() - 1 - 47, parent->width() - 2, 47), TextLook().Centre());

    // Overlays in stacking order: later ones lie on top.
    BuildPanelDiscret(parent);
    BuildPanelSetup(parent);
    BuildPanelBlock(parent);
}

void TFrmMain::BuildPanelSetup(QWidget* parent) {
    PanelSetup = AddPanel(parent, "PanelSetup", "", kOverlayBox);
    PanelSetup->setBevel(TPanel::Bevel::None);
    PanelSetup->hide();
    AddLabel(PanelSetup, "TitleSetup", "Настройка", QRect(0, 0, kOverlayBox.width(), 16),
             TextLook().Size(13).Bold().Back(kSectionBack).Centre());

    auto* init = AddButton(PanelSetup, "BtnInitPLC", "Инициализация PLC ", QRect(100, 32, 137, 20));
    SetFontColour(init, 0x400080);
    auto* options = AddButton(PanelSetup, "BtnOptions", "Настройка среды", QRect(100, 56, 137, 20));
    auto* calibr = AddButton(PanelSetup, "BtnCalibr", "Калибровка", QRect(100, 80, 137, 20));
    auto* close = AddButton(PanelSetup, "BtnSetupClose", "Закрыть", QRect(100, 128, 137, 20));
    for (QPushButton* button : {init, options, calibr}) {
        connect(button, &QPushButton::clicked, this, &TFrmMain::BtnNotWorklClick);
    }
    connect(close, &QPushButton::clicked, this, &TFrmMain::BtnSetupCloseClick);
}

void TFrmMain::BuildPanelBlock(QWidget* parent) {
    PanelBlock = AddPanel(parent, "PanelBlock", "", kOverlayBox);
    PanelBlock->setBevel(TPanel::Bevel::None);
    PanelBlock->hide();
    AddLabel(PanelBlock, "Label2", "Блокировка системы", QRect(0, 0, kOverlayBox.width(), 16),
             TextLook().Size(13).Bold().Back(kSectionBack).Centre());

    // Red plate with the blocked notice on it.
    auto* frame = new TShape(TShape::Kind::Rectangle, PanelBlock);
    frame->setObjectName("Shape1");
    frame->setGeometry(21, 19, 297, 25);
    frame->setPen(kRed, 3);
    frame->setBrush(kRed);
    AddLabel(PanelBlock, "Label3", "Система  заблокирована", QRect(29, 23, 281, 17),
             TextLook().Size(15).Bold().Font(kYellow).Back(kRed).Centre());
    AddLabel(PanelBlock, "Label4",
             "Разблокировать систему может только\nзарегистрированный пользователь.\n\nДля "
             "разблокирования системы  введите пароль.",
             QRect(0, 48, 337, 57), TextLook().Bold().Font(kBlue).Centre());

    Edit1 = new QLineEdit(PanelBlock);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(92, 104, 153, 21);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet("lineedit-password-character: 42;");  // typed characters show as "*"

    Button1 = AddButton(PanelBlock, "Button1", "Разблокировать", QRect(109, 132, 121, 20));
    connect(Button1, &QPushButton::clicked, this, &TFrmMain::Button1Click);
}

void TFrmMain::BuildPanelMessage(QWidget* parent) {
    AddTitle(parent, "TitleMessage", "Окно сообщений");

    PageControl1 = new QTabWidget(parent);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(1, 17, parent->width() - 2, parent->height() - 18);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PageControl1->addTab(TabSheet1, "Системные");
    PageControl1->addTab(TabSheet2, "Программные");
    PageControl1->setCurrentWidget(TabSheet1);
}

void TFrmMain::BuildButtonBar() {
    PanelOfButton = AddPanel(this, "PanelOfButton", "",
                             QRect(0, kButtonBarTop, kClientWidth, kButtonBarHeight));

    auto button = [this](const char* name, const QString& caption, int x,
                         void (TFrmMain::*handler)()) {
        QPushButton* b = AddButton(PanelOfButton, name, caption, QRect(x, 2, 80, 20));
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    QPushButton* block = button("BtnBlock", "Блокировка", 472, &TFrmMain::BtnBlockClick);
    QFont bold = block->font();
    bold.setBold(true);
    block->setFont(bold);
    SetFontColour(block, kMaroon);
    button("BtnRegistration", "Регистрация", 668, &TFrmMain::BtnNotWorklClick);
    button("BtnJournal", "Журналы", 756, &TFrmMain::BtnNotWorklClick);
    button("BtnSetup", "Настройки", 844, &TFrmMain::BtnSetupClick);
    button("BtnExit", "Выход", 930, &TFrmMain::BtnExitClick);
}

void TFrmMain::BuildStatusBar() {
    StatusBar = new TStatusBar({{"Имя пользователя:", 200}, {"Статус:", 150}, {"    ", 50}}, this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setGeometry(0, kStatusTop, kClientWidth, kStatusHeight);
}

}  // namespace console
