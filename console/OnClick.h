#pragma once

#include <QAbstractButton>
#include <QObject>

#include "console/Panel.h"
#include "symbols/GraphicControl.h"

namespace console {

// Connects the click of `control`, a button, a panel or a symbol, to `handler`:
// a slot of `receiver`, or a function run while `receiver` lives. A click of
// anything else (or of no control) is not connected.
template <typename Receiver, typename Handler>
void OnClick(QWidget* control, const Receiver* receiver, Handler handler) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, receiver, handler);
    } else if (auto* panel = qobject_cast<TPanel*>(control)) {
        QObject::connect(panel, &TPanel::clicked, receiver, handler);
    } else if (auto* symbol = qobject_cast<symbols::TGraphicControl*>(control)) {
        QObject::connect(symbol, &symbols::TGraphicControl::clicked, receiver, handler);
    }
}

}  // namespace console
