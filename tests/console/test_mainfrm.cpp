#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "console/BlockPanel.h"
#include "console/CommandBar.h"
#include "console/DevicePanel.h"
#include "console/DiagramPage.h"
#include "console/Gauge.h"
#include "console/InfoPanel.h"
#include "console/MessageWindow.h"
#include "console/Panel.h"
#include "console/ParamPanel.h"
#include "console/RouteList.h"
#include "console/SetupPanel.h"
#include "console/Shape.h"
#include "console/SiloPage.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/Silo.h"
#include "symbols/Title.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

class MainWindow : public FrmMainTest {};

TEST_F(MainWindow, FixedDialogWithoutCloseBox) {
    EXPECT_EQ(Form().windowTitle(),
              "Автоматизированная система управления зерновым терминалом (демо)");
    EXPECT_EQ(Form().size(), QSize(1016, 721));
    EXPECT_EQ(Form().minimumSize(), Form().maximumSize());
    const Qt::WindowFlags flags = Form().windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
}

// Every layout table and the control its rows are placed in.
struct Region {
    const char* name;
    std::span<const console::Control> table;
    const char* root;  // null: the window itself
};

const std::vector<Region>& Regions() {
    static const std::vector<Region> regions = {
        {"window", console::TFrmMain::Layout(), nullptr},
        {"diagram page", console::DiagramPage::Layout(), "PanelVisual"},
        {"route list", console::RouteList::Layout(), "PanelVisual"},
        {"silo page", console::SiloPage::Layout(), "PanelTanks"},
        {"information panel", console::InfoPanel::Layout(), "PanelInfo"},
        {"parameters section", console::ParamPanel::Layout(), "PanelParamAndSetup"},
        {"device panel", console::DevicePanel::Layout(), "PanelDiscret"},
        {"setup panel", console::SetupPanel::Layout(), "PanelSetup"},
        {"block panel", console::BlockPanel::Layout(), "PanelBlock"},
        {"message window", console::MessageWindow::Layout(), "PanelMessage"},
        {"command bar", console::CommandBar::Layout(), "PanelOfButton"},
    };
    return regions;
}

class Layout : public MainWindow {
protected:
    QWidget* Root(const Region& region) {
        return region.root ? Find(region.root) : static_cast<QWidget*>(&Form());
    }
    QWidget* ParentOf(const Region& region, const console::Control& row) {
        return *row.parent ? Find(row.parent) : Root(region);
    }
    template <typename T>
    void ExpectControl(const QString& name) {
        EXPECT_NE(Form().findChild<T*>(name), nullptr) << name.toStdString();
    }
};

// Each row is one control of that name on the whole window, in the parent the
// row names, at the row's place (a label that fits its text at the row's corner).
TEST_F(Layout, EveryRowIsOneControlAtItsPlaceInItsParent) {
    for (const Region& region : Regions()) {
        for (const console::Control& row : region.table) {
            const QList<QWidget*> found = Form().findChildren<QWidget*>(row.name);
            ASSERT_EQ(found.size(), 1) << region.name << ": " << row.name;
            QWidget* w = found.front();
            EXPECT_EQ(w->parentWidget(), ParentOf(region, row)) << row.name;
            if (row.box.size().isEmpty()) {
                EXPECT_EQ(w->pos(), row.box.topLeft()) << row.name;
            } else {
                EXPECT_EQ(w->geometry(), row.box) << row.name;
            }
            EXPECT_EQ(w->isHidden(), row.hidden) << row.name;
        }
    }
}

TEST_F(Layout, EveryControlLiesInsideItsParent) {
    for (const Region& region : Regions()) {
        for (const console::Control& row : region.table) {
            QWidget* w = Find(row.name);
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << region.name << ": " << row.name << " at " << w->geometry().x() << ","
                << w->geometry().y() << " " << w->width() << "x" << w->height();
        }
    }
}

// Controls of one parent that share more than a border line on purpose.
std::set<std::pair<QString, QString>> MeantOverlaps() {
    std::set<std::pair<QString, QString>> meant = {
        // Alternatives at one spot: the two pages over the start-up notice,
        // the overlays over the clock, logo and contact line, the sound buttons.
        {"LabelStartInit", "PanelVisual"},
        {"LabelStartInit", "PanelTanks"},
        {"PanelVisual", "PanelTanks"},
        {"BtnEnabledSound", "BtnDisabledSound"},
        {"PanelDiscret", "PanelSetup"},
        {"PanelDiscret", "PanelBlock"},
        {"PanelSetup", "PanelBlock"},
        // Conveyors, the fan of silo 1, the pipes and two number labels meet
        // the elevator, whose box is much wider than its shaft.
        {"Noria1", "Conveyor1"},
        {"Noria1", "Conveyor3"},
        {"Noria1", "Conveyor4"},
        {"Noria1", "Fan1"},
        {"Noria1", "Pipe9"},
        {"Noria1", "LabelN1"},
        {"Noria1", "LabelF1"},
        // Chutes join their conveyors, the vessel and each other.
        {"Conveyor3", "Pipe2"},
        {"Conveyor4", "Pipe3"},
        {"Image3", "Pipe1"},
        {"Pipe4", "PipeTurn1"},
        {"PipeTurn1", "Label44"},
        // The hopper stands in the truck dump picture.
        {"Image2", "Silo6"},
        // The opening cell lies over the right end of the error line.
        {"CurrentError", "CurrentUngle"},
    };
    for (const char* overlay : {"PanelDiscret", "PanelSetup", "PanelBlock"}) {
        for (const char* covered : {"SysTime", "Image1", "Label1"})
            meant.insert({covered, overlay});
    }
    for (int w = 1; w <= 3; ++w) {
        meant.insert({QString("VagonShadow%1").arg(w), QString("Vagon%1").arg(w)});
    }
    // A silo carries its number, gauge and zone lamps; the lamps of a zone
    // pair share their corner.
    for (int n = 1; n <= 4; ++n) {
        const QString silo = QString("Silo%1").arg(n);
        for (const char* part : {"LabelSilo", "Level", "AH", "WH", "AL", "WL"}) {
            meant.insert({silo, QString("%1%2").arg(part).arg(n)});
        }
        meant.insert({QString("AH%1").arg(n), QString("WH%1").arg(n)});
        meant.insert({QString("AL%1").arg(n), QString("WL%1").arg(n)});
    }
    return meant;
}

// Frames lie around (or, as the red plate, under) their groups, and
// neighbours may share a border line; anything else on top of another control
// of its parent is listed above.
TEST_F(Layout, ControlsOfARegionDoNotOverlapUnlessMeantTo) {
    const auto meant = MeantOverlaps();
    for (const Region& region : Regions()) {
        for (size_t i = 0; i < region.table.size(); ++i) {
            for (size_t j = i + 1; j < region.table.size(); ++j) {
                const console::Control& first = region.table[i];
                const console::Control& second = region.table[j];
                if (first.kind == console::Kind::Frame || first.kind == console::Kind::Plate)
                    continue;
                QWidget* a = Find(first.name);
                QWidget* b = Find(second.name);
                if (a->parentWidget() != b->parentWidget()) continue;
                const QRect common = a->geometry().intersected(b->geometry());
                if (common.width() <= 1 || common.height() <= 1) continue;
                EXPECT_TRUE(meant.count({first.name, second.name}) == 1)
                    << region.name << ": " << first.name << " overlaps " << second.name;
            }
        }
    }
}

// Every device symbol and number label the device table names, and every
// route entry the route table names, is on the window with the right tag,
// and a number label shows the end of its device's name ("М3", "2.2").
TEST_F(Layout, EveryControlThePlantNamesExists) {
    plant::Plant tables;
    plant::FillDefinitions(tables);
    for (int d = 1; d <= plant::kDeviceCount; ++d) {
        const plant::TDiscret& dev = tables.Dev[d];
        auto* symbol =
            Form().findChild<symbols::TDeviceSymbol*>(QString::fromStdString(dev.Symbol));
        ASSERT_NE(symbol, nullptr) << dev.Symbol;
        EXPECT_EQ(symbol->Tag(), d) << dev.Symbol;
        EXPECT_EQ(qobject_cast<symbols::TLatch*>(symbol) != nullptr, dev.Kind == plant::kKindValve)
            << dev.Symbol;
        auto* label = Form().findChild<QLabel*>(QString::fromStdString(dev.NameLabel));
        ASSERT_NE(label, nullptr) << dev.NameLabel;
        EXPECT_TRUE(QString::fromStdString(dev.Name).endsWith(" " + label->text())) << dev.Name;
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        auto* entry =
            Form().findChild<console::TPanel*>(QString::fromStdString(tables.Route[r].Panel));
        ASSERT_NE(entry, nullptr) << tables.Route[r].Panel;
        EXPECT_EQ(entry->Tag(), r);
    }
}

// The controller's and the wagon timer's screen adapters find their controls
// by name and kind; a missing or retyped one would silently show nothing.
TEST_F(Layout, EveryControlTheScreenAdaptersWriteExistsWithItsKind) {
    for (const char* pipe : {"Pipe1", "Pipe2", "Pipe3", "Pipe4", "Pipe9"}) {
        ExpectControl<symbols::TPipe>(pipe);
    }
    ExpectControl<symbols::TPipeTurn>("PipeTurn1");
    for (int n = 1; n <= 4; ++n) {
        ExpectControl<console::TPanel>(QString("LevelValue%1").arg(n));
        ExpectControl<console::TGauge>(QString("Level%1").arg(n));
        for (const char* cell : {"FillingR", "MassaR", "IndR"}) {
            ExpectControl<QLabel>(QString("%1%2").arg(cell).arg(n));
        }
        for (const char* lamp : {"AH", "WH", "WL", "AL"}) {
            ExpectControl<console::TShape>(QString("%1%2").arg(lamp).arg(n));
        }
        ExpectControl<symbols::TSilo>(QString("Silo%1").arg(n));
    }
    for (int w = 1; w <= 3; ++w) ExpectControl<QWidget>(QString("Vagon%1").arg(w));
    ExpectControl<QLabel>("Sum1_4");
    ExpectControl<console::TPanel>("PanelSpeed");
    ExpectControl<QLabel>("TabloTemperature");
    ExpectControl<QLabel>("TabloStop");
    for (const char* board : {"LEDTablo1", "LEDTablo2", "LEDTablo3"}) {
        ExpectControl<symbols::TLEDTablo>(board);
    }
}

// A control, where it sits in its parent, and its text (null: not checked):
// anchors of the layout; the tables themselves are checked above.
struct Placed {
    const char* name;
    QRect box;
    const char* text;
};
void PrintTo(const Placed& p, std::ostream* os) {
    *os << p.name;
}

class ControlPlacement : public MainWindow, public ::testing::WithParamInterface<Placed> {};

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

TEST_P(ControlPlacement, SitsAtItsPlaceWithItsText) {
    const Placed p = GetParam();
    QWidget* w = Find(p.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), p.box);
    if (p.text) {
        EXPECT_EQ(TextOf(w), QString::fromUtf8(p.text));
    }
}

INSTANTIATE_TEST_SUITE_P(Anchors, ControlPlacement,
                         ::testing::Values(Placed{"PanelVisual", {0, 0, 1016, 500}, nullptr},
                                           Placed{"PanelOfWindow", {0, 500, 1016, 178}, nullptr},
                                           Placed{"PanelMessage", {678, 0, 338, 178}, nullptr},
                                           Placed{"PanelOfButton", {0, 678, 1016, 24}, nullptr},
                                           Placed{"StatusBar", {0, 702, 1016, 19}, nullptr},
                                           Placed{"PanelDiscret", {1, 17, 338, 159}, nullptr},
                                           Placed{"BtnDiscretClose", {269, 113, 65, 41}, "Выход"},
                                           Placed{"BtnExit", {930, 2, 80, 20}, "Выход"},
                                           Placed{"Noria1", {481, 5, 96, 460}, nullptr},
                                           Placed{"Latch_8", {947, 176, 20, 20}, nullptr},
                                           Placed{"Panel1", {267, 110, 482, 281}, nullptr}));

TEST_F(MainWindow, EverythingChangeableStartsHiddenOrAtRest) {
    for (const char* name :
         {"PanelVisual", "PanelTanks", "PanelDiscret", "PanelSetup", "PanelBlock",
          "BtnDisabledSound", "Vagon1", "Vagon2", "Vagon3", "AH1", "WH2", "WL3", "AL4"}) {
        EXPECT_TRUE(Find(name)->isHidden()) << name;
    }
    for (const char* name : {"BtnEnabledSound", "VagonShadow1", "BtnWhatTis", "LabelStartInit"}) {
        EXPECT_FALSE(Find(name)->isHidden()) << name;
    }
    EXPECT_TRUE(SoundOn());
    EXPECT_EQ(Find<QLabel>("IndR1")->text(), "НОРМА");
    EXPECT_EQ(Find<QLabel>("Label56")->text(), "Ok");
    EXPECT_EQ(Find<QLabel>("Label28")->text(), "Пшеница\nфуражная");
    EXPECT_EQ(Find<QLabel>("MassaR4")->text(), "0.0");
}

TEST_F(MainWindow, SilosHaveTheirRoofs) {
    const std::vector<std::pair<const char*, int>> covers = {
        {"Silo1", 20}, {"Silo4", 20}, {"Silo6", 0}, {"Silo9", 20}};
    for (const auto& [name, cover] : covers) {
        EXPECT_EQ(Find<symbols::TSilo>(name)->Cover(), cover) << name;
        EXPECT_EQ(Find<symbols::TSilo>(name)->Color(), 0x000000u) << name;
    }
}

TEST_F(MainWindow, SoundIsOffWhileTheCrossedButtonShows) {
    Find("BtnDisabledSound")->show();
    EXPECT_FALSE(SoundOn());
}

TEST_F(MainWindow, TimersHaveTheirIntervalsAndOnlyTheClockRuns) {
    const std::vector<std::pair<const char*, int>> timers = {{"TimerSysTime", 1000},
                                                             {"TimerInitialize", 1000},
                                                             {"TimerEmulCPU", 300},
                                                             {"TimerVagonOn", 1000},
                                                             {"TimerSaveState", 60000}};
    for (const auto& [name, interval] : timers) {
        auto* timer = Find<QTimer>(name);
        EXPECT_EQ(timer->interval(), interval) << name;
        EXPECT_EQ(timer->isActive(), std::string(name) == "TimerSysTime") << name;
    }
}

TEST_F(MainWindow, JournalLivesOnTheSystemTab) {
    auto* pages = Find<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Системные");
    EXPECT_EQ(pages->tabText(1), "Программные");
    EXPECT_EQ(pages->currentWidget(), Find("TabSheet1"));
    EXPECT_EQ(Find("RichMessage")->parentWidget(), Find("TabSheet1"));
}

TEST_F(MainWindow, ProductChoosersAreDisabled) {
    auto* first = Find<QComboBox>("ComboBox1");
    auto* second = Find<QComboBox>("ComboBox2");
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(second->isEnabled());
    EXPECT_EQ(first->currentText(), " --- Выберите продукт ---");
    EXPECT_EQ(second->currentText(), "  Пшеница фуражная");
    EXPECT_EQ(second->count(), 3);
}

TEST_F(MainWindow, PasswordShowsOnlyStars) {
    EXPECT_EQ(Find<QLineEdit>("Edit1")->echoMode(), QLineEdit::Password);
}

TEST_F(MainWindow, HelpTitleHoldsTheIntroduction) {
    auto* title = Find<symbols::TTitle>("Title1");
    EXPECT_EQ(title->Interval(), 60);
    EXPECT_EQ(title->BevelWidth(), 2);
    ASSERT_GT(title->Items().size(), 100);
    EXPECT_EQ(title->Items().front(), "Данная программа");
    EXPECT_TRUE(title->Items().contains("\"Силосы\""));
    EXPECT_EQ(title->Font().PixelHeight, 19);
    EXPECT_EQ(title->Font().Color, 0xA00000u);
}

TEST_F(MainWindow, BoardsShowSixCharactersWithOneDecimal) {
    for (const char* name : {"LEDTablo1", "LEDTablo2", "LEDTablo3"}) {
        auto* board = Find<symbols::TLEDTablo>(name);
        EXPECT_EQ(board->NumChars(), 6) << name;
        EXPECT_EQ(board->Decimal(), 1) << name;
        EXPECT_EQ(board->ValueType(), symbols::TValueType::vtFloat) << name;
        EXPECT_EQ(board->OnBrush()->Color(), 0x00FF00u) << name;
        EXPECT_EQ(board->OffBrush()->Color(), 0x484848u) << name;
    }
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
