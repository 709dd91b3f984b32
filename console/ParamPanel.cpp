#include "console/ParamPanel.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>

#include "console/TimeFormat.h"

namespace console {

namespace {

// Overlay panels sit just below the section title and cover the rest of it.
constexpr QRect kOverlayBox(1, 17, 338, 159);
constexpr Look kOverlay = Look().Bevel(TPanel::Bevel::None);
constexpr Look kClock = Look().Size(19).Bold().Ink(palette::Navy).Centre();

constexpr Control kLayout[] = {
    {"TitleParamAndSetup", Kind::Label, {1, 1, 338, 16}, "Окно параметров и настроек", kTitleLook},
    {"SysTime", Kind::Label, {1, 17, 338, 24}, "00:00:00", kClock},
    {"Image1", Kind::Picture, {76, 44, 185, 80}, ":/pictures/logo.svg"},
    {"Label1",
     Kind::Label,
     {1, 130, 338, 47},
     "Демонстрационная версия\nсистемы управления зерновым терминалом",
     Look().Centre()},
    Hidden({"PanelDiscret", Kind::Panel, kOverlayBox, "", kOverlay}),
    Hidden({"PanelSetup", Kind::Panel, kOverlayBox, "", kOverlay}),
    Hidden({"PanelBlock", Kind::Panel, kOverlayBox, "", kOverlay}),
};

}  // namespace

ParamPanel::ParamPanel(QWidget& section) {
    clock_ = qobject_cast<QLabel*>(BuildControls(section, Layout()).value("SysTime"));
}

std::span<const Control> ParamPanel::Layout() {
    return kLayout;
}

void ParamPanel::ShowTime(const QDateTime& moment) {
    const QLocale locale;
    clock_->setText(locale.toString(moment.time(), LongTimeFormat(locale)));
}

}  // namespace console
