#pragma once

#include <QString>

class QLocale;

namespace console {

// The pattern without its time-zone fields (runs of "t" outside quotes), the
// blank before each of them and any blanks left at either end:
// "h:mm:ss AP t" gives "h:mm:ss AP".
QString WithoutTimeZone(const QString& pattern);

// The regional long time format without its time-zone part ("HH:mm:ss" for
// Russia, "h:mm:ss AP" for the United States).
QString LongTimeFormat(const QLocale& locale);

}  // namespace console
