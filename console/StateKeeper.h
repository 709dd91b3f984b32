#pragma once

#include <QDateTime>
#include <functional>
#include <optional>
#include <string>

#include "state/ArchiveSection.h"
#include "state/ModbusSection.h"

namespace plant {
struct Plant;
}

namespace platform {
class MessageBoxes;
}

namespace console {

// The state file over the life of the window: read at start-up, saved at a
// fixed interval while running (when a saved value has changed), saved on
// close and on a shutdown. Before it has been read the tables hold nothing
// worth saving, and a file that could not be read is never written.
class StateKeeper {
public:
    StateKeeper(plant::Plant& plant, std::string path, char decimalSeparator,
                platform::MessageBoxes& messages, std::function<QDateTime()> now);

    // Reads the file into the tables, and its section [Modbus]; returns why it
    // could not be read. Such a file is never written: its content is unknown.
    std::optional<std::string> Load();
    // The section [Modbus] as Load() found it (not wanted before that).
    const state::ModbusSection& Modbus() const { return modbus_; }
    // The section [Archive] as Load() found it (not wanted before that).
    const state::ArchiveSection& Archive() const { return archive_; }
    // Tells the operator at once, rather than at the exit, why the file could
    // not be read and that it will not be written.
    void ReportUnreadable(const std::string& title, const std::string& failure);
    // Writes what a close would write, but leaves the tables as they are:
    // running routes and devices in Auto go on. Only when a saved value has
    // changed; a failure is tried again at the next call.
    void SaveIfChanged();
    // The save of a close; false (after telling the operator) keeps the window open.
    bool SaveOnClose(const std::string& title);
    // The save of a shutdown: no message; after it nothing is saved again.
    bool SaveForShutdown();

    // The last save on close failed; the next "Выход" may leave unsaved.
    bool CloseSaveFailed() const { return closeSaveFailed_; }
    // The operator chose to close without saving.
    void LeaveUnsaved() { leaveUnsaved_ = true; }
    // When the file last received the saved values.
    const QDateTime& SavedAt() const { return savedAt_; }
    // The final save is done (or was not wanted); nothing is written any more.
    bool Finished() const { return finished_; }

private:
    // Nothing to write: not read yet, unreadable, or the operator said so.
    bool NothingToSave() const;

    plant::Plant& plant_;
    std::string path_;
    char decimalSeparator_;
    platform::MessageBoxes& messages_;
    std::function<QDateTime()> now_;

    bool loaded_ = false;
    bool unreadable_ = false;
    std::string savedValues_;
    QDateTime savedAt_;
    bool closeSaveFailed_ = false;
    bool leaveUnsaved_ = false;
    bool finished_ = false;
    state::ModbusSection modbus_;
    state::ArchiveSection archive_;
};

}  // namespace console
