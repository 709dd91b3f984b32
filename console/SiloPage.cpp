#include "console/SiloPage.h"

namespace console {

namespace {

// The framed table of the four silos, Panel1: a label column, then one
// column per silo.
constexpr Control InTable(Control c) {
    return In("Panel1", c);
}
constexpr Control Heading(const char* name, QRect box, const char* text) {
    return InTable({name, Kind::Label, box, text, Look().Bold().Paper(palette::Silver).Centre()});
}
constexpr Control Cell(const char* name, QRect box, const char* text) {
    return InTable({name, Kind::Label, box, text, Look().Paper(palette::White).Centre()});
}

constexpr Look kPageTitle =
    Look().Size(13).Bold().Ink(palette::Navy).Paper(palette::TitleBack).Centre();
constexpr Look kTableTitle = Look()
                                 .Size(13)
                                 .Bold()
                                 .Underline()
                                 .Ink(palette::SiloTableTitle)
                                 .Paper(palette::SiloTableTitleBack)
                                 .Centre();
constexpr Look kTotal = Look().Size(13).Bold().Align(Qt::AlignRight | Qt::AlignVCenter);

constexpr Control kLayout[] = {
    {"Label7", Kind::Label, {2, 2, 1012, 20}, "Информация по силосам", kPageTitle},
    {"Panel1", Kind::Panel, {267, 110, 482, 281}, "", Look().Bevel(TPanel::Bevel::Lowered)},
    // The grid first, so the cells lie on top of it.
    InTable({"Shape9", Kind::Frame, {108, 34, 367, 188}}),
    InTable({"Label8", Kind::Label, {2, 2, 478, 20}, "Силосный парк", kTableTitle}),
    InTable({"Silo9", Kind::Silo, {22, 92, 65, 73}}),
    Heading("Label15", {242, 36, 231, 20}, "Силосы"),
    Heading("Label16", {242, 58, 57, 24}, "№1"),
    Heading("Label17", {300, 58, 57, 24}, "№2"),
    Heading("Label18", {358, 58, 57, 24}, "№3"),
    Heading("Label19", {416, 58, 57, 24}, "№4"),
    Heading("Label24", {110, 84, 130, 32}, "Продукт"),
    Cell("Label25", {242, 84, 57, 32}, "Пшеница\nфуражная"),
    Cell("Label26", {300, 84, 57, 32}, "Пшеница\nфуражная"),
    Cell("Label27", {358, 84, 57, 32}, "Пшеница\nфуражная"),
    Cell("Label28", {416, 84, 57, 32}, "Пшеница\nфуражная"),
    Heading("Label10", {110, 118, 130, 24}, "Заполнение, %"),
    Cell("FillingR1", {242, 118, 57, 24}, "0.0"),
    Cell("FillingR2", {300, 118, 57, 24}, "0.0"),
    Cell("FillingR3", {358, 118, 57, 24}, "0.0"),
    Cell("FillingR4", {416, 118, 57, 24}, "0.0"),
    Heading("Label12", {110, 144, 130, 24}, "Масса, т"),
    Cell("MassaR1", {242, 144, 57, 24}, "0.0"),
    Cell("MassaR2", {300, 144, 57, 24}, "0.0"),
    Cell("MassaR3", {358, 144, 57, 24}, "0.0"),
    Cell("MassaR4", {416, 144, 57, 24}, "0.0"),
    Heading("Label13", {110, 170, 130, 24}, "Сигнальный уровень"),
    Cell("IndR1", {242, 170, 57, 24}, "НОРМА"),
    Cell("IndR2", {300, 170, 57, 24}, "НОРМА"),
    Cell("IndR3", {358, 170, 57, 24}, "НОРМА"),
    Cell("IndR4", {416, 170, 57, 24}, "НОРМА"),
    Heading("Label14", {110, 196, 130, 24}, "Ошибки"),
    Cell("Label56", {242, 196, 57, 24}, "Ok"),
    Cell("Label57", {300, 196, 57, 24}, "Ok"),
    Cell("Label58", {358, 196, 57, 24}, "Ok"),
    Cell("Label59", {416, 196, 57, 24}, "Ok"),
    {"Label33", Kind::Label, {400, 400, 140, 20}, "Всего зерна, м.т", kTotal},
    {"Sum1_4", Kind::Label, {548, 400, 100, 20}, "0.0", kTotal.Paper(palette::White)},
};

}  // namespace

SiloPage::SiloPage(QWidget& page) {
    BuildControls(page, Layout());
}

std::span<const Control> SiloPage::Layout() {
    return kLayout;
}

}  // namespace console
