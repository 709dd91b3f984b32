#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace console {

// The program's question where an export goes: a save dialog. Empty when the
// operator cancels.
QString AskSavePathWithDialog(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter);

// What a window that shows the archive works with: the file, the present, the
// regional decimal separator, and the question where an export goes (a save
// dialog in the program; tests answer it). Each window reads the file through
// readers of its own, so it never holds up the archive's writer.
struct ArchiveViewServices {
    std::string path;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    char decimalSeparator = '.';
    // The file to export to, asked with `caption`, offering `suggested` and
    // files of `filter`; empty when the operator cancels.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter)>
        askSavePath = AskSavePathWithDialog;
};

}  // namespace console
