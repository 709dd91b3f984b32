#pragma once

#include <string>

namespace platform {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Question, Exclamation, Error };
enum class MsgResult { Ok, Yes, No };

// Modal message boxes. The console asks its questions through this interface so
// tests can answer them without a human. Texts use CR ("\r") as the line break.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult Show(const std::string& title, const std::string& text, MsgButtons buttons,
                           MsgIcon icon) = 0;
};

}  // namespace platform
