#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/Access.h"
#include "console/Services.h"
#include "plant/Outlets.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/PointerConfinement.h"
#include "platform/services/SaveFileDialog.h"

// Fakes of the desktop's services and of the journal, for tests of the whole
// window and of one region alone.
namespace console_test {

// Records every box and answers through a script, which may run more of the
// program first (the controller runs on while a question is open).
class FakeMessages : public platform::MessageBoxes {
public:
    struct Shown {
        std::string title, text;
        platform::MsgButtons buttons;
        platform::MsgIcon icon;
    };

    platform::MsgResult Show(const std::string& title, const std::string& text,
                             platform::MsgButtons buttons, platform::MsgIcon icon) override {
        shown.push_back({title, text, buttons, icon});
        if (answer) return answer();
        return buttons == platform::MsgButtons::YesNo ? platform::MsgResult::No
                                                      : platform::MsgResult::Ok;
    }

    std::vector<Shown> shown;
    std::function<platform::MsgResult()> answer;
};

class BodiesJournal : public plant::JournalOutlet {
public:
    void Append(const std::string& body, plant::JournalColour) override { bodies.push_back(body); }
    std::vector<std::string> bodies;
};

class FreePointer : public platform::PointerConfinement {
public:
    void Confine(QWidget*) override {}
    void Release() override {}
};

// The question where an export goes: remembers what was offered and answers
// `answer` (nothing: cancelled).
class AnsweredSave : public platform::SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget*, const std::string&, const std::string& suggested,
                                   const std::string&) override {
        asked = suggested;
        return answer;
    }
    std::string asked;
    std::optional<std::string> answer;
};

// What a region under test is given: the test's plant, and fakes for the rest.
struct FakeServices {
    console::RegionServices Over(plant::Plant& plant, char decimalSeparator = '.') {
        return {plant, journal, messages, confinement, access, "", decimalSeparator};
    }

    FakeMessages messages;
    BodiesJournal journal;
    FreePointer confinement;
    // The open door: every command is taken.
    console::Access access{journal};
};

}  // namespace console_test
