#include "console/DiagramScreen.h"

#include <QLabel>
#include <QVariant>

#include "console/Gauge.h"
#include "console/Panel.h"
#include "console/Shape.h"
#include "console/WidgetColours.h"
#include "plant/SiloZones.h"
#include "symbols/DriveSymbol.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/SCADAType.h"

namespace console {

namespace {

// Pipe controls in the order of plant::PipeId.
constexpr std::array<const char*, plant::kPipeCount> kPipeNames = {"Pipe1", "Pipe2", "Pipe3",
                                                                   "Pipe4", "Pipe9", "PipeTurn1"};

// The zone each lamp of a silo stands for, in the order of SiloSet::lamps; the
// working zone has none.
constexpr std::array<plant::LevelZone, 4> kLampZones = {
    plant::LevelZone::UpperAlarm, plant::LevelZone::Maximum, plant::LevelZone::Minimum,
    plant::LevelZone::LowerAlarm};

template <typename T>
T* Find(QWidget& form, const QString& name) {
    return form.findChild<T*>(name);
}

}  // namespace

DiagramScreen::DiagramScreen(QWidget& form, const plant::Plant& plant)
    : form_(form), plant_(plant) {
    for (size_t i = 0; i < pipes_.size(); ++i) pipes_[i] = Find<QWidget>(form, kPipeNames[i]);
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        routes_[static_cast<size_t>(r - 1)] = Find<TPanel>(form, QString("Route%1").arg(r));
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        SiloSet& s = silos_[static_cast<size_t>(n - 1)];
        s.caption = Find<TPanel>(form, QString("LevelValue%1").arg(n));
        s.gauge = Find<TGauge>(form, QString("Level%1").arg(n));
        s.filling = Find<QLabel>(form, QString("FillingR%1").arg(n));
        s.mass = Find<QLabel>(form, QString("MassaR%1").arg(n));
        s.zone = Find<QLabel>(form, QString("IndR%1").arg(n));
        const std::array<const char*, 4> lamps = {"AH", "WH", "WL", "AL"};
        for (size_t k = 0; k < lamps.size(); ++k) {
            s.lamps[k] = Find<TShape>(form, QString("%1%2").arg(lamps[k]).arg(n));
        }
    }
    stopLine_ = Find<QLabel>(form, "TabloStop");
    sum_ = Find<QLabel>(form, "Sum1_4");
    speed_ = Find<TPanel>(form, "PanelSpeed");
    stockBoard_ = Find<symbols::TLEDTablo>(form, "LEDTablo3");
    shippedBoard_ = Find<symbols::TLEDTablo>(form, "LEDTablo1");
}

// Symbols are looked up by the names the device table gives them, once the
// table has been filled, and kept from then on.
symbols::TDeviceSymbol* DiagramScreen::SymbolOf(int dev) {
    if (!plant_.Dev.Contains(dev)) return nullptr;
    Symbol& s = symbols_[static_cast<size_t>(dev - 1)];
    const std::string& name = plant_.Dev[dev].Symbol;
    if (s.name != name || !s.widget) {
        s.name = name;
        s.widget = Find<symbols::TDeviceSymbol>(form_, QString::fromStdString(name));
    }
    return s.widget;
}

// Only the four modes and the three drive states have a look; anything else
// (from an edited state file) leaves the symbol as it is.
void DiagramScreen::SetSymbolMode(int dev, int32_t mode) {
    // The cast below relies on the symbols listing the modes in the plant's order.
    static_assert(static_cast<int32_t>(symbols::TMode::Local) == plant::kModeLocal &&
                  static_cast<int32_t>(symbols::TMode::Remote) == plant::kModeRemote &&
                  static_cast<int32_t>(symbols::TMode::Auto) == plant::kModeAuto &&
                  static_cast<int32_t>(symbols::TMode::Repair) == plant::kModeRepair);
    if (mode < plant::kModeLocal || mode > plant::kModeRepair) return;
    if (symbols::TDeviceSymbol* s = SymbolOf(dev)) s->setMode(static_cast<symbols::TMode>(mode));
}

void DiagramScreen::SetSymbolState(int dev, int32_t state) {
    // Likewise the drive states.
    static_assert(static_cast<int32_t>(symbols::TState::Run) == plant::kStateRun &&
                  static_cast<int32_t>(symbols::TState::Acceleration) ==
                      plant::kStateAcceleration &&
                  static_cast<int32_t>(symbols::TState::Stop) == plant::kStateStop);
    if (state < plant::kStateRun || state > plant::kStateStop) return;
    if (auto* s = qobject_cast<symbols::TDriveSymbol*>(SymbolOf(dev))) {
        s->setState(static_cast<symbols::TState>(state));
    }
}

void DiagramScreen::SetSymbolUngle(int dev, int32_t ungle) {
    if (auto* s = qobject_cast<symbols::TLatch*>(SymbolOf(dev))) s->setUngle(ungle);
}

// The symbol flashes at the rate its layout gives it.
void DiagramScreen::SetSymbolAlarm(int dev, bool on) {
    if (symbols::TDeviceSymbol* s = SymbolOf(dev)) s->setAlarm(on);
}

void DiagramScreen::SetEmergencyStopShown(bool on) {
    if (stopLine_) SetFontColour(stopLine_, on ? palette::Red : palette::AlarmLineIdle);
}

void DiagramScreen::SetPipeColored(plant::PipeId pipe, bool colored) {
    QWidget* w = pipes_[static_cast<size_t>(pipe)];
    if (auto* p = qobject_cast<symbols::TPipe*>(w)) {
        p->setColored(colored);
    } else if (auto* t = qobject_cast<symbols::TPipeTurn*>(w)) {
        t->setColored(colored);
    }
}

void DiagramScreen::SetRouteLook(int r, uint32_t colour, const std::string& hint,
                                 uint32_t fontColour) {
    if (!plant_.Route.Contains(r)) return;
    TPanel* panel = routes_[static_cast<size_t>(r - 1)];
    if (!panel) return;
    panel->setColor(colour);
    panel->setFontColor(fontColour);
    panel->setHint(QString::fromStdString(hint));
}

const DiagramScreen::SiloSet* DiagramScreen::Silo(int n) const {
    if (n < 1 || n > plant::kSiloCount) return nullptr;
    return &silos_[static_cast<size_t>(n - 1)];
}

void DiagramScreen::SetText(QLabel* label, const std::string& text) {
    if (label) label->setText(QString::fromStdString(text));
}

void DiagramScreen::SetTankCaption(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->caption, text);
}

void DiagramScreen::SetTankGauge(int n, int percent) {
    const SiloSet* s = Silo(n);
    if (s && s->gauge) s->gauge->setProgress(percent);
}

void DiagramScreen::SetTankFilling(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->filling, text);
}

void DiagramScreen::SetTankMass(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->mass, text);
}

// The zone's own lamp is lit, the others are hidden.
void DiagramScreen::ShowTankZone(int n, plant::LevelZone zone) {
    const SiloSet* s = Silo(n);
    if (!s) return;
    const plant::ZoneLook& look = plant::LookOf(zone);
    for (size_t k = 0; k < s->lamps.size(); ++k) {
        if (s->lamps[k]) s->lamps[k]->setVisible(kLampZones[k] == zone);
    }
    if (s->caption) s->caption->setColor(look.panel);
    if (s->zone) {
        s->zone->setText(QString::fromUtf8(look.label));
        SetFontColour(s->zone, look.font);
    }
}

void DiagramScreen::SetTotalStockText(const std::string& text) {
    SetText(sum_, text);
}

void DiagramScreen::SetThroughputText(const std::string& text) {
    SetText(speed_, text);
}

// The boards compare the value themselves and redraw only their digits.
void DiagramScreen::SetBoard(symbols::TLEDTablo* board, double value) {
    if (board) board->setValue(value);
}

void DiagramScreen::SetTotalStockBoard(double tonnes) {
    SetBoard(stockBoard_, tonnes);
}

void DiagramScreen::SetShippedBoard(double tonnes) {
    SetBoard(shippedBoard_, tonnes);
}

}  // namespace console
