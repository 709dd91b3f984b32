#pragma once

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Shown.h"

namespace plant {

// Step 4 of the controller cycle: for each device in turn, bring its symbol up
// to date, take over a posted command and carry the active one a step further.
// Also step 8, the pipes coloured by the conveyors feeding them.
class DeviceStage {
public:
    DeviceStage(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown, JournalOutlet& journal);

    void Run();
    void ColourPipes();

private:
    void RefreshValve(int i);
    void ShowSymbol(int i);
    static void TakeOver(TDiscret& dev);
    void Execute(TDiscret& dev);
    void ExecuteMotion(TDiscret& dev);
    void StepValve(TDiscret& dev);
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
