#include "console/DiagramScreen.h"

#include <QLabel>
#include <QVariant>

#include "console/Gauge.h"
#include "console/MainFrmControls.h"
#include "console/Panel.h"
#include "console/Shape.h"
#include "symbols/DriveSymbol.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/SCADAType.h"

namespace console {

namespace {

// Pipe controls in the order of plant::PipeId.
constexpr std::array<const char*, 6> kPipeNames = {"Pipe1", "Pipe2", "Pipe3",
                                                   "Pipe4", "Pipe9", "PipeTurn1"};

struct ZoneLook {
    int lamp;  // index into the lamps (AH, WH, WL, AL), -1 for none
    platform::TColor panel;
    const char* text;
    platform::TColor font;
};

ZoneLook LookOf(plant::LevelZone zone) {
    switch (zone) {
        case plant::LevelZone::UpperAlarm:
            return {0, 0xA0A0F0, "AH", 0x0000FF};
        case plant::LevelZone::Maximum:
            return {1, 0xA0F0F0, "WH", 0x008080};
        case plant::LevelZone::Minimum:
            return {2, 0xA0F0F0, "WL", 0x008080};
        case plant::LevelZone::LowerAlarm:
            return {3, 0xA0A0F0, "AL", 0x0000FF};
        case plant::LevelZone::Working:
            break;
    }
    return {-1, 0xFFFFFF, "НОРМА", 0x000000};
}

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
    sum_ = Find<QLabel>(form, "Sum1_4");
    speed_ = Find<TPanel>(form, "PanelSpeed");
    stockBoard_ = Find<symbols::TLEDTablo>(form, "LEDTablo3");
    shippedBoard_ = Find<symbols::TLEDTablo>(form, "LEDTablo1");
}

// Symbols are looked up by the names the device table gives them, once the
// table has been filled, and kept from then on.
symbols::TDeviceSymbol* DiagramScreen::SymbolOf(int dev) const {
    if (!plant_.Dev.Contains(dev)) return nullptr;
    Symbol& s = symbols_[static_cast<size_t>(dev - 1)];
    const std::string& name = plant_.Dev[dev].Symbol;
    if (s.name != name || !s.widget) {
        s.name = name;
        s.widget = Find<symbols::TDeviceSymbol>(form_, QString::fromStdString(name));
    }
    return s.widget;
}

// A symbol that is missing or cannot show the value reads as -1, which no
// plant value equals, so the controller keeps offering the value.
int32_t DiagramScreen::SymbolMode(int dev) const {
    const symbols::TDeviceSymbol* s = SymbolOf(dev);
    return s ? static_cast<int32_t>(s->Mode()) : -1;
}

void DiagramScreen::SetSymbolMode(int dev, int32_t mode) {
    // Only the four modes have a colour; anything else leaves the symbol as it is.
    if (mode < plant::kModeLocal || mode > plant::kModeRepair) return;
    symbols::TDeviceSymbol* s = SymbolOf(dev);
    if (s && static_cast<int32_t>(s->Mode()) != mode) s->setMode(static_cast<symbols::TMode>(mode));
}

int32_t DiagramScreen::SymbolState(int dev) const {
    const auto* s = qobject_cast<const symbols::TDriveSymbol*>(SymbolOf(dev));
    return s ? static_cast<int32_t>(s->State()) : -1;
}

void DiagramScreen::SetSymbolState(int dev, int32_t state) {
    if (state < plant::kStateRun || state > plant::kStateStop) return;
    auto* s = qobject_cast<symbols::TDriveSymbol*>(SymbolOf(dev));
    if (s && static_cast<int32_t>(s->State()) != state) {
        s->setState(static_cast<symbols::TState>(state));
    }
}

int32_t DiagramScreen::SymbolUngle(int dev) const {
    const auto* s = qobject_cast<const symbols::TLatch*>(SymbolOf(dev));
    return s ? s->Ungle() : -1;
}

void DiagramScreen::SetSymbolUngle(int dev, int32_t ungle) {
    auto* s = qobject_cast<symbols::TLatch*>(SymbolOf(dev));
    if (s && s->Ungle() != ungle) s->setUngle(ungle);
}

bool DiagramScreen::PipeColored(plant::PipeId pipe) const {
    QWidget* w = pipes_[static_cast<size_t>(pipe)];
    if (auto* p = qobject_cast<symbols::TPipe*>(w)) return p->Colored();
    if (auto* t = qobject_cast<symbols::TPipeTurn*>(w)) return t->Colored();
    return false;
}

void DiagramScreen::SetPipeColored(plant::PipeId pipe, bool colored) {
    QWidget* w = pipes_[static_cast<size_t>(pipe)];
    if (auto* p = qobject_cast<symbols::TPipe*>(w)) {
        if (p->Colored() != colored) p->setColored(colored);
    } else if (auto* t = qobject_cast<symbols::TPipeTurn*>(w)) {
        if (t->Colored() != colored) t->setColored(colored);
    }
}

void DiagramScreen::SetRouteLook(int r, uint32_t colour, const std::string& hint,
                                 uint32_t fontColour) {
    if (!plant_.Route.Contains(r)) return;
    TPanel* panel = routes_[static_cast<size_t>(r - 1)];
    if (!panel) return;
    if (panel->Color() != colour) panel->setColor(colour);
    if (panel->FontColor() != fontColour) panel->setFontColor(fontColour);
    const QString text = QString::fromStdString(hint);
    if (panel->Hint() != text) panel->setHint(text);
}

const DiagramScreen::SiloSet* DiagramScreen::Silo(int n) const {
    if (n < 1 || n > plant::kSiloCount) return nullptr;
    return &silos_[static_cast<size_t>(n - 1)];
}

void DiagramScreen::SetText(QLabel* label, const std::string& text) {
    if (!label) return;
    const QString value = QString::fromStdString(text);
    if (label->text() != value) label->setText(value);
}

void DiagramScreen::SetTankCaption(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->caption, text);
}

void DiagramScreen::SetTankGauge(int n, int percent) {
    const SiloSet* s = Silo(n);
    if (s && s->gauge && s->gauge->Progress() != percent) s->gauge->setProgress(percent);
}

void DiagramScreen::SetTankFilling(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->filling, text);
}

void DiagramScreen::SetTankMass(int n, const std::string& text) {
    if (const SiloSet* s = Silo(n)) SetText(s->mass, text);
}

// The zone is held by the lamps alone: the lit one, or none in the working zone.
// isHidden() rather than isVisible(), so the silo page keeps its zone while the
// diagram page is not shown.
plant::LevelZone DiagramScreen::TankZone(int n) const {
    const SiloSet* s = Silo(n);
    if (!s) return plant::LevelZone::Working;
    for (size_t k = 0; k < s->lamps.size(); ++k) {
        if (s->lamps[k] && !s->lamps[k]->isHidden()) return kLampZones[k];
    }
    return plant::LevelZone::Working;
}

void DiagramScreen::ShowTankZone(int n, plant::LevelZone zone) {
    const SiloSet* s = Silo(n);
    if (!s) return;
    const ZoneLook look = LookOf(zone);
    for (size_t k = 0; k < s->lamps.size(); ++k) {
        if (s->lamps[k]) s->lamps[k]->setVisible(static_cast<int>(k) == look.lamp);
    }
    if (s->caption) s->caption->setColor(look.panel);
    if (s->zone) {
        s->zone->setText(QString::fromUtf8(look.text));
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
