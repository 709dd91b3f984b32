#include "platform/services/SaveFileDialog.h"

#include <QFileDialog>

namespace platform {

std::optional<std::string> QtSaveFileDialog::Ask(QWidget* parent, const std::string& title,
                                                 const std::string& suggested,
                                                 const std::string& filter) {
    const QString path = QFileDialog::getSaveFileName(parent, QString::fromStdString(title),
                                                      QString::fromStdString(suggested),
                                                      QString::fromStdString(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace platform
