#include "plant/Origin.h"

#include <algorithm>
#include <charconv>

namespace plant {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

Origin::Origin(std::string_view text) {
    std::size_t size = std::min(text.size(), kCapacity);
    // A character cut in two would leave bytes no reader can show.
    if (size < text.size()) {
        while (size > 0 && IsContinuationByte(text[size])) --size;
    }
    std::copy_n(text.data(), size, text_.data());
    size_ = static_cast<uint8_t>(size);
}

Origin Origin::Route(int r) {
    constexpr std::string_view kRoute = "маршрут ";
    char text[kRoute.size() + 12];
    std::copy(kRoute.begin(), kRoute.end(), text);
    const char* end = std::to_chars(text + kRoute.size(), text + sizeof text, r).ptr;
    return Origin(std::string_view(text, static_cast<std::size_t>(end - text)));
}

Origin Origin::Controller() {
    return Origin("контроллер");
}

}  // namespace plant
