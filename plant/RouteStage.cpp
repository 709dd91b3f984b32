#include "plant/RouteStage.h"

#include <algorithm>
#include <string>

#include "plant/JournalTexts.h"
#include "plant/RouteLook.h"

namespace plant {

namespace {

constexpr uint32_t Bit(int r) {
    return uint32_t{1} << (r - 1);
}

template <typename InGroup>
constexpr uint32_t Group(InGroup inGroup) {
    uint32_t bits = 0;
    for (int r = 1; r <= kRouteCount; ++r) {
        if (inGroup(r)) bits |= Bit(r);
    }
    return bits;
}

constexpr uint32_t kShippingRoutes = Group(IsShippingRoute);
constexpr uint32_t kIntakeRoutes = Group(IsIntakeRoute);

}  // namespace

RouteStage::RouteStage(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown,
                       JournalOutlet& journal, SoundOutlet& sound)
    : plant_(plant), diagram_(diagram), shown_(shown), journal_(journal), sound_(sound) {}

// A shipping route forbids the other shipping routes and both intake routes into
// its own silo; an intake route forbids the other intake routes and the shipping
// route from its own silo.
uint32_t RouteStage::ForbiddenBy(int r) {
    const int silo = SiloOfRoute(r);
    if (IsShippingRoute(r)) {
        return (kShippingRoutes & ~Bit(r)) | Bit(RoadIntakeRouteOf(silo)) |
               Bit(RailIntakeRouteOf(silo));
    }
    if (IsIntakeRoute(r)) return (kIntakeRoutes & ~Bit(r)) | Bit(ShippingRouteOf(silo));
    return 0;
}

void RouteStage::Run() {
    UpdatePermissions();
    forbiddenThisPass_ = 0;
    faultStands_ = std::any_of(plant_.Faults.begin(), plant_.Faults.end(),
                               [](const TFault& fault) { return fault.Kind != kFaultNone; });
    for (int r = 1; r <= kRouteCount; ++r) {
        RefreshLook(r);
        TakeCommand(r);
        if (faultStands_) StopOnFault(r);
        StepSequence(r);
    }
}

void RouteStage::UpdatePermissions() {
    uint32_t forbidden = 0;
    for (int r = 1; r <= kRouteCount; ++r) {
        if (plant_.Route[r].State != kRouteStopped) forbidden |= ForbiddenBy(r);
    }
    for (int r = 1; r <= kRouteCount; ++r) plant_.Route[r].Permitted = (forbidden & Bit(r)) == 0;
}

// The list shows the state as it was before this tick's command, so a change
// appears one tick after it happens.
void RouteStage::RefreshLook(int r) {
    const TRoute& route = plant_.Route[r];
    if (!shown_.routeLook[r].Changes({route.State, route.Permitted})) return;
    diagram_.SetRouteLook(r, RoutePanelColour(route.State), RouteHint(route.State, route.Permitted),
                          RouteFontColour(route.Permitted));
}

// A start is taken only by a stopped route that no active route forbids (also
// one that became active earlier in this tick), and a stop only by a running
// route: RouteTakes holds the rule, which the route list and every other
// poster check as well. A command can still arrive stale: the controller runs
// on while the route list's confirmation question is open, and the list shows
// a new prohibition only a tick late. Without the check here two routes could
// drive the same conveyors, or a stale stop could pull devices out from under
// another route.
void RouteStage::TakeCommand(int r) {
    TRoute& route = plant_.Route[r];
    const int32_t command = route.Command;
    if (command == 0) return;
    route.Command = 0;
    const Origin origin = route.CommandOrigin;
    int32_t verdict = RouteVerdict(route, command);
    if (verdict == kOutcomeTaken && command == kRouteCmdStart &&
        (forbiddenThisPass_ & Bit(r)) != 0) {
        verdict = kOutcomeRefusedForbidden;
    }
    // Only an operator's post leaves a pending record; the silo limits' stops
    // leave none.
    TOutcome& outcome = plant_.RouteOutcome[r];
    if (outcome.Result == kOutcomePending) {
        outcome.Result = verdict;
        outcome.Cycle = plant_.Cycles;
    }
    if (verdict == kOutcomeRefusedForbidden) {
        journal_.Append(RouteStartRefusedText(r), JournalColour::Blue,
                        RouteTag(r, route_event::kStartRefused, origin.Text()));
        return;
    }
    if (verdict != kOutcomeTaken) return;
    if (command == kRouteCmdStart) {
        route.State = kRouteStarting;
        route.Step = kStepToAuto;
        route.Position = 1;
        forbiddenThisPass_ |= ForbiddenBy(r);
        journal_.Append(RouteCommandText(r, true), JournalColour::Blue,
                        RouteTag(r, route_event::kStartCommand, origin.Text()));
        PlayAnnouncement(r, "RouteStart.wav");
    } else {
        BeginStop(r, route, kRouteSlots, origin);
    }
}

// The stop sequence starts at `position` and works back to the first device.
void RouteStage::BeginStop(int r, TRoute& route, int32_t position, const Origin& origin) {
    route.State = kRouteStopping;
    route.Step = kStepSwitchOff;
    route.Position = position;
    journal_.Append(RouteCommandText(r, false), JournalColour::Blue,
                    RouteTag(r, route_event::kStopCommand, origin.Text()));
    PlayAnnouncement(r, "RouteStop.wav");
}

// A route with a faulted device stops at once, as the silo limits stop it, with
// one red entry naming the device. A starting route stops from the device it
// has reached: the ones after it were never started.
void RouteStage::StopOnFault(int r) {
    TRoute& route = plant_.Route[r];
    if (route.State != kRouteStarting && route.State != kRouteRunning) return;
    const int d = FaultedDevice(route);
    if (d == 0) return;
    journal_.Append(RouteFaultStopText(r, plant_.Dev[d].Name), JournalColour::Red,
                    RouteTag(r, route_event::kFaultStop));
    BeginStop(r, route, route.State == kRouteRunning ? kRouteSlots : route.Position,
              Origin::Controller());
}

// The first device of the route, in list order, with a standing fault; 0 for none.
int RouteStage::FaultedDevice(const TRoute& route) const {
    for (const int32_t d : route.Devices) {
        if (plant_.Faults.Contains(d) && plant_.Faults[d].Kind != kFaultNone) return d;
    }
    return 0;
}

void RouteStage::PlayAnnouncement(int r, const char* what) {
    sound_.Play("Bell.wav");
    sound_.Play(what);
    sound_.Play("Route_" + std::to_string(r) + ".wav");
}

// The device at the route's position; 0 when the slot is empty or the position
// lies outside the table (a step resumed from a saved state has position 0).
int RouteStage::DeviceAt(const TRoute& route) const {
    if (!OneBased<int32_t, kRouteSlots>::Contains(route.Position)) return 0;
    const int32_t d = route.Devices[route.Position];
    return OneBased<TDiscret, kDeviceCount>::Contains(d) ? d : 0;
}

void RouteStage::Post(int r, int device, int32_t command) {
    PostCommand(plant_, device, command, kSourceRoute, Origin::Route(r));
}

void RouteStage::StepSequence(int r) {
    TRoute& route = plant_.Route[r];
    if (IsStartStep(route.Step)) {
        StartSequenceStep(r, route);
    } else if (IsStopStep(route.Step)) {
        StopSequenceStep(r, route);
    }
}

// Devices are started in their list order, each after the previous one runs or
// is open. Where no device is addressed there is nothing left to start.
void RouteStage::StartSequenceStep(int r, TRoute& route) {
    const int d = DeviceAt(route);
    switch (route.Step) {
        case kStepToAuto:
            if (d != 0) {
                Post(r, d, kCmdAuto);
                route.Step = kStepSwitchOn;
            } else {
                route.Step = kStepStarted;
            }
            break;
        case kStepSwitchOn:
            if (d != 0) {
                Post(r, d, kCmdOpen);
                route.Step = kStepAwaitOn;
            } else {
                route.Step = kStepStarted;
            }
            break;
        case kStepAwaitOn:
            if (d == 0) {
                route.Step = kStepStarted;
            } else if (plant_.Dev[d].State == kStateOpen) {
                route.Step = kStepNextOn;
            }
            break;
        case kStepNextOn:
            ++route.Position;
            route.Step = kStepToAuto;
            break;
        case kStepStarted:
            route.Step = kStepIdle;
            route.Position = 0;
            route.State = kRouteRunning;
            journal_.Append(RouteResultText(r, true), JournalColour::Blue,
                            RouteTag(r, route_event::kStarted));
            sound_.Play("RouteStarted.wav");
            break;
        default:
            break;
    }
}

// Devices are stopped in reverse order, each after the later one has stopped or
// closed, and handed back in Remote mode. A faulted device is not waited for:
// a jammed valve never closes, a tripped drive has stopped already. Where no
// device is left the stop ends.
void RouteStage::StopSequenceStep(int r, TRoute& route) {
    switch (route.Step) {
        case kStepSwitchOff: {
            if (route.Position > kRouteSlots) route.Position = kRouteSlots;
            while (route.Position > 0 && DeviceAt(route) == 0) --route.Position;
            const int d = DeviceAt(route);
            if (d == 0) {
                FinishStop(r, route);
            } else {
                Post(r, d, kCmdClose);
                route.Step = kStepAwaitOff;
            }
            break;
        }
        case kStepAwaitOff: {
            const int d = DeviceAt(route);
            if (d == 0) {
                FinishStop(r, route);
            } else if (plant_.Dev[d].State == kStateClosed || plant_.Faults[d].Kind != kFaultNone) {
                route.Step = kStepToRemote;
            }
            break;
        }
        case kStepToRemote: {
            const int d = DeviceAt(route);
            if (d == 0) {
                FinishStop(r, route);
            } else {
                Post(r, d, kCmdRemote);
                route.Step = kStepNextOff;
            }
            break;
        }
        case kStepNextOff:
            --route.Position;
            if (route.Position > 0) {
                route.Step = kStepSwitchOff;
            } else {
                FinishStop(r, route);
            }
            break;
        default:
            break;
    }
}

void RouteStage::FinishStop(int r, TRoute& route) {
    route.Step = kStepIdle;
    route.Position = 0;
    route.State = kRouteStopped;
    journal_.Append(RouteResultText(r, false), JournalColour::Blue,
                    RouteTag(r, route_event::kStopped));
    sound_.Play("RouteStoped.wav");
}

}  // namespace plant
