#pragma once

#include <optional>
#include <string>

class QWidget;

namespace platform {

// The question where to write a file: the console asks it through this
// interface so tests can answer it without a human.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    // The path the operator chose, starting from `suggested` and offering
    // files that match `filter` ("Файлы CSV (*.csv)"); nothing when the
    // operator cancelled.
    virtual std::optional<std::string> Ask(QWidget* parent, const std::string& title,
                                           const std::string& suggested,
                                           const std::string& filter) = 0;
};

// The toolkit's own modal file dialog.
class QtSaveFileDialog : public SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget* parent, const std::string& title,
                                   const std::string& suggested,
                                   const std::string& filter) override;
};

}  // namespace platform
