#pragma once

#include <QDateTime>
#include <chrono>
#include <functional>
#include <string>

namespace platform {
class MessageBoxes;
class PointerConfinement;
class SaveFileDialog;
class WavePlayer;
}  // namespace platform

namespace plant {
class JournalOutlet;
struct Plant;
}  // namespace plant

namespace console {

class Access;
class ArchiveLink;

// What the main window needs from the desktop. The program wires the real ones;
// tests pass fakes, a fixed clock and a state file in a scratch folder.
struct FrmMainServices {
    platform::MessageBoxes* messages = nullptr;
    platform::WavePlayer* player = nullptr;
    platform::PointerConfinement* confinement = nullptr;
    // Where an export of the event archive is written.
    platform::SaveFileDialog* saveDialog = nullptr;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Times the sign-in lockouts and the idle sign-out; never jumps with the
    // wall clock.
    std::function<std::chrono::steady_clock::time_point()> steadyNow = [] {
        return std::chrono::steady_clock::now();
    };
    std::string statePath;
    char decimalSeparator = '.';
    // While running, the plant is saved this often (when a saved value has
    // changed), so a crash or a power cut loses at most this much.
    std::chrono::milliseconds saveInterval{60000};
};

// What a region of the window works with besides its own controls: the plant
// tables, the journal, the desktop's message boxes and pointer confinement,
// the state file's path (files of the console lie beside it) and the regional
// decimal separator, and the access check every command asks first. Given
// these, a region connects its own controls to its own handlers; the window
// only wires regions to one another. A region keeps what it uses, not this
// bundle.
struct RegionServices {
    plant::Plant& plant;
    plant::JournalOutlet& journal;
    platform::MessageBoxes& messages;
    platform::PointerConfinement& confinement;
    Access& access;
    std::string statePath;
    char decimalSeparator = '.';
};

// What the windows over the event archive ("Журналы", "Силосный парк",
// "Трансп. оборудование") work with: the console's archive, the question where
// to export and the console's clock.
struct ArchiveServices {
    ArchiveLink& link;
    platform::SaveFileDialog& saveDialog;
    std::function<QDateTime()> now;
};

}  // namespace console
