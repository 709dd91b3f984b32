#include "platform/services/QtMessageBoxes.h"

#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <cstring>

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

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Qt never leaves a window's name empty: it puts the application's name in the
// place of an empty title. A box that is to have no title empties both X11 name
// properties of its native window when it is shown, before the window is mapped.
// Other platforms keep what Qt shows.
void ClearNativeTitle(WId id) {
    // The offscreen platform may offer an X11 interface too, without X windows.
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    const auto window = static_cast<xcb_window_t>(id);
    if (connection == nullptr || window == 0) return;
    const xcb_atom_t netName = Atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, netName, utf8, 8, 0, "");
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(connection);
}

// The show event comes after the native window exists and before it is mapped.
class Box : public QMessageBox {
public:
    Box(Icon icon, const QString& title, const QString& text, QWidget* parent)
        : QMessageBox(icon, title, text, NoButton, parent) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (windowTitle().isEmpty()) ClearNativeTitle(internalWinId());
    }
};

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
    Box box(ToQtIcon(icon), QString::fromStdString(title), DisplayText(text), parent_);
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
