#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "console/EquipmentModel.h"
#include "console/EquipmentWindow.h"
#include "tests/console/FakeServices.h"
#include "tests/support/HeadlessMain.h"

// The equipment window over an archive that grain-sim recorded of a known
// history: route 1 run three times for known lengths, valve М2 stroked twice
// by the operator, one trip of conveyor 3.2 with its alarm reset. Each figure
// is what the history implies, counted in controller cycles of 300 ms.
namespace {

using console::EquipmentModel;
using console::EquipmentWindow;

constexpr int64_t kStartMs = 1'781'258'400'000;  // 2026-06-12 10:00 UTC
constexpr int64_t kCycleMs = 300;

// Route 1 starts conveyor 3.3, conveyor 3.2 and valve М2 in this order and
// stops them the other way round. Its start command taken in cycle c and its
// stop command in cycle s = c + hold: conveyor 3.3 runs from c + 4 (at full
// speed; journalled a cycle later) until it stands still in s + 44, conveyor
// 3.2 from c + 10 until s + 38, and М2 stands open from c + 45 until its close
// moves it in s + 3. Every device of the route takes four commands a run: Auto
// mode, on or open, off or close, Remote mode.
constexpr int kHolds[] = {100, 200, 300};
constexpr int kAfterStop = 60;  // the stop sequence takes 45 cycles

const char* const kScript =
    "route 1 start\ntick 100\nroute 1 stop\ntick 60\n"
    "route 1 start\ntick 200\nroute 1 stop\ntick 60\n"
    "route 1 start\ntick 300\nroute 1 stop\ntick 60\n"
    // М2, left in Remote mode by the route: open, 31 cycles to open, then
    // close; it stands open from o + 31 until o + 42.
    "dev 2 1\ntick 40\ndev 2 2\ntick 40\n"
    // Conveyor 3.2 switched on in cycle p runs from p + 2; it trips in p + 10
    // and stops at once; the reset is refused in p + 20 while the fault
    // stands, the fault cleared in p + 22 and the reset taken in p + 24.
    "dev 14 1\ntick 10\nfault 14 trip\ntick 10\ndev 14 10\ntick 2\n"
    "fault 14 clear\ntick 2\ndev 14 10\ntick 2\n";

int64_t Cycles(int count) {
    return count * kCycleMs;
}

class EquipmentWindowTest : public testing::Test {
protected:
    EquipmentWindowTest() {
        const std::string script = dir_.filePath("history.txt").toStdString();
        std::ofstream(script) << kScript;
        const std::string command = std::string("'") + GRAIN_SIM + "' --archive '" + Path() +
                                    "' --start 2026-06-12T10:00:00Z '" + script + "' > /dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        services_.path = Path();
        services_.now = [] { return QDateTime::fromMSecsSinceEpoch(kStartMs + 3'600'000); };
        services_.decimalSeparator = ',';
        save_.answer = dir_.filePath("table.csv").toStdString();
        services_.saveDialog = &save_;
    }

    std::string Path() const { return dir_.filePath("GrainTerminal.db").toStdString(); }

    // The window over the hour from 10:00 UTC, which holds the whole history.
    EquipmentWindow& Window() {
        if (window_) return *window_;
        window_ = std::make_unique<EquipmentWindow>(services_);
        QSignalSpy loaded(window_.get(), &EquipmentWindow::loaded);
        window_->Open();
        EXPECT_TRUE(loaded.wait(10000));
        window_->findChild<QComboBox*>("ComboEquipmentRange")->setCurrentText("Период…");
        window_->findChild<QDateTimeEdit*>("EditEquipmentFrom")
            ->setDateTime(QDateTime::fromMSecsSinceEpoch(kStartMs));
        window_->findChild<QDateTimeEdit*>("EditEquipmentTo")
            ->setDateTime(QDateTime::fromMSecsSinceEpoch(kStartMs + 3'600'000));
        window_->findChild<QPushButton*>("BtnEquipmentShow")->click();
        EXPECT_TRUE(loaded.wait(10000));
        return *window_;
    }

    // The figure of device `dev` in `column`, as the table sorts it.
    QVariant Value(int dev, int column) {
        return Window().Model().index(dev - 1, column).data(EquipmentModel::kValueRole);
    }
    QString Text(int dev, int column) {
        return Window().Model().index(dev - 1, column).data().toString();
    }

    QTemporaryDir dir_;
    console_test::AnsweredSave save_;
    console::ArchiveViewServices services_;
    std::unique_ptr<EquipmentWindow> window_;
};

TEST_F(EquipmentWindowTest, EveryFigureIsWhatTheHistoryImplies) {
    ASSERT_EQ(Window().Model().Figures().error, "");
    ASSERT_EQ(Window().Model().Figures().fromMs, kStartMs);

    int conveyor33 = 0, conveyor32 = 0, open = 0;
    for (const int hold : kHolds) {
        conveyor33 += hold + 44 - 4;
        conveyor32 += hold + 38 - 10;
        open += hold + 3 - 45;
    }
    conveyor32 += 10 - 2;  // the run that tripped
    open += 42 - 31;       // the operator's opening

    // Conveyor 3.3: three starts, four commands a run.
    EXPECT_EQ(Value(15, EquipmentModel::Starts).toInt(), 3);
    EXPECT_EQ(Value(15, EquipmentModel::Running).toLongLong(), Cycles(conveyor33));
    EXPECT_EQ(Text(15, EquipmentModel::Running), "0:03:36");
    EXPECT_EQ(Value(15, EquipmentModel::Taken).toInt(), 12);
    EXPECT_EQ(Value(15, EquipmentModel::Refused).toInt(), 0);
    EXPECT_EQ(Value(15, EquipmentModel::Faults).toInt(), 0);
    EXPECT_EQ(Text(15, EquipmentModel::Strokes), "");
    EXPECT_EQ(Text(15, EquipmentModel::LastState), "ВЫКЛЮЧЕНО");

    // Conveyor 3.2: the route's three starts and the operator's, whose run the
    // trip ended; the alarm lasts from the trip to the reset taken.
    EXPECT_EQ(Value(14, EquipmentModel::Starts).toInt(), 4);
    EXPECT_EQ(Value(14, EquipmentModel::Running).toLongLong(), Cycles(conveyor32));
    EXPECT_EQ(Value(14, EquipmentModel::Taken).toInt(), 12 + 2);
    EXPECT_EQ(Value(14, EquipmentModel::Refused).toInt(), 1);
    EXPECT_EQ(Value(14, EquipmentModel::Faults).toInt(), 1);
    EXPECT_EQ(Value(14, EquipmentModel::Alarm).toLongLong(), Cycles(24 - 10));
    EXPECT_EQ(Text(14, EquipmentModel::Alarm), "0:00:04");
    EXPECT_EQ(Text(14, EquipmentModel::LastState), "АВАРИЯ");

    // Valve М2: opened and closed by each run and once by the operator: eight
    // arrivals at an end, of which the first is no stroke, since where the
    // valve came from is not in the archive.
    EXPECT_EQ(Value(2, EquipmentModel::Strokes).toInt(), 7);
    EXPECT_DOUBLE_EQ(Value(2, EquipmentModel::OpenShare).toDouble(),
                     static_cast<double>(Cycles(open)) / 3'600'000.0);
    EXPECT_EQ(Value(2, EquipmentModel::Taken).toInt(), 12 + 2);
    EXPECT_EQ(Text(2, EquipmentModel::Running), "");
    EXPECT_EQ(Text(2, EquipmentModel::LastState), "ЗАКРЫТО");

    // Valve М1 took no part.
    for (const int column : {EquipmentModel::Strokes, EquipmentModel::Taken,
                             EquipmentModel::Refused, EquipmentModel::Faults})
        EXPECT_EQ(Value(1, column).toInt(), 0) << column;
    EXPECT_EQ(Text(1, EquipmentModel::LastChange), "");
}

// A click on a heading sorts the rows by that figure, and the CSV export
// writes the table in the order shown, its headings on one line.
TEST_F(EquipmentWindowTest, TableSortsByAnyColumnAndExportsInThatOrder) {
    QTableView& table = Window().Table();
    table.sortByColumn(EquipmentModel::Starts, Qt::DescendingOrder);
    EXPECT_EQ(table.model()->index(0, EquipmentModel::Name).data().toString(), "Конвейер 3.2");
    EXPECT_EQ(table.model()->index(1, EquipmentModel::Name).data().toString(), "Конвейер 3.3");
    table.sortByColumn(EquipmentModel::Running, Qt::DescendingOrder);
    EXPECT_EQ(table.model()->index(0, EquipmentModel::Name).data().toString(), "Конвейер 3.3");

    Window().findChild<QPushButton*>("BtnEquipmentCsv")->click();
    QFile csv(dir_.filePath("table.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));  // a byte order mark, which decoding drops
    const QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    ASSERT_EQ(lines.size(), 1 + 18 + 1);
    EXPECT_EQ(lines[0].toStdString(),
              "№;Устройство;Наработка, ч:мм:сс;Пуски;Полные ходы;Открыта, %;"
              "Команд принято;Команд отклонено;Неисправности;В аварии, ч:мм:сс;"
              "Последнее изменение;Состояние");
    EXPECT_TRUE(lines[1].startsWith("15;Конвейер 3.3;0:03:36;3;;;12;0;0;0:00:00;"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("14;Конвейер 3.2;")) << lines[2].toStdString();
    EXPECT_EQ(lines[19], "");
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
