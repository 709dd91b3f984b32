#pragma once

#include <cstdint>

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Shown.h"

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
    SiloStock(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown, JournalOutlet& journal,
              RandomOutlet& random, char decimalSeparator);

    void MoveGrain();
    void ShowTankLevels();
    void ShowTotal();
    void LoadVessel();
    void ShowShipped();

private:
    void StopAtLimit(int r);
    void ShowTankLevel(int n);
    void ShowZone(int n, double stock);
    void SetThroughput(int64_t tonnesPerHour);

    Plant& plant_;
    DiagramOutlet& diagram_;
    DiagramShown& shown_;
    JournalOutlet& journal_;
    RandomOutlet& random_;
    char separator_;
};

}  // namespace plant
