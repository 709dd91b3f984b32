#include "console/DiagramPage.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "console/Access.h"
#include "console/HelpText.h"
#include "console/OnClick.h"
#include "console/Services.h"
#include "plant/Plant.h"
#include "symbols/LEDBoardLook.h"
#include "symbols/LEDTablo.h"
#include "symbols/Title.h"

namespace console {

namespace {

constexpr Look kSiloNumber = Look().Size(13).Bold().Ink(palette::White);
constexpr Look kStockPanel = Look().Bold().Paper(palette::White);
constexpr Look kMachineHead = Look().Bold().Centre();
constexpr Look kSpeedPanel = Look().Paper(palette::White).Bevel(TPanel::Bevel::Lowered);

constexpr Control Device(const char* name, Kind kind, QRect box, int tag) {
    return {.name = name, .kind = kind, .box = box, .tag = tag};
}
constexpr Control Valve(const char* name, QRect box, int tag, const char* hint) {
    return {.name = name, .kind = Kind::Latch, .box = box, .tag = tag, .hint = hint};
}
// A number label fits its text.
constexpr Control NumberLabel(const char* name, QPoint at, const char* text) {
    return {name, Kind::Label, QRect(at, QSize()), text, Look().Paper(palette::BtnFace)};
}
constexpr Control ValveLabel(const char* name, QPoint at, const char* text) {
    return {name, Kind::Label, QRect(at, QSize()), text, Look().Bold().Paper(palette::BtnFace)};
}
constexpr Control Lamp(const char* name, QPoint at, palette::Colour colour) {
    return Hidden({name, Kind::Lamp, QRect(at, QSize(10, 10)), "", Look().Paper(colour)});
}
constexpr Control Pipe(const char* name, QRect box, palette::Colour colour) {
    return {name, Kind::Pipe, box, "", Look().Ink(colour)};
}
// Both sound buttons lie at one spot.
constexpr Control SoundButton(const char* name, const char* glyph, const char* hint) {
    return {.name = name,
            .kind = Kind::SoundButton,
            .box = {968, 456, 33, 33},
            .text = glyph,
            .hint = hint};
}
constexpr QRect Board(int x, int y) {
    return QRect(QPoint(x, y), symbols::kConsoleBoardSize);
}

constexpr auto kBeforeSilos = std::to_array<Control>({
    // Frames first, so everything else lies on top of them.
    {"Shape2", Kind::Frame, {226, 78, 261, 224}},  // route list
    {"Shape3", Kind::Frame, {316, 14, 161, 62}},   // stock board
    {"Shape4", Kind::Frame, {316, 374, 161, 95}},  // shipped board and reset
    {"Shape5", Kind::Frame, {740, 430, 161, 62}},  // unloading board
    {"Shape6", Kind::Frame, {5, 436, 299, 60}},    // loading machines
    {"Shape7", Kind::Frame, {304, 469, 159, 23}},  // throughput
    {"Shape8", Kind::Frame, {596, 72, 399, 106}},  // silo park
    // The vessel, the truck dump, the wagons over their always shown outlines,
    // the small hopper.
    {"Image3", Kind::Picture, {16, 320, 289, 113}, ":/pictures/vessel.svg"},
    {"Image2", Kind::Picture, {830, 240, 67, 50}, ":/pictures/truck_dump.svg"},
    {"VagonShadow1", Kind::Picture, {680, 360, 89, 41}, ":/pictures/wagon_shadow.svg"},
    {"VagonShadow2", Kind::Picture, {768, 360, 89, 41}, ":/pictures/wagon_shadow.svg"},
    {"VagonShadow3", Kind::Picture, {856, 360, 89, 41}, ":/pictures/wagon_shadow.svg"},
    Hidden({"Vagon1", Kind::Picture, {680, 360, 89, 41}, ":/pictures/wagon.svg"}),
    Hidden({"Vagon2", Kind::Picture, {768, 360, 89, 41}, ":/pictures/wagon.svg"}),
    Hidden({"Vagon3", Kind::Picture, {856, 360, 89, 41}, ":/pictures/wagon.svg"}),
    {"Silo6", Kind::Hopper, {878, 289, 41, 17}},
    // Devices, tagged with their numbers in the plant tables.
    Device("Noria1", Kind::Noria, {481, 5, 96, 460}, 18),
    {"Conveyor1", Kind::Conveyor, {560, 29, 406, 25}, "", Look().Align(Qt::AlignRight), 13},
    Device("Conveyor2", Kind::Conveyor, {589, 197, 378, 25}, 14),
    Device("Conveyor3", Kind::Conveyor, {320, 322, 289, 25}, 15),
    Device("Conveyor4", Kind::Conveyor, {552, 403, 401, 25}, 16),
    Device("Conveyor5", Kind::Conveyor, {664, 307, 265, 25}, 17),
    Device("Fan1", Kind::Fan, {570, 135, 30, 22}, 9),
    Device("Fan2", Kind::Fan, {677, 135, 30, 22}, 10),
    Device("Fan3", Kind::Fan, {784, 135, 30, 22}, 11),
    Device("Fan4", Kind::Fan, {891, 135, 30, 22}, 12),
    // Odd valves are the silo inlets above, even ones the outlets below.
    Valve("Latch_1", {625, 57, 20, 20}, 1, "Задвижка М1"),
    Valve("Latch_2", {626, 176, 20, 20}, 2, "Задвижка М2"),
    Valve("Latch_3", {732, 57, 20, 20}, 3, "Задвижка М3"),
    Valve("Latch_4", {733, 176, 20, 20}, 4, "Задвижка М4"),
    Valve("Latch_5", {839, 57, 20, 20}, 5, "Задвижка М5"),
    Valve("Latch_6", {840, 176, 20, 20}, 6, "Задвижка М6"),
    Valve("Latch_7", {946, 57, 20, 20}, 7, "Задвижка М7"),
    Valve("Latch_8", {947, 176, 20, 20}, 8, "Задвижка М8"),
    // Number labels beside the symbols; they blink while a device panel is open.
    NumberLabel("LabelN1", {488, 448}, "1.1"),
    NumberLabel("LabelC1", {752, 16}, "3.1"),
    NumberLabel("LabelC2", {776, 224}, "3.2"),
    NumberLabel("LabelC3", {456, 352}, "3.3"),
    NumberLabel("LabelC4", {696, 432}, "3.4"),
    NumberLabel("LabelC5", {792, 336}, "3.5"),
    NumberLabel("LabelF1", {576, 120}, "2.1"),
    NumberLabel("LabelF2", {683, 120}, "2.2"),
    NumberLabel("LabelF3", {790, 120}, "2.3"),
    NumberLabel("LabelF4", {897, 120}, "2.4"),
    ValveLabel("LabelM1", {606, 61}, "М1"),
    ValveLabel("LabelM2", {648, 180}, "М2"),
    ValveLabel("LabelM3", {713, 61}, "М3"),
    ValveLabel("LabelM4", {755, 180}, "М4"),
    ValveLabel("LabelM5", {820, 61}, "М5"),
    ValveLabel("LabelM6", {862, 180}, "М6"),
    ValveLabel("LabelM7", {927, 61}, "М7"),
    ValveLabel("LabelM8", {969, 180}, "М8"),
});

// Each silo with its number, level gauge, stock panel and zone lamps, placed
// from the silo's left edge: the upper lamps share the top right corner, the
// lower ones the bottom.
constexpr int kSiloX[] = {600, 707, 814, 921};
constexpr const char* kSiloNames[][8] = {
    {"Silo1", "LabelSilo1", "Level1", "LevelValue1", "AH1", "WH1", "AL1", "WL1"},
    {"Silo2", "LabelSilo2", "Level2", "LevelValue2", "AH2", "WH2", "AL2", "WL2"},
    {"Silo3", "LabelSilo3", "Level3", "LevelValue3", "AH3", "WH3", "AL3", "WL3"},
    {"Silo4", "LabelSilo4", "Level4", "LevelValue4", "AH4", "WH4", "AL4", "WL4"},
};
constexpr const char* kSiloNumbers[] = {"1", "2", "3", "4"};

constexpr std::array<Control, 32> Silos() {
    std::array<Control, 32> rows{};
    for (size_t n = 0; n < 4; ++n) {
        const int x = kSiloX[n];
        const auto& name = kSiloNames[n];
        Control* row = &rows[8 * n];
        row[0] = {name[0], Kind::Silo, {x, 76, 70, 80}};
        row[1] = {name[1], Kind::Label, {x + 18, 106, 0, 0}, kSiloNumbers[n], kSiloNumber};
        row[2] = {name[2], Kind::Gauge, {x + 47, 93, 9, 62}};
        row[3] = {name[3], Kind::Panel, {x + 1, 155, 70, 20}, "0.00", kStockPanel};
        row[4] = Lamp(name[4], {x + 58, 94}, palette::Red);
        row[5] = Lamp(name[5], {x + 58, 94}, palette::Yellow);
        row[6] = Lamp(name[6], {x + 58, 145}, palette::Red);
        row[7] = Lamp(name[7], {x + 58, 144}, palette::Yellow);
    }
    return rows;
}

constexpr auto kAfterSilos = std::to_array<Control>({
    // Pipes and the elbow of the vessel chute; they colour while grain flows.
    Pipe("Pipe1", {290, 373, 26, 8}, palette::Navy),
    Pipe("Pipe2", {594, 222, 10, 112}, palette::Navy),
    Pipe("Pipe3", {668, 332, 10, 82}, palette::PipeGreen),
    Pipe("Pipe4", {324, 347, 8, 19}, palette::Navy),
    Pipe("Pipe9", {555, 428, 10, 23}, palette::PipeGreen),
    {"PipeTurn1", Kind::PipeTurn, {316, 365, 16, 16}, "", Look().Ink(palette::Navy)},
    // The three tonnage boards under their captions, and the reset of the shipped one.
    {"LEDTablo3", Kind::Board, Board(320, 32)},
    {"Label11", Kind::Label, {320, 16, 0, 0}, "В силосном парке, м.т"},
    {"LEDTablo1", Kind::Board, Board(320, 392)},
    {"Label44", Kind::Label, {320, 376, 0, 0}, "Отгружено на судно, м.т"},
    {"LEDTablo2", Kind::Board, Board(744, 448)},
    {"Label9", Kind::Label, {744, 432, 0, 0}, "Под разгрузкой, м.т"},
    {"BtnResetCount", Kind::Button, {360, 440, 75, 25}, "Сброс"},
    // Throughput between its two captions.
    {"Panel4", Kind::Panel, {307, 472, 112, 17}, "Производительность"},
    {"PanelSpeed", Kind::Panel, {419, 472, 41, 17}, "0", kSpeedPanel},
    {"Panel3", Kind::Panel, {459, 472, 40, 17}, "м.т/ч"},
    // The sound switch: the visible button shows the current setting.
    SoundButton("BtnEnabledSound", ":/pictures/sound_on.svg", "Звук включен"),
    Hidden(SoundButton("BtnDisabledSound", ":/pictures/sound_off.svg", "Звук отключен")),
    // The scrolling help and its button.
    {"Title1", Kind::HelpTitle, {8, 8, 211, 297}, "", Look().Size(19).Ink(palette::SiloTableTitle)},
    In("Title1", {"BtnWhatTis", Kind::Button, {37, 136, 137, 25}, "Информация"}),
    // The two loading machines at the berth and their product choosers; shown only.
    {"Label43", Kind::Label, {8, 439, 60, 16}, "СПМ", kMachineHead},
    {"Label42", Kind::Label, {70, 439, 80, 16}, "Состояние", kMachineHead},
    {"Label39", Kind::Label, {152, 439, 148, 16}, "Продукт", kMachineHead},
    {"Label37", Kind::Label, {8, 457, 60, 17}, "СПМ №1", Look().Centre()},
    {"Label38", Kind::Label, {70, 457, 80, 17}, "ГАРАЖ", kMachineHead.Paper(palette::White)},
    {"Label40", Kind::Label, {8, 476, 60, 17}, "СПМ №2", Look().Centre()},
    {"Label41",
     Kind::Label,
     {70, 476, 80, 17},
     "ПОГРУЗКА",
     kMachineHead.Paper(palette::LoaderBusyBack)},
    {"ComboBox1", Kind::ComboBox, {152, 456, 148, 19}},
    {"ComboBox2", Kind::ComboBox, {152, 475, 148, 19}},
});

constexpr auto kLayout = Join(kBeforeSilos, Silos(), kAfterSilos);

}  // namespace

DiagramPage::DiagramPage(QWidget& page, const RegionServices& services)
    : plant_(services.plant), access_(services.access), made_(BuildControls(page, Layout())) {
    for (const char* board : {"LEDTablo3", "LEDTablo1", "LEDTablo2"}) {
        qobject_cast<symbols::TLEDTablo*>(made_.value(board))
            ->setDecimalSeparator(services.decimalSeparator);
    }
    soundOff_ = qobject_cast<QToolButton*>(made_.value("BtnDisabledSound"));
    help_ = qobject_cast<symbols::TTitle*>(made_.value("Title1"));
    help_->setItems(HelpText());
    helpButton_ = qobject_cast<QPushButton*>(made_.value("BtnWhatTis"));

    const QStringList products = {"  Пшеница фуражная", "  Пшеница 4 кат.", "  Пшеница 5 кат."};
    auto* first = qobject_cast<QComboBox*>(made_.value("ComboBox1"));
    first->setEditable(true);
    first->addItems(products);
    first->setCurrentIndex(-1);
    first->setEditText(" --- Выберите продукт ---");
    first->setEnabled(false);
    auto* second = qobject_cast<QComboBox*>(made_.value("ComboBox2"));
    second->addItems(products);
    second->setCurrentIndex(0);
    second->setEnabled(false);

    // Valves and drives alike open the device panel; it asks the plant which
    // kind the device is.
    for (const Control& row : Layout()) {
        if (row.kind == Kind::Latch || row.kind == Kind::Noria || row.kind == Kind::Conveyor ||
            row.kind == Kind::Fan) {
            OnClick(made_.value(row.name), this,
                    [this, dev = row.tag] { emit DeviceClicked(dev); });
        }
    }
    OnClick(made_.value("BtnEnabledSound"), this, &DiagramPage::BtnEnabledSoundClick);
    OnClick(soundOff_, this, &DiagramPage::BtnDisabledSoundClick);
    OnClick(helpButton_, this, &DiagramPage::BtnWhatTisClick);
    connect(help_, &symbols::TTitle::done, this, &DiagramPage::Title1Done);
    OnClick(made_.value("BtnResetCount"), this, &DiagramPage::BtnResetCountClick);
}

std::span<const Control> DiagramPage::Layout() {
    return kLayout;
}

bool DiagramPage::SoundOn() const {
    return soundOff_->isHidden();
}

QWidget* DiagramPage::NumberLabel(const std::string& name) const {
    return qobject_cast<QLabel*>(made_.value(QString::fromStdString(name)));
}

void DiagramPage::BtnEnabledSoundClick() {
    if (access_.Allows(users::Action::SoundSwitch)) soundOff_->show();
}

void DiagramPage::BtnDisabledSoundClick() {
    if (access_.Allows(users::Action::SoundSwitch)) soundOff_->hide();
}

// A pass that cannot start raises no end, so the button is given back at once.
void DiagramPage::BtnWhatTisClick() {
    helpButton_->hide();
    help_->Scroll(true);
    if (!help_->Running()) helpButton_->show();
}

void DiagramPage::Title1Done() {
    helpButton_->show();
}

void DiagramPage::BtnResetCountClick() {
    if (access_.Allows(users::Action::ResetCounter)) plant_.ShippingMassa = 0;
}

}  // namespace console
