#include "console/TimeFormat.h"

#include <QLocale>

namespace console {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

void DropTrailingBlanks(QString& text) {
    while (!text.isEmpty() && IsBlank(text.back())) text.chop(1);
}

}  // namespace

QString WithoutTimeZone(const QString& pattern) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\'') quoted = !quoted;  // '' inside or outside quotes flips twice
        if (c == u't' && !quoted) {
            DropTrailingBlanks(out);
            continue;
        }
        out += c;
    }
    DropTrailingBlanks(out);
    qsizetype first = 0;
    while (first < out.size() && IsBlank(out[first])) ++first;
    return out.mid(first);
}

QString LongTimeFormat(const QLocale& locale) {
    return WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
}

}  // namespace console
