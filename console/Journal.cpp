#include "console/Journal.h"

#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "console/TimeFormat.h"
#include "console/WidgetColours.h"

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
            return Colour(palette::Red);
        case plant::JournalColour::Blue:
            return Colour(palette::Blue);
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

Journal::Journal(std::function<QDateTime()> now)
    : now_(std::move(now)),
      dateFormat_(locale_.dateFormat(QLocale::ShortFormat)),
      timeFormat_(LongTimeFormat(locale_)) {}

Journal::Journal(JournalView& view, std::function<QDateTime()> now) : Journal(std::move(now)) {
    ShowIn(view);
}

QString Journal::Stamp(const QDateTime& moment, const QLocale& locale) {
    return WithTime(locale.toString(moment.date(), QLocale::ShortFormat), moment.time(), locale,
                    LongTimeFormat(locale));
}

QString Journal::WithTime(QString dateText, QTime time, const QLocale& locale,
                          const QString& timeFormat) {
    if (time != QTime(0, 0)) {
        dateText += QLatin1Char(' ');
        dateText += locale.toString(time, timeFormat);
    }
    return dateText;
}

void Journal::Append(const std::string& body, plant::JournalColour colour) {
    Append(body, colour, plant::SystemTag());
}

// The date's text is kept for the entries of the same day.
void Journal::Append(const std::string& body, plant::JournalColour colour,
                     const plant::JournalTag& tag) {
    const QDateTime moment = now_();
    if (recorder_ != nullptr) recorder_->Record(moment, body, colour, tag);
    if (view_ == nullptr) return;
    if (moment.date() != date_) {
        date_ = moment.date();
        dateText_ = locale_.toString(date_, dateFormat_);
    }
    view_->AppendEntry(
        WithTime(dateText_, moment.time(), locale_, timeFormat_) + QString::fromStdString(body),
        colour);
}

}  // namespace console
