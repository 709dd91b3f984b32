#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "console/WidgetColours.h"
#include "platform/services/PointerConfinement.h"
#include "symbols/LEDTablo.h"
#include "symbols/Title.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

const QColor kBlue(0x00, 0x00, 0xFF);

// Remembers whether the pointer is held and in which area.
class FakeConfinement : public platform::PointerConfinement {
public:
    void Confine(QWidget* area) override {
        this->area = area;
        ++confines;
    }
    void Release() override {
        area = nullptr;
        ++releases;
    }
    QWidget* area = nullptr;
    int confines = 0;
    int releases = 0;
};

class SystemCommands : public FrmMainTest {
protected:
    SystemCommands() { services.confinement = &confinement; }

    void Press(const char* name) { Find<QAbstractButton>(name)->click(); }
    bool Shown(const char* name) { return !Find(name)->isHidden(); }

    FakeConfinement confinement;
};

TEST_F(SystemCommands, BlockThenUnblockWithAnEmptyField) {
    Press("BtnBlock");
    EXPECT_TRUE(Shown("PanelBlock"));
    EXPECT_EQ(confinement.area, Find("PanelBlock"));

    Press("Button1");
    EXPECT_FALSE(Shown("PanelBlock"));
    EXPECT_EQ(confinement.area, nullptr);
    EXPECT_EQ(confinement.releases, 1);
    EXPECT_EQ(JournalLines(), (QStringList{"06.12.2026 14:05:09 Блокировка системы",
                                           "06.12.2026 14:05:09 Разблокирование системы"}));
    EXPECT_EQ(JournalColourOf("Блокировка системы"), kBlue);
    EXPECT_EQ(JournalColourOf("Разблокирование системы"), kBlue);
}

TEST_F(SystemCommands, UnblockIgnoresAndKeepsWhatThePasswordFieldHolds) {
    Press("BtnBlock");
    Find<QLineEdit>("Edit1")->setText("не тот пароль");
    Press("Button1");
    EXPECT_FALSE(Shown("PanelBlock"));
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), "не тот пароль");
}

TEST_F(SystemCommands, BlockingTwiceThenOneUnblockFreesThePointer) {
    Press("BtnBlock");
    Press("BtnBlock");
    EXPECT_EQ(confinement.confines, 2);
    Press("Button1");
    EXPECT_EQ(confinement.area, nullptr);
    EXPECT_EQ(JournalLines().size(), 3);
}

TEST_F(SystemCommands, BlockPanelLiesOverTheOtherOverlays) {
    Press("BtnSetup");
    Press("BtnBlock");
    const QWidget* block = Find("PanelBlock");
    QWidget* top = block->parentWidget()->childAt(block->geometry().center());
    EXPECT_TRUE(top == block || block->isAncestorOf(top));
}

TEST_F(SystemCommands, SoundSwitchOffAndOnAgain) {
    EXPECT_TRUE(SoundOn());
    Press("BtnEnabledSound");
    EXPECT_FALSE(SoundOn());
    EXPECT_TRUE(Shown("BtnDisabledSound"));
    Press("BtnDisabledSound");
    EXPECT_TRUE(SoundOn());
    EXPECT_FALSE(Shown("BtnDisabledSound"));
    EXPECT_TRUE(JournalLines().join("").isEmpty());
}

TEST_F(SystemCommands, ExitAnsweredNoChangesNothing) {
    Form().show();
    Press("BtnExit");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Завершение программы");
    EXPECT_EQ(messages.shown[0].text, "Вы действительно хотите завершить работу программы?");
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Question);
    EXPECT_TRUE(Form().isVisible());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(StatePath())));
}

TEST_F(SystemCommands, ExitAnsweredYesClosesTheWindowAndWritesTheStateFile) {
    RunStartup();
    Form().show();
    messages.answer = [] { return platform::MsgResult::Yes; };
    Press("BtnExit");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(StatePath())));
}

TEST_F(SystemCommands, ExitThatCannotSaveWaitsForLeaveUnsaved) {
    services.statePath = dir.filePath("no-such-folder/GrainTerminal.INI").toStdString();
    RunStartup();
    Form().show();
    messages.answer = [] { return platform::MsgResult::Yes; };
    Press("BtnExit");
    EXPECT_TRUE(Form().isVisible());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "Unable to write to " + services.statePath);

    // The next "Выход" asks whether to close without saving and says what is lost.
    messages.answer = [] { return platform::MsgResult::No; };
    Press("BtnExit");
    EXPECT_TRUE(Form().isVisible());
    ASSERT_EQ(messages.shown.size(), 3u);
    const auto& question = messages.shown[2];
    EXPECT_EQ(question.title, "Завершение программы");
    EXPECT_EQ(question.buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(question.text, "Не удалось сохранить состояние установки в файл\r" +
                                 services.statePath +
                                 ".\r\rЗавершить работу программы без сохранения?\r"
                                 "Будут потеряны все изменения с 06.12.2026 14:05:09:\r"
                                 "режимы и состояния оборудования, положения задвижек,\r"
                                 "состояния маршрутов, запасы зерна в силосах\r"
                                 "и отгруженный на судно тоннаж.");

    messages.answer = [] { return platform::MsgResult::Yes; };
    Press("BtnExit");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(services.statePath)));
}

TEST_F(SystemCommands, OpeningSetupClosesTheDevicePanelAndStopsTheBlink) {
    RunStartup();
    QTest::mouseClick(Find("Noria1"), Qt::LeftButton);
    PanelRefresh();  // the label turns white
    ASSERT_EQ(console::FontColour(Find("LabelN1")), 0xFFFFFFu);

    Press("BtnSetup");
    EXPECT_FALSE(Shown("PanelDiscret"));
    EXPECT_TRUE(Shown("PanelSetup"));
    EXPECT_EQ(Form().plant().SelectedDev, 0);
    EXPECT_FALSE(PanelTimer()->isActive());
    EXPECT_EQ(console::FontColour(Find("LabelN1")), 0x000000u);
}

TEST_F(SystemCommands, OpeningTheDevicePanelHidesTheSetupPanel) {
    RunStartup();
    Press("BtnSetup");
    QTest::mouseClick(Find("Fan2"), Qt::LeftButton);
    EXPECT_FALSE(Shown("PanelSetup"));
    EXPECT_TRUE(Shown("PanelDiscret"));
    EXPECT_EQ(Form().plant().SelectedDev, 10);
}

TEST_F(SystemCommands, CloseHidesTheSetupPanel) {
    Press("BtnSetup");
    Press("BtnSetupClose");
    EXPECT_FALSE(Shown("PanelSetup"));
}

class NotAvailable : public SystemCommands, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotAvailable, ShowsTheNoticeAndNothingElse) {
    Press(GetParam());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(messages.shown[0].text,
              "В демонстрационной версии программы\rданная функция не подключена.");
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::Ok);
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_TRUE(JournalLines().join("").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(SevenButtons, NotAvailable,
                         ::testing::Values("BtnRegistration", "BtnJournal", "BtnBlockSilos",
                                           "BtnBlockMove", "BtnInitPLC", "BtnOptions",
                                           "BtnCalibr"));

TEST_F(SystemCommands, SiloPageAndDiagramPageSwitch) {
    Press("BtnSilosDetail");
    EXPECT_TRUE(Shown("PanelTanks"));
    EXPECT_FALSE(Shown("PanelVisual"));
    Press("BtnVisualization");
    EXPECT_TRUE(Shown("PanelVisual"));
    EXPECT_FALSE(Shown("PanelTanks"));
}

TEST_F(SystemCommands, InformationButtonHiddenUntilTheHelpPassEnds) {
    auto* title = Find<symbols::TTitle>("Title1");
    Press("BtnWhatTis");
    EXPECT_FALSE(Shown("BtnWhatTis"));
    EXPECT_TRUE(title->Running());

    title->Scroll(false);  // the pass ends
    EXPECT_TRUE(Shown("BtnWhatTis"));
    EXPECT_FALSE(title->Running());
}

TEST_F(SystemCommands, ClosingTheWindowDuringAHelpPassDoesNotCallBackIntoIt) {
    Press("BtnWhatTis");
    ASSERT_TRUE(Find<symbols::TTitle>("Title1")->Running());
    form.reset();  // the pass ends in the title's destructor, after the window's own part
    SUCCEED();
}

TEST_F(SystemCommands, InformationButtonComesBackWhenThereIsNoTextToScroll) {
    Find<symbols::TTitle>("Title1")->setItems({});
    Press("BtnWhatTis");
    EXPECT_TRUE(Shown("BtnWhatTis"));
}

TEST_F(SystemCommands, ResetZeroesTheShippedTonnageAndLeavesTheStocksAlone) {
    RunStartup();
    plant::Plant& p = Form().plant();
    p.ShippingMassa = 1234.5;
    ControllerTicks(1);
    ASSERT_EQ(Find<symbols::TLEDTablo>("LEDTablo1")->Value(), 1234.5L);

    Press("BtnResetCount");
    EXPECT_EQ(p.ShippingMassa, 0.0);
    EXPECT_EQ(p.Tank[1], 15000.0);
    EXPECT_EQ(p.Tank[2], 4500.0);
    EXPECT_EQ(p.Tank[3], 11250.0);
    EXPECT_EQ(p.Tank[4], 7500.0);
    ControllerTicks(1);
    EXPECT_EQ(Find<symbols::TLEDTablo>("LEDTablo1")->Value(), 0.0L);
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
