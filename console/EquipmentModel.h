#pragma once

#include <QAbstractTableModel>
#include <QString>

#include "archive/Equipment.h"

namespace console {

// The equipment table: one row per device, its figures over a range. Each
// cell shows its text and holds, under kValueRole, the number it sorts by
// (durations in milliseconds, the share open from 0 to 1, the time of the
// last change; -1 for a figure the device does not have). Headings take two
// lines on screen; under kValueRole they are on one.
class EquipmentModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Number,
        Name,
        Running,
        Starts,
        Strokes,
        OpenShare,
        Taken,
        Refused,
        Faults,
        Alarm,
        LastChange,
        LastState,
        ColumnCount
    };
    static constexpr int kValueRole = Qt::UserRole;

    explicit EquipmentModel(char decimalSeparator, QObject* parent = nullptr);

    void SetFigures(const archive::EquipmentFigures& figures);
    const archive::EquipmentFigures& Figures() const { return figures_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A column's heading on one line, as the CSV export writes it.
    static QString Heading(int column);
    // "12:05:09": hours (as many as there are), minutes and seconds.
    static QString Duration(int64_t ms);

private:
    QVariant Value(const archive::DeviceFigures& device, int column) const;
    QString Text(const archive::DeviceFigures& device, int column) const;

    char decimalSeparator_;
    archive::EquipmentFigures figures_;
    QStringList names_;
};

}  // namespace console
