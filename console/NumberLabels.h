#pragma once

#include <string>

class QWidget;

namespace console {

// Hands out a device's number label on the diagram ("LabelM1", "LabelC3") by
// the name the plant's device table gives it, so that the device panel can
// make it blink; null for a name it does not hold. The diagram page is the one.
class NumberLabels {
public:
    virtual ~NumberLabels() = default;
    virtual QWidget* NumberLabel(const std::string& name) const = 0;
};

}  // namespace console
