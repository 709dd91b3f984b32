#pragma once

#include <QDateTime>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "archive/Reader.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;

namespace platform {
class MessageBoxes;
class SaveFileDialog;
}  // namespace platform

namespace console {

class ArchiveLink;
class ArchiveModel;

// "Журналы": the event archive in a window of its own beside the console, not
// modal. A table of the entries, newest first, read page by page as the
// operator scrolls, with the journal's time, colour and text (on one line)
// and the entry's kind, subject and source; filters by time range, colours,
// kinds, subject and a text in any case, all run in the database's query.
// While the range reaches the present, new entries appear at the top.
// "Экспорт CSV" writes the entries the filters take on a thread of its own,
// so the controller never waits for it.
//
// Controls carry their names as objectName: ComboRange, EditFrom, EditTo,
// CheckRed, CheckBlue, CheckDefault, ListKinds, ComboSubject, EditSearch,
// BtnExportCsv, BtnArchiveClose, TableArchive, LabelArchiveStatus.
class ArchiveWindow : public QWidget {
    Q_OBJECT

public:
    // The time ranges, in the order ComboRange offers them.
    enum class Range { Today, Shift, Day, Week, Custom };

    ArchiveWindow(ArchiveLink& link, platform::MessageBoxes& messages,
                  platform::SaveFileDialog& saveDialog, std::function<QDateTime()> now,
                  char decimalSeparator, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // "Журналы": shows the window, or raises it when it shows already.
    void Open();
    // Blocking the console blocks this window too.
    void SetBlocked(bool blocked);

    // The filter the controls make now.
    archive::Filter CurrentFilter() const;
    // Whether the range reaches the present, so that new entries are added.
    bool Live() const;
    ArchiveModel& Model() { return *model_; }

public slots:
    // Queries the archive anew with the controls' filter.
    void Apply();
    // Adds what came in since (while live); reopens a file that could not be read.
    void Follow();
    void BtnExportCsvClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    QWidget* BuildFilters();
    void RangeChanged();
    // A change of a filter is applied once the operator pauses.
    void Changed();
    bool OpenReader();
    void ShowStatus();
    void Exported(const std::string& path, const std::string& error, uint64_t written);

    ArchiveLink& link_;
    platform::MessageBoxes& messages_;
    platform::SaveFileDialog& saveDialog_;
    std::function<QDateTime()> now_;
    char decimalSeparator_;

    std::unique_ptr<archive::Reader> reader_;
    std::string readerError_;
    ArchiveModel* model_ = nullptr;
    std::thread export_;
    std::atomic<bool> exporting_{false};

    QComboBox* range_ = nullptr;
    QDateTimeEdit* from_ = nullptr;
    QDateTimeEdit* to_ = nullptr;
    QCheckBox* red_ = nullptr;
    QCheckBox* blue_ = nullptr;
    QCheckBox* plain_ = nullptr;
    QListWidget* kinds_ = nullptr;
    QComboBox* subject_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* follow_ = nullptr;
    QTimer* apply_ = nullptr;
};

}  // namespace console
