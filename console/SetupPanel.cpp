#include "console/SetupPanel.h"

#include "console/Access.h"
#include "console/NotAvailable.h"
#include "console/OnClick.h"
#include "console/Services.h"

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

SetupPanel::SetupPanel(TPanel& panel, const RegionServices& services)
    : panel_(panel), messages_(services.messages), access_(services.access) {
    const Controls made = BuildControls(panel, Layout());
    for (const char* name : {"BtnInitPLC", "BtnOptions", "BtnCalibr"}) {
        OnClick(made.value(name), this, &SetupPanel::BtnNotWorklClick);
    }
    OnClick(made.value("BtnSetupClose"), this, &SetupPanel::BtnSetupCloseClick);
}

std::span<const Control> SetupPanel::Layout() {
    return kLayout;
}

void SetupPanel::BtnSetupClick() {
    emit Opening();
    panel_.show();
}

void SetupPanel::BtnSetupCloseClick() {
    panel_.hide();
}

void SetupPanel::BtnNotWorklClick() {
    if (access_.Allows(users::Action::SetupFunction)) ShowNotAvailable(messages_);
}

}  // namespace console
