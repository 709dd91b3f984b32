#include "plant/Wagons.h"

// Placeholder until the wagon and temperature logic lands.
namespace plant {
Wagons::Wagons(Plant& plant, WagonsOutlet& screen, JournalOutlet& journal, SoundOutlet& sound,
               RandomOutlet& random)
    : plant_(plant), screen_(screen), journal_(journal), sound_(sound), random_(random) {}
void Wagons::Tick() {}
}  // namespace plant
