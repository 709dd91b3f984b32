#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "console/Panel.h"
#include "symbols/LEDTablo.h"
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

// A control, where it sits in its parent, and its text (null: not checked).
struct Placed {
    const char* name;
    QRect box;
    const char* text;
};

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

INSTANTIATE_TEST_SUITE_P(
    Regions, ControlPlacement,
    ::testing::Values(Placed{"PanelVisual", {0, 0, 1016, 500}, nullptr},
                      Placed{"PanelTanks", {0, 0, 1016, 500}, nullptr},
                      Placed{"LabelStartInit",
                             {328, 184, 361, 48},
                             "Идет первоначальный сбор данных.\nПожалуйста ждите..."},
                      Placed{"PanelOfWindow", {0, 500, 1016, 178}, nullptr},
                      Placed{"PanelInfo", {0, 0, 338, 178}, nullptr},
                      Placed{"PanelMessage", {678, 0, 338, 178}, nullptr},
                      Placed{"PanelOfButton", {0, 678, 1016, 24}, nullptr},
                      Placed{"StatusBar", {0, 702, 1016, 19}, nullptr}));

INSTANTIATE_TEST_SUITE_P(
    LowerBand, ControlPlacement,
    ::testing::Values(Placed{"PanelAlarm", {45, 36, 249, 52}, nullptr},
                      Placed{"BtnSilosDetail", {59, 110, 100, 20}, "Силосы"},
                      Placed{"BtnVisualization", {179, 110, 100, 20}, "Визуализация"},
                      Placed{"BtnBlockSilos", {27, 153, 131, 20}, "Силосный парк"},
                      Placed{"BtnBlockMove", {179, 153, 131, 20}, "Трансп. оборудование"},
                      Placed{"Image1", {76, 44, 185, 80}, nullptr},
                      Placed{"PanelDiscret", {1, 17, 338, 159}, nullptr},
                      Placed{"PanelSetup", {1, 17, 338, 159}, nullptr},
                      Placed{"PanelBlock", {1, 17, 338, 159}, nullptr},
                      Placed{"BtnBlock", {472, 2, 80, 20}, "Блокировка"},
                      Placed{"BtnRegistration", {668, 2, 80, 20}, "Регистрация"},
                      Placed{"BtnJournal", {756, 2, 80, 20}, "Журналы"},
                      Placed{"BtnSetup", {844, 2, 80, 20}, "Настройки"},
                      Placed{"BtnExit", {930, 2, 80, 20}, "Выход"}));

INSTANTIATE_TEST_SUITE_P(
    OverlayPanels, ControlPlacement,
    ::testing::Values(Placed{"LabelDevName", {4, 19, 169, 13}, "Устройство"},
                      Placed{"CurrentError", {4, 51, 329, 13}, ""},
                      Placed{"CurrentUngle", {253, 51, 79, 13}, ""},
                      Placed{"BtnOn", {8, 88, 80, 20}, "Открыть"},
                      Placed{"BtnStop", {93, 117, 80, 20}, "Остановить"},
                      Placed{"BtnRepair", {178, 130, 80, 20}, "Ремонтный"},
                      Placed{"BtnDiscretClose", {269, 113, 65, 41}, "Выход"},
                      Placed{"BtnInitPLC", {100, 32, 137, 20}, "Инициализация PLC "},
                      Placed{"BtnSetupClose", {100, 128, 137, 20}, "Закрыть"},
                      Placed{"Label3", {29, 23, 281, 17}, "Система  заблокирована"},
                      Placed{"Edit1", {92, 104, 153, 21}, nullptr},
                      Placed{"Button1", {109, 132, 121, 20}, "Разблокировать"}));

INSTANTIATE_TEST_SUITE_P(Diagram, ControlPlacement,
                         ::testing::Values(Placed{"Noria1", {481, 5, 96, 460}, nullptr},
                                           Placed{"Conveyor4", {552, 403, 401, 25}, nullptr},
                                           Placed{"Fan3", {784, 135, 30, 22}, nullptr},
                                           Placed{"Latch_1", {625, 57, 20, 20}, nullptr},
                                           Placed{"Latch_8", {947, 176, 20, 20}, nullptr},
                                           Placed{"Silo4", {921, 76, 70, 80}, nullptr},
                                           Placed{"Level2", {754, 93, 9, 62}, nullptr},
                                           Placed{"LevelValue3", {815, 155, 70, 20}, "0.00"},
                                           Placed{"LEDTablo2", {744, 448, 153, 41}, nullptr},
                                           Placed{"Title1", {8, 8, 211, 297}, nullptr},
                                           Placed{"BtnWhatTis", {37, 136, 137, 25}, "Информация"},
                                           Placed{"BtnResetCount", {360, 440, 75, 25}, "Сброс"},
                                           Placed{"BtnEnabledSound", {968, 456, 33, 33}, nullptr},
                                           Placed{"PanelSpeed", {419, 472, 41, 17}, "0"},
                                           Placed{"Vagon2", {768, 360, 89, 41}, nullptr},
                                           Placed{"Pipe2", {594, 222, 10, 112}, nullptr},
                                           Placed{"PipeTurn1", {316, 365, 16, 16}, nullptr},
                                           Placed{"Image3", {16, 320, 289, 113}, nullptr},
                                           Placed{"Silo6", {878, 289, 41, 17}, nullptr},
                                           Placed{"Panel1", {267, 110, 482, 281}, nullptr},
                                           Placed{"Silo9", {22, 92, 65, 73}, nullptr}));

TEST_F(MainWindow, NumberLabelsSitBesideTheirSymbols) {
    const std::vector<std::pair<const char*, QPoint>> labels = {
        {"LabelN1", {488, 448}}, {"LabelC1", {752, 16}},  {"LabelC5", {792, 336}},
        {"LabelF1", {576, 120}}, {"LabelF4", {897, 120}}, {"LabelM1", {606, 61}},
        {"LabelM8", {969, 180}}};
    for (const auto& [name, at] : labels) EXPECT_EQ(Find(name)->pos(), at) << name;
    EXPECT_EQ(Find<QLabel>("LabelM3")->text(), "М3");
    EXPECT_EQ(Find<QLabel>("LabelF2")->text(), "2.2");
}

TEST_F(MainWindow, EverythingChangeableStartsHiddenOrAtRest) {
    for (const char* name :
         {"PanelVisual", "PanelTanks", "PanelDiscret", "PanelSetup", "PanelBlock",
          "BtnDisabledSound", "Vagon1", "Vagon2", "Vagon3", "AH1", "WH2", "WL3", "AL4"}) {
        EXPECT_TRUE(Find(name)->isHidden()) << name;
    }
    for (const char* name : {"BtnEnabledSound", "VagonShadow1", "BtnWhatTis", "LabelStartInit"}) {
        EXPECT_FALSE(Find(name)->isHidden()) << name;
    }
    EXPECT_TRUE(Form().SoundOn());
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
    EXPECT_FALSE(Form().SoundOn());
}

TEST_F(MainWindow, TimersHaveTheirIntervalsAndOnlyTheClockRuns) {
    const std::vector<std::pair<const char*, int>> timers = {{"TimerSysTime", 1000},
                                                             {"TimerInitialize", 1000},
                                                             {"TimerReadState", 500},
                                                             {"TimerEmulCPU", 300},
                                                             {"TimerVagonOn", 1000}};
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
    return console_test::RunTests(argc, argv);
}
