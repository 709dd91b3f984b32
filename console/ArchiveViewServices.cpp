#include "console/ArchiveViewServices.h"

#include <QDir>
#include <QFileDialog>

namespace console {

QString AskSavePathWithDialog(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, QDir::home().filePath(suggested), filter);
}

}  // namespace console
