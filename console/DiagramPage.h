#pragma once

#include <span>

#include "console/Layout.h"

class QPushButton;
class QToolButton;

namespace symbols {
class TTitle;
}

namespace console {

// The diagram page, the mnemonic picture of the terminal: the bucket elevator,
// conveyors, fans and gate valves with their number labels, the silos with
// gauges, stock panels and zone lamps, pipes, the three tonnage boards, the
// wagons, the loading machines, the scrolling help and the sound switch. The
// route list lies on it too (RouteList). The controller and the wagon timer
// write its controls; the window wires its clicks.
class DiagramPage {
public:
    DiagramPage(QWidget& page, char decimalSeparator);

    static std::span<const Control> Layout();

    // Sound is on while the "sound off" button is hidden.
    bool SoundOn() const;
    void SetSoundOn(bool on);

    // "Информация": the button hides while the help text scrolls through once.
    void PlayHelp();
    // The pass has ended: the button comes back.
    void HelpDone();
    symbols::TTitle& Help() const { return *help_; }

private:
    QToolButton* soundOff_ = nullptr;
    symbols::TTitle* help_ = nullptr;
    QPushButton* helpButton_ = nullptr;
};

}  // namespace console
