#include "archive/Csv.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "archive/Names.h"
#include "archive/Reader.h"

namespace archive {

namespace {

constexpr int kPageRows = 5000;

// Year, month, day, hours, minutes, seconds and milliseconds of a moment
// given in milliseconds since 1970.
struct Civil {
    int year;
    unsigned month, day;
    int64_t hours, minutes, seconds, millis;
};

Civil CivilOf(int64_t ms) {
    using namespace std::chrono;
    const sys_time<milliseconds> moment{milliseconds{ms}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const int64_t inDay = (moment - day).count();
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            inDay / 3'600'000,
            inDay / 60'000 % 60,
            inDay / 1000 % 60,
            inDay % 1000};
}

std::string Format(const char* pattern, const Civil& c, bool withMillis) {
    char text[48];
    const int size = withMillis
                         ? std::snprintf(text, sizeof text, pattern, c.year, c.month, c.day,
                                         static_cast<int>(c.hours), static_cast<int>(c.minutes),
                                         static_cast<int>(c.seconds), static_cast<int>(c.millis))
                         : std::snprintf(text, sizeof text, pattern, c.year, c.month, c.day,
                                         static_cast<int>(c.hours), static_cast<int>(c.minutes),
                                         static_cast<int>(c.seconds));
    return std::string(text, static_cast<std::size_t>(std::max(size, 0)));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string SystemError() {
    char buffer[128];
    return strerror_r(errno, buffer, sizeof buffer);
}

}  // namespace

char CsvSeparator(std::string_view decimalSeparator) {
    return decimalSeparator == "," ? ';' : ',';
}

void AppendCsvField(std::string& out, std::string_view field, char separator) {
    const bool quoted =
        field.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string_view::npos;
    if (!quoted) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields,
                     char separator) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) out += separator;
        first = false;
        AppendCsvField(out, field, separator);
    }
    out += "\r\n";
}

std::string LocalTimeText(const Stamp& time) {
    return Format("%04d-%02u-%02u %02d:%02d:%02d",
                  CivilOf(time.utcMs + int64_t{time.offsetMinutes} * 60'000), false);
}

std::string UtcTimeText(int64_t utcMs) {
    return Format("%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", CivilOf(utcMs), true);
}

std::string ExportCsv(Reader& reader, const Filter& filter, const std::string& path, char separator,
                      uint64_t* written) {
    if (written != nullptr) *written = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return path + ": " + SystemError();
    auto fail = [&](const std::string& why) {
        file.reset();
        std::remove(path.c_str());
        return path + ": " + why;
    };

    std::string out(kUtf8Bom);
    AppendCsvRecord(out, {"Время", "UTC", "Цвет", "Текст", "Вид", "Объект", "Источник"}, separator);
    std::optional<Position> after;
    uint64_t count = 0;
    for (;;) {
        const Page page = reader.Entries(filter, after, kPageRows);
        if (!page.error.empty()) return fail(page.error);
        for (const Row& row : page.rows) {
            AppendCsvRecord(
                out,
                {LocalTimeText(row.time), UtcTimeText(row.time.utcMs), ColourName(row.colour),
                 row.text, KindName(row.kind), SubjectName(row.subject), row.source},
                separator);
        }
        count += page.rows.size();
        if (std::fwrite(out.data(), 1, out.size(), file.get()) != out.size())
            return fail(SystemError());
        out.clear();
        if (!page.next) break;
        after = page.next;
    }
    if (std::fflush(file.get()) != 0) return fail(SystemError());
    if (std::fclose(file.release()) != 0) {
        const std::string why = SystemError();
        std::remove(path.c_str());
        return path + ": " + why;
    }
    if (written != nullptr) *written = count;
    return {};
}

}  // namespace archive
