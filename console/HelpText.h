#pragma once

#include <QStringList>

namespace console {

// The lines the help panel scrolls: what the demonstration shows and how to
// command a device, start a route and see the silos, one item a line (empty
// items are blank lines).
QStringList HelpText();

}  // namespace console
