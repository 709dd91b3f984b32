#pragma once

#include <QString>

#include "platform/services/MessageBoxes.h"

class QWidget;

namespace platform {

// Modal message boxes over QMessageBox, parented to the console's window.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent);

    MsgResult Show(const std::string& title, const std::string& text, MsgButtons buttons,
                   MsgIcon icon) override;

    // The console writes its line breaks as CR (sometimes CR LF); QMessageBox
    // breaks lines only at LF.
    static QString DisplayText(const std::string& text);

private:
    QWidget* parent_;
};

}  // namespace platform
