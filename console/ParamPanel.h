#pragma once

#include <span>

#include "console/Layout.h"

class QDateTime;
class QLabel;

namespace console {

// The middle section of the lower band, "Окно параметров и настроек": the
// clock, the developer's logo and contact line, and the frames of the three
// overlay panels that cover them in turn (device control, setup, system block;
// later ones on top).
class ParamPanel {
public:
    explicit ParamPanel(QWidget& section);

    static std::span<const Control> Layout();

    // The clock: the local time in the regional long time format.
    void ShowTime(const QDateTime& moment);

private:
    QLabel* clock_ = nullptr;
};

}  // namespace console
