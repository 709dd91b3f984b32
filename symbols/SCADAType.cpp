#include "symbols/SCADAType.h"

namespace symbols {

int FlashIntervalOf(TFlashRate rate) {
    switch (rate) {
        case TFlashRate::frSlow:
            return 2000;
        case TFlashRate::frMedium:
            return 1000;
        case TFlashRate::frFast:
            return 500;
    }
    return 1000;
}

TColor ModeColor(TMode mode, TColor local, TColor remote, TColor automatic, TColor repair) {
    switch (mode) {
        case TMode::Local:
            return local;
        case TMode::Remote:
            return remote;
        case TMode::Auto:
            return automatic;
        case TMode::Repair:
            return repair;
    }
    return local;
}

TColor StateColor(TState state, TColor run, TColor accelerate, TColor stop) {
    switch (state) {
        case TState::Run:
            return run;
        case TState::Acceleration:
            return accelerate;
        case TState::Stop:
            return stop;
    }
    return stop;
}

}  // namespace symbols
