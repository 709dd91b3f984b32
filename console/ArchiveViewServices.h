#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace platform {
class SaveFileDialog;
}

namespace console {

// What the trend and equipment windows work with: the archive's file, the
// present, the regional decimal separator, and the question where an export
// goes (a save dialog in the program; tests answer it). Each window reads the
// file through readers of its own, on worker threads, so it never holds up
// the archive's writer or the controller.
struct ArchiveViewServices {
    std::string path;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    char decimalSeparator = '.';
    platform::SaveFileDialog* saveDialog = nullptr;
};

// Asks where to export, offering `name` beside the archive's file; empty when
// the operator cancels or no dialog is given.
QString AskExportPath(const ArchiveViewServices& services, QWidget* parent, const QString& title,
                      const QString& name, const QString& filter);

}  // namespace console
