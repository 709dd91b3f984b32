#include "console/StateLock.h"

#include <QString>

#include "platform/services/MessageBoxes.h"

namespace console {

namespace {

const char* const kTitle = "Завершение программы";

}  // namespace

StateLock::StateLock(const std::string& statePath)
    : statePath_(statePath), lock_(QString::fromStdString(statePath + ".lock")) {}

bool StateLock::Take(platform::MessageBoxes& messages) {
    if (lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError) return true;
    messages.Show(kTitle,
                  "Файл состояния\r" + statePath_ +
                      "\rуже используется другой запущенной программой.\r\r"
                      "Вторая копия программы не будет запущена.",
                  platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
    return false;
}

void StateLock::Release() {
    lock_.unlock();
}

}  // namespace console
