#pragma once

class QWidget;

namespace platform {

// Keeps the mouse pointer (or at least its clicks) inside one widget until released.
class PointerConfinement {
public:
    virtual ~PointerConfinement() = default;
    virtual void Confine(QWidget* area) = 0;
    virtual void Release() = 0;
};

}  // namespace platform
