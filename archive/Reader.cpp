#include "archive/Reader.h"

#include "archive/Fold.h"
#include "archive/Record.h"
#include "archive/Schema.h"
#include "archive/Sqlite.h"

namespace archive {

namespace {

constexpr std::chrono::milliseconds kBusyTimeout{1000};

constexpr const char* kSelectEntries =
    "SELECT e.id, e.utc_ms, e.offset_min, e.colour, e.kind, e.subject, e.detail, t.text, s.text "
    "FROM entries AS e JOIN texts AS t ON t.id = e.text_id "
    "LEFT JOIN sources AS s ON s.id = e.source_id WHERE e.utc_ms >= ?1";

// "(1,3)": the codes whose bits are set, written into the query, where an IN
// list lets SQLite seek the subject index by kind.
std::string CodeList(unsigned bits, int first, int last) {
    std::string list = "(";
    for (int code = first; code <= last; ++code)
        if ((bits >> code) & 1u) list += (list.size() > 1 ? "," : "") + std::to_string(code);
    return list + ")";
}

Row RowOf(const Statement& statement) {
    Row row;
    row.id = statement.Int(0);
    row.time = {statement.Int(1), static_cast<int16_t>(statement.Int(2))};
    row.colour = static_cast<plant::JournalColour>(statement.Int(3));
    row.kind = static_cast<Kind>(statement.Int(4));
    row.subject = Subject::FromCode(static_cast<int>(statement.Int(5)));
    row.detail = static_cast<int>(statement.Int(6));
    row.text = statement.Text(7);
    row.source = statement.Text(8);
    return row;
}

}  // namespace

std::unique_ptr<Reader> Reader::Open(const std::string& path, std::string& error) {
    DbError failure;
    std::unique_ptr<Db> db = Db::Open(path, true, kBusyTimeout, failure);
    if (!db) {
        error = path + ": " + failure.text;
        return nullptr;
    }
    const Inspection seen = Inspect(*db);
    if (seen.error) {
        error = path + ": " + seen.error.text;
        return nullptr;
    }
    switch (seen.state) {
        case FileState::Current:
            error.clear();
            return std::unique_ptr<Reader>(new Reader(std::move(db)));
        case FileState::New:
            error = path + ": holds no archive yet";
            break;
        case FileState::Older:
            error = path +
                    ": an archive of an earlier layout; the program upgrades it when it "
                    "writes to it";
            break;
        case FileState::Newer:
            error = path + ": written by a later version of the program";
            break;
        case FileState::Foreign:
            error = path + ": another program's SQLite database";
            break;
    }
    return nullptr;
}

Reader::Reader(std::unique_ptr<Db> db) : db_(std::move(db)) {}

Reader::~Reader() = default;

Page Reader::Entries(const Filter& filter, const std::optional<Position>& after, int limit) {
    return Query(" ORDER BY e.utc_ms DESC, e.id DESC", filter, after, 0, limit);
}

Page Reader::Since(int64_t afterId, const Filter& filter, int limit) {
    return Query(" ORDER BY e.id", filter, std::nullopt, afterId, limit);
}

Page Reader::Query(const std::string& order, const Filter& filter,
                   const std::optional<Position>& after, int64_t afterId, int limit) {
    Page page;
    if (limit <= 0) return page;  // SQLite takes a negative limit for none at all
    std::string sql = kSelectEntries;
    // One upper bound: given two, SQLite would seek by either. A page's last
    // entry lies before the range's end, so what comes after it does too; the
    // pair (time, id) is the order of the time index, which SQLite seeks by.
    sql += after ? " AND (e.utc_ms, e.id) < (?3, ?4)" : " AND e.utc_ms < ?2";
    if (afterId > 0) sql += " AND e.id > ?4";
    if ((filter.colours & kAllColours) != kAllColours)
        sql += " AND e.colour IN " + CodeList(filter.colours, 0, 2);
    if ((filter.kinds & kAllKinds) != kAllKinds)
        sql += " AND e.kind IN " + CodeList(filter.kinds, kFirstKind, kLastKind);
    if (filter.subject) sql += " AND e.subject = ?5";
    const std::string folded = FoldCase(filter.text);
    if (!folded.empty())
        sql += " AND e.text_id IN (SELECT id FROM texts WHERE instr(folded, ?6) > 0)";
    sql += order + " LIMIT ?7";

    DbError error;
    Statement statement(*db_, sql, error);
    if (error) {
        page.error = error.text;
        return page;
    }
    statement.Bind(1, filter.fromMs);
    statement.Bind(2, filter.toMs);
    statement.Bind(3, after ? after->utcMs : 0);
    statement.Bind(4, after ? after->id : afterId);
    statement.Bind(5, filter.subject ? filter.subject->Code() : 0);
    statement.BindText(6, folded);
    statement.Bind(7, limit);
    while (statement.Step()) page.rows.push_back(RowOf(statement));
    if (statement.Failed()) {
        page.error = db_->Error().text;
        page.rows.clear();
        return page;
    }
    if (!page.rows.empty() && static_cast<int>(page.rows.size()) == limit)
        page.next = Position{page.rows.back().time.utcMs, page.rows.back().id};
    return page;
}

std::string Reader::LastId(int64_t& id) {
    const DbError error = db_->QueryInt("SELECT coalesce(max(id), 0) FROM entries", id);
    return error ? error.text : std::string();
}

std::string Reader::Samples(int64_t fromMs, int64_t toMs,
                            const std::function<void(const Sample&)>& take) {
    DbError error;
    Statement statement(*db_,
                        "SELECT utc_ms, offset_min, silo1, silo2, silo3, silo4, total, throughput, "
                        "shipped, unloading FROM samples WHERE utc_ms >= ?1 AND utc_ms < ?2 "
                        "ORDER BY utc_ms",
                        error);
    if (error) return error.text;
    statement.Bind(1, fromMs);
    statement.Bind(2, toMs);
    Record record;
    while (statement.Step()) {
        record.time = {statement.Int(0), static_cast<int16_t>(statement.Int(1))};
        for (std::size_t n = 0; n < record.tenths.size(); ++n)
            record.tenths[n] = statement.Int(static_cast<int>(n) + 2);
        take(record.AsSample());
    }
    return statement.Failed() ? db_->Error().text : std::string();
}

std::string Reader::SubjectEvents(Subject subject, unsigned kinds, int64_t fromMs, int64_t toMs,
                                  const std::function<void(const SubjectEvent&)>& take) {
    DbError error;
    Statement statement(*db_,
                        "SELECT utc_ms, kind, detail FROM entries INDEXED BY entries_by_subject "
                        "WHERE subject = ?1 AND kind IN " +
                            CodeList(kinds, kFirstKind, kLastKind) +
                            " AND utc_ms >= ?2 AND utc_ms < ?3 ORDER BY utc_ms",
                        error);
    if (error) return error.text;
    statement.Bind(1, subject.Code());
    statement.Bind(2, fromMs);
    statement.Bind(3, toMs);
    while (statement.Step())
        take({statement.Int(0), static_cast<Kind>(statement.Int(1)),
              static_cast<int>(statement.Int(2))});
    return statement.Failed() ? db_->Error().text : std::string();
}

std::string Reader::NearestSubjectEvent(Subject subject, std::span<const EventCodes> wanted,
                                        int64_t atMs, bool before,
                                        std::optional<SubjectEvent>& found) {
    found.reset();
    std::string codes;
    for (const EventCodes& one : wanted) {
        const int kind = static_cast<int>(one.kind);
        if (kind < kFirstKind || kind > kLastKind || one.details == 0) continue;
        codes += std::string(codes.empty() ? "" : " OR ") + "(kind = " + std::to_string(kind) +
                 " AND detail IN " + CodeList(one.details, 0, 31) + ")";
    }
    if (codes.empty()) return {};
    DbError error;
    Statement statement(*db_,
                        "SELECT utc_ms, kind, detail FROM entries INDEXED BY entries_by_subject "
                        "WHERE subject = ?1 AND " +
                            std::string(before ? "utc_ms < ?2" : "utc_ms >= ?2") + " AND (" +
                            codes + ") ORDER BY utc_ms " + (before ? "DESC" : "") + " LIMIT 1",
                        error);
    if (error) return error.text;
    statement.Bind(1, subject.Code());
    statement.Bind(2, atMs);
    if (statement.Step())
        found = SubjectEvent{statement.Int(0), static_cast<Kind>(statement.Int(1)),
                             static_cast<int>(statement.Int(2))};
    return statement.Failed() ? db_->Error().text : std::string();
}

std::string Reader::LastRecordBefore(int64_t beforeMs, std::optional<int64_t>& found) {
    found.reset();
    DbError error;
    Statement statement(*db_,
                        "SELECT max(t) FROM (SELECT max(utc_ms) AS t FROM entries WHERE utc_ms < ?1 "
                        "UNION ALL SELECT max(utc_ms) FROM samples WHERE utc_ms < ?1)",
                        error);
    if (error) return error.text;
    statement.Bind(1, beforeMs);
    if (statement.Step() && !statement.IsNull(0)) found = statement.Int(0);
    return statement.Failed() ? db_->Error().text : std::string();
}

}  // namespace archive
