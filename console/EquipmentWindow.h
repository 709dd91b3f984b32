#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <string>

#include "archive/Equipment.h"
#include "console/ArchiveViewServices.h"
#include "console/RangeChooser.h"

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace console {

class EquipmentModel;

// "Трансп. оборудование": the figures of the 18 devices over a range, counted
// from the archive's entries on a worker thread (docs/archive.md). Not modal.
// The rows sort by any column; "Экспорт CSV" writes the table as it is
// sorted. "Обновить" counts a range that ends now again.
//
// Controls carry their names as objectName: ComboEquipmentRange,
// EditEquipmentFrom, EditEquipmentTo, BtnEquipmentShow, BtnEquipmentRefresh,
// BtnEquipmentCsv, TableEquipment, LabelEquipmentStatus.
class EquipmentWindow : public QWidget {
    Q_OBJECT

public:
    explicit EquipmentWindow(ArchiveViewServices services, QWidget* parent = nullptr);
    ~EquipmentWindow() override;

    // "Трансп. оборудование": shows the window, counting its range anew, or
    // raises it when it shows already.
    void Open();
    // Blocking the console blocks this window too.
    void SetBlocked(bool blocked);

    EquipmentModel& Model() { return *model_; }
    QTableView& Table() { return *table_; }

signals:
    // The figures of a range are in the table, or the reason they are not is shown.
    void loaded();

public slots:
    // Counts the range again (also after the archive started a new file).
    void Refresh();
    void ExportCsv();

private:
    void Load(const TimeRange& range);
    void Loaded();
    void FitTable();
    std::string Csv() const;

    ArchiveViewServices services_;
    RangeChooser* range_;
    EquipmentModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QLabel* status_;
    QFutureWatcher<archive::EquipmentFigures> loading_;
    bool fitted_ = false;
};

}  // namespace console
