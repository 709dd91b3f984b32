#include "platform/services/QtPointerConfinement.h"

#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

xcb_connection_t* X11Connection() {
    auto* x11 =
        qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

bool IsPointerClick(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

QtPointerConfinement::QtPointerConfinement() = default;

QtPointerConfinement::~QtPointerConfinement() {
    Release();
}

void QtPointerConfinement::Confine(QWidget* area) {
    Release();
    if (area == nullptr) return;
    area_ = area;
    confined_ = true;
    qApp->installEventFilter(this);
    grabbed_ = GrabX11(area);
}

void QtPointerConfinement::Release() {
    if (!confined_) return;
    UngrabX11();
    qApp->removeEventFilter(this);
    area_.clear();
    confined_ = false;
}

bool QtPointerConfinement::Inside(QObject* target) const {
    if (area_.isNull() || !target->isWidgetType()) return true;
    auto* widget = static_cast<QWidget*>(target);
    // Popups the area opens itself (an entry field's context menu) stay usable.
    if (widget->window()->windowType() == Qt::Popup) return true;
    return widget == area_ || area_->isAncestorOf(widget);
}

bool QtPointerConfinement::eventFilter(QObject* watched, QEvent* event) {
    if (confined_ && IsPointerClick(event->type()) && !Inside(watched)) return true;
    return QObject::eventFilter(watched, event);
}

// The X server confines a grabbed pointer to a window, not to a rectangle, so an
// input-only child window is laid over the area and the grab confines to it. It
// selects no events: clicks fall through to the console's own windows.
bool QtPointerConfinement::GrabX11(QWidget* area) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !area->isVisible()) return false;
    QWidget* top = area->window();
    const auto parent = static_cast<xcb_window_t>(top->winId());
    const qreal ratio = top->devicePixelRatioF();
    const QPoint origin = area->mapTo(top, QPoint(0, 0)) * ratio;
    const QSize size = area->size() * ratio;

    confineWindow_ = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, confineWindow_, parent,
                      static_cast<int16_t>(origin.x()), static_cast<int16_t>(origin.y()),
                      static_cast<uint16_t>(std::max(1, size.width())),
                      static_cast<uint16_t>(std::max(1, size.height())), 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(connection, confineWindow_);

    const auto cookie = xcb_grab_pointer(
        connection, 1, parent,
        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION,
        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, confineWindow_, XCB_NONE, XCB_CURRENT_TIME);
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(connection, cookie, nullptr);
    const bool ok = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    if (!ok) {
        xcb_destroy_window(connection, confineWindow_);
        confineWindow_ = 0;
        xcb_flush(connection);
    }
    return ok;
}

void QtPointerConfinement::UngrabX11() {
    xcb_connection_t* connection = X11Connection();
    if (connection != nullptr && grabbed_) xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    if (connection != nullptr && confineWindow_ != 0)
        xcb_destroy_window(connection, confineWindow_);
    if (connection != nullptr) xcb_flush(connection);
    grabbed_ = false;
    confineWindow_ = 0;
}

}  // namespace platform
