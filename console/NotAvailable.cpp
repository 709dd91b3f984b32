#include "console/NotAvailable.h"

#include "platform/services/MessageBoxes.h"

namespace console {

void ShowNotAvailable(platform::MessageBoxes& messages) {
    messages.Show("", "В демонстрационной версии программы\rданная функция не подключена.",
                  platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
}

}  // namespace console
