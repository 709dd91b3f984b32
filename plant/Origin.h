#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace plant {

// Who gave a command, in words: the user at the panel, "маршрут N" for a
// route's sequence, a Modbus client's address, a script line. It is posted
// beside the command and travels with it to the cycle that takes it over,
// which names it in the entry it journals (JournalTag::source). Held in place,
// so posting, queueing and taking over a command never allocate.
class Origin {
public:
    // Longest text kept, in bytes of UTF-8; a longer one is cut at a
    // character's boundary.
    static constexpr std::size_t kCapacity = 63;

    constexpr Origin() = default;
    explicit Origin(std::string_view text);

    // "маршрут N": the start or stop sequence of route r.
    static Origin Route(int r);
    // "контроллер": the controller's own stop of a route, at a silo's limit
    // or for a device's fault.
    static Origin Controller();

    std::string_view Text() const { return {text_.data(), size_}; }
    bool Empty() const { return size_ == 0; }
    bool operator==(const Origin& other) const { return Text() == other.Text(); }

private:
    std::array<char, kCapacity> text_{};
    uint8_t size_ = 0;
};

}  // namespace plant
