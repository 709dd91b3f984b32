#include "console/Journal.h"

#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace console {

namespace {

// A tab indents a continuation line by about half an inch.
constexpr int kTabStopPixels = 48;

}  // namespace

JournalView::JournalView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabStopDistance(kTabStopPixels);
    setCenterOnScroll(false);
}

QColor JournalView::EntryColour(plant::JournalColour colour) const {
    switch (colour) {
        case plant::JournalColour::Red:
            return QColor(0xFF, 0x00, 0x00);
        case plant::JournalColour::Blue:
            return QColor(0x00, 0x00, 0xFF);
        case plant::JournalColour::Default:
            break;
    }
    return palette().color(QPalette::Text);
}

void JournalView::AppendEntry(const QString& stampedText, plant::JournalColour colour) {
    QScrollBar* bar = verticalScrollBar();
    const bool following = bar->value() >= bar->maximum();

    // CR is the entry's own line break (a stray LF is taken as one too). It
    // becomes a line break inside the entry's paragraph: the continuation shows
    // on its own line, indented by the TAB that follows, and a whole entry costs
    // the view one paragraph.
    QString text = stampedText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QChar('\n'), QChar('\r'));
    text.replace(QChar('\r'), QChar::LineSeparator);

    // Every entry carries its own colour, so none leaks into the next one.
    QTextCharFormat format;
    if (colour != plant::JournalColour::Default) format.setForeground(EntryColour(colour));

    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    if (!document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), format);
    cursor.setCharFormat(format);
    cursor.insertText(text, format);
    cursor.endEditBlock();

    if (following) bar->setValue(bar->maximum());
}

Journal::Journal(JournalView& view, std::function<QDateTime()> now)
    : view_(view), now_(std::move(now)), settings_(SettingsOf(QLocale())) {}

plant::StampLocale Journal::SettingsOf(const QLocale& locale) {
    plant::StampLocale settings;
    settings.shortDatePattern = locale.dateFormat(QLocale::ShortFormat).toStdString();
    settings.longTimePattern = locale.timeFormat(QLocale::LongFormat).toStdString();
    settings.amText = locale.amText().toStdString();
    settings.pmText = locale.pmText().toStdString();
    for (int m = 1; m <= 12; ++m) {
        const auto i = static_cast<size_t>(m - 1);
        settings.shortMonthNames[i] = locale.monthName(m, QLocale::ShortFormat).toStdString();
        settings.longMonthNames[i] = locale.monthName(m, QLocale::LongFormat).toStdString();
    }
    for (int d = 1; d <= 7; ++d) {  // Monday first, as Qt counts
        const auto i = static_cast<size_t>(d - 1);
        settings.shortDayNames[i] = locale.dayName(d, QLocale::ShortFormat).toStdString();
        settings.longDayNames[i] = locale.dayName(d, QLocale::LongFormat).toStdString();
    }
    return settings;
}

QString Journal::Stamp(const QDateTime& moment, const plant::StampLocale& settings) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    const plant::LocalDateTime when{date.year(),   date.month(),  date.day(), time.hour(),
                                    time.minute(), time.second(), time.msec()};
    return QString::fromStdString(plant::JournalStamp(when, settings));
}

QString Journal::Stamp(const QDateTime& moment) {
    return Stamp(moment, SettingsOf(QLocale()));
}

void Journal::Append(const std::string& body, plant::JournalColour colour) {
    view_.AppendEntry(Stamp(now_(), settings_) + QString::fromStdString(body), colour);
}

}  // namespace console
