#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "archive/Archive.h"
#include "archive/Csv.h"
#include "archive/Reader.h"
#include "console/TrendWindow.h"
#include "tests/console/FakeServices.h"
#include "tests/support/HeadlessMain.h"

// The trend window over an archive of known samples: what it plots, what its
// cursor reads, how far it zooms, what it exports, and how it follows the
// samples coming in.
namespace {

using console::kSeriesCount;
using console::TrendWindow;

constexpr int64_t kNowMs = 1'781'265'600'000;  // 2026-06-12 12:00 UTC
constexpr int kSamples = 360;                  // the last hour, every 10 s

// Sample i, 10 s apart, ending a second before now; each series its own value.
archive::Sample SampleAt(int i) {
    archive::Sample s;
    s.time = {kNowMs - (kSamples - i) * 10'000LL + 9'000, 180};
    s.silo = {15000.0 - i * 0.1, 4500.0 + i * 0.2, 11250.0, 150.0 + i % 7};
    s.total = s.silo[0] + s.silo[1] + s.silo[2] + s.silo[3];
    s.throughput = i % 2 ? 361.0 : 0.0;
    s.shipped = i * 0.3;
    return s;
}

class TrendWindowTest : public testing::Test {
protected:
    TrendWindowTest() {
        archive::Options options;
        options.days = 0;
        archive_ = std::make_unique<archive::Archive>(options);
        EXPECT_TRUE(archive_->Open(Path()));
        for (int i = 0; i < kSamples; ++i) Offer(SampleAt(i));
        EXPECT_TRUE(archive_->Flush());
        services_.path = Path();
        services_.now = [this] { return QDateTime::fromMSecsSinceEpoch(nowMs_); };
        services_.decimalSeparator = ',';
        services_.saveDialog = &save_;
    }

    std::string Path() const { return dir_.filePath("GrainTerminal.db").toStdString(); }
    void Offer(const archive::Sample& sample) {
        archive_->OfferSample(sample);
        expected_.push_back(sample);
    }

    TrendWindow& Window() {
        if (!window_) {
            window_ = std::make_unique<TrendWindow>(services_);
            QSignalSpy loaded(window_.get(), &TrendWindow::loaded);
            window_->resize(1000, 640);
            window_->Open();
            EXPECT_TRUE(loaded.wait(10000));
            window_->Plot().replot();
        }
        return *window_;
    }
    console::TrendPlot& Plot() { return Window().Plot(); }

    // The pixel of the time axis where `keyS` lies, in the lower rect.
    QPoint PixelAt(double keyS) {
        QCPAxis* axis = Plot().TimeAxis();
        return QPoint(static_cast<int>(std::lround(axis->coordToPixel(keyS))),
                      static_cast<int>(axis->axisRect()->center().y()));
    }
    void Wheel(int steps) {
        const QPointF at = PixelAt(Plot().TimeAxis()->range().center());
        for (int i = 0; i < std::abs(steps); ++i) {
            QWheelEvent event(at, Plot().mapToGlobal(at), QPoint(),
                              QPoint(0, steps > 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&Plot(), &event);
        }
    }

    QTemporaryDir dir_;
    int64_t nowMs_ = kNowMs;
    std::unique_ptr<archive::Archive> archive_;
    std::vector<archive::Sample> expected_;
    console::ArchiveViewServices services_;
    console_test::AnsweredSave save_;
    std::unique_ptr<TrendWindow> window_;
};

TEST_F(TrendWindowTest, PlotHoldsEverySampleOfTheRangeInEverySeries) {
    ASSERT_EQ(Window().findChild<QComboBox*>("ComboTrendRange")->currentText(), "24 часа");
    for (int s = 0; s < kSeriesCount; ++s) {
        const QCPGraphDataContainer& data = *Plot().GraphOf(s)->data();
        ASSERT_EQ(data.size(), kSamples) << console::InfoOf(s).name;
        for (int i = 0; i < kSamples; ++i) {
            EXPECT_EQ(data.at(i)->key, static_cast<double>(expected_[i].time.utcMs) / 1000.0);
            EXPECT_NEAR(data.at(i)->value, console::InfoOf(s).value(expected_[i]), 1e-9)
                << console::InfoOf(s).name << " sample " << i;
        }
    }
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().upper, kNowMs / 1000.0);
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().size(), 86400.0);
}

// A click between two samples puts the cursor on the nearer one, and the line
// under the plot reads every series there.
TEST_F(TrendWindowTest, ClickPutsTheCursorOnTheNearestSampleAndReadsEverySeries) {
    Window();
    Plot().TimeAxis()->setRange(expected_[100].time.utcMs / 1000.0,
                                expected_[110].time.utcMs / 1000.0);
    Plot().replot();
    const double between = expected_[104].time.utcMs / 1000.0 + 3.0;  // 104 is 3 s away, 105 7 s
    QTest::mouseClick(&Plot(), Qt::LeftButton, Qt::NoModifier, PixelAt(between));
    ASSERT_TRUE(Plot().CursorKey());
    EXPECT_EQ(*Plot().CursorKey(), expected_[104].time.utcMs / 1000.0);
    for (int s = 0; s < kSeriesCount; ++s)
        EXPECT_NEAR(*Plot().ValueAtCursor(s), console::InfoOf(s).value(expected_[104]), 1e-9);
    const QString time =
        QDateTime::fromMSecsSinceEpoch(expected_[104].time.utcMs).toString("dd.MM.yyyy HH:mm:ss");
    EXPECT_EQ(Window().Readout(),
              "Курсор: " + time +
                  " · Силос №1: 14989,6 т · Силос №2: 4520,8 т · Силос №3: 11250,0 т"
                  " · Силос №4: 156,0 т · Всего в силосах: 30916,4 т"
                  " · Производительность: 0,0 т/ч · Отгружено на судно: 31,2 т");
}

// The wheel zooms the time axis no closer than a minute and no wider than the
// range; a drag pans no further than its ends.
TEST_F(TrendWindowTest, ZoomAndPanStopAtAMinuteAndAtTheRange) {
    Window();
    Wheel(60);
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().size(), console::TrendPlot::kMinSpanS);
    Wheel(-80);
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().size(), 86400.0);
    Wheel(5);
    const double span = Plot().TimeAxis()->range().size();
    ASSERT_LT(span, 86400.0);
    const QPoint from = PixelAt(Plot().TimeAxis()->range().center());
    QTest::mousePress(&Plot(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&Plot(), from + QPoint(900, 0));
    QTest::mouseRelease(&Plot(), Qt::LeftButton, Qt::NoModifier, from + QPoint(900, 0));
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().lower, (kNowMs - 86'400'000) / 1000.0);
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().size(), span);
}

// A click on a legend entry hides its series, a second one shows it; the CSV
// holds the samples in view and the series shown; PNG and PDF are written.
TEST_F(TrendWindowTest, LegendHidesSeriesAndExportsHoldWhatIsInView) {
    Window();
    QCPAbstractLegendItem* total =
        Plot().legend->itemWithPlottable(Plot().GraphOf(static_cast<int>(console::Series::Total)));
    const QPoint onTotal = total->outerRect().center();
    QTest::mouseClick(&Plot(), Qt::LeftButton, Qt::NoModifier, onTotal);
    EXPECT_FALSE(Plot().Shown(static_cast<int>(console::Series::Total)));
    QTest::mouseClick(&Plot(), Qt::LeftButton, Qt::NoModifier, onTotal);
    EXPECT_TRUE(Plot().Shown(static_cast<int>(console::Series::Total)));
    QTest::mouseClick(&Plot(), Qt::LeftButton, Qt::NoModifier, onTotal);

    Plot().TimeAxis()->setRange(expected_[200].time.utcMs / 1000.0,
                                expected_[206].time.utcMs / 1000.0 + 1.0);
    const QString moment = QDateTime::fromMSecsSinceEpoch(kNowMs).toString("yyyy-MM-dd_HHmm");
    for (const auto& [button, format] :
         {std::pair{"BtnTrendCsv", "csv"}, std::pair{"BtnTrendPng", "png"},
          std::pair{"BtnTrendPdf", "pdf"}}) {
        save_.answer = dir_.filePath(format).toStdString();
        Window().findChild<QPushButton*>(button)->click();
        // Offered beside the archive, named after the window and the moment.
        EXPECT_EQ(save_.asked,
                  dir_.filePath("Силосный_парк_" + moment + "." + format).toStdString());
    }

    QFile csv(dir_.filePath("csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString local =
        QDateTime::fromMSecsSinceEpoch(expected_[200].time.utcMs).toString("yyyy-MM-dd HH:mm:ss");
    const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n");
    ASSERT_EQ(lines.size(), 9) << lines.join('\n').toStdString();  // header, 7 rows, end
    EXPECT_EQ(lines[0], QString("\uFEFFВремя;UTC;Силос №1, т;Силос №2, т;Силос №3, т;Силос №4, т;"
                                "Производительность, т/ч;Отгружено на судно, т"));
    EXPECT_EQ(lines[1],
              local + ";" +
                  QString::fromStdString(archive::UtcTimeText(expected_[200].time.utcMs)) +
                  ";14980,0;4540,0;11250,0;154,0;0,0;60,0");
    EXPECT_TRUE(lines[7].endsWith(";14979,4;4541,2;11250,0;153,0;0,0;61,8"))
        << lines[7].toStdString();
    EXPECT_EQ(lines[8], "");

    const QImage png(dir_.filePath("png"), "PNG");
    EXPECT_EQ(png.size(), Plot().size());
    QFile pdf(dir_.filePath("pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_FALSE(QFile::exists(dir_.filePath("pdf.part")));
}

// A custom range of two years keeps the first sample of each stretch of
// 1/300,000 of its length (210 s): the plot holds a bounded number of points
// whatever the range, and the status says that samples were left out.
TEST_F(TrendWindowTest, LongCustomRangeKeepsOneSamplePerStretch) {
    Window();
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(kNowMs);
    const QDateTime from = now.addDays(-730);
    Window().findChild<QComboBox*>("ComboTrendRange")->setCurrentText("Период…");
    Window().findChild<QDateTimeEdit*>("EditTrendFrom")->setDateTime(from);
    Window().findChild<QDateTimeEdit*>("EditTrendTo")->setDateTime(now);
    QSignalSpy loaded(&Window(), &TrendWindow::loaded);
    Window().findChild<QPushButton*>("BtnTrendShow")->click();
    ASSERT_TRUE(loaded.wait(10000));

    const int64_t fromMs =
        Window().findChild<QDateTimeEdit*>("EditTrendFrom")->dateTime().toMSecsSinceEpoch();
    const int64_t stretchMs = (kNowMs - fromMs) / 300'000;
    std::vector<double> kept;
    for (const archive::Sample& sample : expected_) {
        const double key = sample.time.utcMs / 1000.0;
        if (kept.empty() || (sample.time.utcMs - fromMs) / stretchMs !=
                                (static_cast<int64_t>(kept.back() * 1000) - fromMs) / stretchMs)
            kept.push_back(key);
    }
    ASSERT_LT(kept.size(), 20u);
    const QCPGraphDataContainer& data = *Plot().GraphOf(0)->data();
    ASSERT_EQ(static_cast<std::size_t>(data.size()), kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(data.at(static_cast<int>(i))->key, kept[i]);
    EXPECT_TRUE(Window()
                    .findChild<QLabel*>("LabelTrendStatus")
                    ->text()
                    .contains("не больше одной за 211 с"))
        << Window().findChild<QLabel*>("LabelTrendStatus")->text().toStdString();
}

// A sample the archive takes in after the window opened is appended to the
// containers on screen: the earlier points stay as they were, and the view
// that showed the newest moves on with it.
TEST_F(TrendWindowTest, NewSampleExtendsThePlotWithoutReloadingIt) {
    Window();
    const QCPGraphDataContainer* before = Plot().GraphOf(0)->data().data();
    archive::Sample next = SampleAt(kSamples);
    next.time.utcMs = kNowMs + 9'000;
    Offer(next);
    ASSERT_TRUE(archive_->Flush());
    nowMs_ = kNowMs + 10'000;
    Window().Poll();
    EXPECT_EQ(Plot().GraphOf(0)->data().data(), before);
    for (int s = 0; s < kSeriesCount; ++s) {
        const QCPGraphDataContainer& data = *Plot().GraphOf(s)->data();
        ASSERT_EQ(data.size(), kSamples + 1);
        EXPECT_EQ(data.at(kSamples)->key, (kNowMs + 9'000) / 1000.0);
        EXPECT_NEAR(data.at(kSamples)->value, console::InfoOf(s).value(next), 1e-9);
    }
    EXPECT_DOUBLE_EQ(Plot().TimeAxis()->range().upper, (kNowMs + 10'000) / 1000.0);
    Window().Poll();
    EXPECT_EQ(Plot().GraphOf(0)->data()->size(), kSamples + 1);
}

// In the 30-day view a sample moves the picture by a small part of a pixel:
// one with the values of the sample before it draws nothing, one whose stock
// of silo 1 lies outside the pixels the newest column shows draws the plot
// once; the present moving on by a poll does not draw either.
TEST_F(TrendWindowTest, LiveSampleIsDrawnOnlyWhenItChangesThePicture) {
    QSignalSpy loaded(&Window(), &TrendWindow::loaded);
    Window().findChild<QComboBox*>("ComboTrendRange")->setCurrentText("30 суток");
    ASSERT_TRUE(loaded.wait(10000));
    Plot().replot();
    QCoreApplication::processEvents();
    const int drawn = Plot().Drawings();

    archive::Sample quiet = SampleAt(kSamples - 1);
    quiet.time.utcMs = kNowMs + 9'000;
    Offer(quiet);
    ASSERT_TRUE(archive_->Flush());
    nowMs_ = kNowMs + 10'000;
    Window().Poll();
    QCoreApplication::processEvents();
    ASSERT_EQ(Plot().GraphOf(0)->data()->size(), kSamples + 1);
    EXPECT_EQ(Plot().Drawings(), drawn);

    archive::Sample emptied = quiet;
    emptied.time.utcMs = kNowMs + 19'000;
    emptied.silo[0] = 0.0;
    Offer(emptied);
    ASSERT_TRUE(archive_->Flush());
    nowMs_ = kNowMs + 20'000;
    Window().Poll();
    QCoreApplication::processEvents();
    EXPECT_EQ(Plot().Drawings(), drawn + 1);

    nowMs_ = kNowMs + 22'000;
    Window().Poll();
    QCoreApplication::processEvents();
    EXPECT_EQ(Plot().Drawings(), drawn + 1);
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
