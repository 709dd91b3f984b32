#include "console/ArchiveModel.h"

#include <QColor>
#include <QTimeZone>
#include <algorithm>

#include "archive/Names.h"
#include "console/Journal.h"
#include "console/WidgetColours.h"

namespace console {

ArchiveModel::ArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

QString ArchiveModel::TimeText(const archive::Stamp& time) {
    // The moment in the local time it was recorded in, as the journal showed it.
    const QDateTime moment =
        QDateTime::fromMSecsSinceEpoch(time.utcMs, QTimeZone(time.offsetMinutes * 60));
    return Journal::Stamp(moment);
}

QString ArchiveModel::OneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    line.replace(QStringLiteral("\r\t"), QStringLiteral(" "));
    line.replace(QChar('\r'), QChar(' '));
    line.replace(QChar('\n'), QChar(' '));
    return line;
}

ArchiveModel::Shown ArchiveModel::Prepare(archive::Row row) {
    Shown shown;
    shown.cells[Time] = TimeText(row.time);
    shown.cells[Text] = OneLine(row.text);
    shown.cells[Kind] = QString::fromUtf8(archive::KindName(row.kind));
    shown.cells[Subject] = QString::fromStdString(archive::SubjectName(row.subject));
    shown.cells[Source] = QString::fromStdString(row.source);
    shown.row = std::move(row);
    return shown;
}

void ArchiveModel::SetReader(archive::Reader* reader) {
    reader_ = reader;
}

bool ArchiveModel::Took(const archive::Page& page) {
    error_ = page.error;
    return error_.empty();
}

void ArchiveModel::Show(const archive::Filter& filter) {
    beginResetModel();
    filter_ = filter;
    rows_.clear();
    next_.reset();
    newestId_ = 0;
    error_.clear();
    if (reader_ != nullptr) {
        // What comes in after this is added at the top by Follow.
        error_ = reader_->LastId(newestId_);
        if (error_.empty()) {
            const archive::Page page = reader_->Entries(filter_, std::nullopt, kPage);
            if (Took(page)) {
                for (const archive::Row& row : page.rows) {
                    newestId_ = std::max(newestId_, row.id);
                    rows_.push_back(Prepare(row));
                }
                next_ = page.next;
            }
        }
    }
    endResetModel();
}

int ArchiveModel::Follow() {
    if (reader_ == nullptr) return 0;
    const archive::Page page = reader_->Since(newestId_, filter_, kPage);
    if (!Took(page) || page.rows.empty()) return 0;
    const int added = static_cast<int>(page.rows.size());
    // Since gives the oldest first; the table shows the newest at the top.
    beginInsertRows({}, 0, added - 1);
    std::vector<Shown> top;
    top.reserve(page.rows.size());
    for (auto row = page.rows.rbegin(); row != page.rows.rend(); ++row) {
        newestId_ = std::max(newestId_, row->id);
        top.push_back(Prepare(*row));
    }
    rows_.insert(rows_.begin(), std::make_move_iterator(top.begin()),
                 std::make_move_iterator(top.end()));
    endInsertRows();
    return added;
}

int ArchiveModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ArchiveModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
    const Shown& shown = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return shown.cells[index.column()];
        case Qt::ForegroundRole:
            // The journal's colour: red and blue literally, the default as the
            // view's own text colour.
            if (shown.row.colour == plant::JournalColour::Red) return Colour(palette::Red);
            if (shown.row.colour == plant::JournalColour::Blue) return Colour(palette::Blue);
            return {};
        case Qt::ToolTipRole:
            // The whole text with its line breaks.
            if (index.column() == Text) {
                return QString::fromStdString(shown.row.text)
                    .replace(QChar('\r'), QChar('\n'))
                    .replace(QChar('\t'), QStringLiteral("    "));
            }
            return {};
        default:
            return {};
    }
}

QVariant ArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeadings[ColumnCount] = {"Время", "Событие", "Вид", "Объект",
                                                       "Источник"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHeadings[section])
                                                 : QVariant();
}

bool ArchiveModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && reader_ != nullptr && next_.has_value();
}

void ArchiveModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    const archive::Page page = reader_->Entries(filter_, next_, kPage);
    if (!Took(page)) {
        next_.reset();
        return;
    }
    next_ = page.next;
    if (page.rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(page.rows.size()) - 1);
    for (const archive::Row& row : page.rows) rows_.push_back(Prepare(row));
    endInsertRows();
}

}  // namespace console
