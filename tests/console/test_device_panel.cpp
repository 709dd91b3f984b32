// The device panel alone: a plant filled as at start-up, the panel in an
// overlay of its own, and the diagram's number labels as plain labels.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>

#include "console/DevicePanel.h"
#include "console/NumberLabels.h"
#include "console/WidgetColours.h"
#include "plant/Plant.h"
#include "tests/console/FakeServices.h"
#include "tests/support/HeadlessMain.h"

namespace console_test {
namespace {

constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kWhite = 0xFFFFFF;

// The diagram's part: a label for every number label the device table names.
class FakeNumberLabels : public console::NumberLabels {
public:
    explicit FakeNumberLabels(const plant::Plant& plant) {
        for (int d = 1; d <= plant::kDeviceCount; ++d) {
            const std::string& name = plant.Dev[d].NameLabel;
            auto* label = new QLabel(QString::fromStdString(name), &page_);
            console::SetFontColour(label, kBlack);
            labels_[name] = label;
        }
    }
    QWidget* NumberLabel(const std::string& name) const override {
        const auto found = labels_.find(name);
        return found == labels_.end() ? nullptr : found->second;
    }

private:
    QWidget page_;
    std::map<std::string, QLabel*> labels_;
};

class DevicePanel : public ::testing::Test {
protected:
    void SetUp() override {
        plant::FillDefinitions(plant);
        labels = std::make_unique<FakeNumberLabels>(plant);
        overlay = new console::TPanel(&window);
        overlay->hide();
        panel =
            std::make_unique<console::DevicePanel>(*overlay, fakes.Over(plant, separator), *labels);
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* w = overlay->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
    QString Text(const char* name) { return Find<QLabel>(name)->text(); }
    void Refresh() { panel->TimerReadStateTimer(); }
    QTimer* Timer() { return panel->findChild<QTimer*>("TimerReadState"); }
    platform::TColor LabelColour(const char* name) {
        return console::FontColour(labels->NumberLabel(name));
    }

    char separator = '.';
    plant::Plant plant;
    FakeServices fakes;
    QWidget window;
    console::TPanel* overlay = nullptr;
    std::unique_ptr<FakeNumberLabels> labels;
    std::unique_ptr<console::DevicePanel> panel;
};

TEST_F(DevicePanel, ValveThenConveyorSwitchesTheButtonCaptions) {
    ASSERT_NE(Timer(), nullptr);
    EXPECT_EQ(Timer()->interval(), 500);
    EXPECT_FALSE(Timer()->isActive());

    panel->DeviceControlClick(1);
    EXPECT_EQ(plant.SelectedDev, 1);
    EXPECT_FALSE(overlay->isHidden());
    EXPECT_TRUE(Timer()->isActive());
    EXPECT_EQ(Find<QPushButton>("BtnOn")->text(), "Открыть");
    EXPECT_EQ(Find<QPushButton>("BtnOff")->text(), "Закрыть");
    EXPECT_TRUE(Find("BtnStop")->isEnabled());

    panel->DeviceControlClick(13);
    EXPECT_EQ(plant.SelectedDev, 13);
    EXPECT_EQ(Find<QPushButton>("BtnOn")->text(), "Включить");
    EXPECT_EQ(Find<QPushButton>("BtnOff")->text(), "Выключить");
    EXPECT_FALSE(Find("BtnStop")->isEnabled());
}

TEST_F(DevicePanel, RefreshShowsNameModeAndStateOfTheDevice) {
    panel->DeviceControlClick(18);
    EXPECT_EQ(Text("CurrentDevName"), "");  // the values come with the refresh
    Refresh();
    EXPECT_EQ(Text("CurrentDevName"), "Нория 1.1");
    EXPECT_EQ(Text("CurrentMode"), "Местный");
    EXPECT_EQ(Text("CurrentState"), "Выкл.");
    EXPECT_TRUE(Find("CurrentUngle")->isHidden());

    plant.Dev[18].Mode = plant::kModeRepair;
    plant.Dev[18].State = plant::kStateAcceleration;
    Refresh();
    EXPECT_EQ(Text("CurrentMode"), "Ремонтн.");
    EXPECT_EQ(Text("CurrentState"), "Вкл./Выкл.");
}

struct OpeningCase {
    int ungle;
    int32_t state;  // as the controller derives it from the angle
    char separator;
    const char* text;
    const char* stateText;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << "angle " << c.ungle << " with '" << c.separator << '\'';
}

class ValveOpening : public DevicePanel, public ::testing::WithParamInterface<OpeningCase> {
protected:
    void SetUp() override {
        separator = GetParam().separator;
        DevicePanel::SetUp();
    }
};

TEST_P(ValveOpening, ShowsPercentWithTheSystemSeparator) {
    const OpeningCase c = GetParam();
    plant.Dev[4].Ungle = c.ungle;
    plant.Dev[4].State = c.state;
    panel->DeviceControlClick(4);
    Refresh();
    EXPECT_FALSE(Find("CurrentUngle")->isHidden());
    EXPECT_EQ(Text("CurrentUngle"), c.text);
    EXPECT_EQ(Text("CurrentState"), c.stateText);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, ValveOpening,
    ::testing::Values(OpeningCase{0, plant::kStateClosed, '.', "0.0%", "Закр."},
                      OpeningCase{30, plant::kStateIntermediate, '.', "33.3%", "Промежут."},
                      OpeningCase{45, plant::kStateIntermediate, '.', "50.0%", "Промежут."},
                      OpeningCase{45, plant::kStateIntermediate, ',', "50,0%", "Промежут."},
                      OpeningCase{90, plant::kStateOpen, '.', "100.0%", "Откр."}));

TEST_F(DevicePanel, NumberLabelBlinksAndThePreviousOneIsLeftBlack) {
    panel->DeviceControlClick(1);
    Refresh();
    EXPECT_EQ(LabelColour("LabelM1"), kWhite);
    Refresh();
    EXPECT_EQ(LabelColour("LabelM1"), kBlack);
    Refresh();
    ASSERT_EQ(LabelColour("LabelM1"), kWhite);

    panel->DeviceControlClick(13);
    EXPECT_EQ(LabelColour("LabelM1"), kBlack);
    Refresh();
    EXPECT_EQ(LabelColour("LabelC1"), kWhite);
    EXPECT_EQ(LabelColour("LabelM1"), kBlack);
}

TEST_F(DevicePanel, ExitClosesThePanelAndStopsTheBlink) {
    panel->DeviceControlClick(9);
    Refresh();
    Click("BtnDiscretClose");
    EXPECT_EQ(plant.SelectedDev, 0);
    EXPECT_TRUE(overlay->isHidden());
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_EQ(LabelColour("LabelF1"), kBlack);
}

struct ButtonCode {
    const char* button;
    int32_t code;
};
void PrintTo(const ButtonCode& b, std::ostream* os) {
    *os << b.button;
}

class CommandButton : public DevicePanel, public ::testing::WithParamInterface<ButtonCode> {};

TEST_P(CommandButton, PostsItsCodeForTheOpenDevice) {
    panel->DeviceControlClick(6);
    Click(GetParam().button);
    EXPECT_EQ(plant.Dev[6].Command, GetParam().code);
    EXPECT_EQ(plant.Dev[6].RouteCommand, 0);  // the operator's slot, not a route's
    EXPECT_EQ(plant.Dev[5].Command, 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, CommandButton,
                         ::testing::Values(ButtonCode{"BtnOn", 1}, ButtonCode{"BtnOff", 2},
                                           ButtonCode{"BtnStop", 3}, ButtonCode{"BtnReset", 10},
                                           ButtonCode{"BtnLocal", 20}, ButtonCode{"BtnRemote", 21},
                                           ButtonCode{"BtnRepair", 23}));

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
