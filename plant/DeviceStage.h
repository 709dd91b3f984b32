#pragma once

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Shown.h"

namespace plant {

// Step 4 of the controller cycle: for each device in turn, bring its symbol up
// to date, take over a posted fault and a posted command and carry the active
// command a step further. Also step 8, the pipes coloured by the conveyors
// feeding them.
//
// A route holds a device while its command is pending or active there, or
// while the device is in Auto mode. The route's commands go first: an
// operator's motion command to a held device is refused, in the cycle that
// would have taken it over, and leaves the route's commands alone; an
// operator's service command waits until the route's pending command has been
// taken over and the device is idle. The operator's commands run in the
// device's own mode, the route's in Remote mode whatever the device's mode.
//
// A device is in alarm while its ErrorText is set. A trip or a jam sets it and
// journals one red entry; a tripped drive stops at once and refuses to be
// switched on, a jammed valve takes its commands but does not move. Clearing
// the fault leaves the alarm standing: the operator's reset removes it, and is
// refused while the fault stands.
class DeviceStage {
public:
    DeviceStage(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown, JournalOutlet& journal);

    void Run();
    void ColourPipes();

private:
    void ShowEmergencyStop();
    void RefreshValve(int i);
    void ShowSymbol(int i);
    void TakeFault(int i, TFault& fault);
    void TakeOver(int i);
    void Execute(int i);
    void Reset(int i);
    void ExecuteMotion(int i);
    void RecordOperator(int i, int32_t command, int32_t result);
    void RecordRefusal(int i, int32_t result);
    void StepValve(TDiscret& dev, const TFault& fault);
    void StepDrive(int i);
    void SetMode(int i, int32_t mode);
    void ColourPipe(PipeId pipe, bool colored);
    void Journal(const std::string& body, const JournalTag& tag,
                 JournalColour colour = JournalColour::Default);
    // Entries about the command device i has taken over, naming who gave it.
    void JournalTaken(int i, const std::string& body);
    void JournalRefused(int i, const std::string& body);

    Plant& plant_;
    DiagramOutlet& diagram_;
    DiagramShown& shown_;
    JournalOutlet& journal_;
};

}  // namespace plant
