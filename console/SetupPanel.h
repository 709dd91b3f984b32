#pragma once

#include <span>

#include "console/Layout.h"

namespace console {

// The setup panel "Настройка": three functions the demonstration does not
// provide and "Закрыть". The window wires the buttons.
class SetupPanel {
public:
    explicit SetupPanel(TPanel& panel);

    static std::span<const Control> Layout();

    void Open();
    void Close();

private:
    TPanel& panel_;
};

}  // namespace console
