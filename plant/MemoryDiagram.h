#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "platform/core/Palette.h"

namespace plant {

// A diagram held in plain memory, for the headless runner, tests and
// benchmarks: it remembers what each control shows and counts every setter
// call. It starts as the window does: symbols in Local mode, drives stopped,
// valves at angle 0, no alarm, pipes empty, every silo's lamps hidden.
class MemoryDiagram : public DiagramOutlet {
public:
    struct RouteLookShown {
        uint32_t colour = palette::BtnFace;
        std::string hint = "Маршрут остановлен";
        uint32_t fontColour = 0;
    };
    struct TankShown {
        std::string caption = "0.00";
        int gauge = 50;
        std::string filling = "0.0";
        std::string mass = "0.0";
        LevelZone zone = LevelZone::Working;
    };

    void SetSymbolMode(int dev, int32_t mode) override;
    void SetSymbolState(int dev, int32_t state) override;
    void SetSymbolUngle(int dev, int32_t ungle) override;
    void SetSymbolAlarm(int dev, bool on) override;
    void SetEmergencyStopShown(bool on) override;

    void SetPipeColored(PipeId pipe, bool colored) override;

    void SetRouteLook(int r, uint32_t colour, const std::string& hint,
                      uint32_t fontColour) override;

    void SetTankCaption(int n, const std::string& text) override;
    void SetTankGauge(int n, int percent) override;
    void SetTankFilling(int n, const std::string& text) override;
    void SetTankMass(int n, const std::string& text) override;
    void ShowTankZone(int n, LevelZone zone) override;

    void SetTotalStockText(const std::string& text) override;
    void SetTotalStockBoard(double tonnes) override;
    void SetThroughputText(const std::string& text) override;
    void SetShippedBoard(double tonnes) override;

    // What the controls show now.
    int32_t SymbolMode(int dev) const { return symbols_[Index(dev)].mode; }
    int32_t SymbolState(int dev) const { return symbols_[Index(dev)].state; }
    int32_t SymbolUngle(int dev) const { return symbols_[Index(dev)].ungle; }
    bool SymbolAlarm(int dev) const { return symbols_[Index(dev)].alarm; }
    bool EmergencyStopShown() const { return emergencyStop_; }
    bool PipeColored(PipeId pipe) const { return pipes_[static_cast<std::size_t>(pipe)]; }
    const RouteLookShown& RouteLook(int r) const { return routes_[Index(r)]; }
    const TankShown& Tank(int n) const { return tanks_[Index(n)]; }
    LevelZone TankZone(int n) const { return tanks_[Index(n)].zone; }
    const std::string& TotalStockText() const { return totalText_; }
    double TotalStockBoard() const { return totalBoard_; }
    const std::string& ThroughputText() const { return throughput_; }
    double ShippedBoard() const { return shippedBoard_; }

    // Number of setter calls since construction or the last ResetCount().
    long SetterCalls() const { return setterCalls_; }
    void ResetCount() { setterCalls_ = 0; }

private:
    struct SymbolShown {
        int32_t mode = kModeLocal;
        int32_t state = kStateStop;
        int32_t ungle = 0;
        bool alarm = false;
    };
    static std::size_t Index(int oneBased) { return static_cast<std::size_t>(oneBased - 1); }

    std::array<SymbolShown, kDeviceCount> symbols_{};
    bool emergencyStop_ = false;
    std::array<bool, kPipeCount> pipes_{};
    std::array<RouteLookShown, kRouteCount> routes_{};
    std::array<TankShown, kSiloCount> tanks_{};
    std::string totalText_ = "0.0";
    double totalBoard_ = 0.0;
    std::string throughput_ = "0";
    double shippedBoard_ = 0.0;
    long setterCalls_ = 0;
};

}  // namespace plant
