#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "archive/Entry.h"

namespace archive {

class Reader;
struct Filter;

// CSV as spreadsheet programs read it (docs/archive.md): UTF-8 with a byte
// order mark, RFC 4180 quoting, CR LF after each record, and the field
// separator the regional settings expect.

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// ';' where the decimal separator is ',' (a comma inside a number would split
// it), ',' otherwise.
char CsvSeparator(std::string_view decimalSeparator);

// Appends one field: as it is, or in double quotes with its quotes doubled
// when it holds the separator, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field, char separator);
// Appends one record: the fields, the separator between them, CR LF after.
void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields,
                     char separator);

// "2026-06-12 14:05:09": the moment in the local time it was recorded in.
std::string LocalTimeText(const Stamp& time);
// "2026-06-12T11:05:09.123Z": the moment in UTC.
std::string UtcTimeText(int64_t utcMs);

// Writes the entries the filter takes, newest first, to the file at `path`,
// which is replaced: a header and one record per entry (local time, UTC time,
// colour, text, kind, subject, source). Returns why it failed (then no file is
// left), empty when it did not; `written` gets the number of entries.
std::string ExportCsv(Reader& reader, const Filter& filter, const std::string& path, char separator,
                      uint64_t* written = nullptr);

}  // namespace archive
