#pragma once

#include <cstdint>

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Shown.h"

namespace plant {

// Step 5 of the controller cycle: which routes may start, the route list, the
// start and stop commands, and one step of each route's start/stop sequence.
// A starting or running route that holds a faulted device stops itself, and
// its stop sequence passes over a device that cannot reach its end.
class RouteStage {
public:
    RouteStage(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown, JournalOutlet& journal,
               SoundOutlet& sound);

    void Run();

    // Bit r-1 set for every route that active route r forbids.
    static uint32_t ForbiddenBy(int r);

private:
    void UpdatePermissions();
    void RefreshLook(int r);
    void TakeCommand(int r);
    void BeginStop(int r, TRoute& route, int32_t position, const Origin& origin);
    void StopOnFault(int r);
    int FaultedDevice(const TRoute& route) const;
    void StepSequence(int r);
    void StartSequenceStep(int r, TRoute& route);
    void StopSequenceStep(int r, TRoute& route);
    void FinishStop(int r, TRoute& route);
    int DeviceAt(const TRoute& route) const;
    void Post(int r, int device, int32_t command);
    void PlayAnnouncement(int r, const char* what);

    Plant& plant_;
    DiagramOutlet& diagram_;
    DiagramShown& shown_;
    JournalOutlet& journal_;
    SoundOutlet& sound_;

    // Routes forbidden by a route that became active earlier in this pass.
    uint32_t forbiddenThisPass_ = 0;
    // Whether any device has a standing fault in this pass; without one no
    // route's devices are looked at.
    bool faultStands_ = false;
};

}  // namespace plant
