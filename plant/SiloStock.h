#pragma once

#include <array>
#include <cstdint>

#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant {

// Grain a running shipping route takes from its silo (and the vessel gets) per
// tick, and grain a running intake route adds to its silo per tick.
constexpr double kOutflowPerTick = 0.03;
constexpr double kInflowPerTick = 0.02;

// The grain steps of the controller cycle: stock update and limit stops (1),
// silo indicators (2), silo total (3), vessel loading and throughput (6) and
// the shipped-tonnage board (7). Texts use `decimalSeparator`.
class SiloStock {
public:
    SiloStock(Plant& plant, DiagramOutlet& diagram, JournalOutlet& journal, RandomOutlet& random,
              char decimalSeparator);

    void MoveGrain();
    void ShowTankLevels();
    void ShowTotal();
    void LoadVessel();
    void ShowShipped();

    // The throughput in t/h PanelSpeed shows; 0 before LoadVessel first ran.
    int64_t Throughput() const { return throughputShown_ ? shownThroughput_ : 0; }

private:
    void ShowTankLevel(int n);
    void ShowZone(int n, double stock);
    void SetThroughput(int64_t tonnesPerHour);

    Plant& plant_;
    DiagramOutlet& diagram_;
    JournalOutlet& journal_;
    RandomOutlet& random_;
    char separator_;

    // What the indicators show, so texts are formatted and set only when the
    // number behind them changes: a quiet plant formats nothing.
    struct Shown {
        bool valid = false;
        double value = 0.0;
        bool Differs(double v) const { return !valid || value != v; }
        void Set(double v) {
            valid = true;
            value = v;
        }
    };
    std::array<Shown, kSiloCount> shownStock_{};
    Shown shownTotal_;
    Shown shownShipped_;
    bool throughputShown_ = false;
    int64_t shownThroughput_ = 0;
};

}  // namespace plant
