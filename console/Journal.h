#pragma once

#include <QDateTime>
#include <QLocale>
#include <QPlainTextEdit>
#include <QString>
#include <functional>
#include <string>

#include "console/JournalRecorder.h"
#include "plant/Outlets.h"

namespace console {

// The event journal on the "Системные" tab: read-only text, one entry per
// append, each in its own colour. A CR TAB inside an entry starts an indented
// continuation line of the same entry and colour. Nothing is ever trimmed.
class JournalView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit JournalView(QWidget* parent = nullptr);

    // Appends stamp + body as the last entry. The view follows the newest entry
    // unless the operator has scrolled up to read older ones.
    void AppendEntry(const QString& stampedText, plant::JournalColour colour);

    // Text colour of an entry: red and blue literally, the default colour as
    // the desktop's window-text colour.
    QColor EntryColour(plant::JournalColour colour) const;
};

// The journal outlet of the controller and the window: puts the time stamp in
// front of each body and hands the entry to the view. The regional settings
// (the default locale) are read once, when the journal is made.
class Journal : public plant::JournalOutlet {
public:
    // The window makes its journal before the regions that write to it, and
    // the message window gives it its view (ShowIn) before anything is written.
    explicit Journal(std::function<QDateTime()> now);
    Journal(JournalView& view, std::function<QDateTime()> now);

    // The view that shows the entries from now on.
    void ShowIn(JournalView& view) { view_ = &view; }

    // An entry the console writes without a tag is a system entry.
    void Append(const std::string& body, plant::JournalColour colour) override;
    void Append(const std::string& body, plant::JournalColour colour,
                const plant::JournalTag& tag) override;
    // Hands each entry to `recorder` too (the event archive), with the moment
    // its stamp shows; null: to none.
    void RecordIn(JournalRecorder* recorder) { recorder_ = recorder; }

    // The date in the locale's short format, a blank and the time in its long
    // format without the time zone; the date alone at midnight exactly.
    static QString Stamp(const QDateTime& moment, const QLocale& locale = QLocale());

private:
    // The date's text, then a blank and the time unless it is midnight exactly.
    static QString WithTime(QString dateText, QTime time, const QLocale& locale,
                            const QString& timeFormat);

    JournalView* view_ = nullptr;
    std::function<QDateTime()> now_;
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    QDate date_;
    QString dateText_;
    JournalRecorder* recorder_ = nullptr;
};

}  // namespace console
