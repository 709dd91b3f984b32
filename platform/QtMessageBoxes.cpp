#include "platform/QtMessageBoxes.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace platform {

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtMessageBoxes::QtMessageBoxes(QWidget* parent) : parent_(parent) {}

QString QtMessageBoxes::DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QChar('\r'), QChar('\n'));
    return shown;
}

MsgResult QtMessageBoxes::Show(const std::string& title, const std::string& text,
                               MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), DisplayText(text),
                    QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    // The texts carry their own line breaks: give the label room for its widest
    // line so the box does not break those lines a second time.
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString& line : box.text().split(QChar('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: %1px; }")
                          .arg(std::min(widest + 8, 900)));
    if (buttons == MsgButtons::YesNo) {
        box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr && box.buttonRole(clicked) == QMessageBox::YesRole) {
        return MsgResult::Yes;
    }
    return MsgResult::No;
}

}  // namespace platform
