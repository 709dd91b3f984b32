#include "plant/Controller.h"

namespace plant {

Controller::Controller(Plant& plant, Outlets outlets, char decimalSeparator)
    : silos_(plant, outlets.diagram, shown_, outlets.journal, outlets.random, decimalSeparator),
      devices_(plant, outlets.diagram, shown_, outlets.journal),
      routes_(plant, outlets.diagram, shown_, outlets.journal, outlets.sound) {}

void Controller::EmulatorTick() {
    silos_.MoveGrain();
    silos_.ShowTankLevels();
    silos_.ShowTotal();
    devices_.Run();
    routes_.Run();
    silos_.LoadVessel();
    silos_.ShowShipped();
    devices_.ColourPipes();
    ++cycles_;
}

}  // namespace plant
