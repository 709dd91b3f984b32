#include "console/EquipmentWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <memory>

#include "archive/Csv.h"
#include "archive/Reader.h"
#include "console/EquipmentModel.h"

namespace console {

namespace {

constexpr RangePreset kRanges[] = {
    {"24 часа", kDayMs},         {"7 суток", 7 * kDayMs},   {"30 суток", 30 * kDayMs},
    {"365 суток", 365 * kDayMs}, {"Период…", kCustomRange},
};
constexpr int kFirstRange = 2;  // 30 days

// Runs on a worker thread, with a reader of its own.
archive::EquipmentFigures Count(const std::string& path, TimeRange range) {
    std::string error;
    const std::unique_ptr<archive::Reader> reader = archive::Reader::Open(path, error);
    if (!reader) {
        archive::EquipmentFigures none;
        none.fromMs = range.fromMs;
        none.toMs = range.toMs;
        none.error = error;
        return none;
    }
    return archive::ReadEquipmentFigures(*reader, range.fromMs, range.toMs);
}

QString TimeText(int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString("dd.MM.yyyy HH:mm");
}

}  // namespace

EquipmentWindow::EquipmentWindow(ArchiveViewServices services, QWidget* parent)
    : QWidget(parent, Qt::Window),
      services_(std::move(services)),
      range_(new RangeChooser("Equipment", kRanges, services_.now, this)),
      model_(new EquipmentModel(services_.decimalSeparator, this)),
      sorted_(new QSortFilterProxyModel(this)),
      table_(new QTableView(this)),
      status_(new QLabel(this)) {
    setObjectName("FrmEquipment");
    setWindowTitle("Транспортное оборудование");
    status_->setObjectName("LabelEquipmentStatus");

    sorted_->setSourceModel(model_);
    sorted_->setSortRole(EquipmentModel::kValueRole);
    table_->setObjectName("TableEquipment");
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(EquipmentModel::Number, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* refresh = new QPushButton("Обновить", this);
    refresh->setObjectName("BtnEquipmentRefresh");
    auto* exportCsv = new QPushButton("Экспорт CSV", this);
    exportCsv->setObjectName("BtnEquipmentCsv");
    auto* top = new QHBoxLayout;
    top->addWidget(range_, 1);
    top->addWidget(refresh);
    top->addWidget(exportCsv);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(table_, 1);
    column->addWidget(status_);
    resize(900, 400);

    connect(range_, &RangeChooser::chosen, this, &EquipmentWindow::Load);
    connect(refresh, &QPushButton::clicked, this, &EquipmentWindow::Refresh);
    connect(exportCsv, &QPushButton::clicked, this, &EquipmentWindow::ExportCsv);
    connect(&loading_, &QFutureWatcher<archive::EquipmentFigures>::finished, this,
            &EquipmentWindow::Loaded);
    // Read when the window opens.
    auto* list = range_->findChild<QComboBox*>("ComboEquipmentRange");
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(kFirstRange);
}

// A count still under way finishes on its own; its result is dropped.
EquipmentWindow::~EquipmentWindow() = default;

void EquipmentWindow::Open() {
    if (!isVisible()) {
        show();
        Refresh();
    }
    raise();
    activateWindow();
}

void EquipmentWindow::SetBlocked(bool blocked) {
    setEnabled(!blocked);
}

void EquipmentWindow::Refresh() {
    Load(range_->Current());
}

void EquipmentWindow::Load(const TimeRange& range) {
    status_->setText("Подсчет по архиву…");
    loading_.setFuture(QtConcurrent::run(Count, services_.path, range));
}

void EquipmentWindow::Loaded() {
    if (loading_.isRunning()) return;
    const archive::EquipmentFigures figures = loading_.result();
    model_->SetFigures(figures);
    if (!fitted_) FitTable();
    const QString span = TimeText(figures.fromMs) + " — " + TimeText(figures.toMs);
    status_->setText(figures.error.empty() ? "Период: " + span
                                           : "Архив не прочитан (" + span +
                                                 "): " + QString::fromStdString(figures.error));
    emit loaded();
}

// Once, with the first figures in: the window as large as the table with all
// its rows and columns, within the screen.
void EquipmentWindow::FitTable() {
    fitted_ = true;
    table_->resizeColumnsToContents();
    const int frame = 2 * table_->frameWidth();
    const QSize table(
        table_->horizontalHeader()->length() + frame,
        table_->horizontalHeader()->height() + table_->verticalHeader()->length() + frame);
    const QSize grow = table - table_->size();
    QSize wanted = size() + QSize(std::max(0, grow.width()), std::max(0, grow.height()));
    if (const QScreen* screen = this->screen()) wanted = wanted.boundedTo(screen->availableSize());
    resize(wanted);
}

void EquipmentWindow::ExportCsv() {
    const QString name = "Оборудование_" + services_.now().toString("yyyy-MM-dd_HHmm") + ".csv";
    const QString path =
        AskExportPath(services_, this, "Экспорт таблицы (CSV)", name, "Файлы CSV (*.csv)");
    if (path.isEmpty()) return;
    const std::string csv = Csv();
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(csv.data(), static_cast<qint64>(csv.size())) ==
                             static_cast<qint64>(csv.size()) &&
                         file.commit();
    status_->setText(written ? "Сохранено: " + QDir::toNativeSeparators(path)
                             : "Не сохранено: " + path + ": " + file.errorString());
}

// The table as shown, in its order, separated as the archive's export is.
std::string EquipmentWindow::Csv() const {
    const char separator = archive::CsvSeparator(std::string(1, services_.decimalSeparator));
    std::string out(archive::kUtf8Bom);
    auto record = [&](auto cell) {
        for (int c = 0; c < EquipmentModel::ColumnCount; ++c) {
            if (c > 0) out += separator;
            archive::AppendCsvField(out, cell(c).toStdString(), separator);
        }
        out += "\r\n";
    };
    record([&](int c) { return EquipmentModel::Heading(c); });
    for (int r = 0; r < sorted_->rowCount(); ++r)
        record([&](int c) { return sorted_->index(r, c).data().toString(); });
    return out;
}

}  // namespace console
