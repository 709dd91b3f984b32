#include "console/InfoPanel.h"

#include "console/NotAvailable.h"
#include "console/OnClick.h"
#include "console/Services.h"

namespace console {

namespace {

constexpr Look kAlarmBoard = Look().Paper(palette::AlarmBoardBack).Bevel(TPanel::Bevel::Lowered);
constexpr Look kAlarmLine = Look().Size(13).Bold().Ink(palette::AlarmLineIdle).Centre();

constexpr Control kLayout[] = {
    {"TitleInfo", Kind::Label, {1, 1, 336, 16}, "Окно информации", kTitleLook},
    {"Label6", Kind::Label, {1, 17, 336, 16}, "Табло аварийной сигнализации", kSectionLook},
    {"PanelAlarm", Kind::Panel, {45, 36, 249, 52}, "", kAlarmBoard},
    In("PanelAlarm", {"TabloFire", Kind::Label, {2, 1, 245, 16}, "Пожар", kAlarmLine}),
    In("PanelAlarm",
       {"TabloTemperature", Kind::Label, {2, 18, 245, 16}, "Температура в силосе", kAlarmLine}),
    In("PanelAlarm", {"TabloStop", Kind::Label, {2, 35, 245, 16}, "Аварийный останов", kAlarmLine}),
    {"Label5", Kind::Label, {1, 90, 336, 16}, "Подробная информация", kSectionLook},
    {"BtnSilosDetail", Kind::Button, {59, 110, 100, 20}, "Силосы"},
    {"BtnVisualization", Kind::Button, {179, 110, 100, 20}, "Визуализация"},
    {"Label36", Kind::Label, {1, 134, 336, 16}, "Управление блокировками", kSectionLook},
    {"BtnBlockSilos", Kind::Button, {27, 153, 131, 20}, "Силосный парк"},
    {"BtnBlockMove", Kind::Button, {179, 153, 131, 20}, "Трансп. оборудование"},
};

}  // namespace

InfoPanel::InfoPanel(QWidget& section, const RegionServices& services, QWidget& diagram,
                     QWidget& silos)
    : messages_(services.messages), diagram_(diagram), silos_(silos) {
    const Controls made = BuildControls(section, Layout());
    OnClick(made.value("BtnSilosDetail"), this, &InfoPanel::BtnSilosDetailClick);
    OnClick(made.value("BtnVisualization"), this, &InfoPanel::BtnVisualizationClick);
    OnClick(made.value("BtnBlockSilos"), this, &InfoPanel::BtnNotWorklClick);
    OnClick(made.value("BtnBlockMove"), this, &InfoPanel::BtnNotWorklClick);
}

std::span<const Control> InfoPanel::Layout() {
    return kLayout;
}

void InfoPanel::BtnSilosDetailClick() {
    silos_.show();
    diagram_.hide();
}

void InfoPanel::BtnVisualizationClick() {
    diagram_.show();
    silos_.hide();
}

void InfoPanel::BtnNotWorklClick() {
    ShowNotAvailable(messages_);
}

}  // namespace console
