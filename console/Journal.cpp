#include "console/Journal.h"

#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace console {

namespace {

// A tab indents a continuation line by about half an inch.
constexpr int kTabStopPixels = 48;

// Qt's long time pattern ends in the time zone ("HH:mm:ss t"); the journal
// shows the plain local time, so unquoted zone letters are dropped.
QString LongTimePattern(const QLocale& locale) {
    const QString full = locale.timeFormat(QLocale::LongFormat);
    QString pattern;
    bool quoted = false;
    for (const QChar c : full) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        pattern += c;
    }
    return pattern.trimmed();
}

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
    : view_(view), now_(std::move(now)) {}

QString Journal::Stamp(const QDateTime& moment) {
    // The operator's regional settings, or the default a test has set.
    const QLocale locale;
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() == QTime(0, 0, 0)) return date;
    return date + QLatin1Char(' ') + locale.toString(moment.time(), LongTimePattern(locale));
}

void Journal::Append(const std::string& body, plant::JournalColour colour) {
    view_.AppendEntry(Stamp(now_()) + QString::fromStdString(body), colour);
}

}  // namespace console
