#include "console/Layout.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "console/Fonts.h"
#include "console/Gauge.h"
#include "console/Picture.h"
#include "console/Shape.h"
#include "console/StatusBar.h"
#include "console/WidgetColours.h"
#include "plant/Plant.h"
#include "symbols/Conveyor.h"
#include "symbols/LEDBoardLook.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/Pump.h"
#include "symbols/Silo.h"
#include "symbols/Title.h"

namespace console {

namespace {

constexpr Qt::Alignment kLabelAlign = Qt::AlignLeft | Qt::AlignVCenter;

// The inherited font, made bold.
void Embolden(QWidget* widget) {
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
}

QWidget* MakeLabel(const Control& c, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(c.text), parent);
    QFont font = SansFont(c.look.size, c.look.bold);
    font.setUnderline(c.look.underline);
    label->setFont(font);
    label->setAlignment(c.look.align.value_or(kLabelAlign));
    SetFontColour(label, c.look.ink.value_or(palette::Black));
    if (c.look.paper) SetBackground(label, *c.look.paper);
    if (c.box.size().isEmpty()) {
        label->move(c.box.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(c.box);
    }
    return label;
}

TPanel* MakePanel(const Control& c, QWidget* parent) {
    auto* panel = new TPanel(parent);
    panel->setText(QString::fromUtf8(c.text));
    panel->setColor(c.look.paper.value_or(palette::BtnFace));
    panel->setBevel(c.look.bevel);
    if (c.look.align) panel->setAlignment(*c.look.align);
    if (c.look.bold) Embolden(panel);
    return panel;
}

QWidget* MakeButton(const Control& c, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(c.text), parent);
    if (c.look.bold) Embolden(button);
    if (c.look.ink) SetFontColour(button, *c.look.ink);
    return button;
}

QWidget* MakeSoundButton(const Control& c, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon(QString::fromUtf8(c.text)));
    button->setIconSize(QSize(27, 27));
    button->setToolTip(QString::fromUtf8(c.hint));
    return button;
}

QWidget* MakePasswordEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet("lineedit-password-character: 42;");  // typed characters show as "*"
    return edit;
}

QWidget* MakeShape(const Control& c, QWidget* parent) {
    auto* shape =
        new TShape(c.kind == Kind::Lamp ? TShape::Kind::Circle : TShape::Kind::Rectangle, parent);
    switch (c.kind) {
        case Kind::Lamp:
            shape->setPen(palette::Black);
            shape->setBrush(c.look.paper.value_or(palette::White));
            break;
        case Kind::Plate: {
            const palette::Colour colour = c.look.paper.value_or(palette::Red);
            shape->setPen(colour, 3);
            shape->setBrush(colour);
            break;
        }
        default:
            shape->setPen(c.look.ink.value_or(palette::FrameGrey));
            shape->setNoBrush();
            break;
    }
    return shape;
}

QWidget* MakeSilo(const Control& c, QWidget* parent) {
    auto* silo = new symbols::TSilo(parent);
    silo->setCover(c.kind == Kind::Hopper ? 0 : 20);
    silo->setColor(palette::Black);
    return silo;
}

// Every device starts in Local mode with the usual mode colours.
void SetModeColours(symbols::TDeviceSymbol* s, const Control& c,
                    palette::Colour repair = palette::Olive) {
    s->setTag(c.tag);
    s->setColorLocal(palette::Green);
    s->setColorRemote(palette::Gray);
    s->setColorAuto(palette::Blue);
    s->setColorRepair(repair);
    s->setMode(symbols::TMode::Local);
    s->setAlarm(false);
}

void SetDriveColours(symbols::TDriveSymbol* s, palette::Colour run) {
    s->setColorRun(run);
    s->setColorAccelerate(palette::Yellow);
    s->setColorStop(palette::Silver);
    s->setState(symbols::TState::Stop);
}

QWidget* MakeNoria(const Control& c, QWidget* parent) {
    auto* noria = new symbols::TNoria(parent);
    noria->setTopOpientation(symbols::TNoria::TOrientation::noRight);
    noria->setBottomOpientation(symbols::TNoria::TOrientation::noRight);
    noria->setAlarmFlash(symbols::TFlashRate::frFast);
    SetModeColours(noria, c);
    SetDriveColours(noria, palette::DriveRun);
    return noria;
}

QWidget* MakeConveyor(const Control& c, QWidget* parent) {
    using Orientation = symbols::TConveyor::TConveyorOrientation;
    auto* conveyor = new symbols::TConveyor(parent);
    const bool right = c.look.align.value_or(Qt::AlignLeft) & Qt::AlignRight;
    conveyor->setOpientation(right ? Orientation::coRight : Orientation::coLeft);
    conveyor->setAlarmFlash(symbols::TFlashRate::frFast);
    SetModeColours(conveyor, c);
    SetDriveColours(conveyor, palette::DriveRun);
    return conveyor;
}

QWidget* MakeFan(const Control& c, QWidget* parent) {
    auto* fan = new symbols::TPump(parent);
    fan->setOpientation(symbols::TPump::TPumpOrientation::poLeft);
    fan->setAlarmFlash(symbols::TFlashRate::frMedium);
    SetModeColours(fan, c);
    SetDriveColours(fan, palette::Lime);
    return fan;
}

QWidget* MakeLatch(const Control& c, QWidget* parent) {
    auto* latch = new symbols::TLatch(parent);
    // The hint is kept for the record; hints show only on the route list.
    latch->setProperty("Hint", QString::fromUtf8(c.hint));
    latch->setUngle(0);
    latch->setCloseUngle(plant::kValveOpenAngle);
    latch->setColor(palette::Black);
    latch->setAlarmFlash(symbols::TFlashRate::frMedium);
    SetModeColours(latch, c, palette::Yellow);
    return latch;
}

QWidget* MakePipe(const Control& c, QWidget* parent) {
    using symbols::TPipeOrientation;
    const bool vertical = c.box.height() > c.box.width();
    auto* pipe = new symbols::TPipe(parent);
    pipe->setDiameter(vertical ? c.box.width() : c.box.height());
    pipe->setOpientation(vertical ? TPipeOrientation::poVertical : TPipeOrientation::poHorizontal);
    pipe->setColor(c.look.ink.value_or(palette::Navy));
    pipe->setColored(false);
    return pipe;
}

QWidget* MakePipeTurn(const Control& c, QWidget* parent) {
    auto* turn = new symbols::TPipeTurn(parent);
    turn->setColor(c.look.ink.value_or(palette::Navy));
    turn->setColored(false);
    turn->setDiameter(6);
    turn->setRadiusTurn(10);
    turn->setOrientation(symbols::TTurnOrientation::poLeftUp);
    return turn;
}

QWidget* MakeBoard(QWidget* parent) {
    auto* board = new symbols::TLEDTablo(parent);
    symbols::SetUpAsConsoleBoard(*board);
    return board;
}

QWidget* MakeHelpTitle(const Control& c, QWidget* parent) {
    auto* title = new symbols::TTitle(parent);
    title->setInterval(60);
    title->setScrollDown(false);
    title->setAlignment(symbols::TAlignment::paCenter);
    title->setBevelOuter(symbols::TBevelCut::bvLowered);
    title->setBevelInner(symbols::TBevelCut::bvNone);
    title->setBevelWidth(2);
    title->setColor(palette::BtnFace);
    title->setFont(platform::FontSpec{"Times New Roman", c.look.size, c.look.bold,
                                      c.look.ink.value_or(palette::Black)});
    return title;
}

QWidget* MakeRouteEntry(const Control& c, QWidget* parent) {
    TPanel* entry = MakePanel(c, parent);
    entry->setTag(c.tag);
    entry->setAlignment(c.look.align.value_or(kLabelAlign));
    entry->setBevel(TPanel::Bevel::Lowered);
    entry->setHint(QString::fromUtf8(c.hint));
    entry->setShowHint(true);
    return entry;
}

QWidget* Make(const Control& c, QWidget* parent) {
    switch (c.kind) {
        case Kind::Label:
            return MakeLabel(c, parent);
        case Kind::Panel:
            return MakePanel(c, parent);
        case Kind::Button:
            return MakeButton(c, parent);
        case Kind::SoundButton:
            return MakeSoundButton(c, parent);
        case Kind::PasswordEdit:
            return MakePasswordEdit(parent);
        case Kind::ComboBox:
            return new QComboBox(parent);
        case Kind::Tabs:
            return new QTabWidget(parent);
        case Kind::StatusBar:
            return new TStatusBar(parent);
        case Kind::Frame:
        case Kind::Plate:
        case Kind::Lamp:
            return MakeShape(c, parent);
        case Kind::Picture:
            return new TPicture(QString::fromUtf8(c.text), parent);
        case Kind::Gauge: {
            auto* gauge = new TGauge(parent);
            gauge->setProgress(50);
            return gauge;
        }
        case Kind::Silo:
        case Kind::Hopper:
            return MakeSilo(c, parent);
        case Kind::Noria:
            return MakeNoria(c, parent);
        case Kind::Conveyor:
            return MakeConveyor(c, parent);
        case Kind::Fan:
            return MakeFan(c, parent);
        case Kind::Latch:
            return MakeLatch(c, parent);
        case Kind::Pipe:
            return MakePipe(c, parent);
        case Kind::PipeTurn:
            return MakePipeTurn(c, parent);
        case Kind::Board:
            return MakeBoard(parent);
        case Kind::HelpTitle:
            return MakeHelpTitle(c, parent);
        case Kind::RouteEntry:
            return MakeRouteEntry(c, parent);
    }
    return new QWidget(parent);
}

}  // namespace

Controls BuildControls(QWidget& region, std::span<const Control> table) {
    Controls made;
    for (const Control& c : table) {
        QWidget* parent = *c.parent ? made.value(QString::fromUtf8(c.parent), &region) : &region;
        QWidget* widget = Make(c, parent);
        widget->setObjectName(QString::fromUtf8(c.name));
        // A label has placed itself (fitted to its text where the size is empty).
        if (c.kind != Kind::Label) widget->setGeometry(c.box);
        if (c.hidden) widget->hide();
        made.insert(widget->objectName(), widget);
    }
    return made;
}

}  // namespace console
