#pragma once

#include <array>
#include <cstdint>

#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant {

// Step 5 of the controller cycle: which routes may start, the route list, the
// start and stop commands, and one step of each route's start/stop sequence.
class RouteStage {
public:
    RouteStage(Plant& plant, DiagramOutlet& diagram, JournalOutlet& journal, SoundOutlet& sound);

    void Run();

    // Sequence steps (the route's Step field).
    static constexpr int32_t kStepIdle = 0;
    static constexpr int32_t kStepToAuto = 1;
    static constexpr int32_t kStepSwitchOn = 2;
    static constexpr int32_t kStepAwaitOn = 3;
    static constexpr int32_t kStepNextOn = 4;
    static constexpr int32_t kStepStarted = 5;
    static constexpr int32_t kStepSwitchOff = 11;
    static constexpr int32_t kStepAwaitOff = 12;
    static constexpr int32_t kStepToRemote = 13;
    static constexpr int32_t kStepNextOff = 14;

    // Bit r-1 set for every route that active route r forbids.
    static uint32_t ForbiddenBy(int r);

private:
    void UpdatePermissions();
    void RefreshLook(int r);
    void TakeCommand(int r);
    void StepSequence(int r);
    void StartSequenceStep(int r, TRoute& route);
    void StopSequenceStep(int r, TRoute& route);
    void FinishStop(int r, TRoute& route);
    int DeviceAt(const TRoute& route) const;
    void Post(int device, int32_t command);
    void PlayAnnouncement(int r, const char* what);

    Plant& plant_;
    DiagramOutlet& diagram_;
    JournalOutlet& journal_;
    SoundOutlet& sound_;

    // Routes forbidden by a route that became active earlier in this pass.
    uint32_t forbiddenThisPass_ = 0;

    // What each route list entry shows, so it is repainted only on a change.
    struct ShownLook {
        bool valid = false;
        int32_t state = 0;
        bool permitted = true;
    };
    std::array<ShownLook, kRouteCount> shown_{};
};

}  // namespace plant
