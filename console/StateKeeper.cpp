#include "console/StateKeeper.h"

#include "platform/services/MessageBoxes.h"
#include "state/StateFile.h"

namespace console {

StateKeeper::StateKeeper(plant::Plant& plant, std::string path, char decimalSeparator,
                         platform::MessageBoxes& messages, std::function<QDateTime()> now)
    : plant_(plant),
      path_(std::move(path)),
      decimalSeparator_(decimalSeparator),
      messages_(messages),
      now_(std::move(now)) {}

std::optional<std::string> StateKeeper::Load() {
    platform::ProfileFile profile;
    std::optional<std::string> failure = state::LoadState(plant_, path_, profile);
    modbus_ = state::ReadModbusSection(profile);
    archive_ = state::ReadArchiveSection(profile, path_);
    loaded_ = true;
    unreadable_ = failure.has_value();
    savedValues_ = state::SavedValues(plant_, decimalSeparator_);
    savedAt_ = now_();
    return failure;
}

void StateKeeper::ReportUnreadable(const std::string& title, const std::string& failure) {
    messages_.Show(title,
                   "Не удалось прочитать файл состояния\r" + path_ + "\r(" + failure +
                       ").\r\rПрограмма работает с начальными значениями\r"
                       "и не будет записывать этот файл.",
                   platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
}

bool StateKeeper::NothingToSave() const {
    return !loaded_ || unreadable_ || leaveUnsaved_;
}

void StateKeeper::SaveIfChanged() {
    if (NothingToSave() || finished_) return;
    std::string values = state::SavedValues(plant_, decimalSeparator_);
    if (values == savedValues_) return;
    if (!state::WriteStateFile(plant_, path_, decimalSeparator_)) return;
    savedValues_ = std::move(values);
    savedAt_ = now_();
    closeSaveFailed_ = false;
}

bool StateKeeper::SaveOnClose(const std::string& title) {
    if (finished_) return true;
    if (NothingToSave() || state::SaveState(plant_, path_, decimalSeparator_)) {
        finished_ = true;
        return true;
    }
    // The operator sees why and the console keeps running with its state intact.
    closeSaveFailed_ = true;
    messages_.Show(title, "Unable to write to " + path_, platform::MsgButtons::Ok,
                   platform::MsgIcon::Error);
    return false;
}

bool StateKeeper::SaveForShutdown() {
    if (finished_) return true;
    finished_ = true;
    return NothingToSave() || state::SaveState(plant_, path_, decimalSeparator_);
}

}  // namespace console
