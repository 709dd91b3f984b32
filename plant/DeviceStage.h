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
    void TakeFault(TDiscret& dev, TFault& fault);
    static void TakeOver(TDiscret& dev);
    void Execute(TDiscret& dev, const TFault& fault);
    void Reset(TDiscret& dev, const TFault& fault);
    void ExecuteMotion(TDiscret& dev, const TFault& fault);
    void StepValve(TDiscret& dev, const TFault& fault);
    void StepDrive(TDiscret& dev);
    void SetMode(TDiscret& dev, int32_t mode);
    void ColourPipe(PipeId pipe, bool colored);
    void Journal(const std::string& body, JournalColour colour = JournalColour::Default);

    Plant& plant_;
    DiagramOutlet& diagram_;
    DiagramShown& shown_;
    JournalOutlet& journal_;
};

}  // namespace plant
