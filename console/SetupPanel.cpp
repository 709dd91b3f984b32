#include "console/SetupPanel.h"

namespace console {

namespace {

constexpr Control kLayout[] = {
    {"TitleSetup", Kind::Label, {0, 0, 338, 16}, "Настройка", kOverlayTitleLook},
    {"BtnInitPLC",
     Kind::Button,
     {100, 32, 137, 20},
     "Инициализация PLC ",
     Look().Ink(palette::InitPlcFont)},
    {"BtnOptions", Kind::Button, {100, 56, 137, 20}, "Настройка среды"},
    {"BtnCalibr", Kind::Button, {100, 80, 137, 20}, "Калибровка"},
    {"BtnSetupClose", Kind::Button, {100, 128, 137, 20}, "Закрыть"},
};

}  // namespace

SetupPanel::SetupPanel(TPanel& panel) : panel_(panel) {
    BuildControls(panel, Layout());
}

std::span<const Control> SetupPanel::Layout() {
    return kLayout;
}

void SetupPanel::Open() {
    panel_.show();
}

void SetupPanel::Close() {
    panel_.hide();
}

}  // namespace console
