#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "archive/Csv.h"
#include "tests/archive/ArchiveRig.h"

namespace archive_test {
namespace {

using archive::Kind;
using archive::Subject;
using plant::JournalColour;

// Reads RFC 4180 records: fields split at `separator` outside quotes, "" for
// a quote inside them, CR LF between records.
std::vector<std::vector<std::string>> ParseCsv(std::string_view text, char separator) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.emplace_back(1);
            ++i;
        } else {
            field += c;
        }
    }
    if (records.back() == std::vector<std::string>(1)) records.pop_back();
    return records;
}

TEST(CsvTest, SeparatorFollowsTheDecimalSeparatorAndFieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(archive::CsvSeparator(","), ';');
    EXPECT_EQ(archive::CsvSeparator("."), ',');
    EXPECT_EQ(archive::CsvSeparator("٫"), ',');

    const std::vector<std::pair<std::string, std::string>> fields = {
        {"plain", "plain"},
        {" Запуск системы", " Запуск системы"},
        {"tab\there", "tab\there"},
        {"a;b", "\"a;b\""},
        {"a,b", "a,b"},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"line\r\tnext", "\"line\r\tnext\""},
        {"line\nnext", "\"line\nnext\""},
        {"", ""},
    };
    for (const auto& [field, written] : fields) {
        std::string out;
        archive::AppendCsvField(out, field, ';');
        EXPECT_EQ(out, written);
    }
}

class CsvExportTest : public ArchiveTest, public testing::WithParamInterface<char> {};

// Texts with quotes, CR TAB, LF, both separators and Cyrillic, a source with
// a separator: read back as written, newest first, after the byte order mark
// and the header.
TEST_P(CsvExportTest, ExportedEntriesReadBackAsTheyWere) {
    const char separator = GetParam();
    const std::vector<archive::Entry> entries = {
        MakeEntry(kDay0 + 1'500, " Задвижка М1 Изменение состояния - \r\t\"ОТКРЫТО\"",
                  Kind::StateChange, Subject::Device(1)),
        MakeEntry(kDay0 + 61'000, " Сервер Modbus; запущен, \"порт\"\n5020", Kind::ModbusClient, {},
                  "[::1]:50312, \"x\";y", JournalColour::Blue),
        MakeEntry(kDay0 + 3'600'000, " Уровень в силосе №2 -\r\t Параметр\tвошел", Kind::SiloZone,
                  Subject::Silo(2), "", JournalColour::Red),
        MakeEntry(kDay0 + 7'200'000, " Технологическое событие \r\t Маршрут №12 запущен",
                  Kind::RouteEvent, Subject::Route(12), "маршрут 12", JournalColour::Blue),
    };
    {
        archive::Archive archive(QuickOptions());
        ASSERT_TRUE(archive.Open(path_.string()));
        for (const archive::Entry& entry : entries) archive.Append(entry);
        ASSERT_TRUE(archive.Flush());
    }
    std::string error;
    const auto reader = archive::Reader::Open(path_.string(), error);
    ASSERT_TRUE(reader) << error;
    const fs::path csv = folder_ / "export.csv";
    uint64_t written = 0;
    ASSERT_EQ(archive::ExportCsv(*reader, {}, csv.string(), separator, &written), "");
    EXPECT_EQ(written, entries.size());

    const std::string bytes = ReadFile(csv);
    ASSERT_TRUE(bytes.starts_with(archive::kUtf8Bom));
    const auto records = ParseCsv(std::string_view(bytes).substr(3), separator);
    ASSERT_EQ(records.size(), entries.size() + 1);
    EXPECT_THAT(records[0],
                testing::ElementsAre("Время", "UTC", "Цвет", "Текст", "Вид", "Объект", "Источник"));
    EXPECT_THAT(records[4],
                testing::ElementsAre("2026-06-12 03:00:01", "2026-06-12T00:00:01.500Z", "обычный",
                                     entries[0].text, "Изменение состояния", "Задвижка М1", ""));
    EXPECT_THAT(records[3],
                testing::ElementsAre("2026-06-12 03:01:01", "2026-06-12T00:01:01.000Z", "синий",
                                     entries[1].text, "Клиент Modbus", "", entries[1].source));
    EXPECT_THAT(records[2],
                testing::ElementsAre("2026-06-12 04:00:00", "2026-06-12T01:00:00.000Z", "красный",
                                     entries[2].text, "Уровень в силосе", "Силос №2", ""));
    EXPECT_THAT(records[1],
                testing::ElementsAre("2026-06-12 05:00:00", "2026-06-12T02:00:00.000Z", "синий",
                                     entries[3].text, "Маршрут", "Маршрут №12", "маршрут 12"));
}

INSTANTIATE_TEST_SUITE_P(Separators, CsvExportTest, testing::Values(';', ','),
                         [](const auto& info) {
                             return info.param == ';' ? "Semicolon" : "Comma";
                         });

TEST_F(ArchiveTest, ExportThatCannotBeWrittenSaysWhyAndLeavesNoFile) {
    { archive::Archive(QuickOptions()).Open(path_.string()); }
    std::string error;
    const auto reader = archive::Reader::Open(path_.string(), error);
    ASSERT_TRUE(reader) << error;
    const fs::path csv = folder_ / "missing" / "export.csv";
    EXPECT_THAT(archive::ExportCsv(*reader, {}, csv.string(), ';'),
                testing::HasSubstr("No such file or directory"));
    EXPECT_FALSE(fs::exists(csv));
}

}  // namespace
}  // namespace archive_test
