#include "plant/Controller.h"

namespace plant {

Controller::Controller(Plant& plant, Outlets outlets, char decimalSeparator)
    : plant_(plant),
      silos_(plant, outlets.diagram, shown_, outlets.journal, outlets.random, decimalSeparator),
      devices_(plant, outlets.diagram, shown_, outlets.journal),
      routes_(plant, outlets.diagram, shown_, outlets.journal, outlets.sound) {}

void Controller::EmulatorTick() {
    ++plant_.Cycles;
    silos_.MoveGrain();
    silos_.ShowTankLevels();
    silos_.ShowTotal();
    devices_.Run();
    routes_.Run();
    silos_.LoadVessel();
    silos_.ShowShipped();
    devices_.ColourPipes();
}

}  // namespace plant
