#include "console/ArchiveWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "archive/Csv.h"
#include "archive/Names.h"
#include "console/ArchiveLink.h"
#include "console/ArchiveModel.h"
#include "console/Fonts.h"
#include "console/WidgetColours.h"
#include "plant/Plant.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/SaveFileDialog.h"

namespace console {

namespace {

constexpr int kFollowMs = 1000;
// A change of the filters is applied once the operator has paused this long.
constexpr int kApplyDelayMs = 300;
constexpr int64_t kHourMs = 3'600'000;
constexpr const char* kTitle = "Архив событий";
constexpr const char* kExportTitle = "Экспорт CSV";
constexpr const char* kEditFormat = "dd.MM.yyyy HH:mm";

// A caption of the window in the lower band's looks: the title, yellow on
// blue-grey, or a section caption, bold on light cyan.
QLabel* Caption(const char* name, const char* text, bool title, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setFont(SansFont(title ? 13 : 11, true));
    label->setAlignment(Qt::AlignCenter);
    SetFontColour(label, title ? palette::Yellow : palette::Black);
    SetBackground(label, title ? palette::TitleBack : palette::SectionBack);
    return label;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

ArchiveWindow::ArchiveWindow(ArchiveLink& link, platform::MessageBoxes& messages,
                             platform::SaveFileDialog& saveDialog, std::function<QDateTime()> now,
                             char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window),
      link_(link),
      messages_(messages),
      saveDialog_(saveDialog),
      now_(std::move(now)),
      decimalSeparator_(decimalSeparator) {
    setObjectName("FrmArchive");
    setWindowTitle(QString::fromUtf8(kTitle));
    setFont(SansFont(11));
    setPalette(QPalette(Colour(palette::BtnFace)));
    setAutoFillBackground(true);
    resize(980, 600);

    follow_ = Named(new QTimer(this), "TimerFollow");
    follow_->setInterval(kFollowMs);
    connect(follow_, &QTimer::timeout, this, &ArchiveWindow::Follow);
    apply_ = Named(new QTimer(this), "TimerApply");
    apply_->setSingleShot(true);
    apply_->setInterval(kApplyDelayMs);
    connect(apply_, &QTimer::timeout, this, &ArchiveWindow::Apply);
    // A damaged file was moved aside: the reader of it is of no more use.
    connect(&link_, &ArchiveLink::fileReplaced, this, [this] {
        reader_.reset();
        model_->SetReader(nullptr);
        if (isVisible()) Apply();
    });
    Build();
}

// An export still writing is waited for: it reads with a reader of its own
// and reports back to this window.
ArchiveWindow::~ArchiveWindow() {
    if (export_.joinable()) export_.join();
}

void ArchiveWindow::Build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(Caption("TitleArchive", kTitle, true, this));

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildFilters());
    model_ = new ArchiveModel(this);
    table_ = Named(new QTableView(this), "TableArchive");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(false);
    // The text takes what the other columns leave, so all of them show.
    table_->setColumnWidth(ArchiveModel::Time, 130);
    table_->setColumnWidth(ArchiveModel::Kind, 140);
    table_->setColumnWidth(ArchiveModel::Subject, 110);
    table_->setColumnWidth(ArchiveModel::Source, 110);
    table_->horizontalHeader()->setSectionResizeMode(ArchiveModel::Text, QHeaderView::Stretch);
    middle->addWidget(table_, 1);
    layout->addLayout(middle, 1);

    status_ = Named(new QLabel(this), "LabelArchiveStatus");
    layout->addWidget(status_);
}

QWidget* ArchiveWindow::BuildFilters() {
    auto* panel = Named(new QWidget(this), "PanelArchiveFilters");
    panel->setFixedWidth(200);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    column->addWidget(Caption("LabelRange", "Период", false, panel));
    range_ = Named(new QComboBox(panel), "ComboRange");
    for (const char* text : {"Сегодня", "Последние 8 ч (смена)", "Последние 24 ч",
                             "Последние 7 суток", "Произвольный"}) {
        range_->addItem(QString::fromUtf8(text));
    }
    range_->setCurrentIndex(static_cast<int>(Range::Day));
    column->addWidget(range_);
    auto edit = [panel](const char* name) {
        auto* made = Named(new QDateTimeEdit(panel), name);
        made->setDisplayFormat(kEditFormat);
        made->setCalendarPopup(true);
        made->setEnabled(false);
        return made;
    };
    from_ = edit("EditFrom");
    to_ = edit("EditTo");
    for (auto [text, editor] : {std::pair{"с", from_}, std::pair{"по", to_}}) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QString::fromUtf8(text), panel);
        label->setFixedWidth(18);
        row->addWidget(label);
        row->addWidget(editor, 1);
        column->addLayout(row);
    }

    column->addWidget(Caption("LabelColours", "Цвет записи", false, panel));
    auto check = [panel, column](const char* name, const char* text, palette::Colour ink) {
        auto* box = Named(new QCheckBox(QString::fromUtf8(text), panel), name);
        box->setChecked(true);
        SetFontColour(box, ink);
        column->addWidget(box);
        return box;
    };
    red_ = check("CheckRed", "красные: аварии", palette::Red);
    blue_ = check("CheckBlue", "синие: уведомления, отказы", palette::Blue);
    plain_ = check("CheckDefault", "черные: прочие", palette::Black);

    column->addWidget(Caption("LabelKinds", "Вид события", false, panel));
    kinds_ = Named(new QListWidget(panel), "ListKinds");
    for (int code = archive::kFirstKind; code <= archive::kLastKind; ++code) {
        const auto kind = static_cast<archive::Kind>(code);
        auto* item = new QListWidgetItem(QString::fromUtf8(archive::KindName(kind)), kinds_);
        item->setData(Qt::UserRole, code);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    kinds_->setFixedHeight(kinds_->sizeHintForRow(0) * (archive::kLastKind + 1) + 4);
    column->addWidget(kinds_);

    column->addWidget(Caption("LabelSubject", "Объект", false, panel));
    subject_ = Named(new QComboBox(panel), "ComboSubject");
    subject_->addItem(QString::fromUtf8("Все"), 0);
    auto addSubject = [this](archive::Subject subject) {
        subject_->addItem(QString::fromStdString(archive::SubjectName(subject)), subject.Code());
    };
    for (int i = 1; i <= plant::kDeviceCount; ++i) addSubject(archive::Subject::Device(i));
    for (int r = 1; r <= plant::kRouteCount; ++r) addSubject(archive::Subject::Route(r));
    for (int n = 1; n <= plant::kSiloCount; ++n) addSubject(archive::Subject::Silo(n));
    column->addWidget(subject_);

    column->addWidget(Caption("LabelSearch", "Поиск в тексте", false, panel));
    search_ = Named(new QLineEdit(panel), "EditSearch");
    search_->setClearButtonEnabled(true);
    column->addWidget(search_);

    column->addStretch(1);
    exportButton_ = Named(new QPushButton(QString::fromUtf8("Экспорт CSV"), panel), "BtnExportCsv");
    column->addWidget(exportButton_);
    auto* close = Named(new QPushButton(QString::fromUtf8("Закрыть"), panel), "BtnArchiveClose");
    column->addWidget(close);

    connect(range_, &QComboBox::currentIndexChanged, this, &ArchiveWindow::RangeChanged);
    connect(from_, &QDateTimeEdit::dateTimeChanged, this, &ArchiveWindow::Changed);
    connect(to_, &QDateTimeEdit::dateTimeChanged, this, &ArchiveWindow::Changed);
    for (QCheckBox* box : {red_, blue_, plain_})
        connect(box, &QCheckBox::toggled, this, &ArchiveWindow::Changed);
    connect(kinds_, &QListWidget::itemChanged, this, &ArchiveWindow::Changed);
    connect(subject_, &QComboBox::currentIndexChanged, this, &ArchiveWindow::Changed);
    connect(search_, &QLineEdit::textChanged, this, &ArchiveWindow::Changed);
    connect(search_, &QLineEdit::returnPressed, this, &ArchiveWindow::Apply);
    connect(exportButton_, &QPushButton::clicked, this, &ArchiveWindow::BtnExportCsvClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return panel;
}

void ArchiveWindow::Open() {
    if (!isVisible()) {
        show();
        Apply();
    }
    raise();
    activateWindow();
}

void ArchiveWindow::SetBlocked(bool blocked) {
    setEnabled(!blocked);
}

void ArchiveWindow::closeEvent(QCloseEvent* event) {
    follow_->stop();
    apply_->stop();
    QWidget::closeEvent(event);
}

// A custom range starts as the last day, to the minute after now.
void ArchiveWindow::RangeChanged() {
    const bool custom = range_->currentIndex() == static_cast<int>(Range::Custom);
    from_->setEnabled(custom);
    to_->setEnabled(custom);
    if (custom) {
        const QDateTime now = now_();
        const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
        const QSignalBlocker fromQuiet(from_), toQuiet(to_);
        from_->setDateTime(minute.addDays(-1));
        to_->setDateTime(minute.addSecs(60));
    }
    Changed();
}

void ArchiveWindow::Changed() {
    apply_->start();
}

archive::Filter ArchiveWindow::CurrentFilter() const {
    archive::Filter filter;
    const QDateTime now = now_();
    const int64_t nowMs = now.toMSecsSinceEpoch();
    switch (static_cast<Range>(range_->currentIndex())) {
        case Range::Today:
            filter.fromMs = QDateTime(now.date(), QTime(0, 0)).toMSecsSinceEpoch();
            break;
        case Range::Shift:
            filter.fromMs = nowMs - 8 * kHourMs;
            break;
        case Range::Day:
            filter.fromMs = nowMs - 24 * kHourMs;
            break;
        case Range::Week:
            filter.fromMs = nowMs - 7 * 24 * kHourMs;
            break;
        case Range::Custom:
            filter.fromMs = from_->dateTime().toMSecsSinceEpoch();
            // "по" takes in the whole minute it shows.
            filter.toMs = to_->dateTime().toMSecsSinceEpoch() + 60'000;
            break;
    }
    filter.colours = (red_->isChecked() ? archive::ColourBit(plant::JournalColour::Red) : 0u) |
                     (blue_->isChecked() ? archive::ColourBit(plant::JournalColour::Blue) : 0u) |
                     (plain_->isChecked() ? archive::ColourBit(plant::JournalColour::Default) : 0u);
    filter.kinds = 0;
    for (int k = 0; k < kinds_->count(); ++k) {
        const QListWidgetItem* item = kinds_->item(k);
        if (item->checkState() == Qt::Checked) {
            filter.kinds |=
                archive::KindBit(static_cast<archive::Kind>(item->data(Qt::UserRole).toInt()));
        }
    }
    if (const int code = subject_->currentData().toInt(); code != 0) {
        filter.subject = archive::Subject::FromCode(code);
    }
    filter.text = search_->text().trimmed().toStdString();
    return filter;
}

bool ArchiveWindow::Live() const {
    return CurrentFilter().toMs > now_().toMSecsSinceEpoch();
}

bool ArchiveWindow::OpenReader() {
    if (reader_) return true;
    reader_ = link_.OpenReader(readerError_);
    model_->SetReader(reader_.get());
    return reader_ != nullptr;
}

void ArchiveWindow::Apply() {
    apply_->stop();
    OpenReader();
    model_->Show(CurrentFilter());
    // A reader that failed is opened anew at the next round of Follow.
    if (!model_->Error().empty()) {
        readerError_ = model_->Error();
        reader_.reset();
        model_->SetReader(nullptr);
    }
    if (Live() || !reader_) {
        follow_->start();
    } else {
        follow_->stop();
    }
    ShowStatus();
}

void ArchiveWindow::Follow() {
    if (!reader_) {
        if (OpenReader()) Apply();
        ShowStatus();
        return;
    }
    QScrollBar* bar = table_->verticalScrollBar();
    const int scrolled = bar->value();
    const int added = model_->Follow();
    if (!model_->Error().empty()) {
        readerError_ = model_->Error();
        reader_.reset();
        model_->SetReader(nullptr);
    }
    // An operator reading further down keeps the rows he reads in place.
    if (added > 0 && scrolled > 0) bar->setValue(scrolled + added);
    if (added > 0 || !reader_) ShowStatus();
}

void ArchiveWindow::ShowStatus() {
    if (!reader_) {
        status_->setText(QString::fromUtf8("Архив не читается: ") +
                         QString::fromStdString(readerError_));
        return;
    }
    QString text = QString::fromUtf8("Показано записей: ") + QString::number(model_->rowCount());
    if (model_->canFetchMore({})) text += QString::fromUtf8(", остальные - при прокрутке вниз");
    if (Live()) text += QString::fromUtf8("; новые записи появляются сверху");
    status_->setText(text);
}

void ArchiveWindow::BtnExportCsvClick() {
    if (exporting_ || link_.Path().empty()) return;
    const QString stamp = now_().toString("yyyy-MM-dd_HHmm");
    const std::string suggested = (QFileInfo(QString::fromStdString(link_.Path())).absolutePath() +
                                   "/Архив_событий_" + stamp + ".csv")
                                      .toStdString();
    const std::optional<std::string> path =
        saveDialog_.Ask(this, kExportTitle, suggested, "Файлы CSV (*.csv)");
    if (!path) return;
    if (export_.joinable()) export_.join();
    exporting_ = true;
    exportButton_->setEnabled(false);
    status_->setText(QString::fromUtf8("Выгрузка в ") + QString::fromStdString(*path) + "...");
    // A reader of its own on a thread of its own: a year of entries takes
    // seconds, which the controller cycle must not wait for.
    export_ = std::thread([this, archivePath = link_.Path(), filter = CurrentFilter(), path = *path,
                           separator = archive::CsvSeparator(std::string(1, decimalSeparator_))] {
        std::string error;
        uint64_t written = 0;
        if (const auto reader = archive::Reader::Open(archivePath, error)) {
            error = archive::ExportCsv(*reader, filter, path, separator, &written);
        }
        QMetaObject::invokeMethod(
            this, [this, path, error, written] { Exported(path, error, written); },
            Qt::QueuedConnection);
    });
}

void ArchiveWindow::Exported(const std::string& path, const std::string& error, uint64_t written) {
    exporting_ = false;
    exportButton_->setEnabled(true);
    ShowStatus();
    if (error.empty()) {
        messages_.Show(kExportTitle, "Выгружено записей: " + std::to_string(written) + "\r" + path,
                       platform::MsgButtons::Ok, platform::MsgIcon::None);
    } else {
        messages_.Show(kExportTitle, "Не удалось выгрузить записи:\r" + error,
                       platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
    }
}

}  // namespace console
