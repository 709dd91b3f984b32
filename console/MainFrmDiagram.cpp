// The diagram page: device symbols with their number labels, silos with their
// gauges and lamps, pipes, LED boards, the route list, the help title and the
// static pictures of the terminal.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "console/Fonts.h"
#include "console/Gauge.h"
#include "console/MainFrm.h"
#include "console/MainFrmControls.h"
#include "console/Panel.h"
#include "console/Picture.h"
#include "console/Shape.h"
#include "symbols/Conveyor.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/Pump.h"
#include "symbols/SCADAType.h"
#include "symbols/Silo.h"
#include "symbols/Title.h"

namespace console {

namespace {

using symbols::clBlack;
using symbols::clBlue;
using symbols::clBtnFace;
using symbols::clGray;
using symbols::clGreen;
using symbols::clLime;
using symbols::clNavy;
using symbols::clOlive;
using symbols::clRed;
using symbols::clWhite;
using symbols::clYellow;

constexpr std::array<int, 4> kSiloX = {600, 707, 814, 921};
constexpr int kSiloY = 76;
constexpr platform::TColor kDriveRun = 0x96D296;

// Every device starts in Local mode with the usual mode colours.
void SetModeColours(symbols::TDeviceSymbol* s, platform::TColor repair = clOlive) {
    s->setColorLocal(clGreen);
    s->setColorRemote(clGray);
    s->setColorAuto(clBlue);
    s->setColorRepair(repair);
    s->setMode(symbols::TMode::Local);
    s->setAlarm(false);
}

void SetDriveColours(symbols::TDriveSymbol* s, platform::TColor run) {
    s->setColorRun(run);
    s->setColorAccelerate(clYellow);
    s->setColorStop(symbols::clSilver);
    s->setState(symbols::TState::Stop);
}

symbols::TLEDTablo* AddBoard(QWidget* page, const char* name, QPoint at, char separator) {
    auto* board = new symbols::TLEDTablo(page);
    board->setObjectName(name);
    board->setDecimalSeparator(separator);
    board->setGeometry(QRect(at, QSize(153, 41)));
    board->setNumChars(6);
    board->setValueType(symbols::TValueType::vtFloat);
    board->setDecimal(1);
    board->setAlignment(symbols::TLEDAlign::laRightJustify);
    board->setBorderWidth(5);
    board->setDistance(2);
    board->setShift(2);
    board->setBackGroundColor(clBlack);
    board->OnBrush()->setColor(clLime);
    board->OnPen()->setColor(clLime);
    board->OffBrush()->setColor(0x484848);
    board->OffPen()->setColor(0x484848);
    return board;
}

void AddNumberLabel(QWidget* page, const QString& name, const QString& text, QPoint at,
                    bool bold = false) {
    const TextLook look = TextLook().Back(clBtnFace);
    AddLabel(page, name.toLatin1().constData(), text, QRect(at, QSize()),
             bold ? look.Bold() : look);
}

TShape* AddLamp(QWidget* page, const QString& name, QPoint at, platform::TColor colour) {
    auto* lamp = new TShape(TShape::Kind::Circle, page);
    lamp->setObjectName(name);
    lamp->setGeometry(QRect(at, QSize(10, 10)));
    lamp->setPen(clBlack);
    lamp->setBrush(colour);
    lamp->hide();
    return lamp;
}

TShape* AddFrame(QWidget* page, const char* name, QRect box, platform::TColor colour = 0x808080) {
    auto* frame = new TShape(TShape::Kind::Rectangle, page);
    frame->setObjectName(name);
    frame->setGeometry(box);
    frame->setPen(colour);
    frame->setNoBrush();
    return frame;
}

symbols::TPipe* AddPipe(QWidget* page, const char* name, QRect box,
                        symbols::TPipeOrientation orientation, platform::TColor colour) {
    auto* pipe = new symbols::TPipe(page);
    pipe->setObjectName(name);
    pipe->setGeometry(box);
    pipe->setDiameter(orientation == symbols::TPipeOrientation::poVertical ? box.width()
                                                                           : box.height());
    pipe->setOpientation(orientation);
    pipe->setColor(colour);
    pipe->setColored(false);
    return pipe;
}

// The closing paragraph of the help text follows the operator instructions.
QStringList HelpText() {
    QStringList items;
    auto blank = [&items](int count) {
        for (int i = 0; i < count; ++i) items << QString();
    };
    items << "Данная программа"
          << "демонстрирует"
          << "следующие"
          << "возможности:";
    blank(4);
    items << "- получение"
          << "исчерпывающей"
          << "информации"
          << "о состоянии"
          << "оборудования"
          << "и всего объекта"
          << "в целом";
    blank(4);
    items << "- удобство"
          << "дистанционного"
          << "управления"
          << "оборудованием";
    blank(4);
    items << "- наглядность"
          << "сигнализации"
          << "при возникновении"
          << "предаварийных"
          << "и аварийных ситуаций";
    blank(4);
    items << "- автоматическое"
          << "управление"
          << "маршрутами"
          << "движения зерна";
    blank(7);
    items << "ДИСТАНЦИОННОЕ"
          << "УПРАВЛЕНИЕ"
          << "ОБОРУДОВАНИЕМ";
    blank(4);
    items << "- кликните мышкой"
          << "на задвижке,"
          << "конвейере,"
          << "нории или"
          << "вентиляторе";
    blank(4);
    items << "- в открывшемся"
          << "окне"
          << "нажмите кнопку"
          << "для пуска или"
          << "останова"
          << "устройства"
          << "или управления"
          << "положением"
          << "задвижки";
    blank(8);
    items << "ЗАПУСК"
          << "МАРШРУТА";
    blank(4);
    items << "- выберите"
          << "из списка"
          << "маршрут,"
          << "который Вы"
          << "хотите запустить";
    blank(4);
    items << "Система все"
          << "сделает сама."
          << "Вам останется"
          << "только наблюдать.";
    blank(4);
    items << "Если возникнут"
          << "проблемы"
          << "в маршруте -"
          << "он будет"
          << "автоматически"
          << "остановлен.";
    blank(6);
    items << "ИНФОРМАЦИЯ"
          << "О СОСТОЯНИИ"
          << "ОБЪЕКТА";
    blank(4);
    items << "Нажмите кнопку"
          << "\"Силосы\""
          << "и на экран будет"
          << "выведена"
          << "полная информация"
          << "по силосам"
          << "на текущий момент.";
    blank(9);
    items << "Демонстрационная"
          << "версия"
          << "системы управления"
          << "зерновым"
          << "терминалом";
    return items;
}

}  // namespace

void TFrmMain::BuildDiagram() {
    QWidget* page = PanelVisual;
    BuildDiagramDecor(page);
    BuildDiagramPictures(page);
    BuildDiagramDevices(page);
    BuildDiagramSilos(page);
    BuildDiagramPipes(page);
    BuildDiagramBoards(page);
    BuildRouteList(page);
    BuildHelpTitle(page);
    BuildLoadingTable(page);
}

// Frames first, so everything else lies on top of them.
void TFrmMain::BuildDiagramDecor(QWidget* page) {
    AddFrame(page, "Shape2", QRect(226, 78, 261, 224));  // route list
    AddFrame(page, "Shape3", QRect(316, 14, 161, 62));   // stock board
    AddFrame(page, "Shape4", QRect(316, 374, 161, 95));  // shipped board and reset
    AddFrame(page, "Shape5", QRect(740, 430, 161, 62));  // unloading board
    AddFrame(page, "Shape6", QRect(5, 436, 299, 60));    // loading machines
    AddFrame(page, "Shape7", QRect(304, 469, 159, 23));  // throughput
    AddFrame(page, "Shape8", QRect(596, 72, 399, 106));  // silo park
}

void TFrmMain::BuildDiagramPictures(QWidget* page) {
    auto picture = [page](const char* name, const char* resource, QRect box) {
        auto* p = new TPicture(resource, page);
        p->setObjectName(name);
        p->setGeometry(box);
        return p;
    };
    picture("Image3", ":/pictures/vessel.svg", QRect(16, 320, 289, 113));
    picture("Image2", ":/pictures/truck_dump.svg", QRect(830, 240, 67, 50));

    // Wagon outlines always show; the wagons themselves come and go.
    const std::array<int, 3> wagonX = {680, 768, 856};
    for (int w = 1; w <= 3; ++w) {
        const QRect box(wagonX[static_cast<size_t>(w - 1)], 360, 89, 41);
        picture(QString("VagonShadow%1").arg(w).toLatin1().constData(),
                ":/pictures/wagon_shadow.svg", box);
    }
    for (int w = 1; w <= 3; ++w) {
        const QRect box(wagonX[static_cast<size_t>(w - 1)], 360, 89, 41);
        picture(QString("Vagon%1").arg(w).toLatin1().constData(), ":/pictures/wagon.svg", box)
            ->hide();
    }

    auto* hopper = new symbols::TSilo(page);
    hopper->setObjectName("Silo6");
    hopper->setGeometry(878, 289, 41, 17);
    hopper->setCover(0);
    hopper->setColor(clBlack);
}

void TFrmMain::BuildDiagramDevices(QWidget* page) {
    auto* noria = new symbols::TNoria(page);
    noria->setObjectName("Noria1");
    noria->setGeometry(481, 5, 96, 460);
    noria->setTag(18);
    noria->setTopOpientation(symbols::TNoria::TOrientation::noRight);
    noria->setBottomOpientation(symbols::TNoria::TOrientation::noRight);
    noria->setAlarmFlash(symbols::TFlashRate::frFast);
    SetModeColours(noria);
    SetDriveColours(noria, kDriveRun);
    connect(noria, &symbols::TNoria::clicked, this, &TFrmMain::DeviceControlClick);

    const std::array<QRect, 5> conveyors = {QRect(560, 29, 406, 25), QRect(589, 197, 378, 25),
                                            QRect(320, 322, 289, 25), QRect(552, 403, 401, 25),
                                            QRect(664, 307, 265, 25)};
    for (int c = 1; c <= 5; ++c) {
        auto* conveyor = new symbols::TConveyor(page);
        conveyor->setObjectName(QString("Conveyor%1").arg(c));
        conveyor->setGeometry(conveyors[static_cast<size_t>(c - 1)]);
        conveyor->setTag(12 + c);
        conveyor->setOpientation(c == 1 ? symbols::TConveyor::TConveyorOrientation::coRight
                                        : symbols::TConveyor::TConveyorOrientation::coLeft);
        conveyor->setAlarmFlash(symbols::TFlashRate::frFast);
        SetModeColours(conveyor);
        SetDriveColours(conveyor, kDriveRun);
        connect(conveyor, &symbols::TConveyor::clicked, this, &TFrmMain::DeviceControlClick);
    }

    const std::array<int, 4> fanX = {570, 677, 784, 891};
    for (int f = 1; f <= 4; ++f) {
        auto* fan = new symbols::TPump(page);
        fan->setObjectName(QString("Fan%1").arg(f));
        fan->setGeometry(fanX[static_cast<size_t>(f - 1)], 135, 30, 22);
        fan->setTag(8 + f);
        fan->setOpientation(symbols::TPump::TPumpOrientation::poLeft);
        fan->setAlarmFlash(symbols::TFlashRate::frMedium);
        SetModeColours(fan);
        SetDriveColours(fan, clLime);
        connect(fan, &symbols::TPump::clicked, this, &TFrmMain::DeviceControlClick);
    }

    // Odd valves are the silo inlets above, even ones the outlets below.
    for (int v = 1; v <= 8; ++v) {
        const int k = (v - 1) / 2;
        const bool odd = v % 2 == 1;
        auto* latch = new symbols::TLatch(page);
        latch->setObjectName(QString("Latch_%1").arg(v));
        latch->setGeometry(odd ? 625 + 107 * k : 626 + 107 * k, odd ? 57 : 176, 20, 20);
        latch->setTag(v);
        // The hint is kept for the record; hints show only on the route list.
        latch->setProperty("Hint", QString("Задвижка М%1").arg(v));
        latch->setUngle(0);
        latch->setCloseUngle(90);
        latch->setColor(clBlack);
        latch->setAlarmFlash(symbols::TFlashRate::frMedium);
        SetModeColours(latch, clYellow);
        connect(latch, &symbols::TLatch::clicked, this, &TFrmMain::LatchControlClick);
    }

    // Number labels beside the symbols; they blink while a device panel is open.
    AddNumberLabel(page, "LabelN1", "1.1", QPoint(488, 448));
    const std::array<QPoint, 5> conveyorLabels = {
        QPoint(752, 16), QPoint(776, 224), QPoint(456, 352), QPoint(696, 432), QPoint(792, 336)};
    for (int c = 1; c <= 5; ++c) {
        AddNumberLabel(page, QString("LabelC%1").arg(c), QString("3.%1").arg(c),
                       conveyorLabels[static_cast<size_t>(c - 1)]);
    }
    const std::array<int, 4> fanLabelX = {576, 683, 790, 897};
    for (int f = 1; f <= 4; ++f) {
        AddNumberLabel(page, QString("LabelF%1").arg(f), QString("2.%1").arg(f),
                       QPoint(fanLabelX[static_cast<size_t>(f - 1)], 120));
    }
    // Odd valves are the silo inlets above, even ones the outlets below.
    const std::array<int, 4> oddLabelX = {606, 713, 820, 927};
    const std::array<int, 4> evenLabelX = {648, 755, 862, 969};
    for (int k = 0; k < 4; ++k) {
        const int odd = 2 * k + 1;
        AddNumberLabel(page, QString("LabelM%1").arg(odd), QString("М%1").arg(odd),
                       QPoint(oddLabelX[static_cast<size_t>(k)], 61), true);
        AddNumberLabel(page, QString("LabelM%1").arg(odd + 1), QString("М%1").arg(odd + 1),
                       QPoint(evenLabelX[static_cast<size_t>(k)], 180), true);
    }
}

void TFrmMain::BuildDiagramSilos(QWidget* page) {
    for (int n = 1; n <= 4; ++n) {
        const int x = kSiloX[static_cast<size_t>(n - 1)];
        auto* silo = new symbols::TSilo(page);
        silo->setObjectName(QString("Silo%1").arg(n));
        silo->setGeometry(x, kSiloY, 70, 80);
        silo->setCover(20);
        silo->setColor(clBlack);

        AddLabel(page, QString("LabelSilo%1").arg(n).toLatin1().constData(), QString::number(n),
                 QRect(x + 18, 106, 0, 0), TextLook().Size(13).Bold().Font(clWhite));

        auto* gauge = new TGauge(page);
        gauge->setObjectName(QString("Level%1").arg(n));
        gauge->setGeometry(x + 47, 93, 9, 62);
        gauge->setProgress(50);

        TPanel* value = AddPanel(page, QString("LevelValue%1").arg(n).toLatin1().constData(),
                                 "0.00", QRect(x + 1, 155, 70, 20), clWhite);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);

        // Zone lamps: upper ones share the top right corner, lower ones the bottom.
        AddLamp(page, QString("AH%1").arg(n), QPoint(x + 58, 94), clRed);
        AddLamp(page, QString("WH%1").arg(n), QPoint(x + 58, 94), clYellow);
        AddLamp(page, QString("AL%1").arg(n), QPoint(x + 58, 145), clRed);
        AddLamp(page, QString("WL%1").arg(n), QPoint(x + 58, 144), clYellow);
    }
}

void TFrmMain::BuildDiagramPipes(QWidget* page) {
    using symbols::TPipeOrientation;
    constexpr platform::TColor kDarkGreen = 0x004000;
    AddPipe(page, "Pipe1", QRect(290, 373, 26, 8), TPipeOrientation::poHorizontal, clNavy);
    AddPipe(page, "Pipe2", QRect(594, 222, 10, 112), TPipeOrientation::poVertical, clNavy);
    AddPipe(page, "Pipe3", QRect(668, 332, 10, 82), TPipeOrientation::poVertical, kDarkGreen);
    AddPipe(page, "Pipe4", QRect(324, 347, 8, 19), TPipeOrientation::poVertical, clNavy);
    AddPipe(page, "Pipe9", QRect(555, 428, 10, 23), TPipeOrientation::poVertical, kDarkGreen);

    auto* turn = new symbols::TPipeTurn(page);
    turn->setObjectName("PipeTurn1");
    turn->setGeometry(316, 365, 16, 16);
    turn->setColor(clNavy);
    turn->setColored(false);
    turn->setDiameter(6);
    turn->setRadiusTurn(10);
    turn->setOrientation(symbols::TTurnOrientation::poLeftUp);
}

void TFrmMain::BuildDiagramBoards(QWidget* page) {
    AddBoard(page, "LEDTablo3", QPoint(320, 32), services_.decimalSeparator);
    AddLabel(page, "Label11", "В силосном парке, м.т", QRect(320, 16, 0, 0));
    AddBoard(page, "LEDTablo1", QPoint(320, 392), services_.decimalSeparator);
    AddLabel(page, "Label44", "Отгружено на судно, м.т", QRect(320, 376, 0, 0));
    AddBoard(page, "LEDTablo2", QPoint(744, 448), services_.decimalSeparator);
    AddLabel(page, "Label9", "Под разгрузкой, м.т", QRect(744, 432, 0, 0));

    auto* reset = AddButton(page, "BtnResetCount", "Сброс", QRect(360, 440, 75, 25));
    connect(reset, &QPushButton::clicked, this, &TFrmMain::BtnResetCountClick);

    // Throughput between its two captions.
    AddPanel(page, "Panel4", "Производительность", QRect(307, 472, 112, 17));
    TPanel* speed = AddPanel(page, "PanelSpeed", "0", QRect(419, 472, 41, 17), clWhite);
    speed->setBevel(TPanel::Bevel::Lowered);
    AddPanel(page, "Panel3", "м.т/ч", QRect(459, 472, 40, 17));

    // Sound switch: the visible button shows the current setting.
    auto soundButton = [this, page](const char* name, const char* hint, const char* glyph) {
        auto* b = new QToolButton(page);
        b->setObjectName(name);
        b->setGeometry(968, 456, 33, 33);
        b->setIcon(QIcon(glyph));
        b->setIconSize(QSize(27, 27));
        b->setToolTip(hint);
        return b;
    };
    BtnEnabledSound = soundButton("BtnEnabledSound", "Звук включен", ":/pictures/sound_on.svg");
    BtnDisabledSound = soundButton("BtnDisabledSound", "Звук отключен", ":/pictures/sound_off.svg");
    BtnDisabledSound->hide();
    connect(BtnEnabledSound, &QToolButton::clicked, this, &TFrmMain::BtnEnabledSoundClick);
    connect(BtnDisabledSound, &QToolButton::clicked, this, &TFrmMain::BtnDisabledSoundClick);
}

void TFrmMain::BuildRouteList(QWidget* page) {
    AddLabel(page, "Label45", "Маршруты движения зерна", QRect(277, 80, 0, 0), TextLook().Bold());
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        TPanel* entry = AddPanel(page, QString("Route%1").arg(r).toLatin1().constData(),
                                 QString::fromStdString(plant::RouteCaption(r)),
                                 QRect(229, 96 + 17 * (r - 1), 255, 17));
        entry->setTag(r);
        entry->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        entry->setBevel(TPanel::Bevel::Lowered);
        entry->setHint("Маршрут остановлен");
        entry->setShowHint(true);
        connect(entry, &TPanel::clicked, this, &TFrmMain::RouteControlClick);
    }
}

void TFrmMain::BuildHelpTitle(QWidget* page) {
    Title1 = new symbols::TTitle(page);
    Title1->setObjectName("Title1");
    Title1->setGeometry(8, 8, 211, 297);
    Title1->setInterval(60);
    Title1->setScrollDown(false);
    Title1->setAlignment(symbols::TAlignment::paCenter);
    Title1->setBevelOuter(symbols::TBevelCut::bvLowered);
    Title1->setBevelInner(symbols::TBevelCut::bvNone);
    Title1->setBevelWidth(2);
    Title1->setColor(clBtnFace);
    Title1->setFont(platform::FontSpec{"Times New Roman", 19, false, 0xA00000});
    Title1->setItems(HelpText());
    connect(Title1, &symbols::TTitle::done, this, &TFrmMain::Title1Done);

    BtnWhatTis = AddButton(Title1, "BtnWhatTis", "Информация", QRect(37, 136, 137, 25));
    connect(BtnWhatTis, &QPushButton::clicked, this, &TFrmMain::BtnWhatTisClick);
}

// The two loading machines at the berth and their product choosers; shown only.
void TFrmMain::BuildLoadingTable(QWidget* page) {
    const TextLook head = TextLook().Bold().Centre();
    AddLabel(page, "Label43", "СПМ", QRect(8, 439, 60, 16), head);
    AddLabel(page, "Label42", "Состояние", QRect(70, 439, 80, 16), head);
    AddLabel(page, "Label39", "Продукт", QRect(152, 439, 148, 16), head);
    AddLabel(page, "Label37", "СПМ №1", QRect(8, 457, 60, 17), TextLook().Centre());
    AddLabel(page, "Label38", "ГАРАЖ", QRect(70, 457, 80, 17),
             TextLook().Bold().Back(clWhite).Centre());
    AddLabel(page, "Label40", "СПМ №2", QRect(8, 476, 60, 17), TextLook().Centre());
    AddLabel(page, "Label41", "ПОГРУЗКА", QRect(70, 476, 80, 17),
             TextLook().Bold().Back(0xC6FFC6).Centre());

    const QStringList products = {"  Пшеница фуражная", "  Пшеница 4 кат.", "  Пшеница 5 кат."};
    auto* first = new QComboBox(page);
    first->setObjectName("ComboBox1");
    first->setGeometry(152, 456, 148, 19);
    first->setEditable(true);
    first->addItems(products);
    first->setCurrentIndex(-1);
    first->setEditText(" --- Выберите продукт ---");
    first->setEnabled(false);
    auto* second = new QComboBox(page);
    second->setObjectName("ComboBox2");
    second->setGeometry(152, 475, 148, 19);
    second->addItems(products);
    second->setCurrentIndex(0);
    second->setEnabled(false);
}

}  // namespace console
