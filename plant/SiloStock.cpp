#include "plant/SiloStock.h"

#include <cmath>
#include <string>

#include "plant/Controller.h"
#include "plant/JournalTexts.h"
#include "plant/SiloZones.h"
#include "platform/core/NumberFormat.h"
#include "platform/core/Rounding.h"

namespace plant {

namespace {

constexpr int kFillingPrecision = 5;
constexpr int kMassPrecision = 6;
constexpr int kShownDecimals = 1;

// The integer text of a number rounded halves to even.
std::string RoundedText(long double value) {
    return std::to_string(platform::RoundHalfEven(value));
}

// The filling percentage, stock / 15000 x 100, with one decimal. A percentage
// that is an exact tie at the second decimal (62.55 % from 9382.5 t) has no
// exact binary value, so stock / 150 would land a hair above or below the tie
// and round by chance. Every such tie comes from an odd multiple of 7.5 t, whose
// tenths of a percent, stock / 15, are exact (625.5): rounding those to a whole
// number of tenths first gives every exact tie the rule FormatFixed applies to
// exact ties (away from zero), and leaves every other stock as it was.
std::string FillingText(double stock, char separator) {
    constexpr long double kTonnesPerTenth = kTankCapacity / 1000.0;
    // From 10000 % on (an edited state file) the fifth significant digit is no
    // longer the tenth; whole percentages are exact at their ties anyway.
    constexpr long double kTenthsLimit = 100000.0L;
    const long double tenths = static_cast<long double>(stock) / kTonnesPerTenth;
    const long double percent = std::fabs(tenths) < kTenthsLimit
                                    ? std::roundl(tenths) / 10.0L
                                    : static_cast<long double>(stock) * 100.0L / kTankCapacity;
    return platform::FormatFixed(percent, kFillingPrecision, kShownDecimals, separator) + "%";
}

}  // namespace

SiloStock::SiloStock(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown,
                     JournalOutlet& journal, RandomOutlet& random, char decimalSeparator)
    : plant_(plant),
      diagram_(diagram),
      shown_(shown),
      journal_(journal),
      random_(random),
      separator_(decimalSeparator) {}

// Route n ships from silo n, routes n+4 and n+8 fill it. Only the route's
// state counts, not its devices'. The stop is taken by this tick's route stage.
void SiloStock::MoveGrain() {
    for (int n = 1; n <= kSiloCount; ++n) {
        double& stock = plant_.Tank[n];
        if (plant_.Route[ShippingRouteOf(n)].State == kRouteRunning) {
            stock -= kOutflowPerTick;
            if (stock < kMinimumLimit) StopAtLimit(ShippingRouteOf(n));
        }
        for (int intake : {RoadIntakeRouteOf(n), RailIntakeRouteOf(n)}) {
            if (plant_.Route[intake].State == kRouteRunning) {
                stock += kInflowPerTick;
                if (stock > kMaximumLimit) StopAtLimit(intake);
            }
        }
    }
}

// The controller's own stop, which no operator's outcome records.
void SiloStock::StopAtLimit(int r) {
    PostRouteCommand(plant_, r, kRouteCmdStop, kSourceRoute, Origin::Controller());
}

void SiloStock::ShowTankLevels() {
    for (int n = 1; n <= kSiloCount; ++n) ShowTankLevel(n);
}

void SiloStock::ShowTankLevel(int n) {
    const double stock = plant_.Tank[n];
    // The texts are formatted only when the stock changes: a quiet plant
    // formats nothing.
    if (shown_.stock[n].Changes(stock)) {
        // Multiplying first keeps exact halves exact (75 t is 0.5 %).
        const long double percent = static_cast<long double>(stock) * 100.0L / kTankCapacity;
        diagram_.SetTankCaption(n, RoundedText(stock));
        diagram_.SetTankGauge(n, static_cast<int>(platform::RoundHalfEven(percent)));
        diagram_.SetTankFilling(n, FillingText(stock, separator_));
        diagram_.SetTankMass(
            n, platform::FormatFixed(stock, kMassPrecision, kShownDecimals, separator_));
    }
    ShowZone(n, stock);
}

// One entry per zone change, none while the silo stays in its zone. The window
// opens showing the working zone, so the first tick reports every silo outside
// it.
void SiloStock::ShowZone(int n, double stock) {
    const LevelZone zone = ZoneOfStock(stock);
    if (!shown_.zone[n].Changes(zone)) return;
    diagram_.ShowTankZone(n, zone);
    journal_.Append(LevelZoneText(n, zone), LookOf(zone).journal,
                    SiloTag(EntryKind::SiloZone, n, static_cast<int>(zone)));
}

void SiloStock::ShowTotal() {
    double total = 0.0;
    for (int n = 1; n <= kSiloCount; ++n) total += plant_.Tank[n];
    if (!shown_.totalStock.Changes(total)) return;
    diagram_.SetTotalStockText(
        platform::FormatFixed(total, kMassPrecision, kShownDecimals, separator_));
    diagram_.SetTotalStockBoard(total);
}

// The vessel takes grain while a shipping route runs or while conveyor 3.3 runs
// on its own; the throughput shown jitters by a random -2..+2 t/h.
void SiloStock::LoadVessel() {
    bool loading = plant_.Dev[kVesselConveyor].State == kStateRun;
    for (int n = 1; n <= kSiloCount; ++n)
        loading = loading || plant_.Route[ShippingRouteOf(n)].State == kRouteRunning;
    if (!loading) {
        SetThroughput(0);
        return;
    }
    plant_.ShippingMassa += kOutflowPerTick;
    const int jitter = random_.Next(5);
    const double perHour = jitter + kOutflowPerTick / kEmulatorIntervalMs * 3600000.0 - 2;
    SetThroughput(platform::RoundHalfEven(perHour));
}

void SiloStock::SetThroughput(int64_t tonnesPerHour) {
    plant_.Throughput = tonnesPerHour;
    if (shown_.throughput.Changes(tonnesPerHour)) {
        diagram_.SetThroughputText(std::to_string(tonnesPerHour));
    }
}

void SiloStock::ShowShipped() {
    if (shown_.shipped.Changes(plant_.ShippingMassa)) {
        diagram_.SetShippedBoard(plant_.ShippingMassa);
    }
}

}  // namespace plant
