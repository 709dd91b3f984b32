#pragma once

#include <QPointer>
#include <array>
#include <string>

#include "plant/Outlets.h"
#include "plant/Plant.h"

class QLabel;
class QWidget;

namespace symbols {
class TDeviceSymbol;
class TLEDTablo;
}  // namespace symbols

namespace console {

class TGauge;
class TPanel;
class TShape;

// The controller's view of the diagram, the silo page and the alarm board's
// emergency stop line: every value goes to the control that shows it. The controller sets a value
// only when it changes (plant/Shown.h), so these set what they are given.
class DiagramScreen : public plant::DiagramOutlet {
public:
    // `form` holds the controls (found by name); `plant` names each device's symbol.
    DiagramScreen(QWidget& form, const plant::Plant& plant);

    void SetSymbolMode(int dev, int32_t mode) override;
    void SetSymbolState(int dev, int32_t state) override;
    void SetSymbolUngle(int dev, int32_t ungle) override;
    void SetSymbolAlarm(int dev, bool on) override;
    void SetEmergencyStopShown(bool on) override;

    void SetPipeColored(plant::PipeId pipe, bool colored) override;

    void SetRouteLook(int r, uint32_t colour, const std::string& hint,
                      uint32_t fontColour) override;

    void SetTankCaption(int n, const std::string& text) override;
    void SetTankGauge(int n, int percent) override;
    void SetTankFilling(int n, const std::string& text) override;
    void SetTankMass(int n, const std::string& text) override;
    void ShowTankZone(int n, plant::LevelZone zone) override;

    void SetTotalStockText(const std::string& text) override;
    void SetTotalStockBoard(double tonnes) override;
    void SetThroughputText(const std::string& text) override;
    void SetShippedBoard(double tonnes) override;

private:
    // A device symbol, found by the name the device table gives it.
    struct Symbol {
        std::string name;
        QPointer<symbols::TDeviceSymbol> widget;
    };
    // The four zone lamps of a silo, upper alarm first.
    struct SiloSet {
        TPanel* caption = nullptr;
        TGauge* gauge = nullptr;
        QLabel* filling = nullptr;
        QLabel* mass = nullptr;
        QLabel* zone = nullptr;
        std::array<TShape*, 4> lamps{};  // AH, WH, WL, AL
    };

    symbols::TDeviceSymbol* SymbolOf(int dev);
    const SiloSet* Silo(int n) const;
    static void SetText(QLabel* label, const std::string& text);
    static void SetBoard(symbols::TLEDTablo* board, double value);

    QWidget& form_;
    const plant::Plant& plant_;
    std::array<Symbol, plant::kDeviceCount> symbols_;
    std::array<QWidget*, plant::kPipeCount> pipes_{};
    std::array<TPanel*, plant::kRouteCount> routes_{};
    std::array<SiloSet, plant::kSiloCount> silos_{};
    QLabel* stopLine_ = nullptr;
    QLabel* sum_ = nullptr;
    TPanel* speed_ = nullptr;
    symbols::TLEDTablo* stockBoard_ = nullptr;
    symbols::TLEDTablo* shippedBoard_ = nullptr;
};

}  // namespace console
