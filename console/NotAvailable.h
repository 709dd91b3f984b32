#pragma once

namespace platform {
class MessageBoxes;
}

namespace console {

// The one notice of every button whose function the demonstration does not
// provide; each region with such buttons shows it from its BtnNotWorklClick.
void ShowNotAvailable(platform::MessageBoxes& messages);

}  // namespace console
