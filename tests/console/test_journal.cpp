#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <vector>

#include "console/Journal.h"
#include "console/TimeFormat.h"
#include "tests/support/HeadlessMain.h"

using console::Journal;
using console::JournalView;
using plant::JournalColour;

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

// One displayed line of the journal: its text and the colours it is drawn in.
struct Line {
    QString text;
    std::vector<QColor> colours;
};

// Splits the journal into the lines it shows: paragraphs, and within them the
// line breaks of continuation lines.
std::vector<Line> Lines(const JournalView& view) {
    std::vector<Line> lines;
    const QColor text = view.palette().color(QPalette::Text);
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
        lines.push_back({});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QColor colour =
                f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : text;
            const QStringList pieces = it.fragment().text().split(QChar::LineSeparator);
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (i > 0) lines.push_back({});
                lines.back().text += pieces[i];
                if (!pieces[i].isEmpty()) lines.back().colours.push_back(colour);
            }
        }
    }
    return lines;
}

// Russian regional settings from before the journal is made until after it is gone.
struct RussianSettings {
    RussianSettings() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~RussianSettings() { QLocale::setDefault(QLocale::c()); }
};

class JournalTest : public ::testing::Test, private RussianSettings {
protected:
    JournalView view_;
    QDateTime now_{QDate(2026, 12, 6), QTime(14, 5, 9)};
    Journal journal_{view_, [this] { return now_; }};
};

TEST_F(JournalTest, EntryIsStampFollowedByBody) {
    journal_.Append(" Запуск системы", JournalColour::Default);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, QStringLiteral("06.12.2026 14:05:09 Запуск системы"));
}

TEST_F(JournalTest, CrTabShowsAsIndentedSecondLineInTheSameColour) {
    journal_.Append(" Пользователь Зернов (оператор)\r\tзарегистрирован.", JournalColour::Blue);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, QStringLiteral("06.12.2026 14:05:09 Пользователь Зернов (оператор)"));
    EXPECT_EQ(lines[1].text, QStringLiteral("\tзарегистрирован."));
    for (const Line& line : lines) {
        ASSERT_FALSE(line.colours.empty());
        for (const QColor& c : line.colours) EXPECT_EQ(c, kBlue);
    }
}

TEST_F(JournalTest, ColourDoesNotLeakIntoTheNextEntry) {
    journal_.Append(" Задвижка М1 Команда управления \r\tотклонена", JournalColour::Blue);
    journal_.Append(" Задвижка М1 Изменение состояния - ", JournalColour::Default);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].colours, std::vector<QColor>{kBlue});
    EXPECT_EQ(lines[2].colours, std::vector<QColor>{view_.palette().color(QPalette::Text)});
}

TEST_F(JournalTest, RedEntryAfterDefaultEntryIsRed) {
    journal_.Append(" Запуск системы", JournalColour::Default);
    journal_.Append(" Повышение температуры в силосе №3", JournalColour::Red);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].colours, std::vector<QColor>{kRed});
}

TEST_F(JournalTest, BlanksAroundTheBodyAreKept) {
    journal_.Append(" Технологическое событие \r\t Маршрут №12 запущен", JournalColour::Blue);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, QStringLiteral("06.12.2026 14:05:09 Технологическое событие "));
    EXPECT_EQ(lines[1].text, QStringLiteral("\t Маршрут №12 запущен"));
}

TEST_F(JournalTest, ThreeLineEntryKeepsItsBreaks) {
    journal_.Append(" Вентилятор 2.1 Команда управления \r\tотклонена\r\tуправления",
                    JournalColour::Blue);
    EXPECT_EQ(Lines(view_).size(), 3u);
}

// Entries keep their order, and the date is written anew once the day has changed.
TEST_F(JournalTest, EntriesKeepTheirOrderAndTheirDay) {
    journal_.Append(" первая", JournalColour::Default);
    now_ = now_.addSecs(1);
    journal_.Append(" вторая", JournalColour::Default);
    now_ = QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0));
    journal_.Append(" третья", JournalColour::Default);
    now_ = now_.addSecs(1);
    journal_.Append(" четвертая", JournalColour::Default);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, QStringLiteral("06.12.2026 14:05:09 первая"));
    EXPECT_EQ(lines[1].text, QStringLiteral("06.12.2026 14:05:10 вторая"));
    EXPECT_EQ(lines[2].text, QStringLiteral("07.12.2026 третья"));
    EXPECT_EQ(lines[3].text, QStringLiteral("07.12.2026 00:00:01 четвертая"));
}

struct StampCase {
    QTime time;
    const char* expected;
};
void PrintTo(const StampCase& c, std::ostream* os) {
    *os << c.time.toString("HH:mm:ss").toStdString();
}

class JournalStampTest : public JournalTest, public ::testing::WithParamInterface<StampCase> {};

TEST_P(JournalStampTest, StampOfTheMoment) {
    now_ = QDateTime(QDate(2026, 12, 6), GetParam().time);
    journal_.Append(" x", JournalColour::Default);
    EXPECT_EQ(Lines(view_)[0].text, QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(MidnightShowsTheDateAlone, JournalStampTest,
                         ::testing::Values(StampCase{QTime(0, 0, 0), "06.12.2026 x"},
                                           StampCase{QTime(0, 0, 1), "06.12.2026 00:00:01 x"},
                                           StampCase{QTime(23, 59, 59), "06.12.2026 23:59:59 x"},
                                           StampCase{QTime(9, 7, 3), "06.12.2026 09:07:03 x"}));

// The stamp in the regional formats of Russia and the United States: the
// short date, and the long time without its time-zone part.
struct RegionalCase {
    QDateTime moment;
    const char* russian;
    const char* english;
};
void PrintTo(const RegionalCase& c, std::ostream* os) {
    *os << c.russian;
}

class RegionalStamp : public ::testing::TestWithParam<RegionalCase> {};

TEST_P(RegionalStamp, DateBlankTimeOrTheDateAloneAtMidnight) {
    const RegionalCase& c = GetParam();
    EXPECT_EQ(Journal::Stamp(c.moment, QLocale(QLocale::Russian, QLocale::Russia)),
              QString::fromUtf8(c.russian));
    EXPECT_EQ(Journal::Stamp(c.moment, QLocale(QLocale::English, QLocale::UnitedStates)),
              QString::fromUtf8(c.english));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, RegionalStamp,
    ::testing::Values(
        RegionalCase{
            {QDate(2026, 12, 6), QTime(14, 5, 9)}, "06.12.2026 14:05:09", "12/6/26 2:05:09 PM"},
        RegionalCase{
            {QDate(2026, 3, 7), QTime(9, 4, 5)}, "07.03.2026 09:04:05", "3/7/26 9:04:05 AM"},
        RegionalCase{{QDate(2026, 12, 6), QTime(0, 0, 0)}, "06.12.2026", "12/6/26"},
        RegionalCase{
            {QDate(2026, 12, 6), QTime(0, 0, 1)}, "06.12.2026 00:00:01", "12/6/26 12:00:01 AM"},
        RegionalCase{{QDate(2026, 12, 6), QTime(0, 0, 0, 500)},
                     "06.12.2026 00:00:00",
                     "12/6/26 12:00:00 AM"},
        RegionalCase{
            {QDate(2026, 12, 6), QTime(12, 0, 0)}, "06.12.2026 12:00:00", "12/6/26 12:00:00 PM"},
        RegionalCase{
            {QDate(2026, 1, 2), QTime(3, 4, 5, 678)}, "02.01.2026 03:04:05", "1/2/26 3:04:05 AM"},
        RegionalCase{{QDate(2009, 1, 31), QTime(23, 59, 59)},
                     "31.01.2009 23:59:59",
                     "1/31/09 11:59:59 PM"}));

TEST(WithoutTimeZone, DropsTheZoneFieldsAndTheirBlanksButNotQuotedText) {
    EXPECT_EQ(console::WithoutTimeZone("HH:mm:ss t"), "HH:mm:ss");
    EXPECT_EQ(console::WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
    EXPECT_EQ(console::WithoutTimeZone("HH:mm:ss tttt"), "HH:mm:ss");
    EXPECT_EQ(console::WithoutTimeZone("t HH:mm"), "HH:mm");
    EXPECT_EQ(console::WithoutTimeZone("HH 'at' mm"), "HH 'at' mm");
    EXPECT_EQ(console::WithoutTimeZone("HH 'o''clock' t"), "HH 'o''clock'");
    EXPECT_EQ(console::WithoutTimeZone("HH:mm:ss"), "HH:mm:ss");
}

class JournalScrollTest : public ::testing::Test {
protected:
    JournalScrollTest() {
        view_.resize(338, 120);
        view_.show();
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) journal_.Append(" Запуск системы", JournalColour::Default);
    }
    JournalView view_;
    Journal journal_{view_, [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)); }};
};

TEST_F(JournalScrollTest, NewestEntryIsInView) {
    Fill(100);
    QScrollBar* bar = view_.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(JournalScrollTest, OperatorReadingOlderEntriesIsNotScrolledAway) {
    Fill(100);
    QScrollBar* bar = view_.verticalScrollBar();
    bar->setValue(10);
    Fill(5);
    EXPECT_EQ(bar->value(), 10);
    bar->setValue(bar->maximum());
    Fill(5);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(JournalScrollTest, JournalIsReadOnly) {
    Fill(1);
    EXPECT_TRUE(view_.isReadOnly());
}

TEST_F(JournalTest, EachEntryIsOneParagraph) {
    journal_.Append(" Вентилятор 2.1 Команда управления \r\tотклонена\r\tуправления",
                    JournalColour::Blue);
    journal_.Append(" Запуск системы", JournalColour::Default);
    EXPECT_EQ(view_.document()->blockCount(), 2);
}

TEST_F(JournalTest, StrayLineFeedIsTakenAsALineBreak) {
    journal_.Append(" один\r\n\tдва\nтри", JournalColour::Default);
    const auto lines = Lines(view_);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].text, QStringLiteral("\tдва"));
    EXPECT_EQ(lines[2].text, QStringLiteral("три"));
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
