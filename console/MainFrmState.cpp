// The state file over the life of the window: read at start-up step 0, saved
// at a fixed interval while running, saved on close and on a shutdown.
#include <QTimer>

#include "console/MainFrm.h"
#include "platform/services/MessageBoxes.h"
#include "state/StateFile.h"

namespace console {

void TFrmMain::LoadStateAtStartup() {
    const std::optional<std::string> failure = LoadState(plant_, services_.statePath);
    stateLoaded_ = true;
    savedValues_ = SavedValues(plant_, services_.decimalSeparator);
    savedAt_ = services_.now();
    if (!failure) {
        TimerSaveState->start();
        return;
    }

    // The file's content is unknown, so it is never overwritten; the operator
    // learns it now rather than at the exit. Start-up waits for the answer
    // (the box dispatches timer events, and this step must not run twice).
    stateUnreadable_ = true;
    const bool starting = TimerInitialize->isActive();
    TimerInitialize->stop();
    services_.messages->Show(windowTitle().toStdString(),
                             "Не удалось прочитать файл состояния\r" + services_.statePath + "\r(" +
                                 *failure +
                                 ").\r\rПрограмма работает с начальными значениями\r"
                                 "и не будет записывать этот файл.",
                             platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
    if (starting && !finalSaveDone_) TimerInitialize->start();
}

// Writes what a close would write, but leaves the tables as they are: running
// routes and devices in Auto go on. Only when a saved value has changed.
void TFrmMain::TimerSaveStateTimer() {
    if (!stateLoaded_ || stateUnreadable_ || finalSaveDone_) return;
    std::string values = SavedValues(plant_, services_.decimalSeparator);
    if (values == savedValues_) return;
    // A failure is tried again at the next interval; a close reports it.
    if (!WriteStateFile(plant_, services_.statePath, services_.decimalSeparator)) return;
    savedValues_ = std::move(values);
    savedAt_ = services_.now();
    exitSaveFailed_ = false;
}

bool TFrmMain::FormClose() {
    if (finalSaveDone_) return true;
    // Before step 0 the tables hold nothing of the plant; a file that could not
    // be read is never written; the operator may have chosen to go unsaved.
    if (!stateLoaded_ || stateUnreadable_ || leaveUnsaved_) {
        finalSaveDone_ = true;
        return true;
    }
    if (SaveState(plant_, services_.statePath, services_.decimalSeparator)) {
        finalSaveDone_ = true;
        return true;
    }
    // The operator sees why and the console keeps running with its state intact.
    exitSaveFailed_ = true;
    services_.messages->Show(windowTitle().toStdString(),
                             "Unable to write to " + services_.statePath, platform::MsgButtons::Ok,
                             platform::MsgIcon::Error);
    return false;
}

bool TFrmMain::SaveForShutdown() {
    if (finalSaveDone_) return true;
    finalSaveDone_ = true;
    if (!stateLoaded_ || stateUnreadable_ || leaveUnsaved_) return true;
    return SaveState(plant_, services_.statePath, services_.decimalSeparator);
}

}  // namespace console
