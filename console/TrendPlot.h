#pragma once

#include <qcustomplot.h>

#include <array>
#include <climits>
#include <optional>
#include <vector>

#include "archive/Entry.h"

namespace console {

// The series of the silo park trend, in the legend's order.
enum class Series { Silo1, Silo2, Silo3, Silo4, Total, Throughput, Shipped };
constexpr int kSeriesCount = 7;

// A series: its legend entry, its unit in a CSV header, and its value in a
// sample.
struct SeriesInfo {
    const char* name;
    const char* unit;
    double (*value)(const archive::Sample&);
};
const SeriesInfo& InfoOf(int series);

// Every series' data, one container each, with time in seconds since 1970
// (UTC) as the key.
using SeriesData = std::array<QSharedPointer<QCPGraphDataContainer>, kSeriesCount>;

// Gathers samples, oldest first, into the series' containers.
class SeriesBuilder {
public:
    SeriesBuilder();
    void Add(const archive::Sample& sample);
    const SeriesData& Data() const { return data_; }

private:
    SeriesData data_;
};

// The trend's plot: the silo stocks with the level-zone limits and the total
// above, the throughput and the shipped tonnage below, on one time axis. The
// mouse wheel zooms and a drag pans the time axis, within the range loaded
// and no closer than a minute; a click sets the cursor, a click on a legend
// entry shows or hides its series.
class TrendPlot : public QCustomPlot {
    Q_OBJECT

public:
    static constexpr double kMinSpanS = 60.0;

    explicit TrendPlot(QWidget* parent = nullptr);

    // Shows `data` over the range [fromS, toS], which bounds zoom and pan.
    void SetData(const SeriesData& data, double fromS, double toS);
    // Adds a sample newer than every one shown, without touching the others.
    // A view that showed the newest moves on with it. The plot is redrawn once
    // the events of the moment are done, and only when the picture changes:
    // the view has moved by a pixel, an axis has widened, or a shown series'
    // new point lies outside the pixels its newest column shows.
    void Append(const archive::Sample& sample);
    // Moves the range's end on to `toS` (the present), for a live range; a
    // view that showed the end follows it, and is redrawn once it has moved
    // by a pixel.
    void ExtendTo(double toS);
    // How many times the plot has been drawn.
    int Drawings() const { return drawings_; }

    QCPGraph* GraphOf(int series) const { return graphs_[static_cast<std::size_t>(series)]; }
    QCPAxis* TimeAxis() const;
    bool Shown(int series) const;
    void SetShown(int series, bool shown);

    // The cursor, put on the sample nearest to `keyS`; none without data.
    void SetCursor(double keyS);
    std::optional<double> CursorKey() const { return cursorKey_; }
    // The value of `series` at the cursor's sample.
    std::optional<double> ValueAtCursor(int series) const;

signals:
    void cursorMoved();
    void seriesToggled(int series, bool shown);

private:
    void BuildAxes();
    void BuildGraphs();
    void BuildZoneLines();
    void KeyRangeChanged(const QCPRange& range);
    QCPRange Clamped(QCPRange range) const;
    void FitValueAxes();
    void Drawn();
    bool MovedAPixel() const;
    static QPoint PixelOf(const QCPGraph* graph, double key, double value);
    void Clicked(QMouseEvent* event);
    void LegendClicked(QCPAbstractLegendItem* item);

    QCPAxisRect* stocks_;
    QCPAxisRect* flow_;
    QSharedPointer<QCPAxisTickerDateTime> ticker_;
    std::array<QCPGraph*, kSeriesCount> graphs_{};
    std::array<QCPItemStraightLine*, 2> cursorLines_{};
    std::optional<double> cursorKey_;
    double fromS_ = 0.0;
    double toS_ = kMinSpanS;
    bool clamping_ = false;
    QPoint pressedAt_;
    // At the last drawing: the time axis, and for each series the pixel
    // column of its newest point with the rows the column's points cover.
    struct DrawnColumn {
        int x = INT_MIN;
        int top = 0;
        int bottom = 0;
    };
    QCPRange drawnView_;
    std::array<DrawnColumn, kSeriesCount> lastColumns_{};
    int drawings_ = 0;
};

}  // namespace console
