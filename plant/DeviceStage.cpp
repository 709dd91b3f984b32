#include "plant/DeviceStage.h"

#include <algorithm>

#include "plant/JournalTexts.h"

namespace plant {

namespace {

constexpr int32_t kValveStep = 3;

void End(TDiscret& dev) {
    dev.ActiveCommand = kCmdNone;
    dev.CommandStep = 0;
}

// A route's commands run in Remote mode whatever the device's own mode.
int32_t EffectiveMode(const TDiscret& dev) {
    return dev.ActiveSource == kSourceRoute ? kModeRemote : dev.Mode;
}

bool RouteHolds(const TDiscret& dev) {
    return dev.RouteCommand != kCmdNone ||
           (dev.ActiveCommand != kCmdNone && dev.ActiveSource == kSourceRoute) ||
           dev.Mode == kModeAuto;
}

// A motion command replaces a running motion command at once; a service
// command waits until the device is idle, and nothing replaces it.
bool CanTakeOver(const TDiscret& dev, int32_t command) {
    return dev.ActiveCommand == kCmdNone ||
           (IsMotionCommand(dev.ActiveCommand) && IsMotionCommand(command));
}

void Activate(TDiscret& dev, int32_t command, int32_t source, const Origin& origin) {
    dev.ActiveCommand = command;
    dev.ActiveSource = source;
    dev.ActiveOrigin = origin;
    dev.CommandStep = 0;
}

// The outcome of a motion command refused in `mode`. A mode outside the four
// (only from a table written by hand) refuses as Local does.
int32_t ModeRefusal(int32_t mode) {
    if (mode == kModeAuto) return kOutcomeRefusedAuto;
    if (mode == kModeRepair) return kOutcomeRefusedRepair;
    return kOutcomeRefusedLocal;
}

}  // namespace

DeviceStage::DeviceStage(Plant& plant, DiagramOutlet& diagram, DiagramShown& shown,
                         JournalOutlet& journal)
    : plant_(plant), diagram_(diagram), shown_(shown), journal_(journal) {}

void DeviceStage::Run() {
    ShowEmergencyStop();
    for (int i = 1; i <= kDeviceCount; ++i) {
        TDiscret& dev = plant_.Dev[i];
        TFault& fault = plant_.Faults[i];
        if (dev.Kind == kKindValve) RefreshValve(i);
        ShowSymbol(i);
        TakeFault(i, fault);
        TakeOver(i);
        Execute(i);
    }
}

// The board, like the symbols, shows what the previous cycle left.
void DeviceStage::ShowEmergencyStop() {
    bool any = false;
    for (const TDiscret& dev : plant_.Dev) any = any || !dev.ErrorText.empty();
    if (shown_.emergencyStop.Changes(any)) diagram_.SetEmergencyStopShown(any);
}

void DeviceStage::Journal(const std::string& body, const JournalTag& tag, JournalColour colour) {
    journal_.Append(body, colour, tag);
}

void DeviceStage::JournalTaken(int i, const std::string& body) {
    const TDiscret& dev = plant_.Dev[i];
    Journal(body,
            DeviceTag(EntryKind::CommandTaken, i, dev.ActiveCommand, dev.ActiveOrigin.Text()));
}

void DeviceStage::JournalRefused(int i, const std::string& body) {
    const TDiscret& dev = plant_.Dev[i];
    Journal(body,
            DeviceTag(EntryKind::CommandRefused, i, dev.ActiveCommand, dev.ActiveOrigin.Text()),
            JournalColour::Blue);
}

// The position follows the angle one tick late; an angle outside 0..90 leaves
// the position as it was.
void DeviceStage::RefreshValve(int i) {
    TDiscret& dev = plant_.Dev[i];
    auto change = [&](int32_t state, DeviceEvent event) {
        dev.State = state;
        Journal(StateChangeText(dev.Name, event), DeviceTag(EntryKind::StateChange, i, state));
    };
    if (dev.Ungle == kValveOpenAngle && dev.State != kStateOpen) {
        change(kStateOpen, DeviceEvent::Opened);
    } else if (dev.Ungle > kValveClosedAngle && dev.Ungle < kValveOpenAngle &&
               dev.State != kStateIntermediate) {
        change(kStateIntermediate, DeviceEvent::Intermediate);
    } else if (dev.Ungle == kValveClosedAngle && dev.State != kStateClosed) {
        change(kStateClosed, DeviceEvent::Closed);
    }
}

// A valve's symbol shows its mode and angle, a drive's its mode and state;
// both flash while the device is in alarm.
void DeviceStage::ShowSymbol(int i) {
    const TDiscret& dev = plant_.Dev[i];
    if (shown_.symbolMode[i].Changes(dev.Mode)) diagram_.SetSymbolMode(i, dev.Mode);
    const bool alarm = !dev.ErrorText.empty();
    if (shown_.symbolAlarm[i].Changes(alarm)) diagram_.SetSymbolAlarm(i, alarm);
    if (dev.Kind == kKindValve) {
        if (shown_.symbolUngle[i].Changes(dev.Ungle)) diagram_.SetSymbolUngle(i, dev.Ungle);
    } else {
        if (shown_.symbolState[i].Changes(dev.State)) diagram_.SetSymbolState(i, dev.State);
    }
}

// A fault that does not fit the device (only a table written by hand) and one
// that already stands change nothing. A fault ends the motion under way: the
// drive's protection has stopped it, or the valve cannot move.
void DeviceStage::TakeFault(int i, TFault& fault) {
    if (!fault.Pending) return;
    fault.Pending = false;
    TDiscret& dev = plant_.Dev[i];
    const int32_t kind = fault.Posted;
    if (kind == fault.Kind || !FaultFits(kind, dev.Kind)) return;
    fault.Kind = kind;
    const JournalTag tag = DeviceTag(EntryKind::TrainerFault, i, kind, fault.PostedOrigin.Text());
    if (kind == kFaultNone) {
        Journal(StateChangeText(dev.Name, DeviceEvent::FaultCleared), tag);
        return;
    }
    dev.ErrorText = FaultErrorText(kind);
    Journal(StateChangeText(dev.Name, DeviceEvent::Fault), tag, JournalColour::Red);
    if (dev.ActiveCommand != kCmdNone && dev.ActiveCommand < kFirstServiceCommand) End(dev);
    if (kind == kFaultTrip) dev.State = kStateStop;
}

void DeviceStage::TakeOver(int i) {
    TDiscret& dev = plant_.Dev[i];
    if (IsMotionCommand(dev.Command) && RouteHolds(dev)) {
        Journal(RefusalText(dev.Name, kModeAuto),
                DeviceTag(EntryKind::CommandRefused, i, dev.Command, dev.CommandOrigin.Text()),
                JournalColour::Blue);
        RecordOperator(i, dev.Command, kOutcomeRefusedAuto);
        dev.Command = kCmdNone;
    }
    if (dev.RouteCommand != kCmdNone) {
        if (CanTakeOver(dev, dev.RouteCommand)) {
            Activate(dev, dev.RouteCommand, kSourceRoute, dev.RouteCommandOrigin);
            dev.RouteCommand = kCmdNone;
        }
        return;
    }
    if (dev.Command != kCmdNone && CanTakeOver(dev, dev.Command)) {
        Activate(dev, dev.Command, kSourceOperator, dev.CommandOrigin);
        RecordOperator(i, dev.Command, kOutcomeTaken);
        dev.Command = kCmdNone;
    }
}

void DeviceStage::RecordOperator(int i, int32_t command, int32_t result) {
    plant_.DeviceOutcome[i] = {command, result, plant_.Cycles};
}

// A refusal in the cycle that took the command over; the operator's command
// taken over in this cycle is the one its record names.
void DeviceStage::RecordRefusal(int i, int32_t result) {
    const TDiscret& dev = plant_.Dev[i];
    if (dev.ActiveSource == kSourceOperator) RecordOperator(i, dev.ActiveCommand, result);
}

void DeviceStage::Execute(int i) {
    TDiscret& dev = plant_.Dev[i];
    switch (dev.ActiveCommand) {
        case kCmdNone:
            return;
        case kCmdOpen:
        case kCmdClose:
        case kCmdStop:
            ExecuteMotion(i);
            return;
        case kCmdReset:
            Reset(i);
            return;
        case kCmdLocal:
            SetMode(i, kModeLocal);
            return;
        case kCmdRemote:
            SetMode(i, kModeRemote);
            return;
        case kCmdAuto:
            SetMode(i, kModeAuto);
            return;
        case kCmdRepair:
            SetMode(i, kModeRepair);
            return;
        default:
            // A code no panel or route posts: drop it rather than let it block
            // the device's service commands for ever.
            End(dev);
            return;
    }
}

// Accepted in every mode, but not while the fault that raised the alarm stands.
void DeviceStage::Reset(int i) {
    TDiscret& dev = plant_.Dev[i];
    if (plant_.Faults[i].Kind != kFaultNone) {
        JournalRefused(i, FaultRefusalText(dev.Name, FaultRefusal::Reset));
        RecordRefusal(i, kOutcomeRefusedFault);
    } else {
        JournalTaken(i, CommandReceivedText(dev.Name, dev.Kind, kCmdReset));
        dev.ErrorText.clear();
    }
    End(dev);
}

void DeviceStage::SetMode(int i, int32_t mode) {
    TDiscret& dev = plant_.Dev[i];
    if (dev.Mode != mode) {
        JournalTaken(i, CommandReceivedText(dev.Name, dev.Kind, dev.ActiveCommand));
        dev.Mode = mode;
        Journal(ModeSetText(dev.Name, mode),
                DeviceTag(EntryKind::StateChange, i, kModeChange + mode));
    }
    End(dev);
}

void DeviceStage::ExecuteMotion(int i) {
    TDiscret& dev = plant_.Dev[i];
    const TFault& fault = plant_.Faults[i];
    const int32_t mode = EffectiveMode(dev);
    if (mode != kModeRemote) {
        // Refused in Local, Auto and Repair mode; a mode outside the known four
        // (only from an edited state file) refuses without a text of its own.
        if (mode == kModeLocal || mode == kModeAuto || mode == kModeRepair) {
            JournalRefused(i, RefusalText(dev.Name, mode));
        }
        RecordRefusal(i, ModeRefusal(mode));
        End(dev);
        return;
    }
    if (dev.CommandStep == 0) {
        if (dev.ActiveCommand == kCmdOpen && fault.Kind == kFaultTrip) {
            JournalRefused(i, FaultRefusalText(dev.Name, FaultRefusal::SwitchOn));
            RecordRefusal(i, kOutcomeRefusedFault);
            End(dev);
            return;
        }
        if (dev.ActiveCommand != kCmdStop || dev.Kind == kKindValve) {
            JournalTaken(i, CommandReceivedText(dev.Name, dev.Kind, dev.ActiveCommand));
        }
        if (dev.ActiveCommand == kCmdStop) {
            End(dev);  // the valve stays at its angle, the drive in its state
        } else {
            dev.CommandStep = 1;
        }
        return;
    }
    if (dev.Kind == kKindValve) {
        StepValve(dev, fault);
    } else {
        StepDrive(i);
    }
}

// Travel is clamped to 0..90 so that an angle that is not a multiple of 3 (a
// saved one) ends fully open or closed instead of overshooting to an angle that
// no position matches. A jammed valve ends its command where it stands, so
// that the mode commands behind it (a route's hand-back) are not held up.
void DeviceStage::StepValve(TDiscret& dev, const TFault& fault) {
    if (fault.Kind == kFaultJam) {
        End(dev);
    } else if (dev.ActiveCommand == kCmdOpen) {
        if (dev.Ungle < kValveOpenAngle) {
            dev.Ungle = std::min(dev.Ungle + kValveStep, kValveOpenAngle);
        } else {
            End(dev);
        }
    } else {
        if (dev.Ungle > kValveClosedAngle) {
            dev.Ungle = std::max(dev.Ungle - kValveStep, kValveClosedAngle);
        } else {
            End(dev);
        }
    }
}

// Run -> Acceleration -> Stop and back, one state per tick. A state outside the
// three known ones (only from an edited state file) first goes to Acceleration.
void DeviceStage::StepDrive(int i) {
    TDiscret& dev = plant_.Dev[i];
    if (dev.ActiveCommand == kCmdOpen) {
        if (dev.State == kStateRun) {
            Journal(StateChangeText(dev.Name, DeviceEvent::SwitchedOn),
                    DeviceTag(EntryKind::StateChange, i, kStateRun));
            End(dev);
        } else {
            dev.State = dev.State == kStateAcceleration ? kStateRun : kStateAcceleration;
        }
    } else {
        if (dev.State == kStateStop) {
            Journal(StateChangeText(dev.Name, DeviceEvent::SwitchedOff),
                    DeviceTag(EntryKind::StateChange, i, kStateStop));
            End(dev);
        } else {
            dev.State = dev.State == kStateAcceleration ? kStateStop : kStateAcceleration;
        }
    }
}

void DeviceStage::ColourPipe(PipeId pipe, bool colored) {
    if (shown_.pipeColored[static_cast<std::size_t>(pipe)].Changes(colored)) {
        diagram_.SetPipeColored(pipe, colored);
    }
}

// A pipe shows grain while the conveyor feeding it is not stopped.
void DeviceStage::ColourPipes() {
    auto moving = [this](int dev) { return plant_.Dev[dev].State != kStateStop; };
    ColourPipe(PipeId::Pipe2, moving(kSiloDischargeConveyor));
    ColourPipe(PipeId::Pipe1, moving(kVesselConveyor));
    ColourPipe(PipeId::Pipe4, moving(kVesselConveyor));
    ColourPipe(PipeId::PipeTurn1, moving(kVesselConveyor));
    ColourPipe(PipeId::Pipe9, moving(kRailIntakeConveyor));
    ColourPipe(PipeId::Pipe3, moving(kRoadIntakeConveyor));
}

}  // namespace plant
