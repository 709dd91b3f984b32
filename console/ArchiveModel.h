#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/Reader.h"

namespace console {

// The archive's entries as a table, newest first, read lazily: a page when
// the view first shows the table and another each time it scrolls to the
// end (canFetchMore / fetchMore). The filter runs in the database's query,
// so a year of entries costs what a day does. Follow() adds at the top what
// came in since.
class ArchiveModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, Text, Kind, Subject, Source, ColumnCount };
    // Entries read per page.
    static constexpr int kPage = 200;

    explicit ArchiveModel(QObject* parent = nullptr);

    // The reader the model reads with (not owned); null shows nothing.
    void SetReader(archive::Reader* reader);
    // Shows the entries `filter` takes, from the newest.
    void Show(const archive::Filter& filter);
    // Adds at the top the entries the filter takes that came in since the
    // newest one known; the number added.
    int Follow();
    // Why the file could not be read at the last query; empty when it could.
    const std::string& Error() const { return error_; }
    const archive::Filter& Filter() const { return filter_; }
    // The entry of row `row`.
    const archive::Row& Entry(int row) const { return rows_[static_cast<std::size_t>(row)].row; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The texts of a row as the table shows them: the time in the journal's
    // format, the text on one line (its CR TAB breaks as blanks).
    static QString TimeText(const archive::Stamp& time);
    static QString OneLine(const std::string& text);

private:
    struct Shown {
        archive::Row row;
        QString cells[ColumnCount];
    };
    static Shown Prepare(archive::Row row);
    // Keeps what the page brought, or its error; false on an error.
    bool Took(const archive::Page& page);

    archive::Reader* reader_ = nullptr;
    archive::Filter filter_;
    std::vector<Shown> rows_;
    std::optional<archive::Position> next_;
    int64_t newestId_ = 0;
    std::string error_;
};

}  // namespace console
