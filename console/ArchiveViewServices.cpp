#include "console/ArchiveViewServices.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "platform/services/SaveFileDialog.h"

namespace console {

QString AskExportPath(const ArchiveViewServices& services, QWidget* parent, const QString& title,
                      const QString& name, const QString& filter) {
    if (services.saveDialog == nullptr) return {};
    const QString suggested =
        QFileInfo(QString::fromStdString(services.path)).absoluteDir().filePath(name);
    const std::optional<std::string> path = services.saveDialog->Ask(
        parent, title.toStdString(), suggested.toStdString(), filter.toStdString());
    return path ? QString::fromStdString(*path) : QString();
}

}  // namespace console
