#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <string>
#include <vector>

#include "tests/support/RecordingCanvas.h"

namespace symbols_test {

// The widgets under test need one application object for the whole run. It
// is deleted when the tests end, before the program's exit handlers run:
// Qt's own globals (input devices) must not outlive it.
class AppEnvironment : public ::testing::Environment {
public:
    static QApplication& Get() {
        static int argc = 1;
        static char name[] = "symbols-test";
        static char* argv[] = {name, nullptr};
        if (app_ == nullptr) app_ = new QApplication(argc, argv);
        return *app_;
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    static inline QApplication* app_ = nullptr;
};

inline ::testing::Environment* const kAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

inline QApplication& App() {
    return AppEnvironment::Get();
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
