#pragma once

#include <QApplication>
#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"

namespace symbols_test {

// The widgets under test need one application object for the whole run.
inline QApplication& App() {
    static int argc = 1;
    static char name[] = "symbols-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// Declared as the first member of a fixture, so the application exists
// before any widget member is built.
struct WithApp {
    WithApp() { App(); }
};

// The text form of every primitive except lines and polylines: the outline
// of a drawing without its shading and belt lines.
inline std::vector<std::string> Shapes(const platform::RecordingCanvas& canvas) {
    std::vector<std::string> out;
    for (const auto& p : canvas.Primitives()) {
        using K = platform::RecordingCanvas::Kind;
        if (p.kind != K::Line && p.kind != K::Polyline) out.push_back(p.ToString());
    }
    return out;
}

}  // namespace symbols_test
