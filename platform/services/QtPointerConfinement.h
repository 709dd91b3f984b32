#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "platform/services/PointerConfinement.h"

namespace platform {

// Keeps the operator's mouse inside one widget (the block panel) until released.
// On X11 the pointer itself is grabbed and confined to the widget's rectangle.
// Everywhere, an application-wide filter swallows mouse presses, releases and
// wheel turns aimed at anything outside the widget, so where the platform offers
// no confinement (offscreen, Wayland) no other control can be clicked either.
class QtPointerConfinement : public QObject, public PointerConfinement {
    Q_OBJECT
public:
    QtPointerConfinement();
    ~QtPointerConfinement() override;

    // Confining again replaces the area; one Release frees the pointer.
    void Confine(QWidget* area) override;
    void Release() override;

    bool Confined() const { return confined_; }
    // True while the X server holds our pointer grab.
    bool PointerGrabbed() const { return grabbed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool GrabX11(QWidget* area);
    void UngrabX11();
    bool Inside(QObject* target) const;

    QPointer<QWidget> area_;
    bool confined_ = false;
    bool grabbed_ = false;
    uint32_t confineWindow_ = 0;  // our input-only X window over the area
};

}  // namespace platform
