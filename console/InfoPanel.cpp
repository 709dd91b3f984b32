#include "console/InfoPanel.h"

#include "console/ArchiveLink.h"
#include "console/EquipmentWindow.h"
#include "console/NotAvailable.h"
#include "console/OnClick.h"
#include "console/Services.h"
#include "console/TrendWindow.h"

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
                     QWidget& silos, const ArchiveServices& archive)
    : section_(section),
      messages_(services.messages),
      diagram_(diagram),
      silos_(silos),
      archive_(archive),
      decimalSeparator_(services.decimalSeparator) {
    const Controls made = BuildControls(section, Layout());
    OnClick(made.value("BtnSilosDetail"), this, &InfoPanel::BtnSilosDetailClick);
    OnClick(made.value("BtnVisualization"), this, &InfoPanel::BtnVisualizationClick);
    OnClick(made.value("BtnBlockSilos"), this, &InfoPanel::BtnBlockSilosClick);
    OnClick(made.value("BtnBlockMove"), this, &InfoPanel::BtnBlockMoveClick);
}

InfoPanel::~InfoPanel() = default;

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

void InfoPanel::BtnBlockSilosClick() {
    if (!archive_.link.IsOn()) {
        ShowNotAvailable(messages_);
        return;
    }
    if (!trendWindow_) {
        trendWindow_ = std::make_unique<TrendWindow>(ViewServices(), section_.window());
        trendWindow_->SetBlocked(blocked_);
        connect(&archive_.link, &ArchiveLink::fileReplaced, trendWindow_.get(),
                &TrendWindow::FileReplaced);
    }
    trendWindow_->Open();
}

void InfoPanel::BtnBlockMoveClick() {
    if (!archive_.link.IsOn()) {
        ShowNotAvailable(messages_);
        return;
    }
    if (!equipmentWindow_) {
        equipmentWindow_ = std::make_unique<EquipmentWindow>(ViewServices(), section_.window());
        equipmentWindow_->SetBlocked(blocked_);
        connect(&archive_.link, &ArchiveLink::fileReplaced, equipmentWindow_.get(),
                &EquipmentWindow::Refresh);
    }
    equipmentWindow_->Open();
}

void InfoPanel::SetBlocked(bool blocked) {
    blocked_ = blocked;
    if (trendWindow_) trendWindow_->SetBlocked(blocked);
    if (equipmentWindow_) equipmentWindow_->SetBlocked(blocked);
}

ArchiveViewServices InfoPanel::ViewServices() const {
    return {archive_.link.Path(), archive_.now, decimalSeparator_, &archive_.saveDialog};
}

}  // namespace console
