#include "console/TrendPlot.h"

#include <algorithm>
#include <cmath>

namespace console {

namespace {

constexpr double kCapacity = 15000.0;  // t, one silo
constexpr double kParkCapacity = 4 * kCapacity;
constexpr double kThroughputScale = 400.0;  // t/h, above the vessel loading's 362

// The level-zone limits, t, in pairs named as the silo table names the zones:
// the upper alarm and maximum, the minimum and lower alarm.
struct ZoneLimit {
    double tonnes;
    bool alarm;
};
constexpr ZoneLimit kZoneLimits[] = {
    {14950.0, true}, {14900.0, false}, {200.0, false}, {100.0, true}};
constexpr const char* kZoneLabels[] = {"AH 14 950 · WH 14 900", "WL 200 · AL 100"};

const SeriesInfo kSeries[kSeriesCount] = {
    {"Силос №1", "т", [](const archive::Sample& s) { return s.silo[0]; }},
    {"Силос №2", "т", [](const archive::Sample& s) { return s.silo[1]; }},
    {"Силос №3", "т", [](const archive::Sample& s) { return s.silo[2]; }},
    {"Силос №4", "т", [](const archive::Sample& s) { return s.silo[3]; }},
    {"Всего в силосах", "т", [](const archive::Sample& s) { return s.total; }},
    {"Производительность", "т/ч", [](const archive::Sample& s) { return s.throughput; }},
    {"Отгружено на судно", "т", [](const archive::Sample& s) { return s.shipped; }},
};

const QColor kAlarmLimit(0xd0, 0x00, 0x00);
const QColor kWarningLimit(0xc0, 0x90, 0x00);

const QColor kColours[kSeriesCount] = {
    QColor(0x1f, 0x77, 0xb4),
    QColor(0xd6, 0x6a, 0x00),
    QColor(0x2c, 0xa0, 0x2c),
    QColor(0x94, 0x47, 0xbd),
    Qt::black,
    QColor(0x00, 0x80, 0x80),
    QColor(0xa0, 0x00, 0x00),
};

// The time axis' labels, finer the closer the view. A view that follows the
// present keeps its span only to a rounding error, hence the margin.
QString TimeFormat(double spanS) {
    const double span = spanS / 1.001;
    if (span <= 3600.0) return "HH:mm:ss";
    if (span <= 86400.0) return "HH:mm";
    if (span <= 7 * 86400.0) return "dd.MM\nHH:mm";
    return "dd.MM.yy";
}

double KeyOf(const archive::Sample& sample) {
    return static_cast<double>(sample.time.utcMs) / 1000.0;
}

}  // namespace

const SeriesInfo& InfoOf(int series) {
    return kSeries[series];
}

SeriesBuilder::SeriesBuilder() {
    for (auto& container : data_) container = QSharedPointer<QCPGraphDataContainer>::create();
}

void SeriesBuilder::Add(const archive::Sample& sample) {
    const double key = KeyOf(sample);
    for (int s = 0; s < kSeriesCount; ++s)
        data_[static_cast<std::size_t>(s)]->add(QCPGraphData(key, kSeries[s].value(sample)));
}

TrendPlot::TrendPlot(QWidget* parent)
    : QCustomPlot(parent), stocks_(axisRect()), flow_(new QCPAxisRect(this)) {
    setObjectName("PlotTrend");
    BuildAxes();
    BuildGraphs();
    BuildZoneLines();
    connect(this, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) { LegendClicked(item); });
    connect(this, &QCustomPlot::mousePress, this,
            [this](QMouseEvent* event) { pressedAt_ = event->position().toPoint(); });
    connect(this, &QCustomPlot::mouseRelease, this, &TrendPlot::Clicked);
    connect(this, &QCustomPlot::afterReplot, this, &TrendPlot::Drawn);
}

// The legend in a row of its own above the two axis rects, which share the
// time axis and line up at their left and right edges.
void TrendPlot::BuildAxes() {
    ticker_ = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker_->setDateTimeSpec(Qt::LocalTime);
    ticker_->setDateTimeFormat(TimeFormat(toS_ - fromS_));
    plotLayout()->addElement(1, 0, flow_);
    auto* margins = new QCPMarginGroup(this);
    for (QCPAxisRect* rect : {stocks_, flow_}) {
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        rect->axis(QCPAxis::atBottom)->setTicker(ticker_);
        rect->axis(QCPAxis::atRight)->setVisible(true);
        rect->setRangeDrag(Qt::Horizontal);
        rect->setRangeZoom(Qt::Horizontal);
        rect->setRangeDragAxes(rect->axis(QCPAxis::atBottom), nullptr);
        rect->setRangeZoomAxes(rect->axis(QCPAxis::atBottom), nullptr);
        connect(rect->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
                this, &TrendPlot::KeyRangeChanged);
    }
    stocks_->axis(QCPAxis::atBottom)->setTickLabels(false);
    stocks_->axis(QCPAxis::atLeft)->setLabel("Силосы, т");
    stocks_->axis(QCPAxis::atRight)->setLabel("Всего, т");
    flow_->axis(QCPAxis::atLeft)->setLabel("т/ч");
    flow_->axis(QCPAxis::atRight)->setLabel("Отгружено, т");
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    plotLayout()->insertRow(0);
    stocks_->insetLayout()->take(legend);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactors({0.001, 3, 2});
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(4);
    legend->setBorderPen(Qt::NoPen);
    legend->setMargins(QMargins(4, 2, 4, 2));
}

void TrendPlot::BuildGraphs() {
    for (int s = 0; s < kSeriesCount; ++s) {
        const Series series = static_cast<Series>(s);
        QCPAxisRect* rect = series >= Series::Throughput ? flow_ : stocks_;
        const bool right = series == Series::Total || series == Series::Shipped;
        QCPGraph* graph = addGraph(rect->axis(QCPAxis::atBottom),
                                   rect->axis(right ? QCPAxis::atRight : QCPAxis::atLeft));
        graph->setName(kSeries[s].name);
        graph->setPen(QPen(kColours[s], 1.0));
        graph->setAdaptiveSampling(true);
        graph->setAntialiased(false);
        graphs_[static_cast<std::size_t>(s)] = graph;
    }
    for (std::size_t i = 0; i < cursorLines_.size(); ++i) {
        QCPAxisRect* rect = i == 0 ? stocks_ : flow_;
        auto* line = new QCPItemStraightLine(this);
        line->setClipAxisRect(rect);
        line->point1->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->point2->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        line->setVisible(false);
        cursorLines_[i] = line;
    }
}

// Horizontal lines at the limits of the silos' level zones, each pair named
// on the side away from the other pair.
void TrendPlot::BuildZoneLines() {
    QCPAxis* time = stocks_->axis(QCPAxis::atBottom);
    QCPAxis* tonnes = stocks_->axis(QCPAxis::atLeft);
    for (const ZoneLimit& limit : kZoneLimits) {
        auto* line = new QCPItemStraightLine(this);
        line->setClipAxisRect(stocks_);
        line->point1->setAxes(time, tonnes);
        line->point2->setAxes(time, tonnes);
        line->point1->setCoords(0, limit.tonnes);
        line->point2->setCoords(1, limit.tonnes);
        line->setPen(QPen(limit.alarm ? kAlarmLimit : kWarningLimit, 1, Qt::DashLine));
    }
    for (int pair = 0; pair < 2; ++pair) {
        auto* label = new QCPItemText(this);
        label->setClipAxisRect(stocks_);
        label->position->setAxisRect(stocks_);
        label->position->setAxes(time, tonnes);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setCoords(0.005,
                                   pair == 0 ? kZoneLimits[1].tonnes : kZoneLimits[2].tonnes);
        label->setPositionAlignment(Qt::AlignLeft | (pair == 0 ? Qt::AlignTop : Qt::AlignBottom));
        label->setText(kZoneLabels[pair]);
        label->setColor(kAlarmLimit);
    }
}

QCPAxis* TrendPlot::TimeAxis() const {
    return flow_->axis(QCPAxis::atBottom);
}

void TrendPlot::SetData(const SeriesData& data, double fromS, double toS) {
    for (int s = 0; s < kSeriesCount; ++s) graphs_[static_cast<std::size_t>(s)]->setData(data[s]);
    fromS_ = fromS;
    toS_ = std::max(toS, fromS + kMinSpanS);
    cursorKey_.reset();
    for (QCPItemStraightLine* line : cursorLines_) line->setVisible(false);
    FitValueAxes();
    TimeAxis()->setRange(fromS_, toS_);
    replot(rpQueuedReplot);
}

void TrendPlot::Append(const archive::Sample& sample) {
    const double key = KeyOf(sample);
    const QCPRange view = TimeAxis()->range();
    const bool empty = graphs_[0]->data()->isEmpty();
    const double previousKey = empty ? key : (graphs_[0]->data()->constEnd() - 1)->key;
    const bool following = empty || view.upper >= previousKey;
    bool changed = empty;
    for (int s = 0; s < kSeriesCount; ++s) {
        const double value = kSeries[s].value(sample);
        QCPGraph* graph = graphs_[static_cast<std::size_t>(s)];
        graph->data()->add(QCPGraphData(key, value));
        QCPRange values = graph->valueAxis()->range();
        if (!values.contains(value)) {
            values.expand(value);
            graph->valueAxis()->setRange(values.lower, values.upper + 0.05 * values.size());
            changed = true;
        }
    }
    toS_ = std::max(toS_, key);
    if (following && view.upper < key) TimeAxis()->setRange(view.lower + key - view.upper, key);
    changed = changed || MovedAPixel();
    // A sample drawn within the pixels its column already shows adds nothing
    // to the picture: a quiet plant costs no drawing.
    if (!changed && TimeAxis()->range().contains(key)) {
        for (int s = 0; s < kSeriesCount && !changed; ++s) {
            const QCPGraph* graph = graphs_[static_cast<std::size_t>(s)];
            const QPoint at = PixelOf(graph, key, kSeries[s].value(sample));
            const DrawnColumn& column = lastColumns_[static_cast<std::size_t>(s)];
            changed = graph->visible() &&
                      (at.x() != column.x || at.y() < column.top || at.y() > column.bottom);
        }
    }
    if (changed) replot(rpQueuedReplot);
}

void TrendPlot::ExtendTo(double toS) {
    if (toS <= toS_) return;
    const QCPRange view = TimeAxis()->range();
    const bool following = view.upper >= toS_;
    toS_ = toS;
    if (following) TimeAxis()->setRange(view.lower + toS - view.upper, toS);
    if (MovedAPixel()) replot(rpQueuedReplot);
}

QPoint TrendPlot::PixelOf(const QCPGraph* graph, double key, double value) {
    return graph->coordsToPixels(key, value).toPoint();
}

// What a drawing showed: the time axis, and the pixel rows each series
// covers in its newest pixel column.
void TrendPlot::Drawn() {
    ++drawings_;
    drawnView_ = TimeAxis()->range();
    for (int s = 0; s < kSeriesCount; ++s) {
        const QCPGraph* graph = graphs_[static_cast<std::size_t>(s)];
        const QCPGraphDataContainer& data = *graph->data();
        DrawnColumn& column = lastColumns_[static_cast<std::size_t>(s)];
        column = DrawnColumn{};
        if (data.isEmpty()) continue;
        auto at = data.constEnd() - 1;
        const QPoint newest = PixelOf(graph, at->key, at->value);
        column = {newest.x(), newest.y(), newest.y()};
        for (; at != data.constBegin(); --at) {
            const QPoint point = PixelOf(graph, (at - 1)->key, (at - 1)->value);
            if (point.x() != column.x) break;
            column.top = std::min(column.top, point.y());
            column.bottom = std::max(column.bottom, point.y());
        }
    }
}

// Whether the time axis has moved by a pixel or more since it was last drawn.
bool TrendPlot::MovedAPixel() const {
    const QCPRange view = TimeAxis()->range();
    if (view.size() != drawnView_.size()) return true;
    const double pixelsPerSecond = TimeAxis()->axisRect()->width() / view.size();
    return std::abs(view.lower - drawnView_.lower) * pixelsPerSecond >= 1.0;
}

bool TrendPlot::Shown(int series) const {
    return graphs_[static_cast<std::size_t>(series)]->visible();
}

void TrendPlot::SetShown(int series, bool shown) {
    QCPGraph* graph = graphs_[static_cast<std::size_t>(series)];
    if (graph->visible() == shown) return;
    graph->setVisible(shown);
    if (QCPAbstractLegendItem* item = legend->itemWithPlottable(graph))
        item->setTextColor(shown ? Qt::black : Qt::gray);
    replot(rpQueuedReplot);
    emit seriesToggled(series, shown);
}

void TrendPlot::SetCursor(double keyS) {
    const QCPGraphDataContainer& data = *graphs_[0]->data();
    if (data.isEmpty()) return;
    auto at = data.findBegin(keyS, false);
    if (at == data.constEnd() || (at != data.constBegin() && keyS - (at - 1)->key < at->key - keyS))
        --at;
    cursorKey_ = at->key;
    for (QCPItemStraightLine* line : cursorLines_) {
        line->point1->setCoords(*cursorKey_, 0);
        line->point2->setCoords(*cursorKey_, 1);
        line->setVisible(true);
    }
    replot(rpQueuedReplot);
    emit cursorMoved();
}

std::optional<double> TrendPlot::ValueAtCursor(int series) const {
    if (!cursorKey_) return std::nullopt;
    const QCPGraphDataContainer& data = *graphs_[static_cast<std::size_t>(series)]->data();
    const auto at = data.findBegin(*cursorKey_, false);
    if (at == data.constEnd() || at->key != *cursorKey_) return std::nullopt;
    return at->value;
}

// Both rects show one span of time; zoom and pan stay within the range
// loaded and no closer than kMinSpanS.
void TrendPlot::KeyRangeChanged(const QCPRange& range) {
    if (clamping_) return;
    clamping_ = true;
    const QCPRange clamped = Clamped(range);
    for (QCPAxisRect* rect : {stocks_, flow_}) rect->axis(QCPAxis::atBottom)->setRange(clamped);
    ticker_->setDateTimeFormat(TimeFormat(clamped.size()));
    clamping_ = false;
}

QCPRange TrendPlot::Clamped(QCPRange range) const {
    const double widest = std::max(toS_ - fromS_, kMinSpanS);
    double span = std::clamp(range.size(), kMinSpanS, widest);
    if (!std::isfinite(span)) span = widest;
    double lower = range.center() - span / 2;
    lower = std::clamp(lower, fromS_, fromS_ + widest - span);
    return QCPRange(lower, lower + span);
}

// The stocks against the silos' capacity, the total against the park's, the
// throughput against the loading rate: each axis widens further only for
// data beyond those.
void TrendPlot::FitValueAxes() {
    auto fit = [](QCPGraph* graph, double scale) {
        bool found = false;
        QCPRange values = graph->data()->valueRange(found);
        QCPRange range(std::min(0.0, found ? values.lower : 0.0),
                       std::max(scale, found ? values.upper : 0.0));
        range.upper += 0.05 * range.size();
        return range;
    };
    QCPRange silos = fit(graphs_[0], kCapacity);
    for (int s = 1; s < 4; ++s) {
        const QCPRange one = fit(graphs_[static_cast<std::size_t>(s)], kCapacity);
        silos.expand(one);
    }
    stocks_->axis(QCPAxis::atLeft)->setRange(silos);
    stocks_->axis(QCPAxis::atRight)
        ->setRange(fit(graphs_[static_cast<std::size_t>(Series::Total)], kParkCapacity));
    flow_->axis(QCPAxis::atLeft)
        ->setRange(fit(graphs_[static_cast<std::size_t>(Series::Throughput)], kThroughputScale));
    flow_->axis(QCPAxis::atRight)
        ->setRange(fit(graphs_[static_cast<std::size_t>(Series::Shipped)], 100.0));
}

// A click that did not drag sets the cursor where it fell in either rect.
void TrendPlot::Clicked(QMouseEvent* event) {
    const QPointF at = event->position();
    if ((at.toPoint() - pressedAt_).manhattanLength() > 3) return;
    if (legend->selectTest(at, false) >= 0) return;
    QCPAxisRect* rect = axisRectAt(at);
    if (rect == nullptr) return;
    SetCursor(rect->axis(QCPAxis::atBottom)->pixelToCoord(at.x()));
}

void TrendPlot::LegendClicked(QCPAbstractLegendItem* item) {
    auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
    if (entry == nullptr) return;
    for (int s = 0; s < kSeriesCount; ++s) {
        if (graphs_[static_cast<std::size_t>(s)] == entry->plottable()) SetShown(s, !Shown(s));
    }
}

}  // namespace console
