#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "console/ArchiveViewServices.h"
#include "console/RangeChooser.h"
#include "console/TrendPlot.h"

class QLabel;
class QTimer;

namespace archive {
class Reader;
}

namespace console {

// The samples of a range, read on a worker thread.
struct TrendLoad {
    TimeRange range;
    SeriesData data;
    int64_t newestMs = INT64_MIN;  // the newest sample read
    int64_t stretchMs = 0;         // one sample kept per stretch of this length
    bool thinned = false;          // samples were left out
    std::string error;
};

// "Силосный парк": the archive's samples as a trend of the four silo stocks and
// their total, the throughput and the shipped tonnage. Not modal. A range of
// the list is read from the file on a worker thread; while it reaches the
// present, the samples the archive takes in are added every two seconds. A
// range longer than 30 days is thinned as it is read (samples left out).
// The picture exports as PNG or PDF, the data in view as CSV.
//
// Controls carry their names as objectName: ComboTrendRange, EditTrendFrom,
// EditTrendTo, BtnTrendShow, BtnTrendPng, BtnTrendPdf, BtnTrendCsv, PlotTrend,
// LabelTrendCursor, LabelTrendStatus.
class TrendWindow : public QWidget {
    Q_OBJECT

public:
    explicit TrendWindow(ArchiveViewServices services, QWidget* parent = nullptr);
    ~TrendWindow() override;

    // "Силосный парк": shows the window, reading its range anew, or raises it
    // when it shows already.
    void Open();
    // Blocking the console blocks this window too.
    void SetBlocked(bool blocked);

    TrendPlot& Plot() { return *plot_; }
    // Adds the samples that came into the file after the newest shown, and
    // moves a live range on to the present.
    void Poll();
    // What the line under the plot says of the cursor.
    QString Readout() const;

signals:
    // A range's samples are on the plot, or the reason they are not is shown.
    void loaded();

public slots:
    // The archive started a new file in place of a damaged one: read it.
    void FileReplaced();
    void ExportPng();
    void ExportPdf();
    void ExportCsv();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Load(const TimeRange& range);
    void Loaded();
    void ShowReadout();
    // Asks where to, then writes through `write` (which returns why it
    // failed, empty when it did not) and says how it went.
    void Export(const QString& caption, const QString& extension, const QString& filter,
                const std::function<QString(const QString& path)>& write);
    std::string CsvInView() const;
    QString Number(double value) const;

    ArchiveViewServices services_;
    RangeChooser* range_;
    TrendPlot* plot_;
    QLabel* readout_;
    QLabel* status_;
    QTimer* poll_;
    QFutureWatcher<TrendLoad> loading_;
    TimeRange shown_;
    int64_t newestMs_ = INT64_MIN;
    std::unique_ptr<archive::Reader> liveReader_;
};

}  // namespace console
