#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <cstdint>
#include <fstream>
#include <optional>

#include "archive/Names.h"
#include "archive/Reader.h"
#include "console/ArchiveLink.h"
#include "console/ArchiveModel.h"
#include "console/ArchiveWindow.h"
#include "console/EquipmentModel.h"
#include "console/EquipmentWindow.h"
#include "console/TrendWindow.h"
#include "platform/services/SaveFileDialog.h"
#include "tests/console/FrmMainFixture.h"

// The console with its event archive on: "Журналы" opens the archive window,
// whose filters query the file and whose table follows the journal live;
// blocking the console blocks it; an export writes the entries it shows.
// "Силосный парк" and "Трансп. оборудование" open the trend and equipment
// windows over the same file.

namespace {

using console::ArchiveModel;
using console_test::AnsweredSave;

class ArchiveWindowTest : public console_test::FrmMainTest {
protected:
    void SetUp() override {
        std::ofstream(StatePath()) << "[Archive]\n";
        if (!existing.empty()) std::ofstream(ArchivePath(), std::ios::binary) << existing;
        services.saveDialog = &save;
        RunStartup();
        ASSERT_TRUE(Form().archiveLink().IsOn());
    }

    console::ArchiveWindow& Open() {
        Find<QPushButton>("BtnJournal")->click();
        return *Find<console::ArchiveWindow>("FrmArchive");
    }
    // Whatever was journalled is in the file, and the window has queried it anew.
    void Applied(console::ArchiveWindow& window) {
        ASSERT_TRUE(Form().archiveLink().Flush());
        window.Apply();
    }
    static QString Cell(console::ArchiveWindow& window, int row, int column) {
        return window.Model().index(row, column).data().toString();
    }
    static bool AllHold(console::ArchiveWindow& window, const QString& part) {
        for (int row = 0; row < window.Model().rowCount(); ++row) {
            if (!Cell(window, row, ArchiveModel::Text).contains(part, Qt::CaseInsensitive)) {
                return false;
            }
        }
        return true;
    }

    std::string ArchivePath() const { return dir.filePath("GrainTerminal.db").toStdString(); }

    AnsweredSave save;
    std::string existing;  // what the archive's file holds before start-up
};

class NotAnArchive : public ArchiveWindowTest {
protected:
    NotAnArchive() { existing = "[Dev1]\nMode=1\n" + std::string(5000, '#'); }
};

TEST_F(ArchiveWindowTest, OpensBesideTheConsoleOnceFiltersAndFollowsTheJournal) {
    // A command at the panel names the user of the status bar.
    Form().devicePanel().DeviceControlClick(1);
    Find<QPushButton>("BtnOn")->click();
    ControllerTicks(3);

    console::ArchiveWindow& window = Open();
    Applied(window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    ASSERT_GT(window.Model().rowCount(), 3);
    // Newest first: the start-up's first entry is the last row.
    EXPECT_TRUE(
        Cell(window, window.Model().rowCount() - 1, ArchiveModel::Text).contains("Запуск системы"));
    bool panelCommand = false;
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        if (Cell(window, row, ArchiveModel::Text).contains("М1 Команда управления") &&
            Cell(window, row, ArchiveModel::Source) == "Зернов") {
            panelCommand = true;
        }
    }
    EXPECT_TRUE(panelCommand) << "no entry of the panel's command names the user";

    // A second click raises the same window.
    Open();
    EXPECT_EQ(Form().findChildren<console::ArchiveWindow*>().size(), 1);

    // The search ignores the case of Cyrillic letters.
    Find<QLineEdit>("EditSearch")->setText("зАПУСК СИСТЕМЫ");
    Applied(window);
    ASSERT_EQ(window.Model().rowCount(), 1);
    EXPECT_TRUE(AllHold(window, "Запуск системы"));

    // Kinds: only system entries.
    Find<QLineEdit>("EditSearch")->clear();
    auto* kinds = Find<QListWidget>("ListKinds");
    for (int k = 0; k < kinds->count(); ++k) {
        QListWidgetItem* item = kinds->item(k);
        const bool system =
            item->data(Qt::UserRole).toInt() == static_cast<int>(archive::Kind::System);
        item->setCheckState(system ? Qt::Checked : Qt::Unchecked);
    }
    Applied(window);
    ASSERT_GT(window.Model().rowCount(), 0);
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        EXPECT_EQ(Cell(window, row, ArchiveModel::Kind).toStdString(),
                  archive::KindName(archive::Kind::System));
    }

    // Live: a new entry comes in at the top.
    Find<QPushButton>("BtnBlock")->click();
    ASSERT_TRUE(Form().archiveLink().Flush());
    window.Follow();
    EXPECT_TRUE(Cell(window, 0, ArchiveModel::Text).contains("Блокировка системы"));
    // Blocking the console blocks this window too, until it is unblocked.
    EXPECT_FALSE(window.isEnabled());
    Find<QPushButton>("Button1")->click();
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(ArchiveWindowTest, ExportWritesTheShownEntriesBesideTheArchiveByDefault) {
    console::ArchiveWindow& window = Open();
    Find<QLineEdit>("EditSearch")->setText("Запуск");
    Applied(window);
    save.answer = dir.filePath("export.csv").toStdString();
    Find<QPushButton>("BtnExportCsv")->click();
    EXPECT_EQ(save.asked.rfind(dir.path().toStdString(), 0), 0u) << save.asked;
    QPushButton* button = Find<QPushButton>("BtnExportCsv");
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->isEnabled(); }, 5000));
    std::ifstream in(*save.answer, std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(csv.find("Запуск системы"), std::string::npos);
    EXPECT_EQ(csv.find("зарегистрирован"), std::string::npos);
}

// "Силосный парк" and "Трансп. оборудование" open their windows beside the
// console over its archive, once each: the trend holds the console's own
// samples, and the start-up is marked in the file as a new run of the
// program; blocking the console blocks both windows too.
TEST_F(ArchiveWindowTest, SiloParkAndEquipmentOpenTheirWindowsOverTheConsolesArchive) {
    ControllerTicks(3);
    ASSERT_TRUE(Form().archiveLink().Flush());

    Find<QPushButton>("BtnBlockSilos")->click();
    auto* trend = Find<console::TrendWindow>("FrmTrend");
    QSignalSpy trendLoaded(trend, &console::TrendWindow::loaded);
    ASSERT_TRUE(trendLoaded.wait(10000));
    EXPECT_TRUE(trend->isVisible());
    EXPECT_FALSE(trend->isModal());
    const QCPGraphDataContainer& silo1 = *trend->Plot().GraphOf(0)->data();
    ASSERT_EQ(silo1.size(), 1);  // the clock stands still: one sample period
    EXPECT_EQ(silo1.at(0)->value, Form().plant().Tank[1]);

    Find<QPushButton>("BtnBlockMove")->click();
    auto* equipment = Find<console::EquipmentWindow>("FrmEquipment");
    QSignalSpy equipmentLoaded(equipment, &console::EquipmentWindow::loaded);
    ASSERT_TRUE(equipmentLoaded.wait(10000));
    EXPECT_TRUE(equipment->isVisible());
    EXPECT_EQ(equipment->Model().Figures().error, "");
    EXPECT_EQ(equipment->Model().rowCount(), 18);
    // The start-up's first entry marks a new run, which the figures count from.
    std::string error;
    const auto reader = archive::Reader::Open(ArchivePath(), error);
    ASSERT_TRUE(reader) << error;
    const archive::EventCodes startUp[] = {
        {archive::Kind::System, archive::DetailBit(archive::kStartUp)}};
    std::optional<archive::SubjectEvent> found;
    ASSERT_EQ(reader->NearestSubjectEvent({}, startUp, INT64_MAX, true, found), "");
    EXPECT_TRUE(found);

    // A second click raises the same window.
    Find<QPushButton>("BtnBlockSilos")->click();
    Find<QPushButton>("BtnBlockMove")->click();
    EXPECT_EQ(Form().findChildren<console::TrendWindow*>().size(), 1);
    EXPECT_EQ(Form().findChildren<console::EquipmentWindow*>().size(), 1);

    Find<QPushButton>("BtnBlock")->click();
    EXPECT_FALSE(trend->isEnabled());
    EXPECT_FALSE(equipment->isEnabled());
    Find<QPushButton>("Button1")->click();
    EXPECT_TRUE(trend->isEnabled());
    EXPECT_TRUE(equipment->isEnabled());
}

// A file that is no archive is left as it is; the journal says so once, in
// blue, naming the file, and the console runs on.
TEST_F(NotAnArchive, IsJournalledOnceInBlueAndTheConsoleRunsOn) {
    const std::string text = " Архив событий не записывается: файл не является архивом событий";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return JournalLines().join('\n').contains(QString::fromStdString(text)); }, 5000));
    const QStringList lines = JournalLines();
    EXPECT_EQ(lines.filter(QString::fromStdString(text)).size(), 1)
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.join('\n').contains(QString::fromStdString(ArchivePath())));
    EXPECT_EQ(JournalColourOf("Архив событий не записывается"), QColor(Qt::blue));
    ControllerTicks(10);
    QTest::qWait(100);
    EXPECT_EQ(JournalLines().filter(QString::fromStdString(text)).size(), 1);
    std::ifstream in(ArchivePath(), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
              existing);
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
