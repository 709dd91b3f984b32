#include "console/TrendWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <array>
#include <cmath>

#include "archive/Csv.h"
#include "archive/Reader.h"

namespace console {

namespace {

constexpr int kPollMs = 2000;

constexpr RangePreset kRanges[] = {
    {"1 час", kHourMs},      {"8 часов", 8 * kHourMs},  {"24 часа", kDayMs},
    {"7 суток", 7 * kDayMs}, {"30 суток", 30 * kDayMs}, {"Период…", kCustomRange},
};
constexpr int kFirstRange = 2;  // 24 h

// At most about this many samples of a range are plotted, a little more than
// 30 days of 10-second samples: a range keeps one sample per stretch of its
// length divided by this, so that a year's trend holds tens of megabytes, not
// hundreds. Up to 30 days no 10-second sample is left out.
constexpr int64_t kMostSamples = 300'000;

// Runs on a worker thread, with a reader of its own.
TrendLoad ReadRange(const std::string& path, TimeRange range) {
    TrendLoad load;
    load.range = range;
    load.stretchMs = (range.toMs - range.fromMs) / kMostSamples;
    std::string error;
    const std::unique_ptr<archive::Reader> reader = archive::Reader::Open(path, error);
    SeriesBuilder builder;
    if (!reader) {
        load.error = error;
    } else {
        int64_t lastStretch = INT64_MIN;
        // A live range takes what came in up to this moment, also after `now`.
        load.error = reader->Samples(
            range.fromMs, range.live ? INT64_MAX : range.toMs, [&](const archive::Sample& sample) {
                load.newestMs = sample.time.utcMs;
                if (load.stretchMs > 0) {
                    const int64_t stretch = (sample.time.utcMs - range.fromMs) / load.stretchMs;
                    if (stretch == lastStretch) {
                        load.thinned = true;
                        return;
                    }
                    lastStretch = stretch;
                }
                builder.Add(sample);
            });
    }
    load.data = builder.Data();
    return load;
}

double Seconds(int64_t ms) {
    return static_cast<double>(ms) / 1000.0;
}

int64_t Milliseconds(double seconds) {
    return static_cast<int64_t>(std::llround(seconds * 1000.0));
}

archive::Stamp LocalStamp(int64_t utcMs) {
    const int offset = QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc() / 60;
    return {utcMs, static_cast<int16_t>(offset)};
}

}  // namespace

TrendWindow::TrendWindow(ArchiveViewServices services, QWidget* parent)
    : QWidget(parent, Qt::Window),
      services_(std::move(services)),
      range_(new RangeChooser("Trend", kRanges, services_.now, this)),
      plot_(new TrendPlot(this)),
      readout_(new QLabel(this)),
      status_(new QLabel(this)),
      poll_(new QTimer(this)) {
    setObjectName("FrmTrend");
    setWindowTitle("Силосный парк");
    readout_->setObjectName("LabelTrendCursor");
    status_->setObjectName("LabelTrendStatus");
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_->setWordWrap(true);
    readout_->setText("Курсор: щелкните по графику");

    auto* top = new QHBoxLayout;
    top->addWidget(range_, 1);
    struct ExportButton {
        const char* name;
        const char* caption;
        void (TrendWindow::*slot)();
    };
    for (const ExportButton& b : {ExportButton{"BtnTrendPng", "PNG", &TrendWindow::ExportPng},
                                  ExportButton{"BtnTrendPdf", "PDF", &TrendWindow::ExportPdf},
                                  ExportButton{"BtnTrendCsv", "CSV", &TrendWindow::ExportCsv}}) {
        auto* button = new QPushButton(QString("Сохранить ") + b.caption, this);
        button->setObjectName(b.name);
        connect(button, &QPushButton::clicked, this, b.slot);
        top->addWidget(button);
    }
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(plot_, 1);
    column->addWidget(readout_);
    column->addWidget(status_);
    resize(1000, 640);

    connect(range_, &RangeChooser::chosen, this, &TrendWindow::Load);
    connect(&loading_, &QFutureWatcher<TrendLoad>::finished, this, &TrendWindow::Loaded);
    connect(plot_, &TrendPlot::cursorMoved, this, &TrendWindow::ShowReadout);
    connect(plot_, &TrendPlot::seriesToggled, this, &TrendWindow::ShowReadout);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &TrendWindow::Poll);

    // Read when the window opens.
    auto* list = range_->findChild<QComboBox*>("ComboTrendRange");
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(kFirstRange);
}

// A read still under way finishes on its own; its result is dropped.
TrendWindow::~TrendWindow() = default;

void TrendWindow::Open() {
    if (!isVisible()) {
        show();
        Load(range_->Current());
    }
    raise();
    activateWindow();
}

void TrendWindow::SetBlocked(bool blocked) {
    setEnabled(!blocked);
}

void TrendWindow::FileReplaced() {
    liveReader_.reset();
    Load(range_->Current());
}

void TrendWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    poll_->start();
}

void TrendWindow::hideEvent(QHideEvent* event) {
    poll_->stop();
    QWidget::hideEvent(event);
}

void TrendWindow::Load(const TimeRange& range) {
    status_->setText("Чтение архива…");
    loading_.setFuture(QtConcurrent::run(ReadRange, services_.path, range));
}

void TrendWindow::Loaded() {
    // A range chosen while this one was read is read next: only the newest counts.
    if (loading_.isRunning()) return;
    TrendLoad load = loading_.result();
    shown_ = load.range;
    newestMs_ = load.newestMs == INT64_MIN ? load.range.fromMs - 1 : load.newestMs;
    const int64_t toMs = load.range.live ? std::max(load.range.toMs, newestMs_) : load.range.toMs;
    plot_->SetData(load.data, Seconds(load.range.fromMs), Seconds(toMs));
    readout_->setText("Курсор: щелкните по графику");
    QString count = QString("Выборок: %1").arg(load.data[0]->size());
    if (load.thinned)
        count += QString(" (не больше одной за %1 с)").arg((load.stretchMs + 999) / 1000);
    status_->setText(
        load.error.empty() ? count : "Архив не прочитан: " + QString::fromStdString(load.error));
    emit loaded();
}

void TrendWindow::Poll() {
    if (!shown_.live || loading_.isRunning()) return;
    if (!liveReader_) {
        std::string error;
        liveReader_ = archive::Reader::Open(services_.path, error);
        if (!liveReader_) {
            status_->setText("Архив не прочитан: " + QString::fromStdString(error));
            return;
        }
    }
    const std::string error =
        liveReader_->Samples(newestMs_ + 1, INT64_MAX, [this](const archive::Sample& sample) {
            plot_->Append(sample);
            newestMs_ = sample.time.utcMs;
        });
    if (!error.empty()) {
        status_->setText("Архив не прочитан: " + QString::fromStdString(error));
        liveReader_.reset();  // opened anew at the next poll
    }
    plot_->ExtendTo(Seconds(std::max<int64_t>(services_.now().toMSecsSinceEpoch(), newestMs_)));
}

QString TrendWindow::Number(double value) const {
    return QString::number(value, 'f', 1).replace('.', QChar(services_.decimalSeparator));
}

QString TrendWindow::Readout() const {
    return readout_->text();
}

void TrendWindow::ShowReadout() {
    const std::optional<double> key = plot_->CursorKey();
    if (!key) return;
    QStringList parts;
    parts << QDateTime::fromMSecsSinceEpoch(Milliseconds(*key)).toString("dd.MM.yyyy HH:mm:ss");
    for (int s = 0; s < kSeriesCount; ++s) {
        const std::optional<double> value = plot_->ValueAtCursor(s);
        if (!plot_->Shown(s) || !value) continue;
        parts << QString("%1: %2 %3")
                     .arg(QString::fromUtf8(InfoOf(s).name), Number(*value),
                          QString::fromUtf8(InfoOf(s).unit));
    }
    readout_->setText("Курсор: " + parts.join(" · "));
}

void TrendWindow::Export(const QString& caption, const QString& extension, const QString& filter,
                         const std::function<QString(const QString& path)>& write) {
    const QString name =
        "Силосный_парк_" + services_.now().toString("yyyy-MM-dd_HHmm") + "." + extension;
    const QString path = AskExportPath(services_, this, caption, name, filter);
    if (path.isEmpty()) return;
    const QString failure = write(path);
    status_->setText(failure.isEmpty() ? "Сохранено: " + QDir::toNativeSeparators(path)
                                       : "Не сохранено: " + failure);
}

void TrendWindow::ExportPng() {
    Export("Сохранить график (PNG)", "png", "Файлы PNG (*.png)",
           [this](const QString& path) -> QString {
               QSaveFile file(path);
               if (!file.open(QIODevice::WriteOnly)) return path + ": " + file.errorString();
               if (!plot_->toPixmap().save(&file, "PNG") || !file.commit())
                   return path + ": " + file.errorString();
               return QString();
           });
}

// On an A4 page across, the range above the picture; written beside the
// target first and moved over it, so a failure leaves no half a file.
void TrendWindow::ExportPdf() {
    Export("Сохранить график (PDF)", "pdf", "Файлы PDF (*.pdf)",
           [this](const QString& path) -> QString {
               const QString part = path + ".part";
               // At the screen's resolution the plot's fonts and pens keep their
               // proportions; the page is drawn as vectors all the same.
               QPrinter printer(QPrinter::ScreenResolution);
               printer.setOutputFormat(QPrinter::PdfFormat);
               printer.setOutputFileName(part);
               printer.setPageSize(QPageSize(QPageSize::A4));
               printer.setPageOrientation(QPageLayout::Landscape);
               printer.setDocName(windowTitle());
               QCPPainter painter;
               if (!painter.begin(&printer)) {
                   QFile::remove(part);
                   return path + ": не удалось создать файл";
               }
               painter.setMode(QCPPainter::pmVectorized);
               painter.setMode(QCPPainter::pmNoCaching);
               const QRectF page = printer.pageRect(QPrinter::DevicePixel);
               const QCPRange view = plot_->TimeAxis()->range();
               const QString title = windowTitle() + ": " +
                                     QDateTime::fromMSecsSinceEpoch(Milliseconds(view.lower))
                                         .toString("dd.MM.yyyy HH:mm") +
                                     " — " +
                                     QDateTime::fromMSecsSinceEpoch(Milliseconds(view.upper))
                                         .toString("dd.MM.yyyy HH:mm");
               const double scale =
                   std::min(page.width() / plot_->width(), page.height() * 0.92 / plot_->height());
               painter.save();
               painter.scale(scale, scale);
               painter.drawText(QRectF(0, 0, plot_->width(), page.height() * 0.08 / scale),
                                Qt::AlignLeft | Qt::AlignVCenter, title);
               painter.translate(0, page.height() * 0.08 / scale);
               plot_->toPainter(&painter, plot_->width(), plot_->height());
               painter.restore();
               if (!painter.end() || !QFileInfo(part).exists()) {
                   QFile::remove(part);
                   return path + ": не удалось записать файл";
               }
               QFile::remove(path);
               if (!QFile::rename(part, path)) {
                   QFile::remove(part);
                   return path + ": не удалось записать файл";
               }
               return QString();
           });
}

void TrendWindow::ExportCsv() {
    Export("Экспорт данных (CSV)", "csv", "Файлы CSV (*.csv)",
           [this](const QString& path) -> QString {
               const std::string csv = CsvInView();
               QSaveFile file(path);
               if (!file.open(QIODevice::WriteOnly) ||
                   file.write(csv.data(), static_cast<qint64>(csv.size())) !=
                       static_cast<qint64>(csv.size()) ||
                   !file.commit())
                   return path + ": " + file.errorString();
               return QString();
           });
}

// The samples in view, the series shown: local and UTC time, then one column
// per series with its unit; numbers with one decimal, separated as the
// archive's export separates them.
std::string TrendWindow::CsvInView() const {
    const char separator = archive::CsvSeparator(std::string(1, services_.decimalSeparator));
    std::string out(archive::kUtf8Bom);
    std::vector<std::string> header = {"Время", "UTC"};
    std::vector<int> columns;
    for (int s = 0; s < kSeriesCount; ++s) {
        if (!plot_->Shown(s)) continue;
        columns.push_back(s);
        header.push_back(std::string(InfoOf(s).name) + ", " + InfoOf(s).unit);
    }
    auto record = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += separator;
            archive::AppendCsvField(out, fields[i], separator);
        }
        out += "\r\n";
    };
    record(header);
    const QCPRange view = plot_->TimeAxis()->range();
    const QCPGraphDataContainer& keys = *plot_->GraphOf(0)->data();
    const int first = static_cast<int>(keys.findBegin(view.lower, false) - keys.constBegin());
    const int end = static_cast<int>(keys.findEnd(view.upper, false) - keys.constBegin());
    std::vector<std::string> fields;
    for (int i = first; i < end; ++i) {
        const int64_t ms = Milliseconds(keys.at(i)->key);
        fields = {archive::LocalTimeText(LocalStamp(ms)), archive::UtcTimeText(ms)};
        for (const int s : columns)
            fields.push_back(Number(plot_->GraphOf(s)->data()->at(i)->value).toStdString());
        record(fields);
    }
    return out;
}

}  // namespace console
